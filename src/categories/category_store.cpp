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
#include <string_view>
#include <system_error>
#include <unordered_map>
#include <utility>

namespace lw {

namespace {

namespace fs = std::filesystem;

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
constexpr int kLineBreakInName = 16007;
constexpr int kNameTooLong = 16008;

constexpr const char* kCountValue = "Number of categories";
constexpr const char* kFolderName = "Categories";
constexpr const char* kFileMask = "*.lst";
constexpr const char* kLockFile = ".lock";
// The longest file name, in bytes, the file systems here hold.
constexpr size_t kMaxFileNameBytes = 255;
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

// Category names are bytes: two that differ anywhere but in the case of an
// ASCII letter are two categories, whatever bytes they hold.
std::string CategoryKey(const std::string& name) {
    std::string key = name;
    for (char& c : key) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return key;
}

// The name put in place of one of the same key, or added.
void AddName(std::vector<std::string>& names, const std::string& name) {
    for (std::string& held : names) {
        if (CategoryKey(held) == CategoryKey(name)) {
            held = name;
            return;
        }
    }
    names.push_back(name);
}

void RemoveName(std::vector<std::string>& names, const std::string& name) {
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& held) {
                                   return CategoryKey(held) == CategoryKey(name);
                               }),
                names.end());
}

