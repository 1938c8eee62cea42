#include "cli/category_commands.h"

#include "categories/category_names.h"
#include "categories/category_store.h"
#include "cli/console_prompts.h"
#include "cli/installed_spellings.h"
#include "fonts/facts_cache.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"
#include "platform/services.h"

#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace lw {

namespace {

constexpr int kUsage = 2;

std::vector<std::string> Arguments(int argc, char** argv, int from) {
    return from < argc ? std::vector<std::string>(argv + from, argv + argc)
                       : std::vector<std::string>();
}

void PrintLines(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        std::cout << line << "\n";
    }
}

// The category of that name, as the store spells it; tells when none.
int FindCategory(const TCategoryStore& store, const std::string& name) {
    const int position = store.PositionOf(name);
    if (position < 1) {
        std::cerr << "letterwell-cli: no category is named \"" << name << "\"\n";
    }
    return position;
}

// The automatic categories of the installed fonts, their facts from the
// cache the program keeps too.
std::shared_ptr<const TAutoCategories> GatherAutomatic() {
    TFactsCache cache(TFactsCache::DefaultFile());
    cache.Load();
    auto groups =
        std::make_shared<const TAutoCategories>(BuildAutoCategories(InstalledFaceRefs(), cache));
    cache.Save(true);
    return groups;
}

// The id of an automatic category given by id or by name; tells when none.
std::string FindAutomatic(const TCategoryStore& store, const std::string& name) {
    const std::string id = store.Automatic ? store.Automatic->IdOf(name) : std::string();
    if (id.empty()) {
        std::cerr << "letterwell-cli: no automatic category is named \"" << name << "\"\n";
    }
    return id;
}

int ListAutomatic(const TCategoryStore& store) {
    for (const std::string& id : store.Automatic->Ids()) {
        std::cout << id << "\t" << store.Automatic->Members(id)->size() << "\n";
    }
    return 0;
}

int ShowAutomatic(const TCategoryStore& store, const std::string& name) {
    const std::string id = FindAutomatic(store, name);
    if (id.empty()) {
        return 1;
    }
    PrintLines(*store.Automatic->Members(id));
    return 0;
}

int ListCategories(TCategoryStore& store) {
    bool failed = false;
    for (size_t i = 1; i < store.Categories().size(); ++i) {
        std::vector<std::string> members;
        failed = !store.LoadCategory(store.Categories()[i], members) || failed;
        std::cout << store.Categories()[i] << "\t" << members.size() << "\n";
    }
    return failed ? 1 : 0;
}

int ShowCategory(TCategoryStore& store, const std::string& name) {
    const int position = FindCategory(store, name);
    if (position < 1) {
        return 1;
    }
    std::vector<std::string> members;
    if (!store.LoadCategory(store.Categories()[static_cast<size_t>(position)], members)) {
        return 1;
    }
    PrintLines(members);
    return 0;
}

int AddToCategory(TCategoryStore& store, const std::vector<std::string>& args,
                  TConsolePrompts& prompts) {
    bool missing = false;
    const std::vector<std::string> families =
        InstalledSpellings(std::vector<std::string>(args.begin() + 1, args.end()), missing);
    // Nothing to add makes no category, not even an empty one.
    if (families.empty()) {
        return 1;
    }
    // A new category is named as the window would ask for it.
    prompts.InputAnswer = args[0];
    store.AddFontsToCategory(args[0], families);
    prompts.InputAnswer.reset();
    store.SaveCategoryList();
    return missing || prompts.Failures > 0 ? 1 : 0;
}

int RemoveFromCategory(TCategoryStore& store, const std::vector<std::string>& args,
                       TConsolePrompts& prompts) {
    const int position = FindCategory(store, args[0]);
    if (position < 1) {
        return 1;
    }
    const std::string name = store.Categories()[static_cast<size_t>(position)];
    std::vector<std::string> members;
    if (!store.LoadCategory(name, members)) {
        return 1;
    }
    const std::vector<std::string> leaving(args.begin() + 1, args.end());
    bool missing = false;
    const TNameSet memberSet(members);
    for (const std::string& family : leaving) {
        if (!memberSet.Holds(family)) {
            std::cerr << "letterwell-cli: \"" << family << "\" is not in " << name << "\n";
            missing = true;
        }
    }
    store.RemoveFromCategory(name, leaving);
    store.SaveCategoryList();
    return missing || prompts.Failures > 0 ? 1 : 0;
}

