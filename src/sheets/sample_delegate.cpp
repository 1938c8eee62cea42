#include "sheets/sample_delegate.h"

#include "base/strings.h"
#include "categories/auto_categories.h"
#include "categories/sample_mark.h"
#include "controls/drawable_family.h"
#include "fonts/font_facts.h"
#include "fonts/font_manager.h"
#include "platform/services.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStringBuilder>
#include <QtMath>

namespace lw {

namespace {
// About four screens of tiles (1600x1000, three columns): scrolling back a
// little finds them drawn, and scrolling through thousands of families keeps
// the program's memory flat.
constexpr qint64 kTileCacheBytes = 24ll * 1024 * 1024;
// A frame puts drawn lines into tiles for about this long, and the rest of a
// page in the frames after it: a frame as a whole stays within a screen
// refresh at 60 per second (16 ms).
constexpr qint64 kFrameBudgetMs = 6;
// Lines drawn ahead wait here until their rows come into view: a screen
// ahead and one behind.
constexpr qint64 kReadyBytes = 8ll * 1024 * 1024;
// The faces the drawing thread keeps open. Its lines are kept as tiles, so a
// face is seldom wanted again soon; each open face holds its tables and the
// file's pages it read.
constexpr size_t kWorkerFaces = 32;
// The resolution Qt draws text at on an image.
constexpr double kImageDpi = 96.0;
const QString kMeasureText =
    QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
} // namespace

TFontSampleDelegate::TFontSampleDelegate(QObject* parent)
    : QStyledItemDelegate(parent), FaceCodes(std::make_shared<TFaceCodes>()) {
    Tiles.setMaxCost(kTileCacheBytes);
    Ready.setMaxCost(kReadyBytes);
    Names.setMaxCost(kReadyBytes);
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

TFontSampleDelegate::~TFontSampleDelegate() {
    // The worker's thread tells this object of its lines: it ends first.
    Worker.reset();
}

void TFontSampleDelegate::Invalidate() {
    Tiles.clear();
    Ready.clear();
    Names.clear();
    if (Worker) {
        Worker->Drop(false);
    }
    AskedFirst = AskedLast = -1;
}

void TFontSampleDelegate::ForgetFaces() {
    Invalidate();
    SampleFaces.clear();
    FaceCodes->Clear();
    UndrawableFiles.clear();
    if (Worker) {
        Worker->Drop(true);
    }
}

QImage TFontSampleDelegate::SampleLine(const QString& family, const QString& text, int maxWidth,
                                       qreal ratio, const QColor& color) const {
    const std::optional<TFaceInfo> face = SampleFaceOf(family);
    if (!face || face->File.empty()) {
        return QImage();
    }
    QImage line = InkedLine(FaceRasterizer(), face->File, face->Index, text, PixelSize(ratio),
                            qCeil(maxWidth * ratio), ratio, color);
    if (line.isNull()) {
        SampleFaces[family] = std::nullopt; // not again: Qt draws this one
    }
    return line;
}

QImage TFontSampleDelegate::FileSampleLine(const std::string& file, int index, const QString& text,
                                           int maxWidth, qreal ratio, const QColor& color) const {
    const QString key = FaceKey(file, index);
    if (UndrawableFiles.contains(key)) {
        return QImage();
    }
    QImage line = InkedLine(FaceRasterizer(), file, index, text, PixelSize(ratio),
                            qCeil(maxWidth * ratio), ratio, color);
    if (line.isNull()) {
        UndrawableFiles.insert(key, true);
    }
    return line;
}

QString TFontSampleDelegate::FaceKey(const std::string& file, int index) {
    return QString::fromStdString(file) + QLatin1Char('#') + QString::number(index);
}

int TFontSampleDelegate::PixelSize(qreal ratio) const {
    return qRound(PointSize * kImageDpi / 72.0 * ratio);
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
    return ChooseSample(asked.toStdU32String(), FaceCodes->Of(file, index));
}

void TFontSampleDelegate::BeginFrame() {
    Frame.start();
    if (!Worker) {
        Worker = std::make_unique<TSampleWorker>(
            FaceRasterizer().ForAnotherThread(kWorkerFaces), FaceCodes, [this] {
                QMetaObject::invokeMethod(this, &TFontSampleDelegate::SamplesReady,
                                          Qt::QueuedConnection);
            });
    }
    AskAhead();
    LeftWork = false;
    LeftReadyWork = false;
    FrameModel = nullptr;
    FrameFirst = FrameLast = -1;
}

void TFontSampleDelegate::AskAhead() {
    for (auto& [key, prepared] : Worker->TakeDone()) {
        const qint64 bytes = prepared.Line.sizeInBytes() + 1;
        Ready.insert(key, new TPreparedSample(std::move(prepared)), bytes);
    }
    if (FrameModel == nullptr || FrameFirst < 0 ||
        (FrameFirst == AskedFirst && FrameLast == AskedLast)) {
        return; // the worker has these rows already
    }
    if (AskedFirst >= 0 && FrameFirst != AskedFirst) {
        Backward = FrameFirst < AskedFirst;
    }
    AskedFirst = FrameFirst;
    AskedLast = FrameLast;
    // The rows on screen, a screen's worth the way the list moves, one the
    // other way.
    const int shown = FrameLast - FrameFirst + 1;
    const int rows = FrameModel->rowCount();
    const std::pair<int, int> ahead{FrameLast + 1, std::min(rows - 1, FrameLast + shown)};
    const std::pair<int, int> behind{std::max(0, FrameFirst - shown), FrameFirst - 1};
    const std::pair<int, int> spans[] = {{FrameFirst, std::min(rows - 1, FrameLast)},
                                         Backward ? behind : ahead,
                                         Backward ? ahead : behind};
    std::vector<TSampleJob> jobs;
    for (int priority = 0; priority < 3; ++priority) {
        const auto [first, last] = spans[priority];
        for (int row = first; row <= last; ++row) {
            const TSampleItem item = ItemAt(FrameModel->index(row, 0));
            const QString key = TileKey(item, false, FrameItemSize, FrameRatio);
            if (Tiles.contains(key) || Ready.contains(key)) {
                continue;
            }
            TSampleJob job = JobFor(item, key, FrameItemSize, false, FrameRatio);
            if (!job.File.empty()) {
                job.Priority = priority;
                jobs.push_back(std::move(job));
            }
        }
    }
    Worker->Want(std::move(jobs));
}

QSize TFontSampleDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(ItemWidth, ItemHeight());
}

QString TFontSampleDelegate::TileKey(const TSampleItem& item, bool selected, QSize size,
                                     qreal ratio) {
    // Made for every item of every frame: built in one go.
    const auto flag = [](bool on) { return on ? QLatin1Char('1') : QLatin1Char('0'); };
    return item.Name % QLatin1Char('|') % item.Family % QLatin1Char('|') %
           QString::fromStdString(item.FaceFile) % QLatin1Char('#') %
           QString::number(item.FaceIndex) % QLatin1Char('|') % flag(item.NameItalic) %
           flag(selected) % flag(item.Greyed) % QLatin1Char('|') % QString::number(size.width()) %
           QLatin1Char('x') % QString::number(size.height()) % QLatin1Char('|') %
           QString::number(ratio);
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

QColor TFontSampleDelegate::InkFor(const TSampleItem& item, bool selected) const {
    const QColor ink = selected ? SelectedColor : NormalColor;
    if (!item.Greyed) {
        return ink;
    }
    // Halfway to the background, as a disabled item of a list is drawn.
    return QColor((ink.red() + BackgroundColor.red()) / 2,
                  (ink.green() + BackgroundColor.green()) / 2,
                  (ink.blue() + BackgroundColor.blue()) / 2);
}

TSampleJob TFontSampleDelegate::JobFor(const TSampleItem& item, const QString& key, QSize size,
                                       bool selected, qreal ratio) const {
    TSampleJob job;
    job.Key = key;
    job.Asked = SampleText.isEmpty() ? item.Family : SampleText;
    if (!item.FaceFile.empty()) {
        job.File = item.FaceFile;
        job.Index = item.FaceIndex;
        job.DrawLine = !UndrawableFiles.contains(FaceKey(item.FaceFile, item.FaceIndex));
    } else if (const std::optional<TFaceInfo> face = SampleFaceOf(item.Family)) {
        job.File = face->File;
        job.Index = face->Index;
    }
    job.PixelSize = PixelSize(ratio);
    job.MaxWidth = qCeil((size.width() - 5) * ratio);
    job.Ratio = ratio;
    job.Ink = InkFor(item, selected).rgb();
    return job;
}

QImage TFontSampleDelegate::NameTile(const TSampleItem& item, QSize size, bool selected,
                                     qreal ratio) const {
    QImage tile(size * ratio, QImage::Format_ARGB32_Premultiplied);
    tile.setDevicePixelRatio(ratio);
    tile.fill(BackgroundColor);
    QPainter painter(&tile);
    const QRect nameBand(0, 0, size.width(), NameHeight);
    PaintInNameBand(painter, item, selected, nameBand);
    painter.drawText(nameBand.adjusted(5, 0, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, item.Name);
    return tile;
}

void TFontSampleDelegate::PaintInNameBand(QPainter& painter, const TSampleItem& item, bool selected,
                                          const QRect& nameBand) const {
    painter.setClipRect(nameBand);
    painter.setPen(InkFor(item, selected));
    QFont nameFont = NameFont();
    nameFont.setItalic(item.NameItalic);
    painter.setFont(nameFont);
}

QImage TFontSampleDelegate::ComposeTile(const TSampleItem& item, const QModelIndex& index,
                                        bool selected, const QImage& nameTile,
                                        const TPreparedSample& prepared) const {
    if (prepared.LineTried && prepared.Line.isNull()) {
        // Not again: Qt draws this one.
        if (item.FaceFile.empty()) {
            SampleFaces[item.Family] = std::nullopt;
        } else {
            UndrawableFiles.insert(FaceKey(item.FaceFile, item.FaceIndex), true);
        }
    }
    QImage tile = nameTile;
    QPainter painter(&tile);
    const QSize size = tile.deviceIndependentSize().toSize();
    const QRect nameBand(0, 0, size.width(), NameHeight);
    PaintInNameBand(painter, item, selected, nameBand);
    const QRect sampleBand(0, NameHeight, size.width(), size.height() - NameHeight);
    const TDrawableSample& sample = prepared.Sample;
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
    if (!prepared.Line.isNull()) {
        painter.drawImage(sampleBand.topLeft() + QPoint(5, 0), prepared.Line);
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
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                         QString::fromStdU32String(sample.Text));
    }
    return tile;
}

void TFontSampleDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const TSampleItem item = ItemAt(index);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QSize size = option.rect.size();
    const QString key = TileKey(item, selected, size, ratio);
    if (Frame.isValid()) {
        FrameModel = index.model();
        FrameFirst = FrameFirst < 0 ? index.row() : std::min(FrameFirst, index.row());
        FrameLast = std::max(FrameLast, index.row());
        FrameItemSize = size;
        FrameRatio = ratio;
    }
    if (const QImage* tile = Tiles.object(key)) {
        painter->drawImage(option.rect.topLeft(), *tile);
    } else if (!Frame.isValid()) {
        // Outside a list's frames: drawn at once, here.
        const TPreparedSample prepared =
            PrepareSample(FaceRasterizer(), *FaceCodes, JobFor(item, key, size, selected, ratio));
        QImage drawn =
            ComposeTile(item, index, selected, NameTile(item, size, selected, ratio), prepared);
        painter->drawImage(option.rect.topLeft(), drawn);
        Keep(key, std::move(drawn));
    } else {
        std::optional<TPreparedSample> prepared;
        TSampleJob job;
        if (const TPreparedSample* ready = Ready.object(key)) {
            prepared = *ready;
        } else {
            job = JobFor(item, key, size, selected, ratio);
            if (job.File.empty()) {
                // No file to draw from: Qt draws it, here.
                prepared = PrepareSample(FaceRasterizer(), *FaceCodes, job);
            }
        }
        const QImage* name = Names.object(key);
        if (name == nullptr) {
            QImage drawn = NameTile(item, size, selected, ratio);
            const qint64 bytes = drawn.sizeInBytes();
            Names.insert(key, new QImage(std::move(drawn)), bytes);
            name = Names.object(key);
        }
        const QImage nameTile = name != nullptr ? *name : NameTile(item, size, selected, ratio);
        if (prepared && Frame.elapsed() <= kFrameBudgetMs) {
            QImage drawn = ComposeTile(item, index, selected, nameTile, *prepared);
            painter->drawImage(option.rect.topLeft(), drawn);
            Keep(key, std::move(drawn));
            Ready.remove(key);
            Names.remove(key);
        } else {
            // The sample comes in a following frame; the name is there now.
            painter->drawImage(option.rect.topLeft(), nameTile);
            LeftWork = true;
            if (prepared) {
                LeftReadyWork = true;
            } else {
                Worker->Add(std::move(job));
            }
        }
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
