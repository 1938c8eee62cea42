#pragma once

#include "platform/face_raster.h"

#include <QColor>
#include <QImage>

namespace lw {

// A line of coverage as an image in one ink, premultiplied.
QImage CoverageImage(const TCoverage& line, const QColor& ink);

} // namespace lw
