// The sheet's commands that reach beyond it: the category views and the
// Categories submenu, finding, adding and removing families in categories,
// importing category files, and uninstalling the selected families.
#include "base/options.h"
#include "base/strings.h"
#include "categories/category_dialogs.h"
#include "categories/organize_dialog.h"
#include "controls/file_list.h"
#include "fileops/shell_operations.h"
#include "fonts/disabled_fonts.h"
#include "fonts/flatpak_access.h"
#include "fonts/font_file_commands.h"
#include "fonts/font_manager.h"
#include "pages/not_installed_page.h"
#include "platform/services.h"
#include "sheets/sheet_host.h"
#include "sheets/sheet_status_bar.h"
#include "sheets/view_all.h"

#include <QAction>
#include <QActionGroup>
#include <QListView>
#include <QMenu>
#include <QStringListModel>

#include <algorithm>

namespace lw {

namespace {

constexpr int kNoCategoryShown = 11009;
constexpr int kRemoveFromCategory = 11010;
constexpr int kFindInCategoriesCaption = 11013;
constexpr int kFindInCategoriesPrompt = 11014;
constexpr int kNoSelection = 13000;
constexpr int kBackupFolderTitle = 10024;
constexpr int kConfirmCaption = 20;
constexpr int kWarningCaption = 21;
constexpr int kRestartNote = 30303;
constexpr int kDisabledMark = 30307;
constexpr int kEnableOnlyQuestion = 30317;
constexpr int kAutomaticUnchangeable = 30552;
constexpr const char* kCategoryFilter = "Categories (*.lst)|*.lst";

QStringList ToQt(const std::vector<std::string>& texts) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(texts.size()));
    for (const std::string& text : texts) {
        list.append(QString::fromStdString(text));
    }
    return list;
}

} // namespace

void TfViewAll::SetOrganizeWindow(TfOrganize* organize) {
    if (Organize != nullptr) {
        Organize->Store().CategoriesChanged = nullptr;
    }
    Organize = organize;
    for (QAction* command :
         {mnFindFontInCategories, mnWithoutCategories, mnCombineCategories, mnAddSelection,
          mnDeleteSelection, mnImportCategories, mnImportCollections, mnEditCategories,
          mnFindFontInCategories0, mnAddSelection0, mnDeleteSelection0}) {
        command->setEnabled(organize != nullptr);
    }
    if (organize == nullptr) {
        return;
    }
    organize->Store().CategoriesChanged = [this](const std::string& name) {
        CategoriesChanged(name);
    };
    // The store told of its start before the sheet was listening.
    CategoriesChanged(CategoryName.toStdString());
    connect(mnCategories, &QMenu::aboutToShow, this, &TfViewAll::StartAutomaticCategories,
            Qt::UniqueConnection);
}

void TfViewAll::WireCategoryCommands() {
    connect(mnWithoutCategories, &QAction::triggered, this, &TfViewAll::mnWithoutCategoriesClick);
    connect(mnCombineCategories, &QAction::triggered, this, &TfViewAll::mnCombineCategoriesClick);
    for (QAction* find : {mnFindFontInCategories, mnFindFontInCategories0}) {
        connect(find, &QAction::triggered, this, &TfViewAll::mnFindFontInCategoriesClick);
    }
    for (QAction* add : {mnAddSelection, mnAddSelection0}) {
        connect(add, &QAction::triggered, this, &TfViewAll::mnAddSelectionClick);
    }
    for (QAction* remove : {mnDeleteSelection, mnDeleteSelection0}) {
        connect(remove, &QAction::triggered, this, &TfViewAll::mnDeleteSelectionClick);
    }
    connect(mnImportCategories, &QAction::triggered, this, &TfViewAll::mnImportCategoriesClick);
    connect(mnImportCollections, &QAction::triggered, this, &TfViewAll::mnImportCollectionsClick);
    connect(mnEditCategories, &QAction::triggered, this, &TfViewAll::mnEditCategoriesClick);
    for (QAction* uninstall : {mnDeleteFonts, mnDeleteFonts0}) {
        connect(uninstall, &QAction::triggered, this, &TfViewAll::mnDeleteFontsClick);
    }
    for (QAction* disable : {mnDisableFonts, mnDisableFonts0}) {
        connect(disable, &QAction::triggered, this, [this] { DisableSelectionClick(false); });
    }
    for (QAction* enable : {mnEnableFonts, mnEnableFonts0}) {
        connect(enable, &QAction::triggered, this, [this] { DisableSelectionClick(true); });
    }
    connect(mnDisabled, &QAction::triggered, this, &TfViewAll::mnDisabledClick);
    connect(mnEnableOnlyCategory, &QAction::triggered, this, &TfViewAll::mnEnableOnlyCategoryClick);
    connect(mnEnableAll, &QAction::triggered, this, &TfViewAll::mnEnableAllClick);
}

