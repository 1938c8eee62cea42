#include "sheets/sample_delegate.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>

namespace lw {

namespace {
// Enough for several screens of large tiles, far below what all of a large
// installation would need.
constexpr qint64 kTileCacheBytes = 48ll * 1024 * 1024;
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

void TFontSampleDelegate::Invalidate() { Tiles.clear(); }

QSize TFontSampleDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(ItemWidth, ItemHeight());
}

QPixmap TFontSampleDelegate::RenderTile(const QString& family, QSize size, bool selected,
                                        qreal ratio) const {
    QPixmap tile(size * ratio);
    tile.setDevicePixelRatio(ratio);
    tile.fill(BackgroundColor);
    QPainter painter(&tile);
    painter.setPen(selected ? SelectedColor : NormalColor);
    const QRect nameBand(0, 0, size.width(), NameHeight);
    painter.setFont(NameFont());
    painter.setClipRect(nameBand);
    painter.drawText(nameBand.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     family);
    const QRect sampleBand(0, NameHeight, size.width(), size.height() - NameHeight);
    painter.setFont(SampleFont(family, PointSize));
    painter.setClipRect(sampleBand);
    painter.drawText(sampleBand.adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     SampleText.isEmpty() ? family : SampleText);
    return tile;
}

void TFontSampleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QString family = index.data().toString();
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QString key = QStringLiteral("%1|%2|%3x%4|%5").arg(family).arg(selected).arg(option.rect.width())
                            .arg(option.rect.height()).arg(ratio);
    if (const QPixmap* tile = Tiles.object(key)) {
        painter->drawPixmap(option.rect.topLeft(), *tile);
    } else {
        QPixmap drawn = RenderTile(family, option.rect.size(), selected, ratio);
        painter->drawPixmap(option.rect.topLeft(), drawn);
        const qint64 bytes = qint64(drawn.width()) * drawn.height() * 4;
        if (bytes <= Tiles.maxCost()) {
            Tiles.insert(key, new QPixmap(std::move(drawn)), bytes);
        }
    }
    if (option.state.testFlag(QStyle::State_HasFocus)) {
        QStyleOptionFocusRect focus;
        focus.initFrom(option.widget);
        focus.rect = option.rect;
        focus.backgroundColor = BackgroundColor;
        QApplication::style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
}

} // namespace lw
