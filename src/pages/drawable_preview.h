#pragma once

#include "fonts/font_details.h"

#include <QWidget>

#include <optional>

#include <string>

class QLabel;

namespace lw {

// A line under a page's sample that shows, when the face maps too few of
// the sample's letters, what the face can draw instead (a sentence of its
// own script, a symbol font's first glyphs) drawn from the face's file, and
// says which; or that it has nothing to draw. Hidden while the sample text
// itself can be drawn.
class TDrawablePreview : public QWidget {
    Q_OBJECT
public:
    explicit TDrawablePreview(QWidget* parent = nullptr);
    // An empty file hides the line (no face, or one the system draws).
    void ShowFor(const std::string& file, int index, const QString& asked, int pixelSize);
    // The sample was edited: the same face, judged against the new text.
    void SampleEdited(const QString& asked);

    QLabel* lblMark;
    QLabel* imgSample;

private:
    std::string File;
    int Index = 0;
    int PixelSize = 0;
    // The face's code points, read once per face rather than per keystroke.
    std::optional<TCodeRanges> Codes;
};

} // namespace lw