void TfViewAll::ShowFamilies(const std::vector<std::string>& families) {
    GreyedItems.clear();
    const bool allServed =
        std::all_of(families.begin(), families.end(), [](const std::string& family) {
            return !FontSystem().EnumFaces(family).empty();
        });
    if (!allServed) {
        for (const TFamilyDisabledWhole& off :
             FamiliesDisabledWhole(UserDisabledFonts().Disabled(), FontManager->Families)) {
            TSampleItem item;
            item.Family = QString::fromStdString(off.Family);
            const std::string source = off.Source.substr(off.Source.rfind('/') + 1);
            item.Name = item.Family + QStringLiteral("  (") +
                        QString::fromStdString(FmtLoadStr(kDisabledMark, source)) +
                        QLatin1Char(')');
            item.FaceFile = off.File;
            item.Greyed = true;
            GreyedItems.insert(item.Family.toLower(), item);
        }
    }
    Model->setStringList(ToQt(families));
    if (Model->rowCount() > 0) {
        lstFonts->setCurrentIndex(Model->index(0));
    }
    ShowCounts();
}

TSampleItem TfViewAll::DescribeFamily(const QModelIndex& index) const {
    const QString family = index.data().toString();
    const auto greyed = GreyedItems.constFind(family.toLower());
    if (greyed != GreyedItems.constEnd()) {
        return *greyed;
    }
    TSampleItem item;
    item.Name = family;
    item.Family = family;
    return item;
}

std::vector<std::string> TfViewAll::SelectedFamilies() const {
    std::vector<std::string> families;
    const QItemSelectionModel* selection = lstFonts->selectionModel();
    for (int row = 0; row < Model->rowCount(); ++row) {
        if (selection->isRowSelected(row)) {
            families.push_back(Model->index(row).data().toString().toStdString());
        }
    }
    return families;
}

void TfViewAll::CategoriesChanged(const std::string& name) {
    if (Organize == nullptr) {
        return;
    }
    const QModelIndex top = lstFonts->indexAt(QPoint(1, 1));
    const int topRow = top.isValid() ? top.row() : -1;
    const int currentRow = lstFonts->currentIndex().row();

    const bool viewItemGoes = std::find(CategoryItems.begin(), CategoryItems.end(),
                                        CurrentViewItem) != CategoryItems.end();
    for (QAction* item : CategoryItems) {
        ViewGroup->removeAction(item);
        mnCategories->removeAction(item);
        // It may be the item whose click is still running.
        item->deleteLater();
    }
    CategoryItems.clear();
    QAction* checked = nullptr;
    const std::vector<std::string>& categories = Organize->Store().Categories();
    for (size_t position = 1; position < categories.size(); ++position) {
        const QString category = QString::fromStdString(categories[position]);
        // A "&" in a name is a letter, not a mnemonic.
        QAction* item = mnCategories->addAction(
            QString(category).replace(QLatin1Char('&'), QStringLiteral("&&")));
        item->setCheckable(true);
        item->setData(static_cast<int>(position));
        ViewGroup->addAction(item);
        connect(item, &QAction::triggered, this, [this, item] { ShowCategoryView(item); });
        CategoryItems.push_back(item);
        if (category == CategoryName && !CategoryName.isEmpty()) {
            item->setChecked(true);
            checked = item;
        }
    }

    if (viewItemGoes) {
        CurrentViewItem = checked;
    }
    // The automatic categories stay after the user's.
    ListAutomaticCategories();
    if (QString::fromStdString(name) != CategoryName) {
        return;
    }
    if (checked == nullptr) {
        mnAllClick();
        return;
    }
    lstFonts->setUpdatesEnabled(false);
    ShowCategoryView(checked);
    const int rows = Model->rowCount();
    if (rows > 0 && currentRow >= 0) {
        QItemSelectionModel* selection = lstFonts->selectionModel();
        selection->select(Model->index(0), QItemSelectionModel::Deselect);
        const QModelIndex current = Model->index(std::min(currentRow, rows - 1));
        selection->setCurrentIndex(current, QItemSelectionModel::Select);
        if (topRow >= 0 && topRow < rows) {
            lstFonts->scrollTo(Model->index(topRow), QAbstractItemView::PositionAtTop);
        }
    }
    lstFonts->setUpdatesEnabled(true);
    ShowCounts();
}

