#include "pages/details_window.h"

#include "base/strings.h"
#include "controls/coverage_image.h"
#include "fonts/font_file.h"
#include "fonts/font_manager.h"
#include "pages/char_map_view.h"
#include "pages/waterfall_view.h"
#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace lw {

namespace {

constexpr int kCaption = 30400;
constexpr int kPropertiesTab = 30402;
constexpr int kLicenseTab = 30403;
constexpr int kCharactersTab = 30404;
constexpr int kWaterfallTab = 30405;
constexpr int kStyleLabel = 30406;
constexpr int kPropertyColumn = 30407;
constexpr int kValueColumn = 30408;
constexpr int kLicenseLabel = 30442;
constexpr int kLicenseUrlLabel = 30443;
constexpr int kRecognisedAs = 30444;
constexpr int kNoLicense = 30447;
constexpr int kScriptsCovered = 30448;
constexpr int kFindLabel = 30449;
constexpr int kNotInFont = 30450;
constexpr int kSizesLabel = 30451;
constexpr int kSampleLabel = 30452;
constexpr int kInstancesLabel = 30453;
constexpr int kAxesTitle = 30454;
constexpr int kCannotRead = 30455;
constexpr int kCodePoints = 30462;
constexpr int kCopied = 30464;
constexpr int kNone = 30465;
constexpr int kErrorCaption = 22;
// Slider positions between an axis's least and greatest value.
constexpr int kAxisSteps = 1000;
constexpr int kZoomPixels = 160;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QString Str(int id) {
    return Q(LoadStr(id));
}

} // namespace

QLabel* TfDetails::Caption(QWidget* parent, int text, QWidget* buddy) {
    auto* label = new QLabel(Str(text), parent);
    label->setBuddy(buddy);
    Captions.emplace_back(label, text);
    return label;
}

TfDetails::TfDetails(std::vector<TDetailsFace> faces, size_t selected, const QString& title,
                     QWidget* parent)
    : QWidget(parent, Qt::Window), Faces(std::move(faces)), Title(title) {
    setObjectName(QStringLiteral("fDetails"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Q(FmtLoadStr(kCaption, title.toStdString())));
    resize(720, 560);
    cmbStyle = new QComboBox(this);
    cmbStyle->setObjectName(QStringLiteral("cmbStyle"));
    for (const TDetailsFace& face : Faces) {
        cmbStyle->addItem(Q(face.Label));
    }
    pcDetails = new QTabWidget(this);
    pcDetails->setObjectName(QStringLiteral("pcDetails"));
    pcDetails->addTab(BuildPropertiesTab(), Str(kPropertiesTab));
    pcDetails->addTab(BuildLicenseTab(), Str(kLicenseTab));
    pcDetails->addTab(BuildCharactersTab(), Str(kCharactersTab));
    pcDetails->addTab(BuildWaterfallTab(), Str(kWaterfallTab));

    auto* top = new QHBoxLayout;
    top->addWidget(Caption(this, kStyleLabel, cmbStyle));
    top->addWidget(cmbStyle, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pcDetails, 1);

    Shown = std::min(selected, Faces.size() - 1);
    cmbStyle->setCurrentIndex(static_cast<int>(Shown));
    connect(cmbStyle, &QComboBox::activated, this, [this](int index) {
        if (!ShowFace(static_cast<size_t>(index))) {
            cmbStyle->setCurrentIndex(static_cast<int>(Shown));
        }
    });
}

QWidget* TfDetails::BuildPropertiesTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsProperties"));
    tblProperties = new QTableWidget(0, 2, page);
    tblProperties->setObjectName(QStringLiteral("tblProperties"));
    tblProperties->setHorizontalHeaderLabels({Str(kPropertyColumn), Str(kValueColumn)});
    tblProperties->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblProperties->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblProperties->verticalHeader()->hide();
    tblProperties->horizontalHeader()->setStretchLastSection(true);
    tblProperties->setWordWrap(false);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(tblProperties);
    return page;
}

