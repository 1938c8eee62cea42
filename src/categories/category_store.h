#pragma once

#include "categories/auto_categories.h"
#include "categories/collections_json.h"
#include "platform/file_lock.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lw {

enum class TCombineOp { Plus, Minus, And };

// One side of a combination: a category by name, an automatic category by
// its id (Automatic), or every installed family.
struct TCategoryOperand {
    bool AllFonts = false;
    std::string Name;
    bool Automatic = false;
};

// Where the categories folder may go: beside the program when the program's
// folder can be written (a portable copy, the build tree), else in the
// user's data folder.
struct TCategoryPlaces {
    std::string ProgramFolder;
    std::string DataFolder;
};

// The user's named groups of installed families: an index of names in the
// settings and one file a category. Holds the category list (entry 0 is the
// new-category entry) and the two working lists the organize window shows:
// the current category's members and the installed families outside it.
// Failures are told to the user through the prompts service.
//
// Other processes (a second window, the command line) change the same files:
// every change takes the folder's lock, reads what is on disk now, applies
// only what this store changed and writes it back, so no writer loses
// another's change.
class TCategoryStore {
public:
    explicit TCategoryStore(TCategoryPlaces places);

    // What the program does once at start: the catalogue's families as the
    // available list, the folder made ready, the index read, the sheet told.
    void Start();

    void PrepareCategoriesFolder();
    void LoadCategoryList();
    // Writes the index as it stands on disk, tidied; it never drops a name
    // another process added.
    void SaveCategoryList();
    // Takes in what other processes changed: the index, and the current
    // category's members with this window's own moves still applied.
    void Reload();
    // False, with the user told, when the file cannot be read; target is
    // then left as it was.
    bool LoadCategory(const std::string& name, std::vector<std::string>& target);
    bool SaveCategory(const std::string& name, const std::vector<std::string>& members);
    void RemoveUninstalled(std::vector<std::string>& members);
    static bool IsValidCategoryName(const std::string& name);
    // The message number that refuses name for a new category; 0 for none.
    static int NameRefusal(const std::string& name);

    void SelectCategory(int position);
    // The new-category entry made current without loading the working
    // lists, which the organize window loads anew when it opens.
    void PointAtNewEntry() { CurrentPosition = 0; }
    void CommitCategory();
    void CreateCategory();
    void DeleteCategory();
    void UpdateAllCategories();
    std::vector<std::string> ShowCategory(int position);
    void AddFontsToCategory(const std::string& name, const std::vector<std::string>& fonts);
    // The families go by name from the file as it is now; what stays is
    // returned.
    std::vector<std::string> RemoveFromCategory(const std::string& name,
                                                const std::vector<std::string>& families);
    std::vector<std::string> CombineCategories(const TCategoryOperand& first, TCombineOp operation,
                                               const TCategoryOperand& second);
    std::vector<std::string> FindFontInCategories(const std::string& font);
    std::vector<std::string> FontsWithoutCategory();
    void ImportCategoryFiles(const std::vector<std::string>& files);
    // Makes a category of each collection another font manager kept, of
    // its installed families, asking before one of the same name is
    // replaced; a character no category name may hold becomes "-". Gives the
    // families that are not installed, "collection<TAB>family", skipped.
    std::vector<std::string> ImportCollections(const std::vector<TImportedCollection>& collections);
    void UpdatePlaceholder();

    // Moves between the working lists; positions are those of the source.
    void MoveToCategory(const std::vector<int>& availablePositions);
    void MoveAllToCategory();
    void MoveOutOfCategory(const std::vector<int>& memberPositions);
    void MoveAllOutOfCategory();

    // The folder, with a trailing separator.
    const std::string& Folder() const { return CategoriesFolder; }
    std::string CategoryFilePath(const std::string& name) const;
    const std::vector<std::string>& Categories() const { return CategoryList; }
    // Position of the category of that name ignoring ASCII case; -1 when none.
    int PositionOf(const std::string& name) const;
    int Current() const { return CurrentPosition; }
    const std::vector<std::string>& Members() const { return MemberList; }
    const std::vector<std::string>& Available() const { return AvailableList; }

    // The automatic categories once their facts are gathered; null before.
    std::shared_ptr<const TAutoCategories> Automatic;

    // The installed-font sheet's notice that a category (by name; empty for
    // all) or the list of categories changed.
    std::function<void(const std::string& name)> CategoriesChanged;
    // The working lists, the category list or the current entry changed.
    std::function<void()> ListsChanged;

private:
    // The folder's lock, held by this store while the guard lives; taken
    // again inside, it is the same lock.
    class TLock {
    public:
        explicit TLock(TCategoryStore& store);
        ~TLock();
        TLock(const TLock&) = delete;
        TLock& operator=(const TLock&) = delete;

    private:
        TCategoryStore& Store;
    };

    void NotifySheet(const std::string& name);
    void NotifyLists();
    bool HasFile(const std::string& name) const;
    bool FileIsThere(const std::string& name) const;
    // The names read from the file; nothing, untold, when it cannot be read.
    std::optional<std::vector<std::string>> ReadCategory(const std::string& name) const;
    std::optional<std::vector<std::string>> ReadIndex(bool tell);
    void ReloadIndex();
    bool ChangeIndex(const std::function<void(std::vector<std::string>&)>& change);
    void SetCategoryNames(const std::vector<std::string>& names);
    int InsertCategoryName(const std::string& name);
    void TakeSpelling(const std::string& old, const std::string& name);
    void WorkingListsFrom(std::vector<std::string> onDisk);
    std::vector<std::string> Operand(const TCategoryOperand& operand);
    std::vector<std::string> MoveItems(std::vector<std::string>& from, std::vector<std::string>& to,
                                       const std::vector<int>& positions);
    // The installed families sorted and unique, made again only when the
    // catalogue's list changed: every category shown starts from it, and
    // collating thousands of names each time is what a view waited for.
    const std::vector<std::string>& SortedFamilies();

    TCategoryPlaces Places;
    std::string CategoriesFolder;
    std::vector<std::string> CategoryList;
    int CurrentPosition = -1;
    bool IndexUnread = false;
    // The current category's file is there but could not be read.
    bool MembersUnreadable = false;
    std::vector<std::string> MemberList;
    std::vector<std::string> AvailableList;
    // What the user moved into and out of the current category since it was
    // read: the changes a commit applies to the file as it then is.
    std::vector<std::string> MovedIn;
    std::vector<std::string> MovedOut;
    std::unique_ptr<IHeldLock> HeldLock;
    int LockDepth = 0;
    std::vector<std::string> FamiliesSorted;
    std::vector<std::string> FamiliesSortedFrom; // the catalogue's list they came from
};

} // namespace lw
