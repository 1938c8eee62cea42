#pragma once

#include "categories/category_store.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QFileSystemWatcher;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QToolButton;

namespace lw {

// Where the user creates, fills, updates and deletes categories. Made once at
// start and kept hidden between showings; it holds the category store every
// other window works through, and saves the index when it goes.
class TfOrganize : public QDialog {
    Q_OBJECT
public:
    explicit TfOrganize(TCategoryPlaces places, QWidget* parent = nullptr);
    ~TfOrganize() override;

    TCategoryStore& Store() { return Categories; }
    // Shows the dialog modally, its lists read afresh from the files.
    int Execute();
    // The selector on the new-category entry, the lists left as they are:
    // what the sheet does when it leaves a category's view.
    void ShowNewCategoryEntry();
    void UpdateLanguage();
    // The sample a click shows: this text when not empty, else the family's name.
    std::function<QString()> SampleText;

    QLabel* lblCategories;
    QComboBox* cmbCategories;
    QPushButton* btnUpdate;
    QPushButton* btnAddCategory;
    QPushButton* btnDeleteCategory;
    QLabel* lblList;
    QListWidget* lstFonts;
    QToolButton* btnAdd;
    QToolButton* btnAddAll;
    QToolButton* btnDelete;
    QToolButton* btnDeleteAll;
    QLabel* lblCategory;
    QListWidget* lstCategory;
    QLabel* lblFontNumber;
    QLabel* lblCategoryNumber;
    QFrame* Bevel;
    QLabel* lblSample;
    QLabel* lblExample;
    QPushButton* btnUpdateAll;
    QPushButton* btnClose;

private:
    void ShowLists();
    // An automatic category by its id, its lists read-only.
    void ShowAutomatic(const std::string& id);
    void SetEditable(bool editable);
    void ShowCounts();
    void ShowSample(QListWidget* list);
    static std::vector<int> SelectedRows(const QListWidget* list);
    void WatchFolder();

    TCategoryStore Categories;
    // Changes other processes make in the categories folder, taken in once
    // a burst of them is over.
    QFileSystemWatcher* FolderWatch = nullptr;
    QTimer* ReloadTimer = nullptr;
};

} // namespace lw
