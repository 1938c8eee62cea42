#include "sheets/view_all.h"

#include "base/options.h"
#include "base/strings.h"
#include "categories/organize_dialog.h"
#include "controls/localize.h"
#include "controls/menu_items.h"
#include "controls/qt_colors.h"
#include "controls/window_bounds.h"
#include "fonts/font_manager.h"
#include "pages/details_window.h"
#include "pages/family_search.h"
#include "pages/find_dialog.h"
#include "pages/installed_page.h"
#include "platform/services.h"
#include "printing/current_printer.h"
#include "printing/print_job.h"
#include "sheets/sample_delegate.h"
#include "sheets/sheet_host.h"
#include "sheets/sheet_status_bar.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QStatusBar>
#include <QStringListModel>
#include <QTimer>

#include <algorithm>

namespace lw {

namespace {

constexpr int kLocalizedMenu = 65535;
constexpr int kSizeText = 11000;
constexpr int kColumnsCaption = 11003;
constexpr int kColumnsPrompt = 11004;
constexpr int kSizeCaption = 11005;
constexpr int kSizePrompt = 11006;
constexpr int kSampleCaption = 11007;
constexpr int kSamplePrompt = 11008;
constexpr int kShortSample = 5;
constexpr int kLongSample = 6;
constexpr int kNotFoundText = 10003;
constexpr int kNotFoundCaption = 10002;
constexpr int kNoSelection = 13000;
constexpr int kWarningCaption = 21;
constexpr int kShortcutFind = 55;
constexpr int kShortcutSelectAll = 56;
constexpr int kShortcutFindInCategories = 57;
// Its own letter: the sheet's menus take the main window's already.
constexpr int kProperties = 30466;

} // namespace

int CountFromAnswer(const std::string& answer, int current) {
    return std::max(0, SizeFromText(answer, current));
}

TfViewAll::TfViewAll(ISheetHost* mainWindow) : MainWindow(mainWindow) {
    setObjectName(QStringLiteral("fViewAll"));
    SetTag(this, 11100);
    TrackNormalBounds(this);
    Model = new QStringListModel(this);
    lstFonts = new QListView(this);
    lstFonts->setObjectName(QStringLiteral("lstFonts"));
    lstFonts->setModel(Model);
    lstFonts->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstFonts->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstFonts->setUniformItemSizes(true);
    lstFonts->setFlow(QListView::TopToBottom);
    lstFonts->setContextMenuPolicy(Qt::CustomContextMenu);
    Delegate = new TFontSampleDelegate(lstFonts);
    lstFonts->setItemDelegate(Delegate);
    Delegate->Describe = [this](const QModelIndex& index) { return DescribeFamily(index); };
    connect(Delegate, &TFontSampleDelegate::SamplesReady, lstFonts->viewport(),
            qOverload<>(&QWidget::update));
    setCentralWidget(lstFonts);
    Status = new TSheetStatusBar(this);
    Status->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->addWidget(Status, 1);
    BuildMenus();
    WireCommands();

    // Creation, in its order.
    SetViewCaption(mnAll);
    Model->setStringList(CatalogueFamilies());
    SetColumns(Options.ListColumns);
    SetListFontSize(Options.ListFontSize);
    LoadListColors();
    setGeometry(Options.ListLeft, Options.ListTop, Options.ListWidth, Options.ListHeight);
    move(Options.ListLeft, Options.ListTop);
    SetSampleText(QString::fromStdString(Options.ListSampleText));
    if (Options.ListMaximized) {
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    UpdateLanguage();
    ShowCounts();
}

TfViewAll::~TfViewAll() {
    // The organize window outlives the sheet and keeps telling of changes.
    if (Organize != nullptr) {
        Organize->Store().CategoriesChanged = nullptr;
    }
}

void TfViewAll::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));
    SetTag(bar, kLocalizedMenu);
    QMenu* file = AddTaggedMenu(bar, "mnFile", 11101);
    mnPrint = AddTaggedItem(file, "mnPrint", 11102, Qt::CTRL | Qt::Key_P);
    mnConfigure = AddTaggedItem(file, "mnConfigure", 11103);
    file->addSeparator();
    mnDeleteFonts = AddTaggedItem(file, "mnDeleteFonts", 11126, Qt::CTRL | Qt::Key_Delete);
    mnDisableFonts = AddTaggedItem(file, "mnDisableFonts", 30313, Qt::CTRL | Qt::SHIFT | Qt::Key_D);
    mnEnableFonts = AddTaggedItem(file, "mnEnableFonts", 30314, Qt::CTRL | Qt::SHIFT | Qt::Key_E);
    mnProperties = AddTaggedItem(file, "mnProperties", kProperties, Qt::ALT | Qt::Key_Return);
    file->addSeparator();
    mnClose = AddTaggedItem(file, "mnClose", 11104);

    QMenu* edit = AddTaggedMenu(bar, "mnEdit", 11114);
    mnInvertSelection =
        AddTaggedItem(edit, "mnInvertSelection", 11115, Qt::KeypadModifier | Qt::Key_Asterisk);
    mnSelectAll = AddTaggedItem(edit, "mnSelectAll", 11116);
    edit->addSeparator();
    mnFindFont = AddTaggedItem(edit, "mnFindFont", 11134);
    mnFindFontInCategories = AddTaggedItem(edit, "mnFindFontInCategories", 11129);

    QMenu* organize = AddTaggedMenu(bar, "mnOrganize", 11117);
    mnCategories = AddTaggedSubmenu(organize, "mnCategories", 11118);
    mnAll = AddTaggedItem(mnCategories, "mnAll", 11119);
    mnWithoutCategories = AddTaggedItem(mnCategories, "mnWithoutCategories", 11127);
    mnDisabled = AddTaggedItem(mnCategories, "mnDisabled", 30306);
    ViewGroup = new QActionGroup(this);
    for (QAction* view : {mnAll, mnWithoutCategories, mnDisabled}) {
        view->setCheckable(true);
        ViewGroup->addAction(view);
    }
    mnAll->setChecked(true);
    mnCombineCategories =
        AddTaggedItem(organize, "mnCombineCategories", 11128, Qt::CTRL | Qt::Key_M);
    mnEnableOnlyCategory = AddTaggedItem(organize, "mnEnableOnlyCategory", 30315);
    mnEnableAll = AddTaggedItem(organize, "mnEnableAll", 30316);
    organize->addSeparator();
    mnAddSelection = AddTaggedItem(organize, "mnAddSelection", 11120, Qt::Key_Insert);
    mnDeleteSelection = AddTaggedItem(organize, "mnDeleteSelection", 11121, Qt::Key_Delete);
    organize->addSeparator();
    mnImportCategories = AddTaggedItem(organize, "mnImportCategories", 11132);
    mnImportCollections = AddTaggedItem(organize, "mnImportCollections", 30554);
    mnEditCategories = AddTaggedItem(organize, "mnEditCategories", 11122);

    QMenu* columns = AddTaggedMenu(bar, "mnColumns", 11105);
    for (int n = 0; n <= 5; ++n) {
        const QByteArray name = "mnCol" + QByteArray::number(n);
        QAction* item = AddTaggedItem(columns, name.constData(), n,
                                      QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_0 + n)));
        item->setText(QStringLiteral("&%1").arg(n));
        connect(item, &QAction::triggered, this, [this, n] { SetColumns(n); });
    }
    columns->addSeparator();
    mnDefineColumns = AddTaggedItem(columns, "mnDefineColumns", 11106);

    QMenu* sizes = AddTaggedMenu(bar, "mnSizes", 11107);
    const std::pair<const char*, int> sizeItems[] = {
        {"mnSize1", 9},  {"mnTam2", 12},  {"mnSize3", 16}, {"mnSize4", 24},
        {"mnSize5", 36}, {"mnSize6", 48}, {"mnSize7", 72}};
    const char* sizeCaptions[] = {"&9", "&12", "1&6", "&24", "&36", "&48", "&72"};
    for (size_t i = 0; i < std::size(sizeItems); ++i) {
        const int size = sizeItems[i].second;
        QAction* item = AddTaggedItem(sizes, sizeItems[i].first, size);
        item->setText(QString::fromLatin1(sizeCaptions[i]));
        connect(item, &QAction::triggered, this, [this, size] { SetListFontSize(size); });
    }
    sizes->addSeparator();
    mnDefineSize = AddTaggedItem(sizes, "mnDefineSize", 11108);

    QMenu* view = AddTaggedMenu(bar, "mnView", 11130);
    mnShowInMainWindow = AddTaggedItem(view, "mnShowInMainWindow", 11131, Qt::Key_Return);
    mnInterchange = AddTaggedItem(view, "mnInterchange", 11125, Qt::Key_F2);

    QMenu* options = AddTaggedMenu(bar, "mnOptions", 11109);
    mnShortSample = AddTaggedItem(options, "mnShortSample", 11110, Qt::Key_F6);
    mnLongSample = AddTaggedItem(options, "mnLongSample", 11111, Qt::Key_F7);
    mnNameSample = AddTaggedItem(options, "mnNameSample", 11112, Qt::Key_F8);
    mnDefineExample = AddTaggedItem(options, "mnDefineExample", 11113, Qt::CTRL | Qt::Key_D);
    options->addSeparator();
    mnColorSelection = AddTaggedItem(options, "mnColorSelection", 11123);
    mnNormalColor = AddTaggedItem(options, "mnNormalColor", 11124);

    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
    SetTag(PopupMenu, kLocalizedMenu);
    mnSelectAll0 = AddTaggedItem(PopupMenu, "mnSelectAll0", 11116);
    mnFindFontInCategories0 = AddTaggedItem(PopupMenu, "mnFindFontInCategories0", 11129);
    PopupMenu->addSeparator();
    mnDeleteFonts0 = AddTaggedItem(PopupMenu, "mnDeleteFonts0", 11126);
    mnDisableFonts0 = AddTaggedItem(PopupMenu, "mnDisableFonts0", 30313);
    mnEnableFonts0 = AddTaggedItem(PopupMenu, "mnEnableFonts0", 30314);
    PopupMenu->addSeparator();
    mnAddSelection0 = AddTaggedItem(PopupMenu, "mnAddSelection0", 11120);
    mnDeleteSelection0 = AddTaggedItem(PopupMenu, "mnDeleteSelection0", 11121);
    PopupMenu->addSeparator();
    mnDefineExample0 = AddTaggedItem(PopupMenu, "mnDefineExample0", 11113);
    mnProperties0 =
        AddTaggedItem(PopupMenu, "mnProperties0", kProperties, Qt::ALT | Qt::Key_Return);

    // The category commands wait for the organize window's store.
    for (QAction* later : {mnFindFontInCategories, mnWithoutCategories, mnCombineCategories,
                           mnAddSelection, mnDeleteSelection, mnImportCategories, mnEditCategories,
                           mnFindFontInCategories0, mnAddSelection0, mnDeleteSelection0}) {
        later->setEnabled(false);
    }
}

