#include "printing/print_job.h"

#include "base/options.h"
#include "base/strings.h"
#include "categories/auto_categories.h"
#include "categories/sample_mark.h"
#include "controls/drawable_family.h"
#include "controls/localize.h"
#include "fonts/drawable_sample.h"
#include "fonts/face_facts.h"
#include "fonts/font_facts.h"
#include "fonts/font_manager.h"
#include "platform/services.h"
#include "printing/current_printer.h"
#include "printing/print_dialog.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

namespace lw {

namespace {

constexpr int kErrorCaption = 22;
constexpr int kInformation = 23;
constexpr int kSentTo = 10150;
constexpr int kDocumentTitle = 14003;
constexpr int kPrintedPages = 14004;
constexpr int kPrintingOn = 14150;
constexpr int kNoRoomForARow = 30108;
constexpr int kCannotPrint = 30109;

const QString kMeasureText =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");

// What a family's cell prints: the text asked for, or what its face can
// draw when it maps too few of its letters.
TDrawableSample PrintableSample(const TPrintSource& source, size_t item, const QString& asked) {
    TPrintSource::TFace face;
    if (item < source.Faces.size()) {
        face = source.Faces[item];
    }
    if (face.File.empty() && FontManager) {
        if (const std::optional<TFaceInfo> installed =
                FontManager->GetSampleFace(source.Items[item])) {
            face = {installed->File, installed->Index};
        }
    }
    std::optional<TCodeRanges> codes;
    if (!face.File.empty()) {
        codes = FaceCodePoints(face.File, static_cast<uint32_t>(face.Index & 0xFFFF));
    }
    return ChooseSample(asked.toStdU32String(), codes);
}

QFont HeadingFont() {
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

QFont ListFont(const std::string& face, int size) {
    QFont font(QString::fromStdString(face), size > 0 ? size : 1);
    font.setStyle(QFont::StyleNormal);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

TPrinterMetrics MeasurePrinter(QPrinter& printer) {
    const int dpi = printer.resolution();
    const QPageLayout page = printer.pageLayout();
    const QRect paint = page.paintRectPixels(dpi);
    const QRect full = page.fullRectPixels(dpi);
    TPrinterMetrics m;
    m.PageWidth = paint.width();
    m.PageHeight = paint.height();
    m.PhysicalWidth = full.width();
    m.PhysicalHeight = full.height();
    m.OffsetX = paint.x();
    m.OffsetY = paint.y();
    m.DpiX = dpi;
    m.DpiY = dpi;
    return m;
}

TPrintTextMetrics MeasurePrintText(QPrinter& printer, int fontSize) {
    const QFontMetrics heading(HeadingFont(), &printer);
    const QFontMetrics sample(ListFont("MS Sans Serif", fontSize), &printer);
    TPrintTextMetrics m;
    // The height a line of the measuring text takes, as the system's text
    // height gives it: the font's ascent and descent, not the ink.
    m.HeadingHeight = heading.size(Qt::TextSingleLine, kMeasureText).height();
    m.ColumnGap = heading.horizontalAdvance(QLatin1Char('A'));
    m.SampleLineHeight = sample.size(Qt::TextSingleLine, kMeasureText).height();
    return m;
}

TPrintLayout PrinterLayout(QPrinter& printer, const TPrintOptions& print,
                           const TPrintSource& source) {
    return ComputePrintLayout(print, source.SelectedCount(), source.Columns,
                              MeasurePrinter(printer), MeasurePrintText(printer, source.FontSize));
}

TPrintResult PrintFontListOn(QPrinter& printer, const TPrintOptions& print,
                             const TPrintSource& source, const TPrintJobHooks& hooks,
                             std::string& error) {
    const TPrintLayout layout = PrinterLayout(printer, print, source);
    if (layout.RowsPerPage <= 0) {
        error = LoadStr(kNoRoomForARow);
        return TPrintResult::Failed;
    }
    printer.setDocName(QString::fromStdString(LoadStr(kDocumentTitle)));
    if (hooks.Status) {
        hooks.Status(1, layout.PagesToPrint);
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        error =
            FmtLoadStr(kCannotPrint, PrintsToPdf(printer) ? printer.outputFileName().toStdString()
                                                          : printer.printerName().toStdString());
        return TPrintResult::Failed;
    }
    const QFont heading = HeadingFont();
    for (const TPrintCell& cell : PlanPrintJob(layout, source, print.Range)) {
        if (hooks.Step) {
            hooks.Step();
        }
        if (hooks.Cancelled && hooks.Cancelled()) {
            printer.abort();
            painter.end();
            if (PrintsToPdf(printer)) {
                QFile::remove(printer.outputFileName());
            }
            return TPrintResult::Cancelled;
        }
        if (cell.NewSheet) {
            printer.newPage();
            if (hooks.Status) {
                hooks.Status(cell.Sheets, layout.PagesToPrint);
            }
        }
        if (!cell.Printed) {
            continue;
        }
        const QString name = QString::fromStdString(source.Items[static_cast<size_t>(cell.Item)]);
        const QRect clip(cell.X, cell.Y, layout.ColumnWidth - layout.ColumnGap, layout.RowHeight);
        painter.setClipRect(clip);
        const QString asked = print.JobText.empty() ? name : QString::fromStdString(print.JobText);
        const TDrawableSample sample =
            PrintableSample(source, static_cast<size_t>(cell.Item), asked);
        const QString mark = SampleMark(sample);
        painter.setFont(heading);
        painter.drawText(QPoint(cell.X, cell.Y + QFontMetrics(heading, &printer).ascent()),
                         mark.isEmpty() ? name : name + QStringLiteral("  (") + mark + ')');
        if (sample.Kind == TDrawableSample::Nothing) {
            continue;
        }
        MakeFamilyDrawable(name);
        QFont face = ListFont(name.toStdString(), source.FontSize);
        // A face prints its own glyphs, never another font's in their place.
        face.setStyleStrategy(QFont::NoFontMerging);
        painter.setFont(face);
        // Qt lays the text out itself, right-to-left scripts included.
        painter.drawText(
            QPoint(cell.X, cell.Y + layout.Gap + QFontMetrics(face, &printer).ascent()),
            QString::fromStdU32String(sample.Text));
    }
    if (!painter.end()) {
        error = FmtLoadStr(kCannotPrint, printer.printerName().toStdString());
        return TPrintResult::Failed;
    }
    return TPrintResult::Done;
}

TfPrinting::TfPrinting(const TPrintOptions& print, TPrintSource source, QWidget* parent)
    : QDialog(parent), Print(print), Source(std::move(source)) {
    setObjectName(QStringLiteral("fPrinting"));
    setFixedSize(442, 98);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);
    setWindowTitle(QString::fromStdString(LoadStr(kPrintingOn)) + CurrentPrinter().printerName());
    lblStatus = MakeTagged<QLabel>(this, "lblStatus");
    lblStatus->move(5, 10);
    ProgressBar = MakeTagged<QProgressBar>(this, "ProgressBar");
    ProgressBar->setGeometry(5, 25, 431, 25);
    ProgressBar->setTextVisible(false);
    btnCancel = MakeTagged<QPushButton>(this, "btnCancel", 14151);
    btnCancel->setGeometry(181, 65, 80, 27);
    btnCancel->setDefault(true);
    connect(btnCancel, &QPushButton::clicked, this, [this] { Cancel = true; });
    LocalizeForm(this);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->geometry().center() - rect().center());
    }
}

bool TfPrinting::event(QEvent* e) {
    const bool handled = QDialog::event(e);
    if (e->type() == QEvent::WindowActivate && !Started) {
        Started = true;
        // Once the activation itself is done, so the window is painted.
        QTimer::singleShot(0, this, &TfPrinting::RunJob);
    }
    return handled;
}

// Esc, like the button, asks the job to stop after the current font.
void TfPrinting::reject() {
    if (Started && isVisible() && !isHidden()) {
        Cancel = true;
        return;
    }
    QDialog::reject();
}

void TfPrinting::RunJob() {
    const int count = Source.SelectedCount();
    ProgressBar->setRange(0, std::max(count, 1));
    ProgressBar->setValue(0);
    TPrintJobHooks hooks;
    hooks.Step = [this] { ProgressBar->setValue(ProgressBar->value() + 1); };
    hooks.Status = [this](int sheets, int toPrint) {
        lblStatus->setText(QString::fromStdString(FmtLoadStr(kPrintedPages, sheets, toPrint)));
        lblStatus->adjustSize();
        repaint();
    };
    hooks.Cancelled = [this] {
        QApplication::processEvents();
        return Cancel;
    };
    std::string error;
    Outcome = PrintFontListOn(CurrentPrinter(), Print, Source, hooks, error);
    if (Outcome == TPrintResult::Failed) {
        Prompts().MessageBox(error, LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
    }
    hide();
    QTimer::singleShot(0, this, [this] { QDialog::reject(); });
}

void PrintFontList(const TPrintSource& source, const std::string& sampleText) {
    TfPrint dialog(source);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    Options.Print.JobText = sampleText;
    QPrinter& printer = CurrentPrinter();
    const std::string destination = PrepareDestination(printer, LoadStr(kDocumentTitle));
    if (!PrintsToPdf(printer)) {
        TfPrinting job(Options.Print, source);
        job.exec();
        return;
    }
    // Qt's PDF writer does not tell of a failed write: the document is made
    // in memory and put in its place whole, so a full disk is told instead
    // of a cut file being announced.
    const auto cannotWrite = [&destination] {
        Prompts().MessageBox(FmtLoadStr(kCannotPrint, destination) + "\n" +
                                 SystemErrors().LastErrorText(),
                             LoadStr(kErrorCaption), TMsgIcon::Error, TMsgButtons::Ok);
    };
    const std::unique_ptr<IMemoryFile> document = FileShell().MakeMemoryFile();
    const std::string name = document->Name();
    if (name.empty()) {
        cannotWrite();
        return;
    }
    printer.setOutputFileName(QFile::decodeName(name.c_str()));
    TfPrinting job(Options.Print, source);
    job.exec();
    printer.setOutputFileName(QFile::decodeName(destination.c_str()));
    if (job.Result() != TPrintResult::Done) {
        return;
    }
    if (!document->PutAt(destination)) {
        cannotWrite();
        return;
    }
    // Where a file went is not where anyone would look for a printout.
    Prompts().MessageBox(FmtLoadStr(kSentTo, destination), LoadStr(kInformation),
                         TMsgIcon::Information, TMsgButtons::Ok);
}

} // namespace lw
