#include "pages/sample_print.h"

#include "controls/qt_colors.h"
#include "pages/sample_text.h"
#include "printing/current_printer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>

namespace lw {

namespace {
const QString kMeasureText =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
} // namespace

std::optional<std::string> PrintSample(const std::string& title, const std::string& text,
                                       const std::string& fontName, TColor color, int size) {
    QPrinter& printer = CurrentPrinter();
    const std::string destination = PrepareDestination(printer, title);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return std::nullopt;
    }
    QFont font(QString::fromStdString(fontName));
    font.setPointSize(size > 0 ? size : 1);
    painter.setFont(font);
    painter.setPen(ResolveColor(color));
    // Half an inch inside what the printer can reach, and lines wrapped to
    // that width, so no word runs off the paper.
    const int margin = printer.resolution() / 2;
    const QRect page =
        QRect(0, 0, printer.width(), printer.height()).adjusted(margin, margin, -margin, -margin);
    painter.setClipRect(page);
    const QFontMetricsF metrics(font, &printer);
    const auto measure = [&metrics](const std::string& piece) {
        return metrics.horizontalAdvance(QString::fromStdString(piece));
    };
    std::vector<std::string> lines;
    for (const std::string& line : SplitSampleLines(text)) {
        const std::vector<std::string> wrapped = WrapSampleLine(line, page.width(), measure);
        lines.insert(lines.end(), wrapped.begin(), wrapped.end());
    }
    const std::vector<int> tops = SampleLineTops(
        lines.size(), metrics.size(Qt::TextSingleLine, kMeasureText).height(), page.height());
    for (size_t i = 0; i < tops.size(); ++i) {
        painter.drawText(QPointF(page.left(), page.top() + tops[i] + metrics.ascent()),
                         QString::fromStdString(lines[i]));
    }
    if (!painter.end()) {
        printer.abort();
        return std::nullopt;
    }
    return destination;
}

} // namespace lw
