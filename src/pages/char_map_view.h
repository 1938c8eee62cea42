#pragma once

#include "pages/details_model.h"
#include "platform/face_raster.h"

#include <QAbstractScrollArea>
#include <QCache>
#include <QImage>

#include <memory>
#include <optional>
#include <string>

namespace lw {

// Every code point a face maps, a cell each, under a heading per Unicode
// block. Only the rows on screen are looked at and drawn, and drawn glyphs
// are kept, so a map of sixty thousand scrolls as fast as one of a hundred.
class TCharMapView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TCharMapView(QWidget* parent = nullptr);

    void SetFace(const std::string& file, int index, const TCodeRanges& codes);
    // Selects the code and scrolls it into view; false when the face lacks it.
    bool ShowCode(uint32_t code);
    std::optional<uint32_t> CurrentCode() const;
    // The block name of a code the map holds.
    std::string BlockOf(uint32_t code) const;
    // Where a code's cell is in the viewport; empty when it is not on screen.
    QRect CellRect(uint32_t code) const;
    const TCharMapLayout& Layout() const { return *Map; }
    int RowHeight() const { return CellSize; }
    // The last paint left cells without their glyph for the next one.
    bool FrameLeftWork() const { return LeftWork; }

signals:
    // The selection moved (a click, a key or a search).
    void CodeSelected(uint32_t code);
    // Clicked, or Enter or Space on the selection: the character is wanted.
    void CodeActivated(uint32_t code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Relayout();
    void Select(uint64_t index);
    void ScrollToIndex(uint64_t index);
    // The glyph drawn now, or null when the frame's time for new glyphs is
    // used up (then it comes in a following frame).
    const QImage* GlyphImage(uint32_t code, bool drawNew);
    void PaintHeading(QPainter& painter, const QRect& band, size_t group);

    std::string File;
    int Index = 0;
    TCodeRanges Codes;
    std::unique_ptr<TCharMapLayout> Map;
    std::optional<uint64_t> Current;
    QCache<uint32_t, QImage> Glyphs;
    int CellSize = 40;
    bool LeftWork = false;
};

} // namespace lw
