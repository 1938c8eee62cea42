#include "cli/category_commands.h"

#include "categories/category_names.h"
#include "categories/category_store.h"
#include "cli/console_prompts.h"
#include "cli/installed_spellings.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"

#include <iostream>
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

int CombineCategories(TCategoryStore& store, const std::vector<std::string>& args,
                      TConsolePrompts& prompts) {
    TCombineOp operation = TCombineOp::Plus;
    if (args[1] == "minus") {
        operation = TCombineOp::Minus;
    } else if (args[1] == "and") {
        operation = TCombineOp::And;
    } else if (args[1] != "plus") {
        return kUsage;
    }
    TCategoryOperand operands[2];
    for (int i = 0; i < 2; ++i) {
        const std::string& given = args[i == 0 ? 0 : 2];
        if (given == "--all") {
            operands[i].AllFonts = true;
            continue;
        }
        const int position = FindCategory(store, given);
        if (position < 1) {
            return 1;
        }
        operands[i].Name = store.Categories()[static_cast<size_t>(position)];
    }
    PrintLines(store.CombineCategories(operands[0], operation, operands[1]));
    return prompts.Failures > 0 ? 1 : 0;
}

} // namespace

int RunCategoryCommand(int argc, char** argv, TConsolePrompts& prompts) {
    const std::string command = argv[1];
    const std::string verb = argc > 2 ? argv[2] : "";
    const std::vector<std::string> args = Arguments(argc, argv, 3);
    const bool known =
        (command == "categories" && argc == 2) ||
        (command == "category" &&
         ((verb == "show" && args.size() == 1) || (verb == "add" && args.size() >= 2) ||
          (verb == "remove" && args.size() >= 2) || (verb == "combine" && args.size() == 3)));
    if (!known) {
        return kUsage;
    }
    FontManager = std::make_unique<TFontManager>();
    TCategoryStore store({PortableProgramFolder(), ProgramDataFolder()});
    store.Start();
    if (prompts.Failures > 0) {
        return 1;
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