void TfViewAll::WireCommands() {
    connect(mnClose, &QAction::triggered, this, &QWidget::close);
    WireCategoryCommands();
    connect(mnPrint, &QAction::triggered, this, &TfViewAll::mnPrintClick);
    connect(mnConfigure, &QAction::triggered, this, [this] { ConfigurePrinter(this); });
    connect(mnInvertSelection, &QAction::triggered, this, &TfViewAll::InvertSelection);
    connect(mnSelectAll, &QAction::triggered, this, &TfViewAll::SelectAll);
    connect(mnSelectAll0, &QAction::triggered, this, &TfViewAll::SelectAll);
    connect(mnFindFont, &QAction::triggered, this, &TfViewAll::mnFindFontClick);
    connect(mnAll, &QAction::triggered, this, &TfViewAll::mnAllClick);
    connect(mnDefineColumns, &QAction::triggered, this, &TfViewAll::mnDefineColumnsClick);
    connect(mnDefineSize, &QAction::triggered, this, &TfViewAll::mnDefineSizeClick);
    connect(mnShowInMainWindow, &QAction::triggered, this, &TfViewAll::mnShowInMainWindowClick);
    connect(mnInterchange, &QAction::triggered, this, &TfViewAll::mnInterchangeClick);
    connect(mnShortSample, &QAction::triggered, this,
            [this] { SetSampleText(QString::fromStdString(LoadStr(kShortSample))); });
    connect(mnLongSample, &QAction::triggered, this,
            [this] { SetSampleText(QString::fromStdString(LoadStr(kLongSample))); });
    connect(mnNameSample, &QAction::triggered, this, [this] { SetSampleText(QString()); });
    connect(mnDefineExample, &QAction::triggered, this, &TfViewAll::mnDefineExampleClick);
    connect(mnDefineExample0, &QAction::triggered, this, &TfViewAll::mnDefineExampleClick);
    for (QAction* properties : {mnProperties, mnProperties0}) {
        connect(properties, &QAction::triggered, this, &TfViewAll::PropertiesClick);
    }
    connect(mnColorSelection, &QAction::triggered, this, [this] { ChooseColor(true); });
    connect(mnNormalColor, &QAction::triggered, this, [this] { ChooseColor(false); });
    connect(lstFonts, &QListView::clicked, this, &TfViewAll::ItemClicked);
    connect(lstFonts, &QListView::doubleClicked, this, &TfViewAll::mnShowInMainWindowClick);
    connect(lstFonts, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu->popup(lstFonts->viewport()->mapToGlobal(at)); });
    connect(lstFonts->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TfViewAll::ShowCounts);
    connect(Model, &QAbstractItemModel::modelReset, this, &TfViewAll::ShowCounts);
    lstFonts->viewport()->installEventFilter(this);
}

