#include "pages/char_map_view.h"

#include "controls/coverage_image.h"
#include "platform/services.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>

namespace lw {

namespace {
// Glyphs kept drawn: several screens' worth.
constexpr int kGlyphCache = 1024;
constexpr int kGlyphPixels = 24;
// A large CJK glyph takes FreeType a tenth of a millisecond or more; a frame
// draws new ones for this long, so scrolling a page at once stays smooth.
constexpr qint64 kFrameBudgetMs = 8;
} // namespace

TCharMapView::TCharMapView(QWidget* parent)
    : QAbstractScrollArea(parent), Map(std::make_unique<TCharMapLayout>(TCodeRanges(), 1)) {
    Glyphs.setMaxCost(kGlyphCache);
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void TCharMapView::SetFace(const std::string& file, int index, const TCodeRanges& codes) {
    File = file;
    Index = index;
    Codes = codes;
    Current.reset();
    Glyphs.clear();
    Relayout();
    verticalScrollBar()->setValue(0);
}

void TCharMapView::Relayout() {
    Map = std::make_unique<TCharMapLayout>(Codes, std::max(1, viewport()->width() / CellSize));
    const uint64_t height = Map->RowCount() * uint64_t(CellSize);
    verticalScrollBar()->setRange(
        0, static_cast<int>(std::max<int64_t>(0, int64_t(height) - viewport()->height())));
    verticalScrollBar()->setSingleStep(CellSize);
    verticalScrollBar()->setPageStep(viewport()->height());
    viewport()->update();
}

void TCharMapView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    Relayout();
    if (Current) {
        ScrollToIndex(*Current);
    }
}

std::optional<uint32_t> TCharMapView::CurrentCode() const {
    if (!Current) {
        return std::nullopt;
    }
    return Map->CodeAt(*Current);
}

std::string TCharMapView::BlockOf(uint32_t code) const {
    const std::optional<uint64_t> index = Map->IndexOf(code);
    return index ? Map->Groups()[Map->GroupOfIndex(*index)].Name : std::string();
}

bool TCharMapView::ShowCode(uint32_t code) {
    const std::optional<uint64_t> index = Map->IndexOf(code);
    if (!index) {
        return false;
    }
    Select(*index);
    return true;
}

void TCharMapView::Select(uint64_t index) {
    Current = index;
    ScrollToIndex(index);
    viewport()->update();
    emit CodeSelected(Map->CodeAt(index));
}

void TCharMapView::ScrollToIndex(uint64_t index) {
    const int64_t top = int64_t(Map->RowOfIndex(index)) * CellSize;
    QScrollBar* bar = verticalScrollBar();
    if (top < bar->value()) {
        bar->setValue(static_cast<int>(top));
    } else if (top + CellSize > bar->value() + viewport()->height()) {
        bar->setValue(static_cast<int>(top + CellSize - viewport()->height()));
    }
}

QRect TCharMapView::CellRect(uint32_t code) const {
    const std::optional<uint64_t> index = Map->IndexOf(code);
    if (!index) {
        return QRect();
    }
    const uint64_t row = Map->RowOfIndex(*index);
    const TCharMapLayout::TRow line = Map->RowAt(row);
    const int column = static_cast<int>(*index - line.FirstIndex);
    const QRect cell(column * CellSize,
                     static_cast<int>(int64_t(row) * CellSize - verticalScrollBar()->value()),
                     CellSize, CellSize);
    return cell.intersects(viewport()->rect()) ? cell : QRect();
}

const QImage* TCharMapView::GlyphImage(uint32_t code, bool drawNew) {
    if (const QImage* kept = Glyphs.object(code)) {
        return kept;
    }
    if (!drawNew) {
        return nullptr;
    }
    const qreal ratio = devicePixelRatioF();
    const std::optional<TCoverage> line = FaceRasterizer().DrawLine(
        File, Index, qRound(kGlyphPixels * ratio), std::u32string(1, static_cast<char32_t>(code)),
        qRound(CellSize * ratio));
    auto* image =
        new QImage(line ? CoverageImage(*line, palette().color(QPalette::Text)) : QImage());
    image->setDevicePixelRatio(ratio);
    Glyphs.insert(code, image);
    return image;
}

void TCharMapView::PaintHeading(QPainter& painter, const QRect& band, size_t group) {
    const TCharGroup& g = Map->Groups()[group];
    const QString count = g.Size > 0 ? QStringLiteral("%1/%2").arg(g.Covered).arg(g.Size)
                                     : QString::number(g.Covered);
    painter.fillRect(band, palette().color(QPalette::AlternateBase));
    painter.setPen(palette().color(QPalette::Text));
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.drawText(band.adjusted(6, 0, -6, 0), Qt::AlignLeft | Qt::AlignBottom,
                     QString::fromStdString(g.Name) + QStringLiteral("  ") + count);
}

void TCharMapView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    QElapsedTimer frame;
    frame.start();
    LeftWork = false;
    const int scroll = verticalScrollBar()->value();
    const uint64_t first = uint64_t(scroll) / CellSize;
    const QColor grid = palette().color(QPalette::Mid);
    const QColor highlight = palette().color(QPalette::Highlight);
    for (uint64_t row = first; row < Map->RowCount(); ++row) {
        const int top = static_cast<int>(int64_t(row) * CellSize - scroll);
        if (top >= viewport()->height()) {
            break;
        }
        const TCharMapLayout::TRow line = Map->RowAt(row);
        if (line.Heading) {
            PaintHeading(painter, QRect(0, top, viewport()->width(), CellSize), line.Group);
            continue;
        }
        for (int cell = 0; cell < line.Cells; ++cell) {
            const QRect box(cell * CellSize, top, CellSize, CellSize);
            const uint64_t index = line.FirstIndex + cell;
            if (Current && *Current == index) {
                painter.fillRect(box, highlight);
            }
            painter.setPen(grid);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
            const QImage* glyph = GlyphImage(Map->CodeAt(index), frame.elapsed() < kFrameBudgetMs);
            LeftWork = LeftWork || glyph == nullptr;
            if (glyph != nullptr && !glyph->isNull()) {
                const QSizeF size = glyph->deviceIndependentSize();
                painter.drawImage(QPointF(box.left() + (CellSize - size.width()) / 2,
                                          box.top() + (CellSize - size.height()) / 2),
                                  *glyph);
            }
        }
    }
    if (LeftWork) {
        QTimer::singleShot(0, viewport(), qOverload<>(&QWidget::update));
    }
}

