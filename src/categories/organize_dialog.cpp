#include "categories/organize_dialog.h"

#include "base/strings.h"
#include "categories/category_names.h"
#include "controls/drawable_family.h"
#include "controls/localize.h"
#include "fonts/font_manager.h"

#include <QComboBox>
#include <QFile>
#include <QFileSystemWatcher>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

namespace lw {

namespace {

constexpr int kCount = 16000;
constexpr int kSampleMargin = 5;

QStringList ToQt(const std::vector<std::string>& names) {
    QStringList list;
    list.reserve(static_cast<qsizetype>(names.size()));
    for (const std::string& name : names) {
        list.append(QString::fromStdString(name));
    }
    return list;
}

QFont DialogFont(int pixels) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixels);
    return font;
}

QPushButton* PictureButton(QWidget* parent, const char* name, int tag, QStyle::StandardPixmap icon,
                           const QRect& place) {
    auto* button = MakeTagged<QPushButton>(parent, name, tag);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setGeometry(place);
    return button;
}

// The flat arrow buttons: no caption of their own, only a hint, and no
// place in the tab order.
QToolButton* MoveButton(QWidget* parent, const char* name, int tag, QStyle::StandardPixmap icon,
                        int top) {
    auto* button = MakeTagged<QToolButton>(parent, name, tag);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(219, top, 28, 28);
    button->setIcon(parent->style()->standardIcon(icon));
    return button;
}

QListWidget* FamilyList(QWidget* parent, const char* name, int left) {
    auto* list = MakeTagged<QListWidget>(parent, name);
    list->setGeometry(left, 65, 201, 251);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setUniformItemSizes(true);
    return list;
}

} // namespace

