#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lw {

// One line of text drawn in one face, as coverage: 0 where the background
// shows, 255 where the ink covers the pixel.
struct TCoverage {
    int Width = 0;
    int Height = 0;
    int Baseline = 0;           // the row the baseline lies on
    std::vector<uint8_t> Alpha; // Width * Height, row after row
};

// Draws text in the face a font file holds, without asking the system to
// find a font by name: the sheets show hundreds of faces whose files the
// catalogue already knows, and finding each by name is what costs.
class IFaceRasterizer {
public:
    virtual ~IFaceRasterizer() = default;
    // The text (code points) at pixelSize in face `index` of `file`, at most
    // maxWidth pixels wide (the rest is cut). Each glyph is the face's own,
    // missing ones as the face draws them. Nothing when the face cannot be
    // loaded or drawn at that size. A bounded number of faces stay loaded
    // for the next lines.
    virtual std::optional<TCoverage> DrawLine(const std::string& file, int index, int pixelSize,
                                              const std::u32string& text, int maxWidth) = 0;
    // The same at a point of a variable face's design space: one value per
    // axis of its fvar table, in that order; empty is the face's default.
    // Coordinates a face cannot take are ignored (the default is drawn).
    virtual std::optional<TCoverage> DrawLineAt(const std::string& file, int index,
                                                const std::vector<double>& coordinates,
                                                int pixelSize, const std::u32string& text,
                                                int maxWidth) = 0;
    // Lets every loaded face go.
    virtual void ReleaseFaces() = 0;
    // A rasterizer of the same kind with faces of its own, at most maxFaces
    // loaded, for another thread: one rasterizer's faces are never drawn
    // from two threads.
    virtual std::unique_ptr<IFaceRasterizer> ForAnotherThread(size_t maxFaces) const = 0;
    virtual size_t LoadedFaces() const = 0;
};

} // namespace lw