QStringList TfViewAll::Items() const {
    return Model->stringList();
}

int TfViewAll::ListFontSize() const {
    return Delegate->PointSize;
}

int TfViewAll::ItemHeight() const {
    return Delegate->ItemHeight();
}

int TfViewAll::NameLineHeight() const {
    return Delegate->NameLineHeight();
}

QString TfViewAll::SampleText() const {
    return Delegate->SampleText;
}

void TfViewAll::Redraw() {
    Delegate->Invalidate();
    lstFonts->viewport()->update();
}

// A multi-column list divides its width evenly among its columns and fills
// them top to bottom; with no columns it is one column that scrolls down.
void TfViewAll::LayOutItems() {
    const int width = lstFonts->viewport()->width();
    const int itemWidth = ColumnCount > 0 ? std::max(1, width / ColumnCount) : std::max(1, width);
    Delegate->ItemWidth = itemWidth;
    lstFonts->setWrapping(ColumnCount > 0);
    lstFonts->setGridSize(QSize(itemWidth, Delegate->ItemHeight()));
    Redraw();
}

void TfViewAll::SetColumns(int columns) {
    ColumnCount = std::max(0, columns);
    LayOutItems();
}

void TfViewAll::SetListFontSize(int size) {
    const QModelIndex current = lstFonts->currentIndex();
    Delegate->PointSize = size;
    QFont listFont = lstFonts->font();
    listFont.setPointSize(size > 0 ? size : 1);
    lstFonts->setFont(listFont);
    Status->SetPanelText(0, QString::fromStdString(FmtLoadStr(kSizeText, size)));
    LayOutItems();
    if (Model->rowCount() > 0 && current.isValid()) {
        // Only the current item moves into view; the selection stays as it is.
        lstFonts->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
        lstFonts->scrollTo(current);
    }
}

