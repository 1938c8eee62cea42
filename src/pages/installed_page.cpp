#include "pages/installed_page.h"

#include "base/options.h"
#include "base/strings.h"
#include "controls/drawable_family.h"
#include "controls/localize.h"
#include "controls/qt_colors.h"
#include "fonts/flatpak_access.h"
#include "fonts/font_file_commands.h"
#include "fonts/font_manager.h"
#include "pages/delete_dialog.h"
#include "pages/details_window.h"
#include "pages/drawable_preview.h"
#include "pages/family_search.h"
#include "pages/installed_styles.h"
#include "pages/simple_combo.h"
#include "platform/services.h"

#include <QComboBox>
#include <QFontInfo>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace lw {

namespace {

constexpr int kFamilyCount = 10010;
constexpr int kReadingFonts = 30600;
constexpr int kNotFoundText = 10003;
constexpr int kNotFoundCaption = 10002;
constexpr int kSizePrompt = 10017;
constexpr int kSizeCaption = 10018;

QToolButton* MakeToggle(QWidget* parent, const char* name, int tag) {
    auto* button = MakeTagged<QToolButton>(parent, name, tag);
    button->setCheckable(true);
    button->setAutoRaise(false);
    button->setIconSize(QSize(16, 16));
    return button;
}

} // namespace

TInstalledPage::TInstalledPage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("tsInstalled"));
    SetTag(this, 10134);
    lblFonts = MakeTagged<QLabel>(this, "lblFonts", 10100);
    cmbFonts = MakeTagged<TSimpleComboBox>(this, "cmbFonts", 10400);
    lblNumber = MakeTagged<QLabel>(this, "lblNumber");
    pnlFontProperties = MakeTagged<QFrame>(this, "pnlFontProperties");
    cmbSize = MakeTagged<QComboBox>(pnlFontProperties, "cmbSize", 10402);
    cmbSize->setEditable(true);
    cmbSize->addItems({QStringLiteral("8"), QStringLiteral("10"), QStringLiteral("12"),
                       QStringLiteral("14"), QStringLiteral("16"), QStringLiteral("18"),
                       QStringLiteral("24"), QStringLiteral("36"), QStringLiteral("48"),
                       QStringLiteral("64"), QStringLiteral("72")});
    btnBold = MakeToggle(pnlFontProperties, "btnBold", 10403);
    btnItalic = MakeToggle(pnlFontProperties, "btnItalic", 10404);
    btnUnderline = MakeToggle(pnlFontProperties, "btnUnderline", 10405);
    btnColor = MakeTagged<QPushButton>(pnlFontProperties, "btnColor", 10406);
    btnAnsiSample = MakeToggle(pnlFontProperties, "btnAnsiSample", 10407);
    btnViewAll0 = MakeTagged<QPushButton>(pnlFontProperties, "btnViewAll0", 10106);
    lblSample0 = MakeTagged<QLabel>(this, "lblSample0", 10104);
    mmSample = MakeTagged<QPlainTextEdit>(this, "mmSample");
    mmSample->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Drawable = new TDrawablePreview(this);
    Drawable->setObjectName(QStringLiteral("Drawable"));
    connect(mmSample, &QPlainTextEdit::textChanged, this,
            [this] { Drawable->SampleEdited(mmSample->toPlainText()); });
    gbFont = MakeTagged<QGroupBox>(this, "gbFont", 10101);
    lblFontType = MakeTagged<QLabel>(gbFont, "lblFontType");
    lblAvailableStyles = MakeTagged<QLabel>(gbFont, "lblAvailableStyles", 10139);
    lstStyles = MakeTagged<QListWidget>(gbFont, "lstStyles");
    BuildLayout();
    cmbSize->setInsertPolicy(QComboBox::NoInsert);
    // The combo box holds the focus and hands keys to its line edit by a
    // direct call that no filter on the line edit sees: keys are taken here.
    cmbSize->installEventFilter(this);
    cmbSize->lineEdit()->installEventFilter(this);
    cmbFonts->Edit()->installEventFilter(this);
    cmbFonts->List()->installEventFilter(this);
    lstStyles->viewport()->installEventFilter(this);
    // Which style is chosen is the page's to say (a click toggles it), not
    // the list's own press and release.
    lstStyles->setSelectionMode(QAbstractItemView::NoSelection);
    connect(cmbFonts, &TSimpleComboBox::Changed, this, &TInstalledPage::cmbFontsChange);
    connect(cmbSize, &QComboBox::activated, this, &TInstalledPage::cmbSizeClick);
    for (QToolButton* button : {btnBold, btnItalic, btnUnderline}) {
        connect(button, &QToolButton::toggled, this, &TInstalledPage::StyleButtonToggled);
    }
    connect(btnColor, &QPushButton::clicked, this, &TInstalledPage::ChooseSampleColor);
}

