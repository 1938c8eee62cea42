#include "sheets/view_all_not_installed.h"

#include "base/color.h"
#include "base/options.h"
#include "base/strings.h"
#include "controls/file_list.h"
#include "controls/folder_listing.h"
#include "controls/localize.h"
#include "controls/menu_items.h"
#include "controls/qt_colors.h"
#include "fileops/shell_operations.h"
#include "fonts/font_manager.h"
#include "pages/details_window.h"
#include "pages/file_info.h"
#include "pages/not_installed_page.h"
#include "platform/services.h"
#include "sheets/sample_delegate.h"
#include "sheets/sheet_host.h"
#include "sheets/sheet_status_bar.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStringListModel>

#include <memory>
#include <utility>

namespace lw {

namespace {

constexpr int kError = 1;
constexpr int kConfirmCaption = 20;
constexpr int kWarningCaption = 21;
constexpr int kErrorCaption = 22;
constexpr int kFolderCaption = 12000;
constexpr int kNone = 12001;
constexpr int kFilePiece = 12002;
constexpr int kInstalled = 12003;
constexpr int kNotInstalled = 12004;
constexpr int kInstalledButDisabled = 30318;
// A row's flag for a file a rule disables, followed by that rule's file.
const QString kDisabledFlag = QStringLiteral("2:");
constexpr int kShownPiece = 12005;
constexpr int kInstallQuestion = 12006;
constexpr int kUseInstalledSheet = 12007;
constexpr int kDeleteQuestion = 12008;
constexpr int kCopyFailed = 12009;
constexpr int kMoveFailed = 12010;
constexpr int kDeleteFailed = 12011;
constexpr int kInstallAllQuestion = 13002;
constexpr int kMixedCaption = 13009;
constexpr int kDestinationTitle = 13011;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A menu item placed before another, rather than at the menu's end.
QAction* ItemBefore(QMenu* menu, QAction* before, const char* name, int tag,
                    const QKeySequence& shortcut = {}) {
    QAction* item = AddTaggedItem(menu, name, tag, shortcut);
    menu->removeAction(item);
    menu->insertAction(before, item);
    return item;
}

void Retire(QAction* item) {
    item->setVisible(false);
    item->setEnabled(false);
}

bool Confirmed(int question) {
    return Prompts().MessageBox(LoadStr(question), LoadStr(kConfirmCaption), TMsgIcon::Question,
                                TMsgButtons::YesNo) == TMsgResult::Yes;
}

// A collection's faces are rows of one file, which is installed once.
void AddOnce(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) {
        names.push_back(name);
    }
}

} // namespace

void TfViewAllNotInstalled::ViewFolder(ISheetHost& host, TfViewAll* installedSheet,
                                       TNotInstalledPage& page, bool mixed) {
    constexpr int kLoading = 13015;
    const int remembered = page.FileList->currentRow();
    page.mnUpdateFileListClick();
    page.ReleasePreviewFont();
    std::vector<std::string> names;
    for (int row = 0; row < page.FileList->count(); ++row) {
        names.push_back(page.FileList->ItemName(row));
    }
    {
        TfViewAllNotInstalled sheet(&host, installedSheet);
        host.StartLoading();
        host.ShowStatus(QString::fromStdString(LoadStr(kLoading)));
        const std::string folder = page.FileList->Directory();
        QProgressBar* progress = host.LoadProgressBar();
        const bool changed = mixed ? sheet.ShowFolderSheetMixed(folder, names, progress)
                                   : sheet.ShowFolderSheet(folder, names, progress);
        if (changed) {
            page.mnUpdateFileListClick();
        }
    }
    host.StopLoading();
    if (remembered >= 0 && page.FileList->count() > remembered) {
        page.FileList->setCurrentRow(remembered);
    }
    page.FileListClick();
}

