#include "pages/sample_print.h"

#include "app/qt_colors.h"
#include "fileops/helpers.h"
#include "pages/sample_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace lw {

namespace {
const QString kMeasureText =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");

// The documents folder, made when missing as the desktop makes it; the home
// folder when there is none to be had.
QString PdfFolder() {
    const std::string documents = GetPersonalFolderPath();
    if (documents != "<Error>" && QDir().mkpath(QFile::decodeName(documents.c_str()))) {
        return QFile::decodeName(documents.c_str());
    }
    return QDir::homePath() + QLatin1Char('/');
}
} // namespace

std::string PdfPathFor(const std::string& title) {
    QString base = QString::fromStdString(title).trimmed();
    for (QChar& c : base) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c.unicode() < 32) {
            c = QLatin1Char('_');
        }
    }
    if (base.isEmpty()) {
        base = QStringLiteral("Letterwell");
    }
    const QString folder = PdfFolder();
    QString path = folder + base + QStringLiteral(".pdf");
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder + base + QStringLiteral(" (%1).pdf").arg(n);
    }
    return QFile::encodeName(path).toStdString();
}

std::optional<std::string> PrintSample(const std::string& title, const std::string& text,
                                       const std::string& fontName, TColor color, int size) {
    QPrinter printer(QPrinter::HighResolution);
    std::string destination;
    if (QPrinterInfo::availablePrinters().isEmpty()) {
        destination = PdfPathFor(title);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QFile::decodeName(destination.c_str()));
    } else {
        destination = printer.printerName().toStdString();
    }
    printer.setDocName(QString::fromStdString(title));
    printer.setFullPage(false);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return std::nullopt;
    }
    QFont font(QString::fromStdString(fontName));
    font.setPointSize(size > 0 ? size : 1);
    painter.setFont(font);
    painter.setPen(ResolveColor(color));
    const QRect page(0, 0, printer.width(), printer.height());
    painter.setClipRect(page);
    const QFontMetricsF metrics(font, &printer);
    const std::vector<std::string> lines = SplitSampleLines(text);
    const std::vector<int> tops = SampleLineTops(
        lines.size(), metrics.size(Qt::TextSingleLine, kMeasureText).height(), page.height());
    for (size_t i = 0; i < tops.size(); ++i) {
        painter.drawText(QPointF(0, tops[i] + metrics.ascent()), QString::fromStdString(lines[i]));
    }
    if (!painter.end()) {
        printer.abort();
        return std::nullopt;
    }
    return destination;
}

} // namespace lw
