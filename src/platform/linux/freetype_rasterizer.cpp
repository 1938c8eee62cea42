#include "platform/linux/freetype_rasterizer.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H

#include <hb-ft.h>
#include <hb.h>

#include <algorithm>
#include <cmath>

namespace lw {

struct TFreeTypeRasterizer::TFace {
    std::string Key;
    FT_Face Face = nullptr;
    // The design coordinates last set; empty while the face is at its default.
    std::vector<double> Coordinates;
    // Made the first time a line needs shaping; it holds its own reference
    // to Face.
    hb_font_t* Shaper = nullptr;
    ~TFace() {
        if (Shaper != nullptr) {
            hb_font_destroy(Shaper);
        }
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

std::unique_ptr<IFaceRasterizer> TFreeTypeRasterizer::ForAnotherThread(size_t maxFaces) const {
    return std::make_unique<TFreeTypeRasterizer>(maxFaces);
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

// The glyphs of a line in the order they stand from its left end, in 26.6
// pixels: the pen moves by Kern before a glyph and by its advance after it;
// the glyph is drawn Offset away from the pen (Y up).
struct TPlacedGlyph {
    FT_UInt Index = 0;
    FT_Pos Kern = 0;
    FT_Pos OffsetX = 0;
    FT_Pos OffsetY = 0;
    std::optional<FT_Pos> Advance; // none: the glyph's own, known once it is loaded
};

struct TPlacedLine {
    std::vector<TPlacedGlyph> Glyphs;
    FT_Pos Advance = 0; // the whole line's, where the shaper knows it
    bool RightToLeft = false;
};

// Scripts whose letters stand alone, left to right, one glyph per character:
// a line in them is drawn from the character map directly. Everything else
// (joined, reordered, combined, right-to-left writing) goes through the
// shaper, which costs a table walk the sheet's thousands of Latin lines can
// do without.
bool StandsAlone(hb_script_t script) {
    switch (script) {
    case HB_SCRIPT_COMMON:
    case HB_SCRIPT_LATIN:
    case HB_SCRIPT_GREEK:
    case HB_SCRIPT_CYRILLIC:
    case HB_SCRIPT_ARMENIAN:
    case HB_SCRIPT_GEORGIAN:
    case HB_SCRIPT_HAN:
    case HB_SCRIPT_HIRAGANA:
    case HB_SCRIPT_KATAKANA:
    case HB_SCRIPT_BOPOMOFO:
    case HB_SCRIPT_YI:
    case HB_SCRIPT_CHEROKEE:
    case HB_SCRIPT_ETHIOPIC:
    case HB_SCRIPT_BRAILLE:
    case HB_SCRIPT_UNKNOWN:
        return true;
    default:
        return false;
    }
}

bool NeedsShaping(const std::u32string& text) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    return std::any_of(text.begin(), text.end(), [unicode](char32_t code) {
        // Hangul syllables stand alone; its jamo and marks combine.
        if (code >= 0xAC00 && code <= 0xD7A3) {
            return false;
        }
        return !StandsAlone(hb_unicode_script(unicode, code));
    });
}

// Each character's own glyph, pairs kerned by the font's kern table; the
// advances come as the glyphs are drawn, so each is loaded once.
TPlacedLine Place(FT_Face face, const std::u32string& text) {
    TPlacedLine line;
    line.Glyphs.reserve(text.size());
    const bool kerning = FT_HAS_KERNING(face);
    FT_UInt previous = 0;
    for (const char32_t code : text) {
        TPlacedGlyph placed;
        placed.Index = FT_Get_Char_Index(face, code);
        if (kerning && previous != 0 && placed.Index != 0) {
            FT_Vector delta{};
            if (FT_Get_Kerning(face, previous, placed.Index, FT_KERNING_DEFAULT, &delta) == 0) {
                placed.Kern = delta.x;
            }
        }
        previous = placed.Index;
        line.Glyphs.push_back(placed);
    }
    return line;
}

// A stretch of text in one script, and so one direction.
struct TScriptRun {
    size_t Start = 0;
    size_t Length = 0;
    hb_script_t Script = HB_SCRIPT_COMMON;
};

// Spaces, digits and marks belong to the run they stand in.
std::vector<TScriptRun> ScriptRuns(const std::u32string& text) {
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<TScriptRun> runs;
    for (size_t i = 0; i < text.size(); ++i) {
        const hb_script_t script = hb_unicode_script(unicode, text[i]);
        const bool neutral = script == HB_SCRIPT_COMMON || script == HB_SCRIPT_INHERITED;
        if (runs.empty()) {
            runs.push_back({i, 1, neutral ? HB_SCRIPT_COMMON : script});
        } else if (neutral || script == runs.back().Script) {
            ++runs.back().Length;
        } else if (runs.back().Script == HB_SCRIPT_COMMON) {
            runs.back().Script = script; // a line that opens with spaces or digits
            ++runs.back().Length;
        } else {
            runs.push_back({i, 1, script});
        }
    }
    return runs;
}

// The line shaped by HarfBuzz, run by run: letters joined and reordered as
// their script writes them. The runs stand in the order of the line's first
// run's direction; digits inside a right-to-left run go with it (a full
// bidirectional algorithm is more than a sample line needs).
TPlacedLine Shape(hb_font_t*& shaper, FT_Face face, const std::u32string& text) {
    TPlacedLine line;
    if (shaper == nullptr) {
        shaper = hb_ft_font_create_referenced(face);
        hb_ft_font_set_load_flags(shaper, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT);
    }
    // The size and design coordinates may have moved since the last line.
    hb_ft_font_changed(shaper);
    std::vector<TScriptRun> runs = ScriptRuns(text);
    if (runs.empty()) {
        return line;
    }
    line.RightToLeft = hb_script_get_horizontal_direction(runs.front().Script) == HB_DIRECTION_RTL;
    if (line.RightToLeft) {
        std::reverse(runs.begin(), runs.end());
    }
    hb_buffer_t* buffer = hb_buffer_create();
    for (const TScriptRun& run : runs) {
        hb_buffer_clear_contents(buffer);
        hb_buffer_add_utf32(buffer, reinterpret_cast<const uint32_t*>(text.data()),
                            static_cast<int>(text.size()), static_cast<unsigned>(run.Start),
                            static_cast<int>(run.Length));
        hb_buffer_set_script(buffer, run.Script);
        hb_buffer_set_direction(buffer,
                                hb_script_get_horizontal_direction(run.Script) == HB_DIRECTION_RTL
                                    ? HB_DIRECTION_RTL
                                    : HB_DIRECTION_LTR);
        hb_buffer_set_flags(
            buffer, static_cast<hb_buffer_flags_t>(HB_BUFFER_FLAG_DO_NOT_INSERT_DOTTED_CIRCLE));
        hb_shape(shaper, buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer, &count);
        for (unsigned i = 0; i < count; ++i) {
            line.Glyphs.push_back({infos[i].codepoint, 0, positions[i].x_offset,
                                   positions[i].y_offset, positions[i].x_advance});
            line.Advance += positions[i].x_advance;
        }
    }
    hb_buffer_destroy(buffer);
    return line;
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
    const TPlacedLine placed =
        NeedsShaping(text) ? Shape(loaded->Shaper, face, text) : Place(face, text);
    // A line that runs right to left begins at its right end: when it is
    // wider than the room, its end is what is cut.
    FT_Pos shift = 0;
    if (placed.RightToLeft && placed.Advance > static_cast<FT_Pos>(maxWidth) * 64) {
        // Whole pixels, so the glyphs land as they would on a wider line.
        shift = -(((placed.Advance - static_cast<FT_Pos>(maxWidth) * 64) + 63) & ~FT_Pos{63});
    }
    FT_Pos pen = shift;
    int right = 0; // where the ink ends
    int drawn = 0;
    for (const TPlacedGlyph& glyph : placed.Glyphs) {
        pen += glyph.Kern;
        if (FT_Load_Glyph(face, glyph.Index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_LIGHT) != 0 ||
            FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) {
            pen += glyph.Advance.value_or(0);
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const int x = Pixels(pen + glyph.OffsetX) + slot->bitmap_left;
        pen += glyph.Advance.value_or(slot->advance.x);
        if (x >= line.Width) {
            if (placed.RightToLeft) {
                continue;
            }
            break;
        }
        Blit(slot->bitmap, x, line.Baseline - Pixels(glyph.OffsetY) - slot->bitmap_top, line);
        right = std::max(right, x + static_cast<int>(slot->bitmap.width));
        ++drawn;
    }
    if (drawn == 0 && !text.empty()) {
        return std::nullopt; // nothing this face could draw at this size
    }
    line.Width = shift != 0 ? maxWidth : std::clamp(std::max(Pixels(pen), right), 1, maxWidth);
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