TfViewAllNotInstalled::TfViewAllNotInstalled(ISheetHost* mainWindow, TfViewAll* installedSheet)
    : TfViewAll(mainWindow), InstalledSheet(installedSheet) {
    setObjectName(QStringLiteral("fViewAllNotInstalled"));
    AdaptMenus();
    Model->setStringList({});
    SetListFontSize(installedSheet != nullptr ? installedSheet->ListFontSize()
                                              : Options.ListFontSize);
    Status->SetPanelText(2, Q(LoadStr(kNone)));
    Status->Panel2Pieces = [this]() -> TSheetStatusBar::TPieces {
        const QString text = Status->PanelText(2);
        if (text.isEmpty()) {
            return {};
        }
        const QString flag = text.section(QLatin1Char('\r'), 1);
        const QString state =
            flag == QStringLiteral("1") ? Q(LoadStr(kInstalled))
            : flag.startsWith(kDisabledFlag)
                ? Q(FmtLoadStr(kInstalledButDisabled, flag.mid(kDisabledFlag.size()).toStdString()))
                : Q(LoadStr(kNotInstalled));
        return {{state, false},
                {Q(LoadStr(kFilePiece)), false},
                {text.section(QLatin1Char('\r'), 0, 0), true},
                {Q(FmtLoadStr(kShownPiece, Model->rowCount())), false}};
    };
    // Folder rows are drawn on the system's window colour, not the sheet's.
    Delegate->BackgroundColor = ResolveColor(clWindow);
    QPalette palette = lstFonts->palette();
    palette.setColor(QPalette::Base, Delegate->BackgroundColor);
    lstFonts->setPalette(palette);
    Delegate->Describe = [this](const QModelIndex& index) { return Describe(index.row()); };
    Delegate->BeforeQtDraws = [this](const QModelIndex& index) { LoadRowFont(index.row()); };
    disconnect(lstFonts, &QListView::doubleClicked, nullptr, nullptr);
    connect(lstFonts, &QListView::doubleClicked, this, [this] { mnInstallSelectionClick(false); });
    lstFonts->installEventFilter(this);
}

TfViewAllNotInstalled::~TfViewAllNotInstalled() {
    ReleaseFolderFonts();
}

