#include "base/strings.h"

#include "base/string_table.h"
#include "platform/services.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>

namespace lw {

namespace {

struct TLanguageState {
    int Current = 0;
    // The loaded bundle when one is in force; the built-in language otherwise.
    std::unique_ptr<TLanguageModule> Library;
};

TLanguageState& State() {
    static TLanguageState state;
    return state;
}

const TLanguageModule& Module() {
    const TLanguageState& state = State();
    return state.Library ? *state.Library : BuiltInLanguage();
}

// Cuts after `count` UTF-8 characters, never inside one.
std::string CutToCharacters(const std::string& text, size_t count) {
    size_t chars = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
        if (startsCharacter && chars++ == count) {
            return text.substr(0, i);
        }
    }
    return text;
}

std::string ArgAsText(const TFmtArg& arg) {
    if (const auto* s = std::get_if<std::string>(&arg)) {
        return *s;
    }
    if (const auto* i = std::get_if<long long>(&arg)) {
        return std::to_string(*i);
    }
    char buf[64];
    std::snprintf(buf, sizeof buf, "%g", std::get<double>(arg));
    return buf;
}

template <typename T> std::string Printf(const std::string& directive, T value) {
    const int needed = std::snprintf(nullptr, 0, directive.c_str(), value);
    if (needed < 0) {
        return std::string();
    }
    std::string out(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(out.data(), out.size(), directive.c_str(), value);
    out.pop_back();
    return out;
}

std::string FormatOne(const std::string& field, char type, const TFmtArg& arg) {
    const std::string directive = "%" + field;
    switch (type) {
    case 'd':
    case 'u':
    case 'x':
    case 'X': {
        const auto* i = std::get_if<long long>(&arg);
        if (i == nullptr) {
            return ArgAsText(arg);
        }
        return Printf(directive + "ll" + type, *i);
    }
    case 'f':
    case 'g':
    case 'e': {
        if (const auto* d = std::get_if<double>(&arg)) {
            return Printf(directive + type, *d);
        }
        if (const auto* i = std::get_if<long long>(&arg)) {
            return Printf(directive + type, static_cast<double>(*i));
        }
        return ArgAsText(arg);
    }
    default: // 's': width and precision apply to texts too
        return Printf(directive + 's', ArgAsText(arg).c_str());
    }
}

} // namespace

std::string LoadStr(int id) {
    const std::string* text = Module().Strings.Find(id);
    return text == nullptr ? std::string() : CutToCharacters(*text, kMaxStringLength);
}

std::string LoadBuiltInStr(int id) {
    const std::string* text = BuiltInLanguage().Strings.Find(id);
    return text == nullptr ? std::string() : CutToCharacters(*text, kMaxStringLength);
}

std::string FormatText(const std::string& pattern, const std::vector<TFmtArg>& args) {
    std::string out;
    size_t next = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%') {
            out += pattern[i];
            continue;
        }
        size_t j = i + 1;
        std::string field;
        while (j < pattern.size() &&
               std::string_view("-+ #0").find(pattern[j]) != std::string_view::npos) {
            field += pattern[j++];
        }
        // Width and precision are capped so no directive can ask for a huge field.
        auto digits = [&](size_t maxDigits) {
            size_t taken = 0;
            while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9') {
                if (taken++ < maxDigits) {
                    field += pattern[j];
                }
                ++j;
            }
        };
        digits(3);
        if (j < pattern.size() && pattern[j] == '.') {
            field += pattern[j++];
            digits(2);
        }
        if (j >= pattern.size()) {
            out += pattern.substr(i);
            break;
        }
        const char type = pattern[j];
        if (type == '%') {
            out += '%';
        } else if (std::string_view("sduxXfge").find(type) != std::string_view::npos) {
            if (next < args.size()) {
                out += FormatOne(field, type, args[next]);
            }
            ++next;
        } else {
            out += pattern.substr(i, j - i + 1);
        }
        i = j;
    }
    return out;
}

std::string StripMenuMarks(const std::string& text) {
    std::string out = text;
    if (size_t amp = out.find('&'); amp != std::string::npos) {
        out.erase(amp, 1);
    }
    if (size_t dots = out.find("..."); dots != std::string::npos) {
        out.erase(dots, 3);
    }
    return out;
}

void SetLanguage(int n) {
    TLanguageState& state = State();
    state.Library.reset();
    if (n == 1 || n == kEnglishLanguage) {
        const char* file = n == 1 ? kLanguageBundleFile : kEnglishBundleFile;
        std::optional<TLanguageModule> module;
        if (auto bytes = LanguageBundles().ReadBundle(file)) {
            module = LanguageModuleFromBundle(*bytes);
        }
        if (!module) {
            state.Current = 0;
            Prompts().MessageBox("Error loading DLL", "Error", TMsgIcon::Error, TMsgButtons::Ok);
            return;
        }
        state.Library = std::make_unique<TLanguageModule>(std::move(*module));
    }
    state.Current = n;
}

int GetLanguage() {
    return State().Current;
}

int LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (value == nullptr || *value == '\0') {
            continue;
        }
        const std::string_view locale(value);
        if (locale.starts_with("sr")) {
            return 0;
        }
        if (locale.starts_with("es")) {
            return 1;
        }
        return kEnglishLanguage;
    }
    return kEnglishLanguage;
}

int LanguageOfEnvironment() {
    return LanguageOfLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::optional<std::vector<uint8_t>> LoadLanguageBitmapData(const std::string& name) {
    const auto& bitmaps = Module().Bitmaps;
    auto it = bitmaps.find(name);
    if (it == bitmaps.end()) {
        return std::nullopt;
    }
    return it->second;
}

} // namespace lw