QWidget* TfDetails::BuildLicenseTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsLicense"));
    lblLicenseName = new QLabel(page);
    lblLicenseName->setObjectName(QStringLiteral("lblLicenseName"));
    lblLicenseUrl = new QLabel(page);
    lblLicenseUrl->setObjectName(QStringLiteral("lblLicenseUrl"));
    lblLicenseUrl->setTextFormat(Qt::RichText);
    lblLicenseUrl->setOpenExternalLinks(true);
    lblLicenseUrl->setTextInteractionFlags(Qt::TextBrowserInteraction);
    mmLicense = new QPlainTextEdit(page);
    mmLicense->setObjectName(QStringLiteral("mmLicense"));
    mmLicense->setReadOnly(true);
    auto* form = new QFormLayout;
    form->addRow(Caption(page, kRecognisedAs, lblLicenseName), lblLicenseName);
    form->addRow(Caption(page, kLicenseUrlLabel, lblLicenseUrl), lblLicenseUrl);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addWidget(Caption(page, kLicenseLabel, mmLicense));
    layout->addWidget(mmLicense, 1);
    return page;
}

QWidget* TfDetails::BuildCharactersTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsCharacters"));
    lblScripts = new QLabel(page);
    lblScripts->setObjectName(QStringLiteral("lblScripts"));
    lblScripts->setWordWrap(true);
    edFindChar = new QLineEdit(page);
    edFindChar->setObjectName(QStringLiteral("edFindChar"));
    CharMap = new TCharMapView(page);
    CharMap->setObjectName(QStringLiteral("CharMap"));
    lblCharInfo = new QLabel(page);
    lblCharInfo->setObjectName(QStringLiteral("lblCharInfo"));
    lblCharInfo->setWordWrap(true);
    lblCharInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblZoom = new QLabel(page);
    lblZoom->setObjectName(QStringLiteral("lblZoom"));
    lblZoom->setFixedSize(kZoomPixels + 16, kZoomPixels + 48);
    lblZoom->setAlignment(Qt::AlignCenter);
    lblZoom->setFrameShape(QFrame::StyledPanel);

    auto* find = new QHBoxLayout;
    find->addWidget(Caption(page, kFindLabel, edFindChar));
    find->addWidget(edFindChar, 1);
    auto* side = new QVBoxLayout;
    side->addWidget(lblZoom);
    side->addWidget(lblCharInfo);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(CharMap, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(lblScripts);
    layout->addLayout(find);
    layout->addLayout(middle, 1);

    connect(edFindChar, &QLineEdit::returnPressed, this,
            [this] { FindCharacter(edFindChar->text()); });
    connect(CharMap, &TCharMapView::CodeSelected, this,
            [this](uint32_t code) { CharacterChosen(code, false); });
    connect(CharMap, &TCharMapView::CodeActivated, this,
            [this](uint32_t code) { CharacterChosen(code, true); });
    return page;
}

QWidget* TfDetails::BuildWaterfallTab() {
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("tsWaterfall"));
    edSizes = new QLineEdit(Q(WaterfallSizesText(DefaultWaterfallSizes())), page);
    edSizes->setObjectName(QStringLiteral("edSizes"));
    edSample = new QLineEdit(page);
    edSample->setObjectName(QStringLiteral("edSample"));
    pnlAxes = new QGroupBox(Str(kAxesTitle), page);
    pnlAxes->setObjectName(QStringLiteral("pnlAxes"));
    AxesLayout = new QVBoxLayout(pnlAxes);
    lstInstances = new QListWidget(page);
    lstInstances->setObjectName(QStringLiteral("lstInstances"));
    lstInstances->setMaximumHeight(120);
    Waterfall = new TWaterfallView;
    Waterfall->setObjectName(QStringLiteral("Waterfall"));
    Waterfall->SetSizes(DefaultWaterfallSizes());
    auto* scroll = new QScrollArea(page);
    scroll->setObjectName(QStringLiteral("sbWaterfall"));
    scroll->setWidget(Waterfall);
    scroll->setWidgetResizable(false);

    auto* form = new QFormLayout;
    form->addRow(Caption(page, kSizesLabel, edSizes), edSizes);
    form->addRow(Caption(page, kSampleLabel, edSample), edSample);
    auto* variations = new QHBoxLayout;
    variations->addWidget(pnlAxes, 2);
    auto* instances = new QVBoxLayout;
    instances->addWidget(Caption(page, kInstancesLabel, lstInstances));
    instances->addWidget(lstInstances);
    variations->addLayout(instances, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addLayout(form);
    layout->addLayout(variations);
    layout->addWidget(scroll, 1);

    connect(edSizes, &QLineEdit::editingFinished, this,
            [this] { Waterfall->SetSizes(ParseWaterfallSizes(edSizes->text().toStdString())); });
    connect(edSample, &QLineEdit::textChanged, Waterfall, &TWaterfallView::SetText);
    connect(lstInstances, &QListWidget::currentRowChanged, this, &TfDetails::InstanceChosen);
    return page;
}

