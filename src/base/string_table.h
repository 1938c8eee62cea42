#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// Numbered texts of one language. The text form is one entry per line:
// number, a tab, the text to the end of the line, with \n, \t and \\ as the
// only escapes; "#" lines are comments.
class TStringTable {
public:
    // Nothing when a line is malformed or a number repeats; error says where.
    static std::optional<TStringTable> Parse(std::string_view text, std::string* error = nullptr);

    const std::string* Find(int id) const;
    size_t Size() const { return Texts.size(); }
    std::vector<int> Numbers() const;

private:
    std::map<int, std::string> Texts;
};

// One language: its texts and its pictures (image files as bytes).
struct TLanguageModule {
    TStringTable Strings;
    std::map<std::string, std::vector<uint8_t>> Bitmaps;
};

// The names of the pictures every language must carry.
inline constexpr const char* kLanguageBitmapNames[] = {"BMP_NEGRITA", "BMP_CURSIVA",
                                                       "BMP_SUBRAYADO"};

// The bundle file: "LWBUNDLE1\n", then entries "name\nsize\n<size bytes>\n",
// then "END\n". A language bundle holds "strings.txt" and the three pictures.
std::optional<std::map<std::string, std::vector<uint8_t>>>
ParseBundle(const std::vector<uint8_t>& bytes);
std::vector<uint8_t> WriteBundle(const std::map<std::string, std::vector<uint8_t>>& entries);

// Nothing when the bundle is damaged or incomplete.
std::optional<TLanguageModule> LanguageModuleFromBundle(const std::vector<uint8_t>& bytes);

// The program's own language, built into it.
const TLanguageModule& BuiltInLanguage();

} // namespace lw
