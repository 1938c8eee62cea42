#pragma once

#include "base/color.h"

#include "fonts/drawable_sample.h"
#include "platform/font_system.h"
#include "sheets/sample_worker.h"

#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lw {

// What one sheet item shows.
struct TSampleItem {
    QString Name; // the name band's text
    bool NameItalic = false;
    QString Family; // the sample's face, and its text when the sheet has none
    // The face drawn from this file (a font not installed); empty: the
    // catalogue's face of the family.
    std::string FaceFile;
    int FaceIndex = 0; // which face of that file
    // The style Qt draws the family in, when the face cannot be drawn from
    // its file.
    bool Bold = false;
    bool Italic = false;
    bool StrikeOut = false;
    // No program is served it (a disabled family): drawn in a fainter ink.
    bool Greyed = false;
};

// Draws one sheet item: the family's name in the small interface font over a
// sample line in the family itself. Drawing a face costs milliseconds (the
// face is loaded and the text shaped), so finished tiles are kept in a cache
// bounded by memory and drawn again from it. Within a list's frames (see
// BeginFrame) the lines are drawn on a worker thread, those of the items on
// screen first and then of the rows next to them.
class TFontSampleDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TFontSampleDelegate(QObject* parent = nullptr);
    ~TFontSampleDelegate() override;

    // Height of the name line: text height in the interface font at 8 points.
    int NameLineHeight() const { return NameHeight; }
    int ItemHeight() const { return NameHeight + 2 * PointSize; }
    int PointSize = 16;
    int ItemWidth = 200;
    QColor NormalColor;
    QColor SelectedColor;
    QColor BackgroundColor;
    // Empty: every item shows its own name as its sample.
    QString SampleText;
    // What an item shows; without it, an installed family by its name.
    std::function<TSampleItem(const QModelIndex&)> Describe;
    // Asked before Qt draws an item's sample by family name, so a font not
    // installed can be given to Qt only when Qt needs it.
    std::function<void(const QModelIndex&)> BeforeQtDraws;

    // Forgets every drawn tile (after a change of size, colours or sample);
    // what was learnt of each face stays.
    void Invalidate();
    // Forgets the faces too: the installed fonts changed.
    void ForgetFaces();

    // A paint of the list starts: items whose line is drawn are put together
    // until the frame's time is used up; the rest show their name now and
    // their sample in the frames that follow, so the list answers at once
    // even on a page of faces never drawn before.
    void BeginFrame();
    // Some items of the last frame still wait for their sample.
    bool FrameLeftWork() const { return LeftWork; }
    // Some of them have it drawn already: another frame shows them.
    bool FrameLeftReadyWork() const { return LeftReadyWork; }
    int CachedTiles() const { return Tiles.count(); }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The font a family's sample is drawn in. Glyphs the family lacks are not
    // borrowed from other fonts: a sheet shows each font as it is.
    static QFont SampleFont(const QString& family, int pointSize);
    static QFont NameFont();
    // What the item's sample shows: the text asked for, or one the face can
    // draw (see ChooseSample).
    TDrawableSample DrawableSample(const TSampleItem& item, const QString& asked) const;
    // The family's sample line drawn from its face's file, in color, or a
    // null image when the face cannot be drawn that way (then Qt draws it).
    QImage SampleLine(const QString& family, const QString& text, int maxWidth, qreal ratio,
                      const QColor& color) const;
    // The same for a face given by its file.
    QImage FileSampleLine(const std::string& file, int index, const QString& text, int maxWidth,
                          qreal ratio, const QColor& color) const;

signals:
    // Lines drawn on the worker wait to be shown.
    void SamplesReady();

private:
    TSampleItem ItemAt(const QModelIndex& index) const;
    // The item's sample as a job for PrepareSample.
    TSampleJob JobFor(const TSampleItem& item, const QString& key, QSize size, bool selected,
                      qreal ratio) const;
    QColor InkFor(const TSampleItem& item, bool selected) const;
    // The tile from its prepared sample, drawn over its name tile; a line
    // that could not be drawn from its file is not tried again.
    QImage ComposeTile(const TSampleItem& item, const QModelIndex& index, bool selected,
                       const QImage& nameTile, const TPreparedSample& prepared) const;
    // The item's background and name: what it shows while its sample waits.
    QImage NameTile(const TSampleItem& item, QSize size, bool selected, qreal ratio) const;
    // The name band's clip, ink and font on painter.
    void PaintInNameBand(QPainter& painter, const TSampleItem& item, bool selected,
                         const QRect& nameBand) const;
    std::optional<TFaceInfo> SampleFaceOf(const QString& family) const;
    // A face as UndrawableFiles names it.
    static QString FaceKey(const std::string& file, int index);
    // The sample's size in device pixels.
    int PixelSize(qreal ratio) const;
    static QString TileKey(const TSampleItem& item, bool selected, QSize size, qreal ratio);
    void Keep(const QString& key, QImage tile) const;
    // Takes the worker's lines and gives it the rows on screen in the last
    // frame and those next to them, in the way the list last moved.
    void AskAhead();

    int NameHeight = 0;
    mutable QCache<QString, QImage> Tiles;
    // Each family's sample face, as the catalogue gives it; none: Qt draws.
    mutable QHash<QString, std::optional<TFaceInfo>> SampleFaces;
    std::shared_ptr<TFaceCodes> FaceCodes;
    // Files whose face could not be drawn from the file: Qt draws them.
    mutable QHash<QString, bool> UndrawableFiles;
    // Made at the first frame: a paint outside a list's frames draws at once.
    std::unique_ptr<TSampleWorker> Worker;
    // Lines the worker drew, by the tile they are for.
    mutable QCache<QString, TPreparedSample> Ready;
    // The name tiles of items whose sample waits: a frame of a page of new
    // faces draws each name once, not once a frame until its sample comes.
    mutable QCache<QString, QImage> Names;
    QElapsedTimer Frame;
    mutable bool LeftWork = false;
    mutable bool LeftReadyWork = false;
    // The rows the last frame painted, and where and how they were.
    mutable QPointer<const QAbstractItemModel> FrameModel;
    mutable int FrameFirst = -1;
    mutable int FrameLast = -1;
    mutable QSize FrameItemSize;
    mutable qreal FrameRatio = 1;
    // The rows the worker was last given, and the way the list moved.
    int AskedFirst = -1;
    int AskedLast = -1;
    bool Backward = false;
};

} // namespace lw
