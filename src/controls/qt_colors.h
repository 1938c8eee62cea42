#pragma once

#include "base/color.h"

#include <QColor>
#include <QPalette>

namespace lw {

// A stored colour made paintable: system colours come from the palette now.
QColor ResolveColor(TColor color, const QPalette& palette = QPalette());
TColor ToTColor(const QColor& color);

} // namespace lw