void TfViewAll::mnWithoutCategoriesClick() {
    THourglass busy;
    ShowFamilies(Organize->Store().FontsWithoutCategory());
    Organize->ShowNewCategoryEntry();
    CategoryName.clear();
    SetViewCaption(mnWithoutCategories);
    mnWithoutCategories->setChecked(true);
    CurrentViewItem = mnWithoutCategories;
}

void TfViewAll::ShowCategoryView(QAction* item) {
    const int position = item->data().toInt();
    const std::vector<std::string>& categories = Organize->Store().Categories();
    if (position < 1 || position >= static_cast<int>(categories.size())) {
        return;
    }
    const QString name = QString::fromStdString(categories[static_cast<size_t>(position)]);
    ShowFamilies(Organize->Store().ShowCategory(position));
    CategoryName = name;
    Status->SetPanelText(2, name);
    item->setChecked(true);
    CurrentViewItem = item;
}

void TfViewAll::mnCombineCategoriesClick() {
    StartAutomaticCategories();
    TfMixCategories mix(Organize->Store().Categories(), this, Organize->Store().Automatic.get());
    if (mix.exec() != QDialog::Accepted) {
        return;
    }
    THourglass busy;
    ShowFamilies(
        Organize->Store().CombineCategories(mix.Operand(1), mix.Operation(), mix.Operand(2)));
    Status->SetPanelText(2, QString::fromStdString(mix.ResultLabel()));
    Organize->ShowNewCategoryEntry();
    CategoryName.clear();
    // A combination is none of the views the submenu offers.
    ViewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (QAction* view : ViewGroup->actions()) {
        view->setChecked(false);
    }
    ViewGroup->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    CurrentViewItem = mnCombineCategories;
}

void TfViewAll::mnFindFontInCategoriesClick() {
    const QModelIndex current = lstFonts->currentIndex();
    const std::optional<std::string> font =
        Prompts().InputBox(LoadStr(kFindInCategoriesCaption), LoadStr(kFindInCategoriesPrompt),
                           current.isValid() ? current.data().toString().toStdString() : "");
    if (!font) {
        return;
    }
    std::vector<std::string> found;
    {
        THourglass busy;
        found = Organize->Store().FindFontInCategories(*font);
    }
    ShowFindResults(*font, found);
}

void TfViewAll::mnAddSelectionClick() {
    if (Model->rowCount() == 0) {
        return;
    }
    const std::optional<std::string> category = ChooseCategory(Organize->Store().Categories());
    if (category) {
        Organize->Store().AddFontsToCategory(*category, SelectedFamilies());
    }
}

void TfViewAll::mnDeleteSelectionClick() {
    if (Model->rowCount() == 0) {
        return;
    }
    if (CategoryName.isEmpty()) {
        const bool automatic = std::find(AutomaticItems.begin(), AutomaticItems.end(),
                                         CurrentViewItem) != AutomaticItems.end();
        Prompts().MessageBox(LoadStr(automatic ? kAutomaticUnchangeable : kNoCategoryShown),
                             LoadStr(kWarningCaption), TMsgIcon::Warning, TMsgButtons::Ok);
        return;
    }
    const std::string question =
        FmtLoadStr(kRemoveFromCategory, Status->PanelText(2).toStdString());
    if (Prompts().MessageBox(question, LoadStr(kConfirmCaption), TMsgIcon::Question,
                             TMsgButtons::YesNo) != TMsgResult::Yes) {
        return;
    }
    // By name: the file may have changed since the list was shown.
    Organize->Store().RemoveFromCategory(CategoryName.toStdString(), SelectedFamilies());
    Status->update();
}

void TfViewAll::mnImportCategoriesClick() {
    const auto files = Prompts().OpenFiles("", kCategoryFilter, Organize->Store().Folder(), true);
    if (files) {
        Organize->Store().ImportCategoryFiles(*files);
    }
}

void TfViewAll::mnEditCategoriesClick() {
    Organize->Execute();
}