void TfViewAllNotInstalled::AdaptMenus() {
    QMenuBar* bar = menuBar();
    QMenu* file = findChild<QMenu*>(QStringLiteral("mnFile"));
    QMenu* edit = findChild<QMenu*>(QStringLiteral("mnEdit"));
    // After the printer set-up: the file commands; uninstalling is the
    // installed sheet's business.
    const QList<QAction*> fileItems = file->actions();
    QAction* separator = fileItems.value(fileItems.indexOf(mnConfigure) + 1);
    file->insertSeparator(separator);
    mnCopyFiles = ItemBefore(file, separator, "mnCopyFiles", 12106, Qt::CTRL | Qt::Key_O);
    mnMoveFiles = ItemBefore(file, separator, "mnMoveFiles", 12105, Qt::CTRL | Qt::Key_M);
    mnDeleteFiles = ItemBefore(file, separator, "mnDeleteFiles", 12104, Qt::SHIFT | Qt::Key_Delete);
    Retire(separator);
    Retire(mnDeleteFonts);

    QMenu* fonts = AddTaggedMenu(bar, "mnFonts", 12100);
    bar->removeAction(fonts->menuAction());
    bar->insertAction(edit->menuAction(), fonts->menuAction());
    mnInstallSelection = AddTaggedItem(fonts, "mnInstallSelection", 12101);
    mnInstallSelection->setShortcuts({Qt::Key_Return, Qt::Key_Enter});
    mnInstallSelectionTemporarily = AddTaggedItem(fonts, "mnInstallSelectionTemporarily", 12107);
    mnInstallSelectionTemporarily->setShortcuts(
        {Qt::CTRL | Qt::Key_Return, Qt::CTRL | Qt::Key_Enter});
    mnInstallAll = AddTaggedItem(fonts, "mnInstallAll", 12102);
    mnSelectNotInstalled = AddTaggedItem(edit, "mnSelectNotInstalled", 12103, Qt::CTRL | Qt::Key_I);

    // No categories here, and no switching to the main window.
    for (const char* name : {"mnOrganize", "mnView"}) {
        QMenu* menu = findChild<QMenu*>(QString::fromLatin1(name));
        for (QAction* item : menu->actions()) {
            Retire(item);
        }
        Retire(menu->menuAction());
    }
    for (QAction* item : mnCategories->actions()) {
        Retire(item);
    }
    Retire(mnFindFontInCategories);

    const QList<QAction*> popupItems = PopupMenu->actions();
    QAction* beforeSample = popupItems.value(popupItems.indexOf(mnDefineExample0) - 1);
    for (QAction* item : popupItems) {
        if (item != mnSelectAll0 && item != mnDefineExample0 && item != beforeSample &&
            item != mnProperties0) {
            Retire(item);
        }
    }
    mnSelectNotInstalled0 = ItemBefore(PopupMenu, beforeSample, "mnSelectNotInstalled0", 12103);
    PopupMenu->insertSeparator(beforeSample);
    mnInstallSelection0 = ItemBefore(PopupMenu, beforeSample, "mnInstallSelection0", 12101);
    mnInstallSelectionTemporarily0 =
        ItemBefore(PopupMenu, beforeSample, "mnInstallSelectionTemporarily0", 12107);
    mnCopyFiles0 = ItemBefore(PopupMenu, beforeSample, "mnCopyFiles0", 12106);
    mnMoveFiles0 = ItemBefore(PopupMenu, beforeSample, "mnMoveFiles0", 12105);
    mnDeleteFiles0 = ItemBefore(PopupMenu, beforeSample, "mnDeleteFiles0", 12104);

    for (QAction* install : {mnInstallSelection, mnInstallSelection0}) {
        connect(install, &QAction::triggered, this, [this] { mnInstallSelectionClick(false); });
    }
    for (QAction* install : {mnInstallSelectionTemporarily, mnInstallSelectionTemporarily0}) {
        connect(install, &QAction::triggered, this, [this] { mnInstallSelectionClick(true); });
    }
    connect(mnInstallAll, &QAction::triggered, this, &TfViewAllNotInstalled::mnInstallAllClick);
    for (QAction* select : {mnSelectNotInstalled, mnSelectNotInstalled0}) {
        connect(select, &QAction::triggered, this,
                &TfViewAllNotInstalled::mnSelectNotInstalledClick);
    }
    for (QAction* copy : {mnCopyFiles, mnCopyFiles0}) {
        connect(copy, &QAction::triggered, this, [this] { mnCopyFilesClick(false); });
    }
    for (QAction* move : {mnMoveFiles, mnMoveFiles0}) {
        connect(move, &QAction::triggered, this, [this] { mnCopyFilesClick(true); });
    }
    for (QAction* remove : {mnDeleteFiles, mnDeleteFiles0}) {
        connect(remove, &QAction::triggered, this, &TfViewAllNotInstalled::mnDeleteFilesClick);
    }
    LocalizeForm(this);
}

bool TfViewAllNotInstalled::ShowFolderSheet(const std::string& folder,
                                            const std::vector<std::string>& fileNames,
                                            QProgressBar* progress) {
    return Show(folder, fileNames, progress, false);
}

bool TfViewAllNotInstalled::ShowFolderSheetMixed(const std::string& folder,
                                                 const std::vector<std::string>& fileNames,
                                                 QProgressBar* progress) {
    return Show(folder, fileNames, progress, true);
}

bool TfViewAllNotInstalled::Show(const std::string& folder,
                                 const std::vector<std::string>& fileNames, QProgressBar* progress,
                                 bool mixed) {
    Folder = FolderWithSeparator(folder);
    Mixed = mixed;
    setWindowTitle(Q(FmtLoadStr(mixed ? kMixedCaption : kFolderCaption, folder)));
    bool loaded = false;
    {
        THourglass busy;
        loaded = LoadFolder(fileNames, progress);
    }
    if (loaded && mixed && InstalledSheet != nullptr) {
        Model->setStringList(Model->stringList() + InstalledSheet->Items());
    }
    FontsInstalled = false;
    FilesChanged = false;
    // The load is over: Esc is the sheet's own again.
    if (MainWindow != nullptr && progress != nullptr && MainWindow->LoadProgressBar() == progress) {
        MainWindow->StopLoading();
    }
    if (loaded) {
        setWindowModality(Qt::ApplicationModal);
        show();
        QEventLoop running;
        Running = &running;
        running.exec();
        Running = nullptr;
    }
    {
        THourglass busy;
        ReleaseFolderFonts();
    }
    if (FontsInstalled) {
        FontManager->BroadcastFontChange();
    }
    return FilesChanged;
}

