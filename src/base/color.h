#pragma once

#include <cstdint>

namespace lw {

// A colour as stored in the settings: 0x00BBGGRR for a plain colour, or
// 0x80000000 | index for one of the system's named colours, which is resolved
// through the current palette only when something is painted with it.
using TColor = int32_t;

constexpr TColor SystemColor(int index) {
    return static_cast<TColor>(0x80000000u | static_cast<uint32_t>(index));
}

constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);

constexpr bool IsSystemColor(TColor c) {
    return (static_cast<uint32_t>(c) & 0xFF000000u) == 0x80000000u;
}
constexpr int SystemColorIndex(TColor c) {
    return static_cast<int>(static_cast<uint32_t>(c) & 0xFFu);
}

constexpr TColor RGBColor(int r, int g, int b) {
    return static_cast<TColor>((static_cast<uint32_t>(b & 0xFF) << 16) |
                               (static_cast<uint32_t>(g & 0xFF) << 8) |
                               static_cast<uint32_t>(r & 0xFF));
}
constexpr int RedOf(TColor c) {
    return static_cast<int>(static_cast<uint32_t>(c) & 0xFF);
}
constexpr int GreenOf(TColor c) {
    return static_cast<int>((static_cast<uint32_t>(c) >> 8) & 0xFF);
}
constexpr int BlueOf(TColor c) {
    return static_cast<int>((static_cast<uint32_t>(c) >> 16) & 0xFF);
}

} // namespace lw
