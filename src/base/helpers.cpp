#include "base/helpers.h"

#include "platform/services.h"

namespace lw {

namespace {
constexpr char kSeparator = '/';

struct TTokenScan {
    std::string Text;
    long Position = -1; // where the last call stopped; -1 before any scan
};

TTokenScan& TokenScan() {
    static TTokenScan scan;
    return scan;
}
} // namespace

bool TokenSeparatorFound = false;

std::string GetSpecialFolderPath(int csidl) {
    std::optional<std::string> path = SpecialFolders().Path(csidl);
    if (!path || path->empty()) {
        return "<Error>";
    }
    if (path->back() != kSeparator) {
        path->push_back(kSeparator);
    }
    return *path;
}

std::string GetPersonalFolderPath() {
    return GetSpecialFolderPath(CSIDL_PERSONAL);
}

std::string NameWithoutExtension(const std::string& path) {
    const size_t slash = path.rfind(kSeparator);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos) {
        name.erase(dot);
    }
    return name;
}

void NextToken(const std::string& text, char separator, std::string& token) {
    TTokenScan& scan = TokenScan();
    TokenSeparatorFound = false;
    size_t start = 0;
    if (!text.empty()) {
        scan.Text = text;
    } else if (scan.Position < 0) {
        return;
    } else {
        start = static_cast<size_t>(scan.Position) + 1;
    }
    size_t stop = start;
    while (stop < scan.Text.size() && scan.Text[stop] != separator) {
        ++stop;
    }
    token = start < scan.Text.size() ? scan.Text.substr(start, stop - start) : std::string();
    TokenSeparatorFound = stop < scan.Text.size();
    scan.Position = static_cast<long>(stop);
}

bool TextMatches(const std::string& pattern, const std::string& text, bool whole) {
    return UpperTextMatches(Text().Upper(pattern), text, whole);
}

bool UpperTextMatches(const std::string& upperPattern, const std::string& text, bool whole) {
    const std::string upperText = Text().Upper(text);
    if (whole) {
        return upperPattern == upperText;
    }
    return upperText.find(upperPattern) != std::string::npos;
}

namespace {
char UpperAscii(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
} // namespace

bool MaskMatches(std::string_view mask, std::string_view name) {
    if (mask == "*.*") {
        mask = "*";
    }
    size_t p = 0;
    size_t n = 0;
    size_t star = std::string_view::npos;
    size_t resume = 0;
    while (n < name.size()) {
        if (p < mask.size() && mask[p] == '*') {
            star = p++;
            resume = n;
        } else if (p < mask.size() &&
                   (mask[p] == '?' || UpperAscii(mask[p]) == UpperAscii(name[n]))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < mask.size() && mask[p] == '*') {
        ++p;
    }
    return p == mask.size();
}

} // namespace lw