bool TInstalledPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == cmbSize || watched == cmbSize->lineEdit()) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                cmbSizeClick();
                return true; // consumed
            }
            // Only digits and Backspace may be typed; keys that type nothing pass.
            const QString typed = key->text();
            if (!typed.isEmpty() && key->key() != Qt::Key_Backspace && typed.front().isPrint() &&
                !(typed.size() == 1 && typed.front() >= QLatin1Char('0') &&
                  typed.front() <= QLatin1Char('9'))) {
                return true;
            }
        } else if (event->type() == QEvent::MouseButtonDblClick && watched != cmbSize) {
            cmbSizeDblClick();
            return true;
        }
    } else if ((watched == cmbFonts->Edit() || watched == cmbFonts->List()) &&
               event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers().testFlag(Qt::ControlModifier) &&
            (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) && cmbFonts->Count() > 0) {
            SelectFamily(key->key() == Qt::Key_Home ? 0 : cmbFonts->Count() - 1);
            return true;
        }
        if (key->modifiers() == Qt::AltModifier &&
            (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
            StepStyle(key->key() == Qt::Key_Down ? 1 : -1);
            return true;
        }
    } else if (watched == lstStyles->viewport() && (event->type() == QEvent::MouseButtonPress ||
                                                    event->type() == QEvent::MouseButtonDblClick)) {
        // The second press of a quick pair comes as a double click alone.
        StyleBeforeClick = SelectedStyle();
    } else if (watched == lstStyles->viewport() && event->type() == QEvent::MouseButtonRelease) {
        // A click chooses the style the family's commands then act on, a
        // second click lets it go; the keys stay with the family list.
        const QListWidgetItem* hit =
            lstStyles->itemAt(static_cast<QMouseEvent*>(event)->position().toPoint());
        const QString style = hit != nullptr ? hit->data(Qt::UserRole).toString() : QString();
        ChooseStyle(style == StyleBeforeClick ? QString() : style);
        cmbFonts->setFocus();
    }
    return QWidget::eventFilter(watched, event);
}

void TInstalledPage::BuildLayout() {
    auto* properties = new QHBoxLayout(pnlFontProperties);
    properties->setContentsMargins(0, 0, 0, 0);
    properties->addWidget(cmbSize);
    properties->addWidget(btnBold);
    properties->addWidget(btnItalic);
    properties->addWidget(btnUnderline);
    properties->addWidget(btnColor);
    properties->addWidget(btnAnsiSample);
    properties->addStretch(1);
    properties->addWidget(btnViewAll0);

    auto* left = new QVBoxLayout;
    left->addWidget(lblFonts);
    left->addWidget(cmbFonts, 1);
    left->addWidget(lblNumber);

    auto* font = new QVBoxLayout(gbFont);
    font->addWidget(lblFontType);
    font->addWidget(lblAvailableStyles);
    font->addWidget(lstStyles, 1);

    auto* right = new QVBoxLayout;
    right->addWidget(pnlFontProperties);
    right->addWidget(lblSample0);
    right->addWidget(mmSample, 3);
    right->addWidget(Drawable);
    right->addWidget(gbFont, 2);

    auto* page = new QHBoxLayout(this);
    page->addLayout(left, 1);
    page->addLayout(right, 3);
}

