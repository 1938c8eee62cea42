#include "controls/coverage_image.h"

#include <array>

namespace lw {

QImage CoverageImage(const TCoverage& line, const QColor& ink) {
    // The ink at each of the 256 coverages, premultiplied as the image holds it.
    std::array<QRgb, 256> shades{};
    for (int a = 0; a < 256; ++a) {
        shades[static_cast<size_t>(a)] =
            qRgba(ink.red() * a / 255, ink.green() * a / 255, ink.blue() * a / 255, a);
    }
    QImage image(line.Width, line.Height, QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < line.Height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uint8_t* alpha = line.Alpha.data() + static_cast<size_t>(y) * line.Width;
        for (int x = 0; x < line.Width; ++x) {
            row[x] = shades[alpha[x]];
        }
    }
    return image;
}

} // namespace lw