void TfViewAllNotInstalled::ClearRows() {
    FileNames.clear();
    StyleNames.clear();
    Flags.clear();
    Resources.clear();
    Loaded.clear();
    StyleBits.clear();
    FaceIndices.clear();
}

bool TfViewAllNotInstalled::LoadFolder(const std::vector<std::string>& fileNames,
                                       QProgressBar* progress) {
    ClearRows();
    Model->setStringList({});
    if (progress != nullptr && !fileNames.empty()) {
        progress->setRange(0, static_cast<int>(fileNames.size()));
        progress->setValue(0);
    }
    QStringList items;
    for (const std::string& name : fileNames) {
        // The main window's Esc and repaints get through between files.
        QCoreApplication::processEvents();
        if (MainWindow != nullptr && MainWindow->LoadWasCancelled()) {
            return false;
        }
        std::vector<std::unique_ptr<TFontFile>> faces;
        try {
            faces = TFontManager::ReadFontFaces(Folder + name);
        } catch (const std::exception&) {
            faces.clear(); // unreadable: a row that says so
        }
        if (faces.empty()) {
            faces.push_back(nullptr);
        }
        // A collection is a row a face, each naming the one file.
        for (const std::unique_ptr<TFontFile>& font : faces) {
            FileNames.push_back(name);
            FaceIndices.push_back(font ? font->FaceIndex : 0);
            // The readers take what they can from any file; one that yields
            // no family is no font to show or install.
            if (font && !font->FamilyName.empty()) {
                items.append(Q(font->FamilyName));
                StyleNames.push_back(font->StyleName);
                // A file in a font folder that a rule hides is installed all
                // the same: installing it again would not bring it back.
                const std::optional<std::string> rule =
                    font->Installed ? std::nullopt : DisablingRule(*font);
                Flags.push_back(font->Installed ? "1"
                                : rule          ? kDisabledFlag.toStdString() + *rule
                                                : "0");
                Resources.emplace_back(font->GetFiles(true));
                StyleBits.push_back(
                    font->Installed ? FontManager->GetStyleFlags(font->FamilyName, font->StyleName)
                                    : 0);
            } else {
                const std::string error = LoadStr(kError);
                items.append(Q(error));
                StyleNames.push_back(error);
                Flags.push_back(error);
                Resources.emplace_back(std::nullopt);
                StyleBits.push_back(0);
            }
            Loaded.push_back(false);
        }
        if (progress != nullptr) {
            progress->setValue(progress->value() + 1);
        }
    }
    Model->setStringList(items);
    return true;
}

// The samples are drawn from the files themselves; a font is given to this
// process only when Qt must draw or print it, so opening a large folder
// does not wait on loading every font.
void TfViewAllNotInstalled::LoadRowFont(int row) {
    if (!IsFolderRow(row) || !Resources[static_cast<size_t>(row)] ||
        Loaded[static_cast<size_t>(row)]) {
        return;
    }
    Loaded[static_cast<size_t>(row)] =
        FontSystem().AddFontResource(*Resources[static_cast<size_t>(row)]) > 0;
}

void TfViewAllNotInstalled::ReleaseFolderFonts() {
    for (size_t row = 0; row < Loaded.size(); ++row) {
        if (Loaded[row] && Resources[row]) {
            FontSystem().RemoveFontResource(*Resources[row]);
        }
    }
    ClearRows();
}

TSampleItem TfViewAllNotInstalled::Describe(int row) const {
    TSampleItem item;
    const QString text = Model->index(row).data().toString();
    item.Family = text;
    item.Name = text;
    if (!IsFolderRow(row)) {
        return item;
    }
    const auto at = static_cast<size_t>(row);
    item.Name = text + QStringLiteral(" - ") + Q(StyleNames[at]);
    item.NameItalic = !Mixed && Flags[at] == "1";
    if (Resources[at]) {
        const TFontFiles& files = *Resources[at];
        item.FaceFile = files.Outline.empty() ? files.File : files.Outline;
        item.FaceIndex = static_cast<int>(FaceIndices[at]);
    }
    item.Bold = (StyleBits[at] & fsBold) != 0;
    item.Italic = (StyleBits[at] & fsItalic) != 0;
    item.StrikeOut = (StyleBits[at] & fsStrikeOut) != 0;
    return item;
}

