#pragma once

#include <functional>
#include <string>
#include <vector>

namespace lw {

enum class TCombineOp { Plus, Minus, And };

// One side of a combination: a category by name, or every installed family.
struct TCategoryOperand {
    bool AllFonts = false;
    std::string Name;
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
class TCategoryStore {
public:
    explicit TCategoryStore(TCategoryPlaces places);

    // What the program does once at start: the catalogue's families as the
    // available list, the folder made ready, the index read, the sheet told.
    void Start();

    void PrepareCategoriesFolder();
    void LoadCategoryList();
    void SaveCategoryList();
    // False, with the user told, when the file cannot be read; target is
    // then left as it was.
    bool LoadCategory(const std::string& name, std::vector<std::string>& target);
    bool SaveCategory(const std::string& name, const std::vector<std::string>& members);
    void RemoveUninstalled(std::vector<std::string>& members);
    static bool IsValidCategoryName(const std::string& name);

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
    // marks[i] non-empty: member i goes.
    std::vector<std::string> RemoveMarkedFromCategory(const std::string& name,
                                                      const std::vector<std::string>& marks);
    std::vector<std::string> CombineCategories(const TCategoryOperand& first, TCombineOp operation,
                                               const TCategoryOperand& second);
    std::vector<std::string> FindFontInCategories(const std::string& font);
    std::vector<std::string> FontsWithoutCategory();
    void ImportCategoryFiles(const std::vector<std::string>& files);
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
    // Position of the category of that name ignoring case; -1 when none.
    int PositionOf(const std::string& name) const;
    int Current() const { return CurrentPosition; }
    const std::vector<std::string>& Members() const { return MemberList; }
    const std::vector<std::string>& Available() const { return AvailableList; }

    // The installed-font sheet's notice that a category (by name; empty for
    // all) or the list of categories changed.
    std::function<void(const std::string& name)> CategoriesChanged;
    // The working lists, the category list or the current entry changed.
    std::function<void()> ListsChanged;

private:
    void NotifySheet(const std::string& name);
    void NotifyLists();
    bool HasFile(const std::string& name) const;
    int InsertCategoryName(const std::string& name);
    void TakeSpelling(int position, const std::string& name);
    std::vector<std::string> Operand(const TCategoryOperand& operand);
    void MoveItems(std::vector<std::string>& from, std::vector<std::string>& to,
                   const std::vector<int>& positions);

    TCategoryPlaces Places;
    std::string CategoriesFolder;
    std::vector<std::string> CategoryList;
    int CurrentPosition = -1;
    bool IndexUnread = false;
    // The current category's file is there but could not be read.
    bool MembersUnreadable = false;
    std::vector<std::string> MemberList;
    std::vector<std::string> AvailableList;
};

} // namespace lw