QString TInstalledPage::SelectedFamily() const {
    return cmbFonts->Item(cmbFonts->ItemIndex());
}

QString TInstalledPage::SelectedStyle() const {
    const QList<QListWidgetItem*> chosen = lstStyles->selectedItems();
    return chosen.isEmpty() ? QString() : chosen.front()->data(Qt::UserRole).toString();
}

void TInstalledPage::ChooseStyle(const QString& fullName) {
    lstStyles->clearSelection();
    lstStyles->setCurrentRow(-1);
    for (int row = 0; row < lstStyles->count() && !fullName.isEmpty(); ++row) {
        if (lstStyles->item(row)->data(Qt::UserRole).toString() == fullName) {
            lstStyles->setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
            break;
        }
    }
    emit StyleChosen(!SelectedStyle().isEmpty());
}

void TInstalledPage::StepStyle(int step) {
    // The keys' way to the click's choice: past either end is no style, so
    // the family's commands can be had back without a mouse.
    const int count = lstStyles->count();
    if (count == 0) {
        return;
    }
    const int current = lstStyles->selectedItems().isEmpty() ? -1 : lstStyles->currentRow();
    const int next = current == -1 ? (step > 0 ? 0 : count - 1) : current + step;
    ChooseStyle(next < 0 || next >= count ? QString()
                                          : lstStyles->item(next)->data(Qt::UserRole).toString());
}

void TInstalledPage::SelectFamily(int index) {
    cmbFonts->SetItemIndex(index);
    cmbFontsChange();
}

void TInstalledPage::cmbSizeClick() {
    const QString text = cmbSize->currentText();
    if (text.isEmpty()) {
        return;
    }
    const int size = SizeFromText(text.toStdString(), mmSample->font().pointSize());
    cmbSize->setEditText(QString::number(size));
    // A font cannot be drawn at zero or fewer points; the box still shows the number.
    if (size > 0) {
        QFont font = mmSample->font();
        font.setPointSize(size);
        mmSample->setFont(font);
    }
    if (OtherSample != nullptr) {
        QFont other = OtherSample->font();
        other.setPointSize(mmSample->font().pointSize());
        OtherSample->setFont(other);
    }
}

void TInstalledPage::cmbSizeDblClick() {
    const size_t next = NextPresetIndex(cmbSize->currentText().toStdString());
    cmbSize->setCurrentIndex(static_cast<int>(next));
    cmbSizeClick();
}

void TInstalledPage::mnDeleteFontClick() {
    const std::string family = SelectedFamily().toStdString();
    if (!family.empty()) {
        // Interactive: the font change it announces refreshes the list
        // before it returns.
        TDisabledFonts store = UserDisabledFonts();
        RemoveWithRulesLifted(store, {family}, [&] {
            RemoveInstalledFont(
                family, Options.DefaultCopyFolder, Options.MoveToTrash, true,
                Options.CopyBeforeDelete,
                [this](const std::string& name, std::vector<std::string>& fullNames) {
                    TfDelete dialog(window());
                    return dialog.Execute(name, fullNames) == QDialog::Accepted;
                });
        });
        // A rule left for a removed file would hide a font installed later
        // under its name; the next write drops it.
        UserDisabledFonts().Change({}, {});
    }
    cmbFontsChange();
}

namespace {
constexpr int kDisabledMark = 30307;
constexpr int kRestartNote = 30303;

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
} // namespace

void TInstalledPage::PreviewDisabled(const std::string& family) {
    // No program is served a disabled font, this one included: its sample
    // is drawn from the file, loaded for this process alone.
    std::string wanted;
    for (const TDisabledFace& face : Disabled) {
        if (!family.empty() && face.Family == family && !face.File.empty()) {
            wanted = face.File;
            break;
        }
    }
    if (wanted == DisabledPreview) {
        return;
    }
    if (!DisabledPreview.empty()) {
        FontSystem().RemoveFontResource(TFontFiles(DisabledPreview));
        DisabledPreview.clear();
    }
    if (!wanted.empty() && FontSystem().AddFontResource(TFontFiles(wanted)) > 0) {
        DisabledPreview = wanted;
    }
}