std::vector<int> TfViewAllNotInstalled::SelectedFolderRows() const {
    std::vector<int> rows;
    const QItemSelectionModel* selection = lstFonts->selectionModel();
    for (int row = 0; row < FolderRows(); ++row) {
        if (selection->isRowSelected(row)) {
            rows.push_back(row);
        }
    }
    return rows;
}

std::vector<std::string> TfViewAllNotInstalled::RowFiles(int row) const {
    const std::string& name = FileNames[static_cast<size_t>(row)];
    std::vector<std::string> files{name};
    if (const std::string companion = TFontManager::GetCompanionFile(Folder + name);
        !companion.empty()) {
        files.push_back(companion);
    }
    return files;
}

void TfViewAllNotInstalled::RemoveFolderRow(int row) {
    const auto at = static_cast<size_t>(row);
    if (Loaded[at] && Resources[at]) {
        FontSystem().RemoveFontResource(*Resources[at]);
    }
    FileNames.erase(FileNames.begin() + row);
    StyleNames.erase(StyleNames.begin() + row);
    Flags.erase(Flags.begin() + row);
    Resources.erase(Resources.begin() + row);
    Loaded.erase(Loaded.begin() + row);
    StyleBits.erase(StyleBits.begin() + row);
    FaceIndices.erase(FaceIndices.begin() + row);
    Model->removeRows(row, 1);
}

// Last row first, so the rows still to do keep their numbers. A row leaves
// the list only once its files are gone from the folder; one the user chose
// not to replace stays, and is no failure.
bool TfViewAllNotInstalled::ApplyToSelectedRows(TFileOp operation, const std::string& destination,
                                                bool confirm, bool allowUndo) {
    FilesChanged = true;
    // The faces of one collection are rows of one file, handled once; the
    // names are taken first, as rows leave the list on the way.
    std::vector<std::string> files;
    for (const int row : SelectedFolderRows()) {
        AddOnce(files, FileNames[static_cast<size_t>(row)]);
    }
    for (auto file = files.rbegin(); file != files.rend(); ++file) {
        const std::string& name = *file;
        const auto row = std::find(FileNames.begin(), FileNames.end(), name);
        if (row == FileNames.end()) {
            continue;
        }
        bool refused = false;
        if (!FileOperationList(Folder, destination, RowFiles(int(row - FileNames.begin())),
                               operation, confirm, allowUndo, refused)) {
            return false;
        }
        if (!refused && operation != TFileOp::Copy) {
            for (int other = FolderRows() - 1; other >= 0; --other) {
                if (FileNames[static_cast<size_t>(other)] == name) {
                    RemoveFolderRow(other);
                }
            }
        }
    }
    return true;
}

bool TfViewAllNotInstalled::CurrentRowIsInstalledFamily() const {
    const QModelIndex current = lstFonts->currentIndex();
    return current.isValid() && current.row() >= FolderRows();
}

void TfViewAllNotInstalled::ReleasePreviewFont() {
    if (MainWindow != nullptr && MainWindow->NotInstalledPage() != nullptr) {
        MainWindow->NotInstalledPage()->ReleasePreviewFont();
    }
}

void TfViewAllNotInstalled::mnInstallSelectionClick(bool temporarily) {
    if (!Confirmed(kInstallQuestion)) {
        return;
    }
    std::vector<std::string> files;
    for (const int row : SelectedFolderRows()) {
        AddOnce(files, FileNames[static_cast<size_t>(row)]);
    }
    ReleasePreviewFont();
    if (temporarily) {
        FontManager->InstallFolderFontsTemporarily(files, Folder, false);
    } else {
        FontManager->InstallFolderFonts(files, Folder, false);
    }
    FontsInstalled = true;
}

void TfViewAllNotInstalled::mnInstallAllClick() {
    if (!Confirmed(kInstallAllQuestion)) {
        return;
    }
    std::vector<std::string> files;
    for (const std::string& name : FileNames) {
        AddOnce(files, name);
    }
    ReleasePreviewFont();
    FontManager->InstallFolderFonts(files, Folder, false);
    FontsInstalled = true;
}