TfOrganize::TfOrganize(TCategoryPlaces places, QWidget* parent)
    : QDialog(parent), Categories(std::move(places)) {
    setObjectName(QStringLiteral("fOrganize"));
    SetTag(this, 16100);
    setFixedSize(467, 423);
    setFont(DialogFont(11));
    lblCategories = MakeTagged<QLabel>(this, "lblCategories", 16101);
    lblCategories->move(10, 5);
    cmbCategories = MakeTagged<QComboBox>(this, "cmbCategories");
    cmbCategories->setGeometry(10, 20, 201, 21);
    btnUpdate =
        PictureButton(this, "btnUpdate", 16104, QStyle::SP_BrowserReload, QRect(220, 18, 81, 25));
    btnAddCategory = PictureButton(this, "btnAddCategory", 16105, QStyle::SP_FileDialogNewFolder,
                                   QRect(305, 18, 71, 25));
    btnDeleteCategory = PictureButton(this, "btnDeleteCategory", 16106, QStyle::SP_TrashIcon,
                                      QRect(380, 18, 71, 25));
    lblList = MakeTagged<QLabel>(this, "lblList", 16102);
    lblList->move(10, 50);
    lstFonts = FamilyList(this, "lstFonts", 10);
    btnAdd = MoveButton(this, "btnAdd", 16400, QStyle::SP_ArrowRight, 110);
    btnAddAll = MoveButton(this, "btnAddAll", 16401, QStyle::SP_MediaSeekForward, 145);
    btnDelete = MoveButton(this, "btnDelete", 16402, QStyle::SP_ArrowLeft, 190);
    btnDeleteAll = MoveButton(this, "btnDeleteAll", 16403, QStyle::SP_MediaSeekBackward, 225);
    lblCategory = MakeTagged<QLabel>(this, "lblCategory", 16103);
    lblCategory->move(255, 50);
    lstCategory = FamilyList(this, "lstCategory", 255);
    lblFontNumber = MakeTagged<QLabel>(this, "lblFontNumber");
    lblFontNumber->move(10, 318);
    lblCategoryNumber = MakeTagged<QLabel>(this, "lblCategoryNumber");
    lblCategoryNumber->move(255, 318);
    Bevel = MakeTagged<QFrame>(this, "Bevel");
    Bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel->setGeometry(10, 340, 446, 41);
    lblSample = MakeTagged<QLabel>(this, "lblSample", 10104);
    lblSample->move(20, 354);
    lblExample = MakeTagged<QLabel>(this, "lblExample");
    lblExample->move(70, 350);
    lblExample->setFont(DialogFont(21));
    btnUpdateAll = PictureButton(this, "btnUpdateAll", 16108, QStyle::SP_DialogApplyButton,
                                 QRect(106, 390, 150, 25));
    btnClose = MakeTagged<QPushButton>(this, "btnClose", 16107);
    btnClose->setGeometry(286, 390, 75, 25);
    // Enter must not close the dialog through a default button.
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(false);
    }
    QWidget* const order[] = {cmbCategories, btnUpdate,   btnAddCategory, btnDeleteCategory,
                              lstFonts,      lstCategory, btnUpdateAll,   btnClose};
    for (size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }

    connect(cmbCategories, &QComboBox::activated, this, [this](int position) {
        const QString id = cmbCategories->itemData(position).toString();
        if (id.isEmpty()) {
            Categories.SelectCategory(position);
        } else {
            ShowAutomatic(id.toStdString());
        }
    });
    connect(btnUpdate, &QPushButton::clicked, this, [this] { Categories.CommitCategory(); });
    connect(btnAddCategory, &QPushButton::clicked, this, [this] { Categories.CreateCategory(); });
    connect(btnDeleteCategory, &QPushButton::clicked, this,
            [this] { Categories.DeleteCategory(); });
    connect(btnUpdateAll, &QPushButton::clicked, this,
            [this] { Categories.UpdateAllCategories(); });
    connect(btnAdd, &QToolButton::clicked, this,
            [this] { Categories.MoveToCategory(SelectedRows(lstFonts)); });
    connect(btnAddAll, &QToolButton::clicked, this, [this] { Categories.MoveAllToCategory(); });
    connect(btnDelete, &QToolButton::clicked, this,
            [this] { Categories.MoveOutOfCategory(SelectedRows(lstCategory)); });
    connect(btnDeleteAll, &QToolButton::clicked, this,
            [this] { Categories.MoveAllOutOfCategory(); });
    connect(lstFonts, &QListWidget::itemClicked, this, [this] { ShowSample(lstFonts); });
    connect(lstCategory, &QListWidget::itemClicked, this, [this] { ShowSample(lstCategory); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);

    LocalizeForm(this);
    Categories.ListsChanged = [this] { ShowLists(); };
    Categories.Start();
    ShowLists();
    WatchFolder();
}

void TfOrganize::WatchFolder() {
    constexpr int kSettleMs = 200;
    ReloadTimer = new QTimer(this);
    ReloadTimer->setObjectName(QStringLiteral("ReloadTimer"));
    ReloadTimer->setSingleShot(true);
    ReloadTimer->setInterval(kSettleMs);
    connect(ReloadTimer, &QTimer::timeout, this, [this] { Categories.Reload(); });
    FolderWatch = new QFileSystemWatcher(this);
    FolderWatch->setObjectName(QStringLiteral("FolderWatch"));
    if (!Categories.Folder().empty()) {
        FolderWatch->addPath(QFile::decodeName(Categories.Folder().c_str()));
    }
    connect(FolderWatch, &QFileSystemWatcher::directoryChanged, ReloadTimer,
            qOverload<>(&QTimer::start));
}

TfOrganize::~TfOrganize() {
    Categories.ListsChanged = nullptr;
    Categories.SaveCategoryList();
}

int TfOrganize::Execute() {
    Categories.SelectCategory(Categories.Current());
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
    cmbCategories->setFocus();
    return exec();
}

void TfOrganize::ShowNewCategoryEntry() {
    Categories.PointAtNewEntry();
    const QSignalBlocker blockCombo(cmbCategories);
    cmbCategories->setCurrentIndex(0);
}