void TCharMapView::mousePressEvent(QMouseEvent* event) {
    const int y = event->position().toPoint().y() + verticalScrollBar()->value();
    const TCharMapLayout::TRow line = Map->RowAt(uint64_t(std::max(0, y)) / CellSize);
    const int column = event->position().toPoint().x() / CellSize;
    if (line.Heading || column >= line.Cells || line.Cells == 0) {
        return;
    }
    Select(line.FirstIndex + column);
    emit CodeActivated(Map->CodeAt(line.FirstIndex + column));
}

void TCharMapView::keyPressEvent(QKeyEvent* event) {
    const uint64_t count = Map->CodeCount();
    if (count == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int64_t at = Current ? int64_t(*Current) : -1;
    const int64_t columns = Map->Columns();
    const int64_t page = std::max<int64_t>(1, viewport()->height() / CellSize) * columns;
    int64_t next = at;
    switch (event->key()) {
    case Qt::Key_Right:
        next = at + 1;
        break;
    case Qt::Key_Left:
        next = at - 1;
        break;
    case Qt::Key_Down:
        next = at + columns;
        break;
    case Qt::Key_Up:
        next = at - columns;
        break;
    case Qt::Key_PageDown:
        next = at + page;
        break;
    case Qt::Key_PageUp:
        next = at - page;
        break;
    case Qt::Key_Home:
        next = 0;
        break;
    case Qt::Key_End:
        next = int64_t(count) - 1;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (Current) {
            emit CodeActivated(Map->CodeAt(*Current));
        }
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    Select(uint64_t(std::clamp<int64_t>(next, 0, int64_t(count) - 1)));
}

} // namespace lw