void TfViewAllNotInstalled::mnSelectNotInstalledClick() {
    // The flags are those of the load: a font installed since is still "not
    // installed" here, as its row's mark shows.
    QItemSelection notInstalled;
    for (int row = 0; row < FolderRows(); ++row) {
        if (Flags[static_cast<size_t>(row)] == "0") {
            notInstalled.select(Model->index(row), Model->index(row));
        }
    }
    lstFonts->selectionModel()->select(notInstalled, QItemSelectionModel::ClearAndSelect);
}

void TfViewAllNotInstalled::mnDeleteFilesClick() {
    if (CurrentRowIsInstalledFamily()) {
        Prompts().MessageBox(LoadStr(kUseInstalledSheet), LoadStr(kWarningCaption),
                             TMsgIcon::Warning, TMsgButtons::Ok);
        return;
    }
    if (!Confirmed(kDeleteQuestion)) {
        return;
    }
    if (!ApplyToSelectedRows(TFileOp::Delete, "", false, Options.MoveToTrash)) {
        Prompts().MessageBox(LoadStr(kDeleteFailed), LoadStr(kErrorCaption), TMsgIcon::Error,
                             TMsgButtons::Ok);
    }
}

void TfViewAllNotInstalled::mnCopyFilesClick(bool move) {
    if (CurrentRowIsInstalledFamily()) {
        return;
    }
    std::string chosen = Options.LastFileOpFolder;
    if (!BrowseForFolder(LoadStr(kDestinationTitle), chosen)) {
        return;
    }
    Options.LastFileOpFolder = chosen;
    if (!ApplyToSelectedRows(move ? TFileOp::Move : TFileOp::Copy, FolderWithSeparator(chosen),
                             true, true)) {
        Prompts().MessageBox(FmtLoadStr(move ? kMoveFailed : kCopyFailed, chosen),
                             LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
    }
}

void TfViewAllNotInstalled::ItemClicked() {
    const QModelIndex current = lstFonts->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const int row = current.row();
    const QString text = current.data().toString();
    if (IsFolderRow(row)) {
        Status->SetPanelText(2, Q(FileNames[static_cast<size_t>(row)]) + QLatin1Char('\r') +
                                    Q(Flags[static_cast<size_t>(row)]));
    } else {
        Status->SetPanelText(2, QLatin1Char('(') + Q(LoadStr(kInstalled)) + QStringLiteral(")\r1"));
    }
    Status->SetPanelText(
        1, Q(FontManager->GetFontTypeName(FontManager->GetFontType(text.toStdString()))));
    Status->update();
}

void TfViewAllNotInstalled::PropertiesClick() {
    const int row = lstFonts->currentIndex().row();
    if (!IsFolderRow(row)) {
        TfViewAll::PropertiesClick();
        return;
    }
    const auto at = static_cast<size_t>(row);
    OpenFileDetails(Folder + FileNames[at], FaceIndices[at], SampleText(), this);
}

void TfViewAllNotInstalled::mnPrintClick() {
    // Qt prints in a face it knows: the selected files' fonts are given to it.
    for (const int row : SelectedFolderRows()) {
        LoadRowFont(row);
    }
    TfViewAll::mnPrintClick();
}

void TfViewAllNotInstalled::showEvent(QShowEvent* event) {
    // Not the installed sheet's: nothing of the stored sheet changes.
    QMainWindow::showEvent(event);
    if (Model->rowCount() > 0) {
        lstFonts->setCurrentIndex(Model->index(0));
        ItemClicked();
    }
}

void TfViewAllNotInstalled::closeEvent(QCloseEvent* event) {
    QMainWindow::closeEvent(event);
    if (Running != nullptr) {
        Running->quit();
    }
}

void TfViewAllNotInstalled::changeEvent(QEvent* event) {
    // The installed sheet's bounds are its own.
    QMainWindow::changeEvent(event);
}

bool TfViewAllNotInstalled::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstFonts && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        EscapePressed = true;
        return true;
    }
    if (watched == lstFonts && event->type() == QEvent::KeyRelease) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            if (std::exchange(EscapePressed, false)) {
                close();
            }
            return true;
        }
        Status->update();
    }
    return TfViewAll::eventFilter(watched, event);
}

} // namespace lw