void TfOrganize::UpdateLanguage() {
    LocalizeForm(this);
    Categories.UpdatePlaceholder();
}

void TfOrganize::ShowLists() {
    const QSignalBlocker blockCombo(cmbCategories);
    QStringList categories = ToQt(Categories.Categories());
    // The automatic categories follow the user's, known by their ids.
    QStringList ids;
    if (Categories.Automatic) {
        for (const std::string& id : Categories.Automatic->Ids()) {
            categories.append(QString::fromStdString(AutoCategoryName(id)));
            ids.append(QString::fromStdString(id));
        }
    }
    QStringList shown;
    for (int i = 0; i < cmbCategories->count(); ++i) {
        shown.append(cmbCategories->itemText(i));
    }
    if (shown != categories) {
        cmbCategories->clear();
        cmbCategories->addItems(categories);
        const int first = static_cast<int>(categories.size() - ids.size());
        for (int i = 0; i < ids.size(); ++i) {
            cmbCategories->setItemData(first + i, ids[i]);
        }
    }
    cmbCategories->setCurrentIndex(Categories.Current());
    SetEditable(true);
    for (const auto& [list, names] : {std::pair{lstFonts, &Categories.Available()},
                                      std::pair{lstCategory, &Categories.Members()}}) {
        list->setUpdatesEnabled(false);
        list->clear();
        list->addItems(ToQt(*names));
        list->setUpdatesEnabled(true);
    }
    ShowCounts();
}

void TfOrganize::SetEditable(bool editable) {
    for (QWidget* change : std::initializer_list<QWidget*>{btnUpdate, btnDeleteCategory, btnAdd,
                                                           btnAddAll, btnDelete, btnDeleteAll}) {
        change->setEnabled(editable);
    }
}

void TfOrganize::ShowAutomatic(const std::string& id) {
    const std::vector<std::string>* members =
        Categories.Automatic ? Categories.Automatic->Members(id) : nullptr;
    const std::vector<std::string> inside = members ? *members : std::vector<std::string>();
    // Read-only: shown beside the families outside it, nothing to move.
    Categories.PointAtNewEntry();
    const std::pair<QListWidget*, std::vector<std::string>> lists[] = {
        {lstFonts, NamesOutside(FontManager->Families, TNameSet(inside))}, {lstCategory, inside}};
    for (const auto& [list, names] : lists) {
        list->setUpdatesEnabled(false);
        list->clear();
        list->addItems(ToQt(names));
        list->setUpdatesEnabled(true);
    }
    SetEditable(false);
    ShowCounts();
}

void TfOrganize::ShowCounts() {
    lblFontNumber->setText(QString::fromStdString(FmtLoadStr(kCount, lstFonts->count())));
    lblFontNumber->adjustSize();
    lblCategoryNumber->setText(QString::fromStdString(FmtLoadStr(kCount, lstCategory->count())));
    lblCategoryNumber->adjustSize();
}

void TfOrganize::ShowSample(QListWidget* list) {
    const QListWidgetItem* item = list->currentItem();
    if (item == nullptr) {
        return;
    }
    MakeFamilyDrawable(item->text());
    QFont face = lblExample->font();
    face.setFamily(item->text());
    lblExample->setFont(face);
    const QString sample = SampleText ? SampleText() : QString();
    lblExample->setText(sample.isEmpty() ? item->text() : sample);
    lblExample->adjustSize();
    // The sample never runs past the frame around it.
    const int right = Bevel->x() + Bevel->width() - kSampleMargin;
    if (lblExample->x() + lblExample->width() > right) {
        lblExample->resize(right - lblExample->x(), lblExample->height());
    }
}

std::vector<int> TfOrganize::SelectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) {
            rows.push_back(i);
        }
    }
    return rows;
}

} // namespace lw
