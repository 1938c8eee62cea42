#include "platform/linux/freetype_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H

#include <algorithm>
#include <cmath>

namespace lw {

struct TFreeTypeRasterizer::TFace {
    std::string Key;
    FT_Face Face = nullptr;
    // The design coordinates last set; empty while the face is at its default.
    std::vector<double> Coordinates;
    ~TFace() {
        if (Face != nullptr) {
            FT_Done_Face(Face);
        }
    }
};

namespace {

FT_Library AsLibrary(void* library) {
    return static_cast<FT_Library>(library);
}

int Pixels(FT_Pos value) {
    return static_cast<int>((value + 32) >> 6); // 26.6 fixed point, rounded
}

// Adds one rendered glyph's coverage at (left, top) of the line.
void Blit(const FT_Bitmap& bitmap, int left, int top, TCoverage& line) {
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        const int y = top + static_cast<int>(row);
        if (y < 0 || y >= line.Height) {
            continue;
        }
        const unsigned char* source = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        for (unsigned column = 0; column < bitmap.width; ++column) {
            const int x = left + static_cast<int>(column);
            if (x < 0 || x >= line.Width) {
                continue;
            }
            unsigned value = 0;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                value = source[column];
            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                value = (source[column / 8] & (0x80 >> (column % 8))) != 0 ? 255 : 0;
            }
            uint8_t& target = line.Alpha[static_cast<size_t>(y) * line.Width + x];
            target = static_cast<uint8_t>(std::min(255u, target + value));
        }
    }
}

} // namespace

TFreeTypeRasterizer::TFreeTypeRasterizer(size_t maxFaces)
    : MaxFaces(std::max<size_t>(1, maxFaces)) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) == 0) {
        Library = library;
    }
}

TFreeTypeRasterizer::~TFreeTypeRasterizer() {
    ReleaseFaces();
    if (Library != nullptr) {
        FT_Done_FreeType(AsLibrary(Library));
    }
}

void TFreeTypeRasterizer::ReleaseFaces() {
    Faces.clear();
    Order.clear();
}

std::unique_ptr<IFaceRasterizer> TFreeTypeRasterizer::ForAnotherThread() const {
    return std::make_unique<TFreeTypeRasterizer>(MaxFaces);
}

TFreeTypeRasterizer::TFace* TFreeTypeRasterizer::FaceFor(const std::string& file, int index) {
    const std::string key = std::to_string(index) + "|" + file;
    if (const auto found = Faces.find(key); found != Faces.end()) {
        Order.splice(Order.begin(), Order, found->second);
        return Order.front().get();
    }
    if (Library == nullptr) {
        return nullptr;
    }
    auto face = std::make_unique<TFace>();
    face->Key = key;
    if (FT_New_Face(AsLibrary(Library), file.c_str(), index, &face->Face) != 0) {
        face->Face = nullptr;
        return nullptr;
    }
    if (Faces.size() >= MaxFaces) {
        Faces.erase(Order.back()->Key);
        Order.pop_back();
    }
    Order.push_front(std::move(face));
    Faces.emplace(key, Order.begin());
    return Order.front().get();
}

namespace {

// The face moved to the coordinates (a cached face is shared by every caller,
// so each line says where it wants it). False when a variable face refuses them.
bool MoveTo(FT_Face face, std::vector<double>& current, const std::vector<double>& wanted) {
    if (wanted == current) {
        return true;
    }
    if (!FT_HAS_MULTIPLE_MASTERS(face)) {
        return wanted.empty();
    }
    std::vector<FT_Fixed> fixed;
    fixed.reserve(wanted.size());
    for (const double value : wanted) {
        fixed.push_back(static_cast<FT_Fixed>(std::lround(value * 65536.0)));
    }
    // No coordinates at all set the face back to its default instance.
    const FT_Error error = FT_Set_Var_Design_Coordinates(face, static_cast<FT_UInt>(fixed.size()),
                                                         fixed.empty() ? nullptr : fixed.data());
    if (error == 0) {
        current = wanted;
    }
    return error == 0;
}

} // namespace

std::optional<TCoverage> TFreeTypeRasterizer::DrawLine(const std::string& file, int index,
                                                       int pixelSize, const std::u32string& text,
                                                       int maxWidth) {
    return DrawLineAt(file, index, {}, pixelSize, text, maxWidth);
}

std::optional<TCoverage> TFreeTypeRasterizer::DrawLineAt(const std::string& file, int index,
                                                         const std::vector<double>& coordinates,
                                                         int pixelSize, const std::u32string& text,
                                                         int maxWidth) {
    TFace* loaded = FaceFor(file, index);
    if (loaded != nullptr && !MoveTo(loaded->Face, loaded->Coordinates, coordinates)) {
        MoveTo(loaded->Face, loaded->Coordinates, {});
    }
    if (loaded == nullptr || pixelSize <= 0 || maxWidth <= 0 ||
        FT_Set_Pixel_Sizes(loaded->Face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        return std::nullopt;
    }
    FT_Face face = loaded->Face;
    TCoverage line;
    const int ascender = Pixels(face->size->metrics.ascender);
    const int descender = Pixels(face->size->metrics.descender);
    // Some fonts claim metrics far from their size; the line keeps to a
    // sensible band around it.
    line.Baseline = std::clamp(ascender, 1, 2 * pixelSize);
    line.Height = std::clamp(ascender - descender, pixelSize, 3 * pixelSize);
    line.Width = maxWidth;
    line.Alpha.assign(static_cast<size_t>(line.Width) * line.Height, 0);
    const bool kerning = FT_HAS_KERNING(face);
    FT_UInt previous = 0;
    FT_Pos pen = 0; // 26.6
    int right = 0;  // where the ink ends
    int drawn = 0;
    for (const char32_t code : text) {
        const FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (kerning && previous != 0 && glyph != 0) {
            FT_Vector delta{};
            if (FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &delta) == 0) {
                pen += delta.x;
            }
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            previous = glyph;
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const int x = Pixels(pen) + slot->bitmap_left;
        if (x >= line.Width) {
            break;
        }
        Blit(slot->bitmap, x, line.Baseline - slot->bitmap_top, line);
        right = std::max(right, x + static_cast<int>(slot->bitmap.width));
        pen += slot->advance.x;
        previous = glyph;
        ++drawn;
    }
    if (drawn == 0 && !text.empty()) {
        return std::nullopt; // nothing this face could draw at this size
    }
    line.Width = std::clamp(std::max(Pixels(pen), right), 1, maxWidth);
    if (line.Width < maxWidth) {
        // Cut each row to the ink's width.
        std::vector<uint8_t> cut(static_cast<size_t>(line.Width) * line.Height);
        for (int y = 0; y < line.Height; ++y) {
            std::copy_n(line.Alpha.begin() + static_cast<long>(y) * maxWidth, line.Width,
                        cut.begin() + static_cast<long>(y) * line.Width);
        }
        line.Alpha = std::move(cut);
    }
    return line;
}

} // namespace lw