void TInstalledPage::DisableClick(bool enable) {
    const std::string family = SelectedFamily().toStdString();
    if (family.empty()) {
        return;
    }
    const QString style = SelectedStyle();
    std::vector<std::string> styles;
    if (!style.isEmpty()) {
        styles.push_back(style.toStdString());
    }
    TStyleChange change;
    {
        THourglass hourglass;
        TDisabledFonts store = UserDisabledFonts();
        change = enable ? EnableStyles(store, family, styles, false)
                        : DisableStyles(store, family, styles);
    }
    if (!change.Changed) {
        return;
    }
    // Read again as after an install; the broadcast tells every other
    // window and program.
    FontSystem().FontsChanged();
    FontManager->BroadcastFontChange();
    UpdateList();
    // The family moves (after the installed ones, or back among them): the
    // selection goes with it, so the other command undoes this one.
    const QString moved = QString::fromStdString(family);
    for (int i = 0; i < cmbFonts->Count(); ++i) {
        if (cmbFonts->Item(i).compare(moved, Qt::CaseInsensitive) == 0) {
            SelectFamily(i);
            break;
        }
    }
    ChooseStyle(style);
    emit StatusText(QString::fromStdString(LoadStr(kRestartNote)));
    if (!enable) {
        OfferFlatpakFontconfigAccess(RunOnPath);
    }
}

void TInstalledPage::PropertiesClick() {
    const std::string family = SelectedFamily().toStdString();
    if (family.empty()) {
        return;
    }
    // A family disabled whole is no longer listed by the system: its files
    // come from the rules that disable it.
    std::vector<std::string> disabledFiles;
    for (const TDisabledFace& face : Disabled) {
        if (face.Family == family && !face.File.empty()) {
            disabledFiles.push_back(face.File);
        }
    }
    OpenFamilyDetails(family, InstalledFamilyFaces(family, disabledFiles), mmSample->toPlainText(),
                      window());
}

void TInstalledPage::mnSizeClick() {
    const auto answer = Prompts().InputBox(LoadStr(kSizeCaption), LoadStr(kSizePrompt),
                                           cmbSize->currentText().toStdString());
    if (!answer) {
        return;
    }
    cmbSize->setEditText(QString::fromStdString(*answer));
    cmbSizeClick();
}

void TInstalledPage::StyleButtonToggled() {
    QFont font = mmSample->font();
    font.setBold(btnBold->isChecked());
    font.setItalic(btnItalic->isChecked());
    font.setUnderline(btnUnderline->isChecked());
    mmSample->setFont(font);
}

void TInstalledPage::SetSamplesColor(TColor color) {
    SampleColor = color;
    for (QPlainTextEdit* memo : {mmSample, OtherSample}) {
        if (memo == nullptr) {
            continue;
        }
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Text, ResolveColor(color));
        memo->setPalette(palette);
    }
}

void TInstalledPage::ChooseSampleColor() {
    const std::optional<TColor> chosen = Prompts().PickColor(DialogColor);
    if (!chosen) {
        return;
    }
    DialogColor = *chosen;
    SetSamplesColor(*chosen);
}

void TInstalledPage::FindFamilyNext(const QString& text, bool wholeWord) {
    const std::optional<size_t> found =
        FindFamily(FontManager->Families, cmbFonts->ItemIndex(), text.toStdString(), wholeWord);
    if (!found || static_cast<int>(*found) >= cmbFonts->Count()) {
        Prompts().MessageBox(FmtLoadStr(kNotFoundText, text.toStdString()),
                             LoadStr(kNotFoundCaption), TMsgIcon::Information, TMsgButtons::Ok);
        return;
    }
    SelectFamily(static_cast<int>(*found));
}

void TInstalledPage::ShowFamilyCount() {
    lblNumber->setText(QString::fromStdString(
        FontManager->AwaitingReading()
            ? LoadStr(kReadingFonts)
            : FmtLoadStr(kFamilyCount, static_cast<long long>(FontManager->Families.size()))));
}

