#include "sheets/sample_delegate.h"

#include "base/strings.h"
#include "categories/auto_categories.h"
#include "categories/sample_mark.h"
#include "controls/drawable_family.h"
#include "fonts/face_facts.h"
#include "fonts/font_facts.h"
#include "fonts/font_manager.h"
#include "platform/services.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QtMath>

#include <array>

namespace lw {

namespace {
// Enough for several screens of large tiles, far below what all of a large
// installation would need.
constexpr qint64 kTileCacheBytes = 48ll * 1024 * 1024;
// A frame draws new faces for about this long, and the rest of a page in the
// frames after it: a frame as a whole stays within a screen refresh at 60
// per second (16 ms) while one face more is opened and drawn.
constexpr qint64 kFrameBudgetMs = 8;
// The resolution Qt draws text at on an image.
constexpr double kImageDpi = 96.0;
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
    SampleFaces.clear();
    FaceCodes.clear();
    UndrawableFiles.clear();
}

QImage TFontSampleDelegate::SampleLine(const QString& family, const QString& text, int maxWidth,
                                       qreal ratio, const QColor& color) const {
    const std::optional<TFaceInfo> face = SampleFaceOf(family);
    if (!face || face->File.empty()) {
        return QImage();
    }
    QImage line = LineImage(*face, text, maxWidth, ratio, color);
    if (line.isNull()) {
        SampleFaces[family] = std::nullopt; // not again: Qt draws this one
    }
    return line;
}

QImage TFontSampleDelegate::FileSampleLine(const std::string& file, int index, const QString& text,
                                           int maxWidth, qreal ratio, const QColor& color) const {
    const QString key = QString::fromStdString(file) + QLatin1Char('#') + QString::number(index);
    if (UndrawableFiles.contains(key)) {
        return QImage();
    }
    TFaceInfo face;
    face.File = file;
    face.Index = index;
    QImage line = LineImage(face, text, maxWidth, ratio, color);
    if (line.isNull()) {
        UndrawableFiles.insert(key, true);
    }
    return line;
}

QImage TFontSampleDelegate::LineImage(const TFaceInfo& face, const QString& text, int maxWidth,
                                      qreal ratio, const QColor& color) const {
    // Points as Qt takes them on an image: 96 pixels to the inch.
    const int pixelSize = qRound(PointSize * kImageDpi / 72.0 * ratio);
    const std::optional<TCoverage> line = FaceRasterizer().DrawLine(
        face.File, face.Index, pixelSize, text.toStdU32String(), qCeil(maxWidth * ratio));
    if (!line) {
        return QImage();
    }
    // The ink at each of the 256 coverages, premultiplied as the image holds it.
    std::array<QRgb, 256> shades{};
    const QRgb ink = color.rgb();
    for (int a = 0; a < 256; ++a) {
        shades[static_cast<size_t>(a)] =
            qRgba(qRed(ink) * a / 255, qGreen(ink) * a / 255, qBlue(ink) * a / 255, a);
    }
    QImage image(line->Width, line->Height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < line->Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* alpha = line->Alpha.data() + static_cast<size_t>(y) * line->Width;
        for (int x = 0; x < line->Width; ++x) {
            row[x] = shades[alpha[x]];
        }
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

std::optional<TFaceInfo> TFontSampleDelegate::SampleFaceOf(const QString& family) const {
    auto known = SampleFaces.find(family);
    if (known == SampleFaces.end()) {
        known = SampleFaces.insert(
            family, FontManager ? FontManager->GetSampleFace(family.toStdString()) : std::nullopt);
    }
    return *known;
}

TDrawableSample TFontSampleDelegate::DrawableSample(const TSampleItem& item,
                                                    const QString& asked) const {
    std::string file = item.FaceFile;
    int index = item.FaceIndex;
    if (file.empty()) {
        const std::optional<TFaceInfo> face = SampleFaceOf(item.Family);
        if (face) {
            file = face->File;
            index = face->Index;
        }
    }
    if (file.empty()) {
        return ChooseSample(asked.toStdU32String(), std::nullopt);
    }
    const QString key = QString::fromStdString(file) + QLatin1Char('#') + QString::number(index);
    auto codes = FaceCodes.find(key);
    if (codes == FaceCodes.end()) {
        codes = FaceCodes.insert(key, FaceCodePoints(file, static_cast<uint32_t>(index & 0xFFFF)));
    }
    return ChooseSample(asked.toStdU32String(), *codes);
}

void TFontSampleDelegate::BeginFrame() {
    Frame.start();
    LeftWork = false;
}

QSize TFontSampleDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(ItemWidth, ItemHeight());
}

QString TFontSampleDelegate::TileKey(const TSampleItem& item, bool selected, QSize size,
                                     qreal ratio) {
    return QStringLiteral("%1|%2|%3|%4|%5|%6x%7|%8|%9")
        .arg(item.Name, item.Family,
             QString::fromStdString(item.FaceFile) + QLatin1Char('#') +
                 QString::number(item.FaceIndex))
        .arg(item.NameItalic)
        .arg(selected)
        .arg(size.width())
        .arg(size.height())
        .arg(ratio)
        .arg(item.Greyed);
}

TSampleItem TFontSampleDelegate::ItemAt(const QModelIndex& index) const {
    if (Describe) {
        return Describe(index);
    }
    TSampleItem item;
    item.Name = index.data().toString();
    item.Family = item.Name;
    return item;
}

void TFontSampleDelegate::Keep(const QString& key, QImage tile) const {
    const qint64 bytes = tile.sizeInBytes();
    if (bytes <= Tiles.maxCost()) {
        Tiles.insert(key, new QImage(std::move(tile)), bytes);
    }
}

QImage TFontSampleDelegate::RenderTile(const TSampleItem& item, const QModelIndex& index,
                                       QSize size, bool selected, qreal ratio) const {
    QImage tile(size * ratio, QImage::Format_ARGB32_Premultiplied);
    tile.setDevicePixelRatio(ratio);
    tile.fill(BackgroundColor);
    QPainter painter(&tile);
    QColor ink = selected ? SelectedColor : NormalColor;
    if (item.Greyed) {
        // Halfway to the background, as a disabled item of a list is drawn.
        ink = QColor((ink.red() + BackgroundColor.red()) / 2,
                     (ink.green() + BackgroundColor.green()) / 2,
                     (ink.blue() + BackgroundColor.blue()) / 2);
    }
    painter.setPen(ink);
    const QRect nameBand(0, 0, size.width(), NameHeight);
    QFont nameFont = NameFont();
    nameFont.setItalic(item.NameItalic);
    painter.setFont(nameFont);
    painter.setClipRect(nameBand);
    painter.drawText(nameBand.adjusted(5, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.Name);
    const QRect sampleBand(0, NameHeight, size.width(), size.height() - NameHeight);
    const QString asked = SampleText.isEmpty() ? item.Family : SampleText;
    const TDrawableSample sample = DrawableSample(item, asked);
    const QString mark = SampleMark(sample);
    if (!mark.isEmpty() && sample.Kind != TDrawableSample::Nothing) {
        // Told in the name band, in small letters: this is not the text asked for.
        painter.drawText(nameBand.adjusted(0, 0, -5, 0),
                         Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine, mark);
    }
    painter.setClipRect(sampleBand);
    if (sample.Kind == TDrawableSample::Nothing) {
        painter.drawText(sampleBand.adjusted(5, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, mark);
        return tile;
    }
    const QString text = QString::fromStdU32String(sample.Text);
    const int width = sampleBand.width() - 5;
    const QImage line = item.FaceFile.empty() ? SampleLine(item.Family, text, width, ratio, ink)
                                              : FileSampleLine(item.FaceFile, item.FaceIndex, text,
                                                               width, ratio, ink);
    if (!line.isNull()) {
        painter.drawImage(sampleBand.topLeft() + QPoint(5, 0), line);
    } else {
        if (BeforeQtDraws) {
            BeforeQtDraws(index);
        }
        MakeFamilyDrawable(item.Family);
        QFont face = SampleFont(item.Family, PointSize);
        face.setBold(item.Bold);
        face.setItalic(item.Italic);
        face.setStrikeOut(item.StrikeOut);
        painter.setFont(face);
        painter.drawText(sampleBand.adjusted(5, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
    return tile;
}

void TFontSampleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const TSampleItem item = ItemAt(index);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QString key = TileKey(item, selected, option.rect.size(), ratio);
    if (const QImage* tile = Tiles.object(key)) {
        painter->drawImage(option.rect.topLeft(), *tile);
    } else if (Frame.isValid() && Frame.elapsed() > kFrameBudgetMs) {
        // The sample comes in a following frame; the name is there now.
        painter->fillRect(option.rect, BackgroundColor);
        painter->setPen(selected ? SelectedColor : NormalColor);
        QFont nameFont = NameFont();
        nameFont.setItalic(item.NameItalic);
        painter->setFont(nameFont);
        painter->drawText(option.rect.adjusted(5, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.Name);
        LeftWork = true;
    } else {
        QImage drawn = RenderTile(item, index, option.rect.size(), selected, ratio);
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