void TfViewAll::LoadListColors() {
    NormalColor = Options.ListNormalColor;
    SelectedColor = Options.ListSelectedColor;
    BackgroundColor = Options.ListBackgroundColor;
    Delegate->NormalColor = ResolveColor(NormalColor);
    Delegate->SelectedColor = ResolveColor(SelectedColor);
    Delegate->BackgroundColor = ResolveColor(BackgroundColor);
    QPalette palette = lstFonts->palette();
    palette.setColor(QPalette::Base, Delegate->BackgroundColor);
    lstFonts->setPalette(palette);
    Redraw();
}

void TfViewAll::SetSampleText(const QString& text) {
    Delegate->SampleText = text;
    Redraw();
}

void TfViewAll::UpdateLanguage() {
    LocalizeForm(this);
    mnSelectAll->setShortcut(ShortcutFromString(kShortcutSelectAll));
    mnSelectAll0->setShortcut(mnSelectAll->shortcut());
    mnFindFont->setShortcut(ShortcutFromString(kShortcutFind));
    mnFindFontInCategories->setShortcut(ShortcutFromString(kShortcutFindInCategories));
    mnFindFontInCategories0->setShortcut(mnFindFontInCategories->shortcut());
    Status->SetPanelText(0, QString::fromStdString(FmtLoadStr(kSizeText, ListFontSize())));
    if (CategoryName.isEmpty()) {
        SetViewCaption(CurrentViewItem != nullptr ? CurrentViewItem : mnAll);
    }
    if (dlgFind != nullptr) {
        dlgFind->Localize();
    }
}