QStringList CatalogueFamilies() {
    QStringList families;
    families.reserve(static_cast<qsizetype>(FontManager->Families.size()));
    for (const std::string& family : FontManager->Families) {
        families << QString::fromStdString(family);
    }
    return families;
}

void TInstalledPage::LoadFamilies(int index) {
    const QStringList families = CatalogueFamilies();
    cmbFonts->SetItems(families);
    // Families disabled whole are no longer in the catalogue: listed after
    // it, so the catalogue's indexes stay the list's.
    Disabled = UserDisabledFonts().Disabled();
    QStringList names;
    QStringList hints;
    for (const TFamilyDisabledWhole& off : FamiliesDisabledWhole(Disabled, FontManager->Families)) {
        names << QString::fromStdString(off.Family);
        hints << QString::fromStdString(FmtLoadStr(kDisabledMark, FileNameOf(off.Source)));
    }
    cmbFonts->AddGreyedItems(names, hints);
    if (index >= 0 && index < cmbFonts->Count()) {
        cmbFonts->SetItemIndex(index);
    }
    ShowFamilyCount();
}

void TInstalledPage::UpdateList() {
    THourglass hourglass;
    FontManager->Refresh();
    ShowCatalogue();
}

void TInstalledPage::ShowCatalogue() {
    const int selected = cmbFonts->ItemIndex();
    LoadFamilies(selected);
    // The family shown may be gone (a removed temporary font, say): show the
    // one that now stands at its place, the last when the list got shorter.
    if (cmbFonts->ItemIndex() < 0 && cmbFonts->Count() > 0) {
        cmbFonts->SetItemIndex(std::max(0, std::min(selected, cmbFonts->Count() - 1)));
    }
    cmbFontsChange();
}

void TInstalledPage::cmbFontsChange() {
    const int index = cmbFonts->ItemIndex();
    if (index < 0) {
        return;
    }
    const QString family = cmbFonts->Item(index);
    PreviewDisabled(cmbFonts->ItemGreyed(index) ? family.toStdString() : std::string());
    MakeFamilyDrawable(family);
    QFont sampleFont = mmSample->font();
    sampleFont.setFamily(family);
    mmSample->setFont(sampleFont);
    const std::optional<TFaceInfo> face = FontManager->GetSampleFace(family.toStdString());
    Drawable->ShowFor(face ? face->File : std::string(), face ? face->Index : 0,
                      mmSample->toPlainText(), QFontInfo(sampleFont).pixelSize());
    emit SampleFontChanged(family);
    ShowFamilyDetails();
}

void TInstalledPage::ShowFamilyDetails() {
    const QString family = cmbFonts->Item(cmbFonts->ItemIndex());
    if (family.isEmpty()) {
        return;
    }
    lstStyles->clear();
    const TFamilyDescription description = DescribeFamily(*FontManager, family.toStdString());
    if (description.HasStyles) {
        lblFontType->setText(QString::fromStdString(description.TypeLine));
    }
    for (size_t i = 0; i < description.StyleLines.size(); ++i) {
        auto* item =
            new QListWidgetItem(QString::fromStdString(description.StyleLines[i]), lstStyles);
        item->setData(Qt::UserRole, QString::fromStdString(description.StyleFullNames[i]));
    }
    for (const TDisabledFace& face : Disabled) {
        if (QString::fromStdString(face.Family).compare(family, Qt::CaseInsensitive) != 0) {
            continue;
        }
        const std::string line = face.Style + "   |   " + face.FullName + "   --->   " + face.File +
                                 "   (" + FmtLoadStr(kDisabledMark, FileNameOf(face.Source)) + ")";
        auto* item = new QListWidgetItem(QString::fromStdString(line), lstStyles);
        item->setForeground(lstStyles->palette().brush(QPalette::Disabled, QPalette::Text));
        item->setData(Qt::UserRole, QString::fromStdString(face.FullName));
    }
    ChooseStyle(QString());
}

} // namespace lw