void TfViewAll::mnDeleteFontsClick() {
    const std::vector<std::string> selected = SelectedFamilies();
    if (selected.empty()) {
        Prompts().MessageBox(LoadStr(kNoSelection), LoadStr(kWarningCaption), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    if (Prompts().MessageBox(UninstallQuestion(selected), LoadStr(kConfirmCaption),
                             TMsgIcon::Question, TMsgButtons::YesNo) != TMsgResult::Yes) {
        return;
    }
    std::vector<std::string> families;
    for (const std::string& family : selected) {
        if (!RefusedAsSystemFamily(family)) {
            families.push_back(family);
        }
    }
    if (families.empty()) {
        return;
    }
    // A cancelled question for the folder cancels the uninstall: going on
    // would remove fonts the user meant to keep a copy of.
    std::string backupFolder = Options.DefaultCopyFolder;
    if (Options.CopyBeforeDelete && !BrowseForFolder(LoadStr(kBackupFolderTitle), backupFolder)) {
        return;
    }
    TNotInstalledPage* page = MainWindow != nullptr ? MainWindow->NotInstalledPage() : nullptr;
    if (page != nullptr) {
        page->ReleasePreviewFont();
    }
    TDisabledFonts store = UserDisabledFonts();
    RemoveWithRulesLifted(store, families, [&] {
        for (const std::string& family : families) {
            RemoveInstalledFont(family, backupFolder, Options.MoveToTrash, false,
                                Options.CopyBeforeDelete, nullptr);
        }
    });
    // The main window rebuilds the catalogue and brings the sheet back to
    // all fonts.
    FontManager->BroadcastFontChange();
    if (page != nullptr && page->FileList->currentRow() >= 0 &&
        !page->FileList->selectedItems().isEmpty()) {
        page->FileListClick();
    }
}

void TfViewAll::DisableSelectionClick(bool enable) {
    const std::vector<std::string> selected = SelectedFamilies();
    if (selected.empty()) {
        Prompts().MessageBox(LoadStr(kNoSelection), LoadStr(kWarningCaption), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    TStyleChange change;
    {
        THourglass busy;
        TDisabledFonts store = UserDisabledFonts();
        change = enable ? EnableFamilies(store, selected, false) : DisableFamilies(store, selected);
    }
    if (!change.Changed) {
        return;
    }
    const bool disabledView = CurrentViewItem == mnDisabled;
    FontSystem().FontsChanged();
    // The main window rebuilds the catalogue and brings the sheet back to
    // all fonts; the disabled view is shown again, less what was enabled.
    FontManager->BroadcastFontChange();
    if (disabledView) {
        mnDisabledClick();
    }
    Status->SetPanelText(0, QString::fromStdString(LoadStr(kRestartNote)));
    if (!enable) {
        OfferFlatpakFontconfigAccess(RunOnPath);
    }
}

void TfViewAll::mnEnableOnlyCategoryClick() {
    if (CategoryName.isEmpty()) {
        Prompts().MessageBox(LoadStr(kNoCategoryShown), LoadStr(kWarningCaption), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    std::vector<std::string> keep;
    for (const QString& family : Items()) {
        keep.push_back(family.toStdString());
    }
    const std::vector<std::string> outside = UserFamiliesOutside(keep, FontManager->FontsFolder);
    if (!outside.empty() &&
        Prompts().MessageBox(FmtLoadStr(kEnableOnlyQuestion, static_cast<int>(outside.size()),
                                        CategoryName.toStdString()),
                             LoadStr(kConfirmCaption), TMsgIcon::Question,
                             TMsgButtons::YesNo) != TMsgResult::Yes) {
        return;
    }
    bool changed = false;
    {
        THourglass busy;
        TDisabledFonts store = UserDisabledFonts();
        changed = DisableFamilies(store, outside).Changed;
        changed = EnableFamilies(store, keep, false).Changed || changed;
    }
    if (changed) {
        FontSystem().FontsChanged();
        FontManager->BroadcastFontChange();
        Status->SetPanelText(0, QString::fromStdString(LoadStr(kRestartNote)));
        if (!outside.empty()) {
            OfferFlatpakFontconfigAccess(RunOnPath);
        }
    }
}

void TfViewAll::mnEnableAllClick() {
    TStyleChange change;
    {
        THourglass busy;
        TDisabledFonts store = UserDisabledFonts();
        change = EnableFamilies(store, DisabledFamilies(store.Disabled()), false);
    }
    if (change.Changed) {
        FontSystem().FontsChanged();
        FontManager->BroadcastFontChange();
        Status->SetPanelText(0, QString::fromStdString(LoadStr(kRestartNote)));
    }
}

void TfViewAll::mnDisabledClick() {
    THourglass busy;
    ShowFamilies(DisabledFamilies(UserDisabledFonts().Disabled()));
    if (Organize != nullptr) {
        Organize->ShowNewCategoryEntry();
    }
    CategoryName.clear();
    SetViewCaption(mnDisabled);
    mnDisabled->setChecked(true);
    CurrentViewItem = mnDisabled;
}

} // namespace lw