void TfViewAll::SetViewCaption(const QAction* item) {
    Status->SetPanelText(2, QString::fromStdString(StripMenuMarks(item->text().toStdString())));
}

void TfViewAll::ShowCounts() {
    Status->SetCounts(static_cast<int>(lstFonts->selectionModel()->selectedIndexes().size()),
                      Model->rowCount());
}

void TfViewAll::FacesChanged() {
    Delegate->ForgetFaces();
    lstFonts->viewport()->update();
}

void TfViewAll::mnAllClick() {
    GreyedItems.clear(); // every family of the catalogue is served
    Model->setStringList(CatalogueFamilies());
    CategoryName.clear();
    if (Model->rowCount() > 0) {
        lstFonts->setCurrentIndex(Model->index(0));
    }
    if (Organize != nullptr) {
        Organize->ShowNewCategoryEntry();
    }
    mnAll->setChecked(true);
    CurrentViewItem = mnAll;
    SetViewCaption(mnAll);
    ShowCounts();
}

void TfViewAll::ShowCatalogue() {
    // A view chosen before the reading came was made of no families: it
    // goes as after a font change.
    if (!CategoryName.isEmpty() || (CurrentViewItem != nullptr && CurrentViewItem != mnAll)) {
        mnAllClick();
        return;
    }
    // The view of all families keeps its state, with no family chosen yet.
    Model->setStringList(CatalogueFamilies());
    ShowCounts();
}

template <typename F> void TfViewAll::KeepingPosition(F change) {
    const int horizontal = lstFonts->horizontalScrollBar()->value();
    const int vertical = lstFonts->verticalScrollBar()->value();
    const QModelIndex current = lstFonts->currentIndex();
    change();
    lstFonts->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    lstFonts->horizontalScrollBar()->setValue(horizontal);
    lstFonts->verticalScrollBar()->setValue(vertical);
}

void TfViewAll::SelectAll() {
    if (Model->rowCount() == 0) {
        return;
    }
    KeepingPosition([this] {
        const QItemSelection all(Model->index(0), Model->index(Model->rowCount() - 1));
        lstFonts->selectionModel()->select(all, QItemSelectionModel::Select);
    });
}

void TfViewAll::InvertSelection() {
    if (Model->rowCount() == 0) {
        return;
    }
    KeepingPosition([this] {
        const QItemSelection all(Model->index(0), Model->index(Model->rowCount() - 1));
        lstFonts->selectionModel()->select(all, QItemSelectionModel::Toggle);
    });
}

