#pragma once

#include "fonts/font_details.h"
#include "fonts/font_file.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace lw {

// The text as a JSON string literal, quotes included. Control characters are
// written as \uXXXX; each byte that is not UTF-8 as \udcXX (the byte in XX),
// so the output is valid JSON whatever bytes a file name holds and the name
// comes back byte for byte (Python: json.loads, then os.fsencode).
std::string JsonString(std::string_view text);

// One JSON object on one line, members in the order they are added,
// written at the end of a text; Close() ends it.
class TJsonObject {
public:
    explicit TJsonObject(std::string& out);
    void AddText(std::string_view key, std::string_view text);
    void AddNumber(std::string_view key, int64_t number);
    void AddBool(std::string_view key, bool value);
    // A value already written as JSON (an array, an object, null).
    void AddRaw(std::string_view key, std::string_view json);
    void Close();

private:
    void AddKey(std::string_view key);
    std::string& Out;
    bool First = true;
};

// Every field of the record under its own name, then the reader's own fields;
// last an "Error" when the file is no font at all.
std::string FontFileJson(const TFontFile& font);
// The same, written at the end of out (a program writing many lines). With
// details, the face's details follow the record's fields: every name
// record, glyph and code point counts, blocks, scripts, embedding, layout
// tags, axes and instances, licence.
void AppendFontFileJson(std::string& out, const TFontFile& font,
                        const TFontDetails* details = nullptr);
// A file that gave no record.
std::string FontFileErrorJson(const std::string& fileName, const std::string& message);

} // namespace lw