// One operand of combine from args[at]: NAME, --all or --auto NAME; at is
// moved past it. False, told, when it names nothing.
bool TakeOperand(const TCategoryStore& store, const std::vector<std::string>& args, size_t& at,
                 TCategoryOperand& operand) {
    const std::string& given = args[at++];
    if (given == "--all") {
        operand.AllFonts = true;
        return true;
    }
    if (given == "--auto") {
        operand.Automatic = true;
        operand.Name = FindAutomatic(store, args[at++]);
        return !operand.Name.empty();
    }
    const int position = FindCategory(store, given);
    if (position < 1) {
        return false;
    }
    operand.Name = store.Categories()[static_cast<size_t>(position)];
    return true;
}

int CombineCategories(TCategoryStore& store, const std::vector<std::string>& args,
                      TConsolePrompts& prompts) {
    size_t at = 0;
    TCategoryOperand first;
    TCategoryOperand second;
    if (!TakeOperand(store, args, at, first)) {
        return 1;
    }
    const std::string& op = args[at++];
    const TCombineOp operation = op == "minus" ? TCombineOp::Minus
                                 : op == "and" ? TCombineOp::And
                                               : TCombineOp::Plus;
    if (!TakeOperand(store, args, at, second)) {
        return 1;
    }
    PrintLines(store.CombineCategories(first, operation, second));
    return prompts.Failures > 0 ? 1 : 0;
}

// Whether combine's arguments are A OP B, each side NAME, --all or --auto NAME.
bool CombineShape(const std::vector<std::string>& args) {
    size_t at = 0;
    const auto operand = [&] {
        if (at < args.size() && args[at] == "--auto") {
            at += 2;
            return at <= args.size();
        }
        return ++at <= args.size();
    };
    if (!operand() || at >= args.size()) {
        return false;
    }
    const std::string& op = args[at++];
    if (op != "plus" && op != "minus" && op != "and") {
        return false;
    }
    return operand() && at == args.size();
}

// Categories from font-manager's Collections.json; the families not
// installed are told and skipped.
int ImportCollections(TCategoryStore& store, const std::vector<std::string>& args,
                      TConsolePrompts& prompts) {
    constexpr size_t kMaxCollectionsFile = size_t(64) << 20;
    const std::string& file = args.back();
    prompts.SayYes = args.size() == 2;
    const std::optional<std::string> text = FileShell().ReadSmallFile(file, kMaxCollectionsFile);
    const auto collections = text ? ParseCollectionsJson(*text) : std::nullopt;
    if (!collections) {
        std::cerr << "letterwell-cli: " << file << " is no collections file of font-manager\n";
        return 1;
    }
    for (const std::string& skipped : store.ImportCollections(*collections)) {
        const size_t tab = skipped.find('\t');
        std::cerr << "letterwell-cli: not installed, skipped: " << skipped.substr(tab + 1) << " ("
                  << skipped.substr(0, tab) << ")\n";
    }
    store.SaveCategoryList();
    return prompts.Failures > 0 ? 1 : 0;
}

} // namespace

int RunCategoryCommand(int argc, char** argv, TConsolePrompts& prompts) {
    const std::string command = argv[1];
    const std::string verb = argc > 2 ? argv[2] : "";
    const std::vector<std::string> args = Arguments(argc, argv, 3);
    const bool autoList = command == "categories" && argc == 3 && verb == "--auto";
    const bool autoShow =
        command == "category" && verb == "show" && args.size() == 2 && args[0] == "--auto";
    const bool import = command == "category" && verb == "import-collections" &&
                        (args.size() == 1 || (args.size() == 2 && args[0] == "--replace"));
    const bool known =
        (command == "categories" && argc == 2) || autoList || autoShow || import ||
        (command == "category" &&
         ((verb == "show" && args.size() == 1) || (verb == "add" && args.size() >= 2) ||
          (verb == "remove" && args.size() >= 2) || (verb == "combine" && CombineShape(args))));
    if (!known) {
        return kUsage;
    }
    FontManager = std::make_unique<TFontManager>();
    TCategoryStore store({PortableProgramFolder(), ProgramDataFolder()});
    store.Start();
    if (prompts.Failures > 0) {
        return 1;
    }
    const bool wantsAutomatic =
        autoList || autoShow ||
        (verb == "combine" && std::find(args.begin(), args.end(), "--auto") != args.end());
    if (wantsAutomatic) {
        store.Automatic = GatherAutomatic();
    }
    if (autoList) {
        return ListAutomatic(store);
    }
    if (import) {
        return ImportCollections(store, args, prompts);
    }
    if (autoShow) {
        return ShowAutomatic(store, args[1]);
    }
    if (command == "categories") {
        return ListCategories(store);
    }
    if (verb == "show") {
        return ShowCategory(store, args[0]);
    }
    if (verb == "add") {
        return AddToCategory(store, args, prompts);
    }
    if (verb == "remove") {
        return RemoveFromCategory(store, args, prompts);
    }
    return CombineCategories(store, args, prompts);
}

} // namespace lw
