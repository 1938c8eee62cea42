#pragma once

#include "base/color.h"
#include "printing/print_layout.h"
#include "sheets/sample_delegate.h"

#include <QMainWindow>

#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QListView;
class QMenu;
class QStringListModel;

namespace lw {

class ISheetHost;
class TAutoCategoryGatherer;
class TfOrganize;
class TFindDialog;
class TSheetStatusBar;

// The installed-font sheet: every family at once as a grid of samples.
// Created once at start; closing only hides it.
class TfViewAll : public QMainWindow {
    Q_OBJECT
public:
    explicit TfViewAll(ISheetHost* mainWindow);
    ~TfViewAll() override;

    void SetListFontSize(int size);
    void LoadListColors();
    void SetSampleText(const QString& text);
    void SetColumns(int columns);
    void UpdateLanguage();
    // The installed fonts changed: automatic categories already gathered
    // are gathered again (only the changed files are read).
    void AutomaticCategoriesStale();
    // The installed fonts changed: what the samples learnt of each face
    // (its file, the letters it maps) is learnt again.
    void FacesChanged();
    // The organize window, whose store keeps the categories the sheet shows;
    // none lets the last one go.
    void SetOrganizeWindow(TfOrganize* organize);
    // The category store's notice that the categories changed: the
    // Categories submenu is built anew and the view reloaded when name is
    // the category shown (empty: none is).
    void CategoriesChanged(const std::string& name);

    // Commands.
    void mnAllClick();
    // The catalogue's first reading came: the view of all families shows it.
    void ShowCatalogue();
    void SelectAll();
    void InvertSelection();
    void mnFindFontClick();
    void FindNext(const QString& text, bool wholeWord);
    void mnShowInMainWindowClick();
    void mnInterchangeClick();
    void mnDefineColumnsClick();
    void mnDefineSizeClick();
    void mnDefineExampleClick();
    void ChooseColor(bool selectedColor);
    virtual void mnPrintClick();
    // The commands that reach the categories and the installed fonts.
    void mnWithoutCategoriesClick();
    void ShowCategoryView(QAction* item);
    void mnCombineCategoriesClick();
    void mnFindFontInCategoriesClick();
    void mnAddSelectionClick();
    void mnDeleteSelectionClick();
    void mnImportCategoriesClick();
    void mnEditCategoriesClick();
    void mnDeleteFontsClick();
    // The selected families disabled or enabled in one change and one
    // font change broadcast.
    void DisableSelectionClick(bool enable);
    // The families fontconfig rules disable, beside the category views.
    void mnDisabledClick();
    // Disables every family of the user's outside the category shown
    // (asked first, saying how many) and enables those in it.
    void mnEnableOnlyCategoryClick();
    void mnEnableAllClick();
    // What an item shows: a family no program is served any longer greyed,
    // marked and drawn from its file.
    TSampleItem DescribeFamily(const QModelIndex& index) const;
    // What a click on an item does: panel 1 shows the family's type.
    virtual void ItemClicked();
    // A Details window on the current item.
    virtual void PropertiesClick();

    QStringList Items() const;
    int ListFontSize() const;
    int Columns() const { return ColumnCount; }
    int ItemHeight() const;
    int NameLineHeight() const;
    QString SampleText() const;
    // What printing takes from the sheet: the list, its selection, columns
    // and size.
    TPrintSource PrintSource() const;

    QListView* lstFonts = nullptr;
    QStringListModel* Model = nullptr;
    TFontSampleDelegate* Delegate = nullptr;
    TSheetStatusBar* Status = nullptr;
    TFindDialog* dlgFind = nullptr;
    QString CategoryName;
    QAction* CurrentViewItem = nullptr;

    QAction* mnPrint = nullptr;
    QAction* mnConfigure = nullptr;
    QAction* mnDeleteFonts = nullptr;
    QAction* mnDisableFonts = nullptr;
    QAction* mnEnableFonts = nullptr;
    QAction* mnProperties = nullptr;
    QAction* mnDisabled = nullptr;
    QAction* mnEnableOnlyCategory = nullptr;
    QAction* mnEnableAll = nullptr;
    QAction* mnClose = nullptr;
    QAction* mnInvertSelection = nullptr;
    QAction* mnSelectAll = nullptr;
    QAction* mnFindFont = nullptr;
    QAction* mnFindFontInCategories = nullptr;
    QMenu* mnCategories = nullptr;
    QAction* mnAll = nullptr;
    QAction* mnWithoutCategories = nullptr;
    QActionGroup* ViewGroup = nullptr;
    QAction* mnCombineCategories = nullptr;
    QAction* mnAddSelection = nullptr;
    QAction* mnDeleteSelection = nullptr;
    QAction* mnImportCategories = nullptr;
    QAction* mnImportCollections = nullptr;
    QAction* mnEditCategories = nullptr;
    QAction* mnDefineColumns = nullptr;
    QAction* mnDefineSize = nullptr;
    QAction* mnShowInMainWindow = nullptr;
    QAction* mnInterchange = nullptr;
    QAction* mnShortSample = nullptr;
    QAction* mnLongSample = nullptr;
    QAction* mnNameSample = nullptr;
    QAction* mnDefineExample = nullptr;
    QAction* mnColorSelection = nullptr;
    QAction* mnNormalColor = nullptr;
    QMenu* PopupMenu = nullptr;
    QAction* mnSelectAll0 = nullptr;
    QAction* mnFindFontInCategories0 = nullptr;
    QAction* mnDeleteFonts0 = nullptr;
    QAction* mnDisableFonts0 = nullptr;
    QAction* mnEnableFonts0 = nullptr;
    QAction* mnAddSelection0 = nullptr;
    QAction* mnDeleteSelection0 = nullptr;
    QAction* mnDefineExample0 = nullptr;
    QAction* mnProperties0 = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
    ISheetHost* MainWindow;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void WireCommands();
    void WireCategoryCommands();
    // The list becomes families, the first of them selected.
    void ShowFamilies(const std::vector<std::string>& families);
    // The selected families in list order.
    std::vector<std::string> SelectedFamilies() const;
    void LayOutItems();
    void ShowCounts();
    void StoreBounds();
    void StoreNormalBounds();
    void Redraw();
    void SetViewCaption(const QAction* item);
    // Keeps the first item on screen and the current item while a batch
    // selection change runs.
    template <typename F> void KeepingPosition(F change);

    // The automatic categories after the user's in the Categories submenu:
    // gathered on a worker the first time the submenu opens, with a line
    // telling how far it got meanwhile.
    void StartAutomaticCategories();
    void ListAutomaticCategories();
    void ShowAutomaticView(QAction* item);
    // Categories from another font manager's collections file.
    void mnImportCollectionsClick();

    TfOrganize* Organize = nullptr;
    // The families of the view disabled whole, by their name in lower case.
    QHash<QString, TSampleItem> GreyedItems;
    // The Categories submenu's items after the first two.
    std::vector<QAction*> CategoryItems;
    std::vector<QAction*> AutomaticItems;
    TAutoCategoryGatherer* Gatherer = nullptr;
    int ColumnCount = 0;
    TColor NormalColor = 0;
    TColor SelectedColor = 0;
    TColor BackgroundColor = 0;
};

// The column count or size an input box answer gives: the number, 0 for a
// negative one, the current value for anything that is not a number.
int CountFromAnswer(const std::string& answer, int current);

} // namespace lw