bool TfDetails::ShowFace(size_t face) {
    if (face >= Faces.size()) {
        return false;
    }
    TFaceReport report;
    try {
        THourglass hourglass;
        report = ReadFaceReport(Faces[face]);
    } catch (const EFontFileError& e) {
        Prompts().MessageBox(FmtLoadStr(kCannotRead, e.Path, std::string(e.what())),
                             LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
        return false;
    }
    Shown = face;
    DrawFile = report.DrawFile;
    DrawIndex = static_cast<int>(Faces[face].Index);
    ShowProperties(report);
    ShowLicense(report);
    ShowCharacters(report);
    ShowVariations(report);
    return true;
}

void TfDetails::ShowProperties(const TFaceReport& report) {
    tblProperties->setRowCount(static_cast<int>(report.Properties.size()));
    for (size_t i = 0; i < report.Properties.size(); ++i) {
        const int row = static_cast<int>(i);
        tblProperties->setItem(row, 0, new QTableWidgetItem(Q(report.Properties[i].Label)));
        auto* value = new QTableWidgetItem(Q(report.Properties[i].Value));
        value->setToolTip(value->text());
        tblProperties->setItem(row, 1, value);
    }
    tblProperties->resizeColumnToContents(0);
}

void TfDetails::ShowLicense(const TFaceReport& report) {
    lblLicenseName->setText(Q(LicenseName(report.LicenseId)));
    const QString url = Q(report.LicenseUrl).toHtmlEscaped();
    lblLicenseUrl->setText(url.isEmpty() ? QString()
                                         : QStringLiteral("<a href=\"%1\">%1</a>").arg(url));
    mmLicense->setPlainText(report.LicenseText.empty() ? Str(kNoLicense) : Q(report.LicenseText));
}

void TfDetails::ShowCharacters(const TFaceReport& report) {
    ShowScripts(report);
    CharMap->SetFace(DrawFile, DrawIndex, report.CodePoints);
    lblCharInfo->clear();
    lblZoom->clear();
}

void TfDetails::ShowScripts(const TFaceReport& report) {
    std::string scripts;
    for (const std::string& script : report.Scripts) {
        scripts += (scripts.empty() ? "" : ", ") + script;
    }
    lblScripts->setText(
        Q(FmtLoadStr(kScriptsCovered, scripts.empty() ? LoadStr(kNone) : scripts) + "  -  " +
          FmtLoadStr(kCodePoints, static_cast<long long>(CodePointCount(report.CodePoints)))));
}

void TfDetails::UpdateLanguage() {
    setWindowTitle(Q(FmtLoadStr(kCaption, Title.toStdString())));
    const int tabs[] = {kPropertiesTab, kLicenseTab, kCharactersTab, kWaterfallTab};
    for (int i = 0; i < static_cast<int>(std::size(tabs)); ++i) {
        pcDetails->setTabText(i, Str(tabs[i]));
    }
    tblProperties->setHorizontalHeaderLabels({Str(kPropertyColumn), Str(kValueColumn)});
    for (const auto& [label, text] : Captions) {
        label->setText(Str(text));
    }
    static_cast<QGroupBox*>(pnlAxes)->setTitle(Str(kAxesTitle));
    // The report's words were chosen when it was read, so it is read again;
    // the character map, sliders and sample are left as the user set them.
    TFaceReport report;
    try {
        THourglass hourglass;
        report = ReadFaceReport(Faces[Shown]);
    } catch (const EFontFileError&) {
        // A file gone since it was shown keeps its report as it was.
        return;
    }
    ShowProperties(report);
    ShowLicense(report);
    ShowScripts(report);
}

void TfDetails::ShowVariations(const TFaceReport& report) {
    while (QLayoutItem* item = AxesLayout->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    AxisSliders.clear();
    lstInstances->clear();
    const TVariations variations = report.Variations.value_or(TVariations());
    Axes = variations.Axes;
    Instances = variations.Instances;
    for (const TAxis& axis : Axes) {
        auto* row = new QWidget(pnlAxes);
        auto* line = new QHBoxLayout(row);
        line->setContentsMargins(0, 0, 0, 0);
        auto* slider = new QSlider(Qt::Horizontal, row);
        slider->setObjectName(QStringLiteral("tbAxis_") + Q(axis.Tag).trimmed());
        slider->setRange(0, kAxisSteps);
        const double span = axis.Max - axis.Min;
        slider->setValue(span > 0 ? qRound((axis.Default - axis.Min) / span * kAxisSteps) : 0);
        const QString name = Q(axis.Name.empty() ? axis.Tag : axis.Name);
        auto* label = new QLabel(QStringLiteral("%1 (%2) %3 \u2013 %4 \u2013 %5")
                                     .arg(name, Q(axis.Tag))
                                     .arg(axis.Min)
                                     .arg(axis.Default)
                                     .arg(axis.Max),
                                 row);
        label->setBuddy(slider);
        line->addWidget(label);
        line->addWidget(slider, 1);
        AxesLayout->addWidget(row);
        AxisSliders.push_back(slider);
        connect(slider, &QSlider::valueChanged, this, &TfDetails::AxisMoved);
    }
    for (const TNamedInstance& instance : Instances) {
        lstInstances->addItem(Q(instance.Name));
    }
    pnlAxes->setVisible(!Axes.empty());
    lstInstances->setVisible(!Instances.empty());
    Waterfall->SetFace(DrawFile, DrawIndex);
    if (edSample->text().isEmpty()) {
        // A sheet that shows each font's name gives no sample: the name serves.
        edSample->setText(SampleText.isEmpty() ? Q(Faces[Shown].Label) : SampleText);
    } else {
        Waterfall->SetText(edSample->text());
    }
}

void TfDetails::AxisMoved() {
    std::vector<double> coordinates;
    for (size_t i = 0; i < Axes.size() && i < AxisSliders.size(); ++i) {
        const TAxis& axis = Axes[i];
        coordinates.push_back(axis.Min +
                              (axis.Max - axis.Min) * AxisSliders[i]->value() / kAxisSteps);
    }
    Waterfall->SetCoordinates(coordinates);
}

void TfDetails::InstanceChosen(int row) {
    if (row < 0 || static_cast<size_t>(row) >= Instances.size()) {
        return;
    }
    const std::vector<double>& at = Instances[static_cast<size_t>(row)].Coordinates;
    for (size_t i = 0; i < Axes.size() && i < at.size() && i < AxisSliders.size(); ++i) {
        const double span = Axes[i].Max - Axes[i].Min;
        const QSignalBlocker quiet(AxisSliders[i]);
        AxisSliders[i]->setValue(span > 0 ? qRound((at[i] - Axes[i].Min) / span * kAxisSteps) : 0);
    }
    AxisMoved();
}

bool TfDetails::FindCharacter(const QString& query) {
    const std::optional<uint32_t> code = ParseCodePointQuery(query.toStdString());
    if (code && CharMap->ShowCode(*code)) {
        CharMap->setFocus();
        return true;
    }
    lblCharInfo->setText(
        Q(FmtLoadStr(kNotInFont, code ? CodePointText(*code) : query.toStdString())));
    lblZoom->clear();
    return false;
}

void TfDetails::CharacterChosen(uint32_t code, bool copy) {
    const QString character = QString::fromUcs4(reinterpret_cast<const char32_t*>(&code), 1);
    QString info = Q(CodePointText(code)) + QStringLiteral("  ") + character +
                   QStringLiteral("\n") + Q(CharMap->BlockOf(code));
    if (copy) {
        QApplication::clipboard()->setText(character);
        info += QStringLiteral("\n") + Q(FmtLoadStr(kCopied, CodePointText(code)));
    }
    lblCharInfo->setText(info);
    const qreal ratio = devicePixelRatioF();
    const std::optional<TCoverage> glyph = FaceRasterizer().DrawLine(
        DrawFile, DrawIndex, qRound(kZoomPixels * ratio),
        std::u32string(1, static_cast<char32_t>(code)), qRound(2 * kZoomPixels * ratio));
    if (glyph) {
        QImage image = CoverageImage(*glyph, palette().color(QPalette::Text));
        image.setDevicePixelRatio(ratio);
        lblZoom->setPixmap(QPixmap::fromImage(image));
    } else {
        lblZoom->clear();
    }
}

void TfDetails::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

TfDetails* OpenFamilyDetails(const std::string& family, const std::vector<TDetailsFace>& faces,
                             const QString& sample, QWidget* parent) {
    if (faces.empty()) {
        return nullptr;
    }
    auto* window = new TfDetails(faces, 0, Q(family), parent);
    window->SampleText = sample;
    if (!window->ShowFace(0)) {
        delete window;
        return nullptr;
    }
    window->show();
    return window;
}

TfDetails* OpenFileDetails(const std::string& path, uint32_t face, const QString& sample,
                           QWidget* parent) {
    std::vector<TDetailsFace> faces;
    try {
        faces = FacesOfFontFile(path);
    } catch (const EFontFileError& e) {
        Prompts().MessageBox(FmtLoadStr(kCannotRead, path, std::string(e.what())),
                             LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
        return nullptr;
    }
    size_t selected = 0;
    for (size_t i = 0; i < faces.size(); ++i) {
        if (faces[i].Index == face) {
            selected = i;
        }
    }
    const size_t slash = path.rfind('/');
    auto* window = new TfDetails(
        faces, selected, Q(slash == std::string::npos ? path : path.substr(slash + 1)), parent);
    window->SampleText = sample;
    if (!window->ShowFace(selected)) {
        delete window;
        return nullptr;
    }
    window->show();
    return window;
}

void UpdateDetailsLanguage() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* details = qobject_cast<TfDetails*>(window)) {
            details->UpdateLanguage();
        }
    }
}

std::vector<TDetailsFace> InstalledFamilyFaces(const std::string& family,
                                               const std::vector<std::string>& disabledFiles) {
    std::vector<TDetailsFace> faces;
    for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
        if (!face.File.empty()) {
            faces.push_back({face.FullName.empty() ? face.StyleName : face.FullName, face.File,
                             static_cast<uint32_t>(face.Index)});
        }
    }
    if (faces.empty()) {
        for (const std::string& file : disabledFiles) {
            try {
                for (TDetailsFace& face : FacesOfFontFile(file)) {
                    faces.push_back(std::move(face));
                }
            } catch (const EFontFileError&) {
                // A file gone since the rule was written shows nothing.
            }
        }
    }
    const std::optional<TFaceInfo> sample =
        FontManager ? FontManager->GetSampleFace(family) : std::nullopt;
    if (sample) {
        const auto first = std::find_if(faces.begin(), faces.end(), [&](const TDetailsFace& f) {
            return f.File == sample->File && f.Index == static_cast<uint32_t>(sample->Index);
        });
        if (first != faces.end()) {
            std::rotate(faces.begin(), first, first + 1);
        }
    }
    return faces;
}

} // namespace lw
