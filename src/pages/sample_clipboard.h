#pragma once

#include "base/color.h"

class QPlainTextEdit;

namespace lw {

// Puts the memo's selection on the clipboard as plain text and as rich text
// in the memo's font, size and styles and the given colour. An empty
// selection leaves the clipboard alone.
void CopySampleAsRtf(QPlainTextEdit* memo, TColor color);
// Copies, then deletes the selection.
void CutSampleAsRtf(QPlainTextEdit* memo, TColor color);

} // namespace lw
