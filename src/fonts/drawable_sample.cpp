#include "fonts/drawable_sample.h"

#include "fonts/font_facts.h"

#include <algorithm>
#include <map>

namespace lw {

namespace {

// A glyph row of a symbol font: enough to fill a sheet's tile.
constexpr size_t kGlyphRow = 16;

// A short sentence per script; a script without one shows its core letters.
const std::map<std::string, std::u32string>& Sentences() {
    static const std::map<std::string, std::u32string> sentences = {
        {"Latn", U"The quick brown fox jumps over the lazy dog"},
        {"Cyrl", U"Съешь же ещё этих мягких французских булок, да выпей чаю"},
        {"Grek", U"Ξεσκεπάζω την ψυχοφθόρα βδελυγμία"},
        {"Armn", U"Բարեւ աշխարհ"},
        {"Hebr", U"דג סקרן שט בים מאוכזב ולפתע מצא חברה"},
        {"Arab", U"نص حكيم له سر قاطع وذو شأن عظيم"},
        {"Deva", U"नमस्ते दुनिया"},
        {"Thai", U"เป็นมนุษย์สุดประเสริฐเลิศคุณค่า"},
        {"Geor", U"გამარჯობა მსოფლიო"},
        {"Hira", U"いろはにほへと ちりぬるを"},
        {"Kana", U"イロハニホヘト チリヌルヲ"},
        {"Hang", U"다람쥐 헌 쳇바퀴에 타고파"},
        {"Hani", U"天地玄黄 宇宙洪荒"},
    };
    return sentences;
}

bool IsBlank(char32_t c) {
    return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0x3000;
}

bool Maps(const TCodeRanges& codes, const std::u32string& text) {
    return std::all_of(text.begin(), text.end(),
                       [&](char32_t c) { return IsBlank(c) || HasCodePoint(codes, c); });
}

std::u32string FirstGlyphs(const TCodeRanges& codes) {
    std::u32string glyphs;
    for (const TCodeRange& range : codes) {
        for (uint64_t c = range.First; c <= range.Last && glyphs.size() < kGlyphRow; ++c) {
            if (!IsBlank(static_cast<char32_t>(c))) {
                glyphs += static_cast<char32_t>(c);
            }
        }
    }
    return glyphs;
}

} // namespace

TDrawableSample ChooseSample(const std::u32string& asked,
                             const std::optional<TCodeRanges>& codePoints) {
    TDrawableSample sample;
    sample.Text = asked;
    if (!codePoints) {
        return sample;
    }
    size_t letters = 0;
    size_t mapped = 0;
    for (const char32_t c : asked) {
        if (!IsBlank(c)) {
            ++letters;
            mapped += HasCodePoint(*codePoints, c) ? 1 : 0;
        }
    }
    // A few missing letters (a typographic quote, a rare accent) leave the
    // sample as typed; most of them missing would be a row of empty boxes.
    if (letters > 0 && mapped * 2 >= letters) {
        return sample;
    }
    const std::vector<std::string> scripts = ScriptCodesCovered(*codePoints);
    if (!scripts.empty()) {
        const std::string& script = scripts.front();
        const auto sentence = Sentences().find(script);
        sample.Kind = TDrawableSample::InScript;
        sample.Script = script;
        sample.Text = sentence != Sentences().end() && Maps(*codePoints, sentence->second)
                          ? sentence->second
                          : ScriptCoreLetters(script);
        return sample;
    }
    sample.Text = FirstGlyphs(*codePoints);
    sample.Kind = sample.Text.empty() ? TDrawableSample::Nothing : TDrawableSample::Glyphs;
    return sample;
}

} // namespace lw