// The index as it is written: each name once, in the list's order.
std::vector<std::string> IndexOrder(std::vector<std::string> names) {
    std::vector<std::string> unique;
    for (std::string& name : names) {
        if (std::none_of(unique.begin(), unique.end(), [&](const std::string& held) {
                return CategoryKey(held) == CategoryKey(name);
            })) {
            unique.push_back(std::move(name));
        }
    }
    std::stable_sort(unique.begin(), unique.end(), [](const std::string& a, const std::string& b) {
        return Text().Collate(a, b) < 0;
    });
    return unique;
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
    AvailableList = SortedFamilies();
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

TCategoryStore::TLock::TLock(TCategoryStore& store) : Store(store) {
    if (Store.LockDepth++ == 0 && !Store.CategoriesFolder.empty()) {
        // Without a lock file (a folder that cannot be written) the changes
        // fail and are told on their own.
        Store.HeldLock = FileLocks().Lock(Store.CategoriesFolder + kLockFile);
    }
}

TCategoryStore::TLock::~TLock() {
    if (--Store.LockDepth == 0) {
        Store.HeldLock.reset();
    }
}

// The index as the settings hold it now: every "Category<n>" there, whatever
// the count says (a damaged count must not hide names). Nothing when the
// settings cannot be read at all.
std::optional<std::vector<std::string>> TCategoryStore::ReadIndex(bool tell) {
    TRegistry registry(RegistryHive());
    try {
        if (!registry.OpenKey(kProgramKey, false)) {
            return std::vector<std::string>();
        }
    } catch (const ERegistryError&) {
        if (tell) {
            ShowError(LoadStr(kRegistryReadError), kRegistryErrorCaption);
        }
        return std::nullopt;
    }
    bool failed = false;
    // No count at all is settings saved before any category was: nothing
    // to tell.
    try {
        if (registry.ValueExists(kCountValue)) {
            registry.ReadInteger(kCountValue);
        }
    } catch (const ERegistryError&) {
        failed = true;
    }
    std::vector<std::string> names;
    for (const int i : CategoryNumbers(registry)) {
        try {
            const std::string name = registry.ReadString(CategoryValue(i));
            if (!name.empty()) {
                names.push_back(name);
            }
        } catch (const ERegistryError&) {
            failed = true;
        }
    }
    if (failed && tell) {
        ShowError(LoadStr(kRegistryReadError), kRegistryErrorCaption);
    }
    return names;
}

void TCategoryStore::LoadCategoryList() {
    const std::optional<std::vector<std::string>> names = ReadIndex(true);
    IndexUnread = !names;
    if (names) {
        SetCategoryNames(*names);
    }
    NotifyLists();
}

void TCategoryStore::ReloadIndex() {
    if (const std::optional<std::vector<std::string>> names = ReadIndex(false)) {
        SetCategoryNames(*names);
    }
}

// The list becomes names, in order; the current entry stays on its name, or
// goes to the new-category entry when another process took that name away.
void TCategoryStore::SetCategoryNames(const std::vector<std::string>& names) {
    const std::string current =
        CurrentPosition > 0 ? CategoryList[static_cast<size_t>(CurrentPosition)] : "";
    CategoryList.resize(1);
    for (const std::string& name : names) {
        InsertCategoryName(name);
    }
    if (CurrentPosition > 0) {
        const int position = PositionOf(current);
        CurrentPosition = position > 0 ? position : 0;
        if (position <= 0) {
            MemberList.clear();
            MovedIn.clear();
            MovedOut.clear();
            AvailableList = SortedFamilies();
        }
    }
}

// Under the lock: the index read as it is now, changed, and written back
// when that changed it or it was untidy; the list becomes what is written.
bool TCategoryStore::ChangeIndex(const std::function<void(std::vector<std::string>&)>& change) {
    TLock lock(*this);
    TRegistry registry(RegistryHive());
    std::vector<std::string> names;
    try {
        // A damaged settings file reads as empty here: the hive keeps it
        // aside when it replaces it.
        registry.OpenKey(kProgramKey, true);
        bool tidy = registry.ValueExists(kCountValue) &&
                    registry.GetDataType(kCountValue) == TRegDataType::Integer;
        const std::vector<int> numbers = CategoryNumbers(registry);
        for (size_t i = 0; i < numbers.size(); ++i) {
            tidy = tidy && numbers[i] == static_cast<int>(i) + 1;
            const auto type = registry.GetDataType(CategoryValue(numbers[i]));
            if (type == TRegDataType::String) {
                if (std::string name = registry.ReadString(CategoryValue(numbers[i]));
                    !name.empty()) {
                    names.push_back(std::move(name));
                    continue;
                }
            }
            tidy = false;
        }
        tidy = tidy && registry.ReadInteger(kCountValue) == static_cast<int>(names.size());
        const std::vector<std::string> before = names;
        change(names);
        names = IndexOrder(std::move(names));
        if (!tidy || names != before) {
            for (const int i : numbers) {
                registry.DeleteValue(CategoryValue(i));
            }
            registry.WriteInteger(kCountValue, static_cast<int>(names.size()));
            for (size_t i = 0; i < names.size(); ++i) {
                registry.WriteString(CategoryValue(static_cast<int>(i) + 1), names[i]);
            }
        }
        registry.CloseKey();
    } catch (const ERegistryError&) {
        ShowError(LoadStr(kRegistryWriteError), kRegistryErrorCaption);
        return false;
    }
    SetCategoryNames(names);
    return true;
}

void TCategoryStore::SaveCategoryList() {
    // An index that could not be read is not written over with nothing.
    if (IndexUnread && CategoryList.size() == 1) {
        return;
    }
    ChangeIndex([](std::vector<std::string>&) {});
}

void TCategoryStore::Reload() {
    if (LockDepth > 0) {
        return;
    }
    const std::vector<std::string> before = CategoryList;
    const std::vector<std::string> membersBefore = MemberList;
    ReloadIndex();
    if (CurrentPosition > 0) {
        if (auto onDisk = ReadCategory(CategoryList[static_cast<size_t>(CurrentPosition)])) {
            WorkingListsFrom(std::move(*onDisk));
        }
    }
    // The folder also changes when this program writes it: lists that read
    // back as they were are left alone, with what the user has selected.
    if (CategoryList == before && MemberList == membersBefore) {
        return;
    }
    NotifyLists();
    if (CategoryList != before) {
        NotifySheet("");
    }
}

// Whether a name has a file in the folder: a name that would lead out of it,
// or a store without a folder, has none.
bool TCategoryStore::HasFile(const std::string& name) const {
    return !CategoriesFolder.empty() && !name.empty() && name.find('/') == std::string::npos;
}

bool TCategoryStore::FileIsThere(const std::string& name) const {
    std::error_code error;
    return HasFile(name) &&
           fs::symlink_status(CategoryFilePath(name), error).type() != fs::file_type::not_found;
}

std::string TCategoryStore::CategoryFilePath(const std::string& name) const {
    return CategoriesFolder + name + ".lst";
}

std::optional<std::vector<std::string>>
TCategoryStore::ReadCategory(const std::string& name) const {
    // A name that would lead out of the folder names no category file.
    if (!HasFile(name)) {
        return std::nullopt;
    }
    const auto bytes = FileShell().ReadSmallFile(CategoryFilePath(name), kMaxFileSize);
    if (!bytes) {
        return std::nullopt;
    }
    std::optional<TNameSet> installed;
    return ParseCategoryFile(*bytes, [&](const std::string& family) {
        if (!installed) {
            installed.emplace(FontManager ? FontManager->Families : std::vector<std::string>());
        }
        return installed->Holds(family);
    });
}

bool TCategoryStore::LoadCategory(const std::string& name, std::vector<std::string>& target) {
    std::optional<std::vector<std::string>> names = ReadCategory(name);
    if (!names) {
        ShowError(FmtLoadStr(kOpenError, CategoryFilePath(name)), kErrorCaption);
        return false;
    }
    target = SortedUnique(std::move(*names));
    return true;
}

bool TCategoryStore::SaveCategory(const std::string& name,
                                  const std::vector<std::string>& members) {
    const std::string path = CategoryFilePath(name);
    // A file the user made read-only is one they want left as it is, even
    // though the folder would let it be replaced.
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    const bool readOnly = fs::exists(status) &&
                          (status.permissions() & (fs::perms::owner_write | fs::perms::group_write |
                                                   fs::perms::others_write)) == fs::perms::none;
    if (!HasFile(name) || readOnly ||
        !FileShell().WriteFileOver(path, FormatCategoryFile(members))) {
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
    return NameRefusal(name) == 0;
}

int TCategoryStore::NameRefusal(const std::string& name) {
    if (name.empty() || name.find_first_of(kForbidden) != std::string::npos ||
        name.find('\0') != std::string::npos) {
        return kInvalidName;
    }
    // Listed one a line, a name with a line break would read as two.
    if (name.find_first_of("\r\n") != std::string::npos) {
        return kLineBreakInName;
    }
    if (name.size() + std::string_view(".lst").size() > kMaxFileNameBytes) {
        return kNameTooLong;
    }
    return 0;
}

int TCategoryStore::PositionOf(const std::string& name) const {
    const std::string key = CategoryKey(name);
    for (size_t i = 1; i < CategoryList.size(); ++i) {
        if (CategoryKey(CategoryList[i]) == key) {
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

// The current category's lists from its file as it is now, with the user's
// own moves since it was read applied again.
void TCategoryStore::WorkingListsFrom(std::vector<std::string> onDisk) {
    std::vector<std::string> members = NamesOutside(onDisk, TNameSet(MovedOut));
    members.insert(members.end(), MovedIn.begin(), MovedIn.end());
    MemberList = SortedUnique(std::move(members));
    AvailableList = NamesOutside(SortedFamilies(), TNameSet(MemberList));
}

const std::vector<std::string>& TCategoryStore::SortedFamilies() {
    if (FamiliesSortedFrom != FontManager->Families) {
        FamiliesSortedFrom = FontManager->Families;
        FamiliesSorted = SortedUnique(FamiliesSortedFrom);
    }
    return FamiliesSorted;
}

void TCategoryStore::SelectCategory(int position) {
    MovedIn.clear();
    MovedOut.clear();
    if (position < 0 || position >= static_cast<int>(CategoryList.size())) {
        CurrentPosition = -1;
        NotifyLists();
        return;
    }
    CurrentPosition = position;
    MemberList.clear();
    AvailableList = SortedFamilies();
    MembersUnreadable = false;
    if (position > 0) {
        const std::string& name = CategoryList[static_cast<size_t>(position)];
        if (!LoadCategory(name, MemberList)) {
            // A missing file has nothing to lose; one that is there does.
            MembersUnreadable = FileIsThere(name);
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
    TLock lock(*this);
    const std::string name = CategoryList[static_cast<size_t>(CurrentPosition)];
    std::optional<std::vector<std::string>> onDisk = ReadCategory(name);
    if (!onDisk) {
        // The user is told; a file that is there but cannot be read is never
        // written over with the list shown, which lacks what it holds.
        if (FileIsThere(name)) {
            ShowError(FmtLoadStr(kOpenError, CategoryFilePath(name)), kErrorCaption);
            return;
        }
        onDisk.emplace();
    }
    WorkingListsFrom(std::move(*onDisk));
    RemoveUninstalled(MemberList);
    if (SaveCategory(name, MemberList)) {
        MovedIn.clear();
        MovedOut.clear();
        // Another process may have taken it out of the index meanwhile.
        ChangeIndex([&](std::vector<std::string>& names) { AddName(names, name); });
    }
    AvailableList = NamesOutside(SortedFamilies(), TNameSet(MemberList));
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
    if (const int refusal = NameRefusal(name); refusal != 0) {
        Prompts().MessageBox(LoadStr(refusal), LoadStr(kWarning), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    TLock lock(*this);
    // What other processes made meanwhile counts too: a file of that name
    // not in the index is never replaced without asking.
    ReloadIndex();
    const int existing = PositionOf(name);
    if ((existing > 0 || FileIsThere(name)) && !Ask(FmtLoadStr(kOverwrite, name))) {
        return;
    }
    const std::string old = existing > 0 ? CategoryList[static_cast<size_t>(existing)] : name;
    RemoveUninstalled(MemberList);
    if (SaveCategory(name, MemberList)) {
        TakeSpelling(old, name);
        MovedIn.clear();
        MovedOut.clear();
        ChangeIndex([&](std::vector<std::string>& names) { AddName(names, name); });
        CurrentPosition = std::max(PositionOf(name), 0);
    }
    NotifyLists();
    NotifySheet(name);
}

// Names differing only in case are one category, but not one file here: the
// file of the old spelling goes, unless a folder that ignores case made the
// two one file, the one just written.
void TCategoryStore::TakeSpelling(const std::string& old, const std::string& name) {
    if (old == name || !HasFile(old)) {
        return;
    }
    std::error_code error;
    if (!fs::equivalent(CategoryFilePath(old), CategoryFilePath(name), error)) {
        fs::remove(CategoryFilePath(old), error);
    }
}

void TCategoryStore::DeleteCategory() {
    if (CurrentPosition <= 0) {
        return;
    }
    const std::string name = CategoryList[static_cast<size_t>(CurrentPosition)];
    if (!Ask(FmtLoadStr(kDeleteQuestion, name))) {
        return;
    }
    TLock lock(*this);
    const std::string path = CategoryFilePath(name);
    if (HasFile(name)) {
        std::error_code error;
        fs::remove(path, error);
        // A name no file can have has no file to remove.
        if (error && error.value() != ENAMETOOLONG) {
            ShowError(FmtLoadStr(kDeleteError, path, SystemErrors().ErrorText(error.value())),
                      kErrorCaption);
            return;
        }
    }
    ChangeIndex([&](std::vector<std::string>& names) { RemoveName(names, name); });
    // Gone from the index whatever it could be written: the file is gone.
    if (const int position = PositionOf(name); position > 0) {
        CategoryList.erase(CategoryList.begin() + position);
    }
    SelectCategory(0);
    NotifySheet(name);
}

void TCategoryStore::UpdateAllCategories() {
    THourglass busy;
    TLock lock(*this);
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
    const std::string remembered =
        CurrentPosition > 0 ? CategoryList[static_cast<size_t>(CurrentPosition)] : "";
    const bool wasOnNewEntry = CurrentPosition == 0;
    {
        TLock lock(*this);
        ReloadIndex();
        // A file another process made without the index (or before it got
        // there) is adopted, not written over.
        if (PositionOf(name) <= 0 && FileIsThere(name) && NameRefusal(name) == 0) {
            ChangeIndex([&](std::vector<std::string>& names) { AddName(names, name); });
        }
        SelectCategory(std::max(PositionOf(name), 0));
        // The user was told the file could not be read; writing the fonts
        // alone over it would lose what it holds.
        if (!MembersUnreadable) {
            if (CurrentPosition > 0) {
                MovedIn = fonts;
            } else {
                std::vector<std::string> all = MemberList;
                all.insert(all.end(), fonts.begin(), fonts.end());
                MemberList = SortedUnique(std::move(all));
            }
            CommitCategory();
        }
    }
    const int position = PositionOf(remembered);
    SelectCategory(position > 0 ? position : (wasOnNewEntry || remembered.empty() ? 0 : -1));
}

std::vector<std::string>
TCategoryStore::RemoveFromCategory(const std::string& name,
                                   const std::vector<std::string>& families) {
    TLock lock(*this);
    ReloadIndex();
    const int position = PositionOf(name);
    if (position <= 0) {
        return {};
    }
    SelectCategory(position);
    if (MembersUnreadable) {
        return MemberList;
    }
    MovedOut = families;
    CommitCategory();
    return MemberList;
}

std::vector<std::string> TCategoryStore::Operand(const TCategoryOperand& operand) {
    if (operand.AllFonts) {
        return FontManager->Families;
    }
    if (operand.Automatic) {
        const std::vector<std::string>* members =
            Automatic ? Automatic->Members(operand.Name) : nullptr;
        return members ? *members : std::vector<std::string>();
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

std::vector<std::string>
TCategoryStore::ImportCollections(const std::vector<TImportedCollection>& collections) {
    std::unordered_map<std::string, std::string> installed;
    for (const std::string& family : FontManager->Families) {
        installed.emplace(NameKey(family), family);
    }
    std::vector<std::string> skipped;
    for (const TImportedCollection& collection : collections) {
        std::string name = collection.Name;
        for (char& c : name) {
            if (std::string_view(kForbidden).find(c) != std::string_view::npos) {
                c = '-';
            } else if (c == '\r' || c == '\n') {
                c = ' ';
            }
        }
        if (const int refusal = NameRefusal(name); refusal != 0) {
            Prompts().MessageBox(LoadStr(refusal), LoadStr(kWarning), TMsgIcon::Warning,
                                 TMsgButtons::Ok);
            continue;
        }
        std::vector<std::string> members;
        for (const std::string& family : collection.Families) {
            const auto spelled = installed.find(NameKey(family));
            if (spelled == installed.end()) {
                skipped.push_back(name + "\t" + family);
            } else {
                members.push_back(spelled->second);
            }
        }
        TLock lock(*this);
        ReloadIndex();
        const int existing = PositionOf(name);
        if ((existing > 0 || FileIsThere(name)) && !Ask(FmtLoadStr(kOverwrite, name))) {
            continue;
        }
        if (SaveCategory(name, SortedUnique(std::move(members)))) {
            TakeSpelling(existing > 0 ? CategoryList[static_cast<size_t>(existing)] : name, name);
            ChangeIndex([&](std::vector<std::string>& names) { AddName(names, name); });
        }
    }
    NotifyLists();
    NotifySheet("");
    return skipped;
}

void TCategoryStore::ImportCategoryFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files) {
        const std::string name = NameWithoutExtension(fs::path(file).filename().string());
        if (!HasFile(name)) {
            continue;
        }
        // A file may be named what no category may: told, and left out.
        if (const int refusal = NameRefusal(name);
            refusal == kLineBreakInName || refusal == kNameTooLong) {
            Prompts().MessageBox(LoadStr(refusal), LoadStr(kWarning), TMsgIcon::Warning,
                                 TMsgButtons::Ok);
            continue;
        }
        TLock lock(*this);
        // Whatever the case of its extension, a category's file is read as ".lst".
        const std::string destination = CategoryFilePath(name);
        std::error_code error;
        const bool inPlace = fs::equivalent(file, destination, error);
        if (!inPlace && !FileShell().CopyFileOver(file, destination)) {
            ShowError(FmtLoadStr(kCreateError, destination), kErrorCaption);
            continue;
        }
        ReloadIndex();
        const int existing = PositionOf(name);
        TakeSpelling(existing > 0 ? CategoryList[static_cast<size_t>(existing)] : name, name);
        ChangeIndex([&](std::vector<std::string>& names) { AddName(names, name); });
    }
    NotifyLists();
    NotifySheet("");
}

void TCategoryStore::UpdatePlaceholder() {
    CategoryList[0] = LoadStr(kNewCategoryEntry);
    CurrentPosition = 0;
    NotifyLists();
}

std::vector<std::string> TCategoryStore::MoveItems(std::vector<std::string>& from,
                                                   std::vector<std::string>& to,
                                                   const std::vector<int>& positions) {
    std::vector<bool> moving(from.size(), false);
    for (const int position : positions) {
        if (position >= 0 && position < static_cast<int>(from.size())) {
            moving[static_cast<size_t>(position)] = true;
        }
    }
    std::vector<std::string> staying;
    std::vector<std::string> moved;
    for (size_t i = 0; i < from.size(); ++i) {
        if (moving[i]) {
            moved.push_back(from[i]);
        }
        (moving[i] ? to : staying).push_back(std::move(from[i]));
    }
    from = std::move(staying);
    Text().SortCollated(to);
    NotifyLists();
    return moved;
}

// A move that undoes an earlier one leaves no change behind.
void TCategoryStore::MoveToCategory(const std::vector<int>& availablePositions) {
    for (const std::string& name : MoveItems(AvailableList, MemberList, availablePositions)) {
        MovedOut = NamesOutside(MovedOut, TNameSet({name}));
        MovedIn.push_back(name);
    }
}

void TCategoryStore::MoveOutOfCategory(const std::vector<int>& memberPositions) {
    for (const std::string& name : MoveItems(MemberList, AvailableList, memberPositions)) {
        MovedIn = NamesOutside(MovedIn, TNameSet({name}));
        MovedOut.push_back(name);
    }
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