void TfViewAll::ItemClicked() {
    const QModelIndex current = lstFonts->currentIndex();
    if (!current.isValid()) {
        return;
    }
    const std::string family = current.data().toString().toStdString();
    Status->SetPanelText(
        1, QString::fromStdString(FontManager->GetFontTypeName(FontManager->GetFontType(family))));
}

void TfViewAll::PropertiesClick() {
    const QModelIndex current = lstFonts->currentIndex();
    if (current.isValid()) {
        const std::string family = current.data().toString().toStdString();
        OpenFamilyDetails(family, InstalledFamilyFaces(family, {}), SampleText(), this);
    }
}

void TfViewAll::mnFindFontClick() {
    if (dlgFind == nullptr) {
        dlgFind = new TFindDialog(this);
        connect(dlgFind, &TFindDialog::FindNext, this, &TfViewAll::FindNext);
    }
    const QModelIndex current = lstFonts->currentIndex();
    dlgFind->edFindText->setText(current.isValid() ? current.data().toString() : QString());
    if (current.isValid()) {
        lstFonts->selectionModel()->select(current, QItemSelectionModel::Deselect);
    }
    dlgFind->show();
    dlgFind->raise();
    dlgFind->activateWindow();
    // The family is offered, not imposed: typing replaces it.
    dlgFind->edFindText->selectAll();
    dlgFind->edFindText->setFocus(Qt::OtherFocusReason);
}

void TfViewAll::FindNext(const QString& text, bool wholeWord) {
    std::vector<std::string> items;
    for (const QString& item : Items()) {
        items.push_back(item.toStdString());
    }
    const QModelIndex current = lstFonts->currentIndex();
    const std::optional<size_t> hit =
        FindFamily(items, current.isValid() ? current.row() : -1, text.toStdString(), wholeWord);
    if (!hit) {
        Prompts().MessageBox(FmtLoadStr(kNotFoundText, text.toStdString()),
                             LoadStr(kNotFoundCaption), TMsgIcon::Information, TMsgButtons::Ok);
        return;
    }
    if (current.isValid()) {
        lstFonts->selectionModel()->select(current, QItemSelectionModel::Deselect);
    }
    const QModelIndex found = Model->index(static_cast<int>(*hit));
    lstFonts->selectionModel()->setCurrentIndex(found, QItemSelectionModel::Select);
    lstFonts->scrollTo(found);
    ItemClicked();
}

void TfViewAll::mnShowInMainWindowClick() {
    const QModelIndex current = lstFonts->currentIndex();
    const QString family = current.isValid() ? current.data().toString() : QString();
    const auto& families = FontManager->Families;
    const auto at = std::find(families.begin(), families.end(), family.toStdString());
    MainWindow->BringForward();
    MainWindow->ShowInstalledFamily(at == families.end() ? -1
                                                         : static_cast<int>(at - families.begin()));
}

void TfViewAll::mnInterchangeClick() {
    if (dlgFind != nullptr) {
        dlgFind->hide();
    }
    MainWindow->BringForward();
}

void TfViewAll::mnDefineColumnsClick() {
    const auto answer = Prompts().InputBox(LoadStr(kColumnsCaption), LoadStr(kColumnsPrompt),
                                           std::to_string(ColumnCount));
    if (answer) {
        SetColumns(CountFromAnswer(*answer, ColumnCount));
    }
}

void TfViewAll::mnDefineSizeClick() {
    const auto answer = Prompts().InputBox(LoadStr(kSizeCaption), LoadStr(kSizePrompt),
                                           std::to_string(ListFontSize()));
    if (answer) {
        SetListFontSize(CountFromAnswer(*answer, ListFontSize()));
    }
}

