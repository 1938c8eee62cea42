#include "pages/waterfall_view.h"

#include "controls/coverage_image.h"
#include "platform/services.h"

#include <QPainter>
#include <QtMath>

namespace lw {

namespace {
constexpr int kLabelWidth = 56;
constexpr int kLineGap = 4;
// Lines longer than this are cut: the largest sizes would otherwise ask
// for images many screens wide.
constexpr int kMaxLineWidth = 4000;
} // namespace

TWaterfallView::TWaterfallView(QWidget* parent) : QWidget(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TWaterfallView::SetFace(const std::string& file, int index) {
    File = file;
    Index = index;
    Design.clear();
    Redraw();
}

void TWaterfallView::SetSizes(const std::vector<int>& points) {
    Points = points;
    Redraw();
}

void TWaterfallView::SetText(const QString& text) {
    Text = text;
    Redraw();
}

void TWaterfallView::SetCoordinates(const std::vector<double>& coordinates) {
    Design = coordinates;
    Redraw();
}

void TWaterfallView::Redraw() {
    Stale = true;
    DrawLines();
    updateGeometry();
    adjustSize();
    update();
}

void TWaterfallView::DrawLines() {
    if (!Stale) {
        return;
    }
    Stale = false;
    Lines.clear();
    const qreal ratio = devicePixelRatioF();
    const QColor ink = palette().color(QPalette::Text);
    const std::u32string text = Text.toStdU32String();
    for (const int points : Points) {
        // Points at 96 pixels to the inch, as the samples are drawn elsewhere.
        const int pixels = qRound(points * 96.0 / 72.0 * ratio);
        const std::optional<TCoverage> line =
            FaceRasterizer().DrawLineAt(File, Index, Design, pixels, text, kMaxLineWidth);
        QImage image = line ? CoverageImage(*line, ink) : QImage();
        image.setDevicePixelRatio(ratio);
        Lines.push_back(std::move(image));
    }
}

QSize TWaterfallView::sizeHint() const {
    int width = kLabelWidth;
    int height = 0;
    for (size_t i = 0; i < Points.size(); ++i) {
        const QImage& line = i < Lines.size() ? Lines[i] : QImage();
        const QSizeF size = line.isNull() ? QSizeF(0, Points[i]) : line.deviceIndependentSize();
        width = std::max(width, kLabelWidth + qCeil(size.width()));
        height += qCeil(size.height()) + kLineGap;
    }
    return QSize(width, std::max(height, 1));
}

void TWaterfallView::paintEvent(QPaintEvent*) {
    DrawLines();
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::PlaceholderText));
    int top = 0;
    for (size_t i = 0; i < Points.size() && i < Lines.size(); ++i) {
        const QImage& line = Lines[i];
        const int height = line.isNull() ? Points[i] : qCeil(line.deviceIndependentSize().height());
        painter.drawText(QRect(0, top, kLabelWidth - 8, height), Qt::AlignRight | Qt::AlignVCenter,
                         QString::number(Points[i]));
        if (!line.isNull()) {
            painter.drawImage(QPointF(kLabelWidth, top), line);
        }
        top += height + kLineGap;
    }
}

} // namespace lw
