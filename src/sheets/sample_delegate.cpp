#include "sheets/sample_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace lw {

namespace {
// Enough for several screens of large tiles, far below what all of a large
// installation would need.
constexpr qint64 kTileCacheBytes = 48ll * 1024 * 1024;
// Loading a face costs a few milliseconds (most of it fontconfig matching its
// rendering settings); a frame draws new faces for about this long.
constexpr qint64 kFrameBudgetMs = 40;
const QString kMeasureText =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
} // namespace

TFontSampleDelegate::TFontSampleDelegate(QObject* parent) : QStyledItemDelegate(parent) {
    Tiles.setMaxCost(kTileCacheBytes);
    NameHeight = QFontMetrics(NameFont()).size(Qt::TextSingleLine, kMeasureText).height();
}

QFont TFontSampleDelegate::NameFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}

QFont TFontSampleDelegate::SampleFont(const QString& family, int pointSize) {
    QFont font;
    font.setFamilies({family});
    font.setPointSize(pointSize > 0 ? pointSize : 1);
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

void TFontSampleDelegate::Invalidate() {
    Tiles.clear();
}

void TFontSampleDelegate::BeginFrame() {
    Frame.start();
    LeftWork = false;
}

QSize TFontSampleDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(ItemWidth, ItemHeight());
}

QString TFontSampleDelegate::TileKey(const QString& family, bool selected, QSize size,
                                     qreal ratio) {
    return QStringLiteral("%1|%2|%3x%4|%5")
        .arg(family)
        .arg(selected)
        .arg(size.width())
        .arg(size.height())
        .arg(ratio);
}

void TFontSampleDelegate::Keep(const QString& key, QImage tile) const {
    const qint64 bytes = tile.sizeInBytes();
    if (bytes <= Tiles.maxCost()) {
        Tiles.insert(key, new QImage(std::move(tile)), bytes);
    }
}

QImage TFontSampleDelegate::RenderTile(const QString& family, QSize size, bool selected,
                                       qreal ratio) const {
    QImage tile(size * ratio, QImage::Format_ARGB32_Premultiplied);
    tile.setDevicePixelRatio(ratio);
    tile.fill(BackgroundColor);
    QPainter painter(&tile);
    painter.setPen(selected ? SelectedColor : NormalColor);
    const QRect nameBand(0, 0, size.width(), NameHeight);
    painter.setFont(NameFont());
    painter.setClipRect(nameBand);
    painter.drawText(nameBand.adjusted(5, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, family);
    const QRect sampleBand(0, NameHeight, size.width(), size.height() - NameHeight);
    painter.setFont(SampleFont(family, PointSize));
    painter.setClipRect(sampleBand);
    painter.drawText(sampleBand.adjusted(5, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     SampleText.isEmpty() ? family : SampleText);
    return tile;
}

void TFontSampleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QString family = index.data().toString();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QString key = TileKey(family, selected, option.rect.size(), ratio);
    if (const QImage* tile = Tiles.object(key)) {
        painter->drawImage(option.rect.topLeft(), *tile);
    } else if (Frame.isValid() && Frame.elapsed() > kFrameBudgetMs) {
        // The sample comes in a following frame; the name is there now.
        painter->fillRect(option.rect, BackgroundColor);
        painter->setPen(selected ? SelectedColor : NormalColor);
        painter->setFont(NameFont());
        painter->drawText(option.rect.adjusted(5, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, family);
        LeftWork = true;
    } else {
        QImage drawn = RenderTile(family, option.rect.size(), selected, ratio);
        painter->drawImage(option.rect.topLeft(), drawn);
        Keep(key, std::move(drawn));
    }
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.initFrom(option.widget);
        focus.rect = option.rect;
        focus.backgroundColor = BackgroundColor;
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter,
                                             option.widget);
    }
}

} // namespace lw