void TfViewAll::mnDefineExampleClick() {
    const std::string current = SampleText().toStdString();
    const auto answer =
        Prompts().InputBox(LoadStr(kSampleCaption), LoadStr(kSamplePrompt), current);
    SetSampleText(QString::fromStdString(answer.value_or(current)));
}

void TfViewAll::mnPrintClick() {
    const TPrintSource source = PrintSource();
    if (source.SelectedCount() == 0) {
        Prompts().MessageBox(LoadStr(kNoSelection), LoadStr(kWarningCaption), TMsgIcon::Warning,
                             TMsgButtons::Ok);
        return;
    }
    PrintFontList(source, SampleText().toStdString());
}

TPrintSource TfViewAll::PrintSource() const {
    TPrintSource source;
    const QStringList items = Items();
    const QItemSelectionModel* selection = lstFonts->selectionModel();
    source.Faces.resize(static_cast<size_t>(items.size()));
    for (int row = 0; row < items.size(); ++row) {
        source.Items.push_back(items[row].toStdString());
        source.Selected.push_back(selection->isRowSelected(row));
        if (source.Selected.back()) {
            // The face the sheet draws the row from, a folder's file included.
            const TSampleItem item = Delegate->Describe(Model->index(row));
            source.Faces[static_cast<size_t>(row)] = {item.FaceFile, item.FaceIndex};
        }
    }
    source.Columns = Columns();
    source.FontSize = ListFontSize();
    return source;
}

void TfViewAll::ChooseColor(bool selectedColor) {
    TColor& color = selectedColor ? SelectedColor : NormalColor;
    const auto chosen = Prompts().PickColor(color);
    if (!chosen) {
        return;
    }
    color = *chosen;
    (selectedColor ? Delegate->SelectedColor : Delegate->NormalColor) = ResolveColor(color);
    Redraw();
}

void TfViewAll::StoreBounds() {
    Options.ListMaximized = isMaximized();
    if (!isMaximized()) {
        StoreNormalBounds();
    }
}

void TfViewAll::StoreNormalBounds() {
    const QRect normal = NormalBounds(this);
    Options.ListWidth = normal.width();
    Options.ListHeight = normal.height();
    Options.ListLeft = normal.x();
    Options.ListTop = normal.y();
}

void TfViewAll::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    Options.ShowListWindow = true;
    const QModelIndex current = lstFonts->currentIndex();
    if (current.isValid() && current.row() > 0) {
        lstFonts->selectionModel()->select(current, QItemSelectionModel::Select);
    }
    ItemClicked();
}

void TfViewAll::closeEvent(QCloseEvent* event) {
    // The user closing the sheet hides it for the next start too; the
    // program ending closes it as well, and then it is to come back.
    if (MainWindow == nullptr || !MainWindow->Terminating()) {
        Options.ShowListWindow = false;
    }
    QMainWindow::closeEvent(event);
}

void TfViewAll::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible()) {
        StoreBounds();
    } else if (event->type() == QEvent::WindowStateChange) {
        const auto* change = static_cast<QWindowStateChangeEvent*>(event);
        // Going to maximized: keep the bounds it had, to come back to.
        if (isMaximized() && !change->oldState().testFlag(Qt::WindowMaximized)) {
            StoreNormalBounds();
        }
    }
    QMainWindow::changeEvent(event);
}

bool TfViewAll::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstFonts->viewport() && event->type() == QEvent::KeyRelease) {
        Status->update();
    }
    if (watched == lstFonts->viewport() && event->type() == QEvent::Paint) {
        Delegate->BeginFrame();
        // Runs after this paint: samples drawn but left for later are shown
        // next; those still being drawn come with SamplesReady.
        QTimer::singleShot(0, this, [this] {
            if (Delegate->FrameLeftReadyWork()) {
                lstFonts->viewport()->update();
            }
        });
    }
    // Columns divide the list's own width, known only once it is resized.
    if (watched == lstFonts->viewport() && event->type() == QEvent::Resize) {
        LayOutItems();
    }

    return QMainWindow::eventFilter(watched, event);
}

} // namespace lw
