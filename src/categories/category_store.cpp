#include "categories/category_store.h"

#include "base/helpers.h"
#include "base/registry.h"
#include "base/strings.h"
#include "categories/category_file.h"
#include "categories/category_names.h"
#include "fonts/font_manager.h"
#include "platform/services.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

namespace lw {

namespace {

namespace fs = std::filesystem;

constexpr int kAllFonts = 8;
constexpr int kConfirmation = 20;
constexpr int kWarning = 21;
constexpr int kErrorCaption = 22;
constexpr int kRegistryWriteError = 24;
constexpr int kRegistryReadError = 25;
constexpr int kIoError = 26;
constexpr int kCreateError = 27;
constexpr int kOpenError = 28;
constexpr int kDeleteError = 30;
constexpr int kSomeError = 34;
constexpr int kRegistryErrorCaption = 1;
constexpr int kNewCategoryCaption = 16001;
constexpr int kNewCategoryPrompt = 16002;
constexpr int kOverwrite = 16003;
constexpr int kDeleteQuestion = 16004;
constexpr int kInvalidName = 16005;
constexpr int kNewCategoryEntry = 16006;

constexpr const char* kCountValue = "Number of categories";
constexpr const char* kFolderName = "Categories";
constexpr const char* kFileMask = "*.lst";
constexpr const char* kForbidden = "\\/:*?\"<>|";
// Far beyond any list of families; a bigger file is not a category.
constexpr size_t kMaxFileSize = 16u << 20;

std::string CategoryValue(int i) {
    return "Category" + std::to_string(i);
}

// The numbers n of the key's "Category<n>" values, in order: the index as
// it stands, whatever its count says.
std::vector<int> CategoryNumbers(const TRegistry& registry) {
    const std::string prefix = "Category";
    constexpr size_t kMaxDigits = 9;
    std::vector<int> numbers;
    for (const std::string& name : registry.GetValueNames()) {
        const std::string digits = name.substr(std::min(name.size(), prefix.size()));
        if (name.compare(0, prefix.size(), prefix) == 0 && !digits.empty() &&
            digits.size() <= kMaxDigits && digits[0] != '0' &&
            digits.find_first_not_of("0123456789") == std::string::npos) {
            numbers.push_back(std::stoi(digits));
        }
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

void ShowError(const std::string& text, int caption) {
    Prompts().MessageBox(text, LoadStr(caption), TMsgIcon::Error, TMsgButtons::Ok);
}

bool Ask(const std::string& question) {
    return Prompts().MessageBox(question, LoadStr(kConfirmation), TMsgIcon::Question,
                                TMsgButtons::YesNo) == TMsgResult::Yes;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

} // namespace

TCategoryStore::TCategoryStore(TCategoryPlaces places) : Places(std::move(places)) {
    CategoryList.push_back(LoadStr(kNewCategoryEntry));
    CurrentPosition = 0;
}

void TCategoryStore::Start() {
    AvailableList = SortedUnique(FontManager->Families);
    PrepareCategoriesFolder();
    LoadCategoryList();
    NotifySheet("");
    UpdatePlaceholder();
}

void TCategoryStore::PrepareCategoriesFolder() {
    // Chosen once: every later operation works in this folder.
    const std::string parent =
        FileShell().CanWriteIn(Places.ProgramFolder) ? Places.ProgramFolder : Places.DataFolder;
    // Without a home there is no folder to fall back on; never the current one.
    if (parent.empty() || parent.front() != '/') {
        CategoriesFolder.clear();
        ShowError(LoadStr(kIoError), kErrorCaption);
        return;
    }
    CategoriesFolder = WithSeparator(WithSeparator(parent) + kFolderName);
    std::error_code error;
    if (fs::is_directory(CategoriesFolder, error)) {
        FileShell().RemoveUnfinishedWrites(CategoriesFolder);
        return;
    }
    // The program's folder exists; the data folder may not yet.
    if (!fs::create_directories(CategoriesFolder, error) || error) {
        ShowError(LoadStr(kIoError), kErrorCaption);
        return;
    }
    // Category files kept loose beside the folder come into it.
    for (const fs::directory_entry& entry : fs::directory_iterator(parent, error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && MaskMatches(kFileMask, name)) {
            FileShell().MoveNoReplace(entry.path().string(),
                                      CategoryFilePath(NameWithoutExtension(name)));
        }
    }
}

void TCategoryStore::LoadCategoryList() {
    TRegistry registry(RegistryHive());
    bool failed = false;
    try {
        if (!registry.OpenKey(kProgramKey, false)) {
            return;
        }
    } catch (const ERegistryError&) {
        ShowError(LoadStr(kRegistryReadError), kRegistryErrorCaption);
        IndexUnread = true;
        return;
    }
    // Without a readable count the names are still read while they run on,
    // so that saving at the end does not drop them from the index.
    // No count at all is settings saved before any category was: nothing
    // to tell.
    int count = -1;
    try {
        if (registry.ValueExists(kCountValue)) {
            count = registry.ReadInteger(kCountValue);
        }
    } catch (const ERegistryError&) {
        failed = true;
    }
    // Only the names there are: a damaged count may be huge.
    for (const int i : CategoryNumbers(registry)) {
        if (count >= 0 && i > count) {
            break;
        }
        try {
            const std::string name = registry.ReadString(CategoryValue(i));
            if (!name.empty()) {
                InsertCategoryName(name);
            }
        } catch (const ERegistryError&) {
            failed = true;
        }
    }
    if (failed) {
        ShowError(LoadStr(kRegistryReadError), kRegistryErrorCaption);
    }
    NotifyLists();
}

void TCategoryStore::SaveCategoryList() {
    // An index that could not be read is not written over with nothing.
    if (IndexUnread && CategoryList.size() == 1) {
        return;
    }
    TRegistry registry(RegistryHive());
    try {
        registry.OpenKey(kProgramKey, true);
        for (const int i : CategoryNumbers(registry)) {
            registry.DeleteValue(CategoryValue(i));
        }
        const int count = static_cast<int>(CategoryList.size()) - 1;
        registry.WriteInteger(kCountValue, count);
        for (int i = 1; i <= count; ++i) {
            registry.WriteString(CategoryValue(i), CategoryList[static_cast<size_t>(i)]);
        }
        registry.CloseKey();
    } catch (const ERegistryError&) {
        ShowError(LoadStr(kRegistryWriteError), kRegistryErrorCaption);
    }
}

// Whether a name has a file in the folder: a name that would lead out of it,
// or a store without a folder, has none.
bool TCategoryStore::HasFile(const std::string& name) const {
    return !CategoriesFolder.empty() && !name.empty() && name.find('/') == std::string::npos;
}

std::string TCategoryStore::CategoryFilePath(const std::string& name) const {
    return CategoriesFolder + name + ".lst";
}

bool TCategoryStore::LoadCategory(const std::string& name, std::vector<std::string>& target) {
    const std::string path = CategoryFilePath(name);
    // A name that would lead out of the folder names no category file.
    std::optional<std::vector<std::string>> names;
    if (HasFile(name)) {
        if (const auto bytes = FileShell().ReadSmallFile(path, kMaxFileSize)) {
            names = ParseCategoryFile(*bytes);
        }
    }
    if (!names) {
        ShowError(FmtLoadStr(kOpenError, path), kErrorCaption);
        return false;
    }
    target = SortedUnique(std::move(*names));
    return true;
}

bool TCategoryStore::SaveCategory(const std::string& name,
                                  const std::vector<std::string>& members) {
    const std::string path = CategoryFilePath(name);
    if (!HasFile(name) || !FileShell().WriteFileOver(path, FormatCategoryFile(members))) {
        ShowError(FmtLoadStr(kCreateError, path), kErrorCaption);
        return false;
    }
    return true;
}

void TCategoryStore::RemoveUninstalled(std::vector<std::string>& members) {
    std::vector<std::string> installed;
    try {
        installed = FontSystem().EnumFamilyFaces();
    } catch (const EFontSystemError&) {
    }
    // A system that lists no family at all is one whose listing failed;
    // emptying every category on its word would lose them.
    if (installed.empty()) {
        ShowError(LoadStr(kSomeError), kErrorCaption);
        return;
    }
    const TNameSet present(installed);
    members.erase(std::remove_if(members.begin(), members.end(),
                                 [&](const std::string& m) { return !present.Holds(m); }),
                  members.end());
}

bool TCategoryStore::IsValidCategoryName(const std::string& name) {
    return !name.empty() && name.find_first_of(kForbidden) == std::string::npos &&
           name.find('\0') == std::string::npos;
}

int TCategoryStore::PositionOf(const std::string& name) const {
    const std::string key = NameKey(name);
    for (size_t i = 1; i < CategoryList.size(); ++i) {
        if (NameKey(CategoryList[i]) == key) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int TCategoryStore::InsertCategoryName(const std::string& name) {
    if (const int existing = PositionOf(name); existing > 0) {
        return existing;
    }
    // Entry 0 stays first whatever the order would say.
    const auto place = std::upper_bound(
        CategoryList.begin() + 1, CategoryList.end(), name,
        [](const std::string& a, const std::string& b) { return Text().Collate(a, b) < 0; });
    const auto position = place - CategoryList.begin();
    CategoryList.insert(place, name);
    return static_cast<int>(position);
}

void TCategoryStore::SelectCategory(int position) {
    if (position < 0 || position >= static_cast<int>(CategoryList.size())) {
        CurrentPosition = -1;
        NotifyLists();
        return;
    }
    CurrentPosition = position;
    MemberList.clear();
    AvailableList = SortedUnique(FontManager->Families);
    MembersUnreadable = false;
    if (position > 0) {
        const std::string& name = CategoryList[static_cast<size_t>(position)];
        if (!LoadCategory(name, MemberList)) {
            // A missing file has nothing to lose; one that is there does.
            std::error_code error;
            MembersUnreadable =
                HasFile(name) && fs::symlink_status(CategoryFilePath(name), error).type() !=
                                     fs::file_type::not_found;
        }
        AvailableList = NamesOutside(AvailableList, TNameSet(MemberList));
    }
    NotifyLists();
}

void TCategoryStore::CommitCategory() {
    if (CurrentPosition <= 0) {
        CreateCategory();
        return;
    }
    const std::string name = CategoryList[static_cast<size_t>(CurrentPosition)];
    RemoveUninstalled(MemberList);
    SaveCategory(name, MemberList);
    NotifyLists();
    NotifySheet(name);
}

void TCategoryStore::CreateCategory() {
    const std::string initial =
        CurrentPosition >= 0 ? CategoryList[static_cast<size_t>(CurrentPosition)] : "";
    const std::optional<std::string> typed =
        Prompts().InputBox(LoadStr(kNewCategoryCaption), LoadStr(kNewCategoryPrompt), initial);
    if (!typed) {
        return;
    }
    const std::string& name = *typed;
    if (!IsValidCategoryName(name)) {
        Prompts().MessageBox(LoadStr(kInvalidName), LoadStr(kWarning), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    int target = PositionOf(name);
    if (target > 0) {
        if (!Ask(FmtLoadStr(kOverwrite, name))) {
            return;
        }
    } else {
        target = InsertCategoryName(name);
    }
    CurrentPosition = target;
    RemoveUninstalled(MemberList);
    if (SaveCategory(name, MemberList)) {
        TakeSpelling(target, name);
    }
    NotifyLists();
    NotifySheet(name);
}

// Names differing only in case are one category, but not one file here: the
// entry takes the spelling its file now has, and the file of the old one goes.
void TCategoryStore::TakeSpelling(int position, const std::string& name) {
    std::string& entry = CategoryList[static_cast<size_t>(position)];
    if (entry == name) {
        return;
    }
    // On a folder that ignores case the two are one file, the one just written.
    std::error_code error;
    if (!fs::equivalent(CategoryFilePath(entry), CategoryFilePath(name), error)) {
        fs::remove(CategoryFilePath(entry), error);
    }
    entry = name;
}

void TCategoryStore::DeleteCategory() {
    if (CurrentPosition <= 0) {
        return;
    }
    const std::string name = CategoryList[static_cast<size_t>(CurrentPosition)];
    if (!Ask(FmtLoadStr(kDeleteQuestion, name))) {
        return;
    }
    const std::string path = CategoryFilePath(name);
    if (HasFile(name)) {
        std::error_code error;
        fs::remove(path, error);
        if (error) {
            ShowError(FmtLoadStr(kDeleteError, path, SystemErrors().ErrorText(error.value())),
                      kErrorCaption);
            return;
        }
    }
    CategoryList.erase(CategoryList.begin() + CurrentPosition);
    SelectCategory(0);
    NotifySheet(name);
}

void TCategoryStore::UpdateAllCategories() {
    THourglass busy;
    for (size_t i = 1; i < CategoryList.size(); ++i) {
        std::vector<std::string> members;
        if (LoadCategory(CategoryList[i], members)) {
            RemoveUninstalled(members);
            SaveCategory(CategoryList[i], members);
        }
    }
    NotifySheet(CurrentPosition >= 0 ? CategoryList[static_cast<size_t>(CurrentPosition)] : "");
}

std::vector<std::string> TCategoryStore::ShowCategory(int position) {
    SelectCategory(position);
    return MemberList;
}

void TCategoryStore::AddFontsToCategory(const std::string& name,
                                        const std::vector<std::string>& fonts) {
    const int remembered = CurrentPosition;
    SelectCategory(std::max(PositionOf(name), 0));
    // The user was told the file could not be read; writing the fonts alone
    // over it would lose what it holds.
    if (MembersUnreadable) {
        SelectCategory(remembered);
        return;
    }
    std::vector<std::string> all = MemberList;
    all.insert(all.end(), fonts.begin(), fonts.end());
    MemberList = SortedUnique(std::move(all));
    CommitCategory();
    SelectCategory(remembered);
}

std::vector<std::string>
TCategoryStore::RemoveMarkedFromCategory(const std::string& name,
                                         const std::vector<std::string>& marks) {
    SelectCategory(std::max(PositionOf(name), 0));
    if (MembersUnreadable) {
        return MemberList;
    }
    const size_t last = std::min(marks.size(), MemberList.size());
    for (size_t i = last; i-- > 0;) {
        if (!marks[i].empty()) {
            MemberList.erase(MemberList.begin() + static_cast<std::ptrdiff_t>(i));
        }
    }
    CommitCategory();
    return MemberList;
}

std::vector<std::string> TCategoryStore::Operand(const TCategoryOperand& operand) {
    if (operand.AllFonts) {
        return FontManager->Families;
    }
    std::vector<std::string> members;
    LoadCategory(operand.Name, members);
    return members;
}

std::vector<std::string> TCategoryStore::CombineCategories(const TCategoryOperand& first,
                                                           TCombineOp operation,
                                                           const TCategoryOperand& second) {
    THourglass busy;
    std::vector<std::string> result = SortedUnique(Operand(first));
    const std::vector<std::string> other = Operand(second);
    switch (operation) {
    case TCombineOp::Plus:
        result.insert(result.end(), other.begin(), other.end());
        return SortedUnique(std::move(result));
    case TCombineOp::Minus:
        return NamesOutside(result, TNameSet(other));
    case TCombineOp::And: {
        const TNameSet held(other);
        result.erase(std::remove_if(result.begin(), result.end(),
                                    [&](const std::string& name) { return !held.Holds(name); }),
                     result.end());
        return result;
    }
    }
    return result;
}

std::vector<std::string> TCategoryStore::FindFontInCategories(const std::string& font) {
    THourglass busy;
    std::vector<std::string> found;
    const std::string key = NameKey(font);
    for (size_t i = 1; i < CategoryList.size(); ++i) {
        std::vector<std::string> members;
        LoadCategory(CategoryList[i], members);
        if (std::any_of(members.begin(), members.end(),
                        [&](const std::string& m) { return NameKey(m) == key; })) {
            found.push_back(CategoryList[i]);
        }
    }
    return found;
}

std::vector<std::string> TCategoryStore::FontsWithoutCategory() {
    THourglass busy;
    TNameSet inSome;
    for (size_t i = 1; i < CategoryList.size(); ++i) {
        std::vector<std::string> members;
        LoadCategory(CategoryList[i], members);
        for (const std::string& member : members) {
            inSome.Add(member);
        }
    }
    return NamesOutside(FontManager->Families, inSome);
}

void TCategoryStore::ImportCategoryFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        const std::string name = NameWithoutExtension(fs::path(file).filename().string());
        if (!HasFile(name)) {
            continue;
        }
        // Whatever the case of its extension, a category's file is read as ".lst".
        const std::string destination = CategoryFilePath(name);
        std::error_code error;
        const bool inPlace = fs::equivalent(file, destination, error);
        if (!inPlace && !FileShell().CopyFileOver(file, destination)) {
            ShowError(FmtLoadStr(kCreateError, destination), kErrorCaption);
            continue;
        }
        TakeSpelling(InsertCategoryName(name), name);
    }
    NotifyLists();
    NotifySheet("");
}

void TCategoryStore::UpdatePlaceholder() {
    CategoryList[0] = LoadStr(kNewCategoryEntry);
    CurrentPosition = 0;
    NotifyLists();
}

void TCategoryStore::MoveItems(std::vector<std::string>& from, std::vector<std::string>& to,
                               const std::vector<int>& positions) {
    std::vector<bool> moving(from.size(), false);
    for (const int position : positions) {
        if (position >= 0 && position < static_cast<int>(from.size())) {
            moving[static_cast<size_t>(position)] = true;
        }
    }
    std::vector<std::string> staying;
    for (size_t i = 0; i < from.size(); ++i) {
        (moving[i] ? to : staying).push_back(std::move(from[i]));
    }
    from = std::move(staying);
    Text().SortCollated(to);
    NotifyLists();
}

void TCategoryStore::MoveToCategory(const std::vector<int>& availablePositions) {
    MoveItems(AvailableList, MemberList, availablePositions);
}

void TCategoryStore::MoveOutOfCategory(const std::vector<int>& memberPositions) {
    MoveItems(MemberList, AvailableList, memberPositions);
}

void TCategoryStore::MoveAllToCategory() {
    std::vector<int> all(AvailableList.size());
    for (size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<int>(i);
    }
    MoveToCategory(all);
}

void TCategoryStore::MoveAllOutOfCategory() {
    std::vector<int> all(MemberList.size());
    for (size_t i = 0; i < all.size(); ++i) {
        all[i] = static_cast<int>(i);
    }
    MoveOutOfCategory(all);
}

void TCategoryStore::NotifySheet(const std::string& name) {
    if (CategoriesChanged) {
        CategoriesChanged(name);
    }
}

void TCategoryStore::NotifyLists() {
    if (ListsChanged) {
        ListsChanged();
    }
}

} // namespace lw
