#pragma once

#include "base/color.h"

#include "fonts/drawable_sample.h"
#include "platform/font_system.h"

#include <QCache>
#include <QElapsedTimer>
#include <QHash>
#include <QImage>
#include <QStyledItemDelegate>

#include <functional>
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
// bounded by memory and drawn again from it.
class TFontSampleDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit TFontSampleDelegate(QObject* parent = nullptr);

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

    // Forgets every drawn tile (after a change of size, colours or sample).
    void Invalidate();

    // A paint of the list starts: new faces are drawn until the frame's time
    // is used up; the rest show their name now and their sample in the
    // frames that follow, so the list answers at once even on a page of
    // faces never drawn before.
    void BeginFrame();
    // Some items of the last frame still wait for their sample.
    bool FrameLeftWork() const { return LeftWork; }
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

private:
    TSampleItem ItemAt(const QModelIndex& index) const;
    QImage RenderTile(const TSampleItem& item, const QModelIndex& index, QSize size, bool selected,
                      qreal ratio) const;
    std::optional<TFaceInfo> SampleFaceOf(const QString& family) const;
    QImage LineImage(const TFaceInfo& face, const QString& text, int maxWidth, qreal ratio,
                     const QColor& color) const;
    static QString TileKey(const TSampleItem& item, bool selected, QSize size, qreal ratio);
    void Keep(const QString& key, QImage tile) const;

    int NameHeight = 0;
    mutable QCache<QString, QImage> Tiles;
    // Each family's sample face, as the catalogue gives it; none: Qt draws.
    mutable QHash<QString, std::optional<TFaceInfo>> SampleFaces;
    // The code points each drawn face maps, read from its file once.
    mutable QHash<QString, std::optional<TCodeRanges>> FaceCodes;
    // Files whose face could not be drawn from the file: Qt draws them.
    mutable QHash<QString, bool> UndrawableFiles;
    QElapsedTimer Frame;
    mutable bool LeftWork = false;
};

} // namespace lw
