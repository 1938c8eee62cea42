#include "fonts/disabled_fonts.h"

#include "base/strings.h"
#include "fonts/font_manager.h"
#include "platform/file_lock.h"
#include "platform/services.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

namespace lw {

namespace {

namespace fs = std::filesystem;

// The family another program's rule hides, and that rule's file.
constexpr int kDisabledByOther = 30650;

// Enough of XML for fontconfig's files: elements, attributes, text,
// comments, CDATA, processing instructions and a DOCTYPE without an internal
// subset. Anything else fails, so a file this cannot read is never rewritten.
struct TNode {
    std::string Name;
    std::map<std::string, std::string> Attributes;
    std::string Text;
    std::vector<TNode> Children;
    size_t Begin = 0;
    size_t End = 0;
};

bool ValidUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t extra = c < 0x80   ? 0
                             : c < 0xC2 ? 9
                             : c < 0xE0 ? 1
                             : c < 0xF0 ? 2
                             : c < 0xF5 ? 3
                                        : 9;
        if (extra == 9 || s.size() - i <= extra) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

void AppendUtf8(std::string& out, unsigned long cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

bool Decode(std::string_view raw, std::string& out) {
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '&') {
            out += raw[i];
            continue;
        }
        const size_t semi = raw.find(';', i);
        if (semi == std::string_view::npos) {
            return false;
        }
        const std::string_view name = raw.substr(i + 1, semi - i - 1);
        if (name == "amp") {
            out += '&';
        } else if (name == "lt") {
            out += '<';
        } else if (name == "gt") {
            out += '>';
        } else if (name == "quot") {
            out += '"';
        } else if (name == "apos") {
            out += '\'';
        } else if (name.size() > 1 && name[0] == '#') {
            const bool hex = name[1] == 'x';
            const std::string digits(name.substr(hex ? 2 : 1));
            if (digits.empty() ||
                digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") !=
                    std::string::npos ||
                digits.size() > 8) {
                return false;
            }
            const unsigned long cp = std::stoul(digits, nullptr, hex ? 16 : 10);
            if (cp == 0 || cp > 0x10FFFF) {
                return false;
            }
            AppendUtf8(out, cp);
        } else {
            return false;
        }
        i = semi;
    }
    return true;
}

bool NameChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.' ||
           c == ':' || static_cast<unsigned char>(c) >= 0x80;
}

bool Space(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

std::optional<TNode> ParseXml(std::string_view s) {
    if (!ValidUtf8(s)) {
        return std::nullopt;
    }
    TNode document;
    std::vector<TNode*> open{&document};
    size_t i = 0;
    // Opens with a byte-order mark now and then.
    if (s.substr(0, 3) == "\xEF\xBB\xBF") {
        i = 3;
    }
    while (i < s.size()) {
        TNode& top = *open.back();
        if (s[i] != '<') {
            const size_t next = std::min(s.find('<', i), s.size());
            std::string text;
            if (!Decode(s.substr(i, next - i), text)) {
                return std::nullopt;
            }
            if (open.size() == 1 &&
                std::any_of(text.begin(), text.end(), [](char c) { return !Space(c); })) {
                return std::nullopt;
            }
            top.Text += text;
            i = next;
            continue;
        }
        auto skipTo = [&](std::string_view end) {
            const size_t at = s.find(end, i);
            if (at == std::string_view::npos) {
                return false;
            }
            i = at + end.size();
            return true;
        };
        if (s.substr(i, 4) == "<!--") {
            if (!skipTo("-->")) {
                return std::nullopt;
            }
        } else if (s.substr(i, 9) == "<![CDATA[") {
            const size_t from = i + 9;
            if (open.size() == 1 || !skipTo("]]>")) {
                return std::nullopt;
            }
            top.Text += s.substr(from, i - 3 - from);
        } else if (s.substr(i, 2) == "<?") {
            if (!skipTo("?>")) {
                return std::nullopt;
            }
        } else if (s.substr(i, 2) == "<!") {
            const size_t end = s.find('>', i);
            if (open.size() != 1 || end == std::string_view::npos ||
                s.substr(i, end - i).find('[') != std::string_view::npos) {
                return std::nullopt;
            }
            i = end + 1;
        } else if (s.substr(i, 2) == "</") {
            size_t j = i + 2;
            while (j < s.size() && NameChar(s[j])) {
                ++j;
            }
            const std::string_view name = s.substr(i + 2, j - i - 2);
            while (j < s.size() && Space(s[j])) {
                ++j;
            }
            if (open.size() == 1 || name != top.Name || j >= s.size() || s[j] != '>') {
                return std::nullopt;
            }
            top.End = j + 1;
            open.pop_back();
            i = j + 1;
        } else {
            if (open.size() == 1 && !document.Children.empty()) {
                return std::nullopt; // a second root
            }
            TNode node;
            node.Begin = i;
            size_t j = i + 1;
            while (j < s.size() && NameChar(s[j])) {
                ++j;
            }
            node.Name = std::string(s.substr(i + 1, j - i - 1));
            if (node.Name.empty()) {
                return std::nullopt;
            }
            bool closed = false;
            for (;;) {
                const size_t before = j;
                while (j < s.size() && Space(s[j])) {
                    ++j;
                }
                if (j >= s.size()) {
                    return std::nullopt;
                }
                if (s[j] == '>') {
                    ++j;
                    break;
                }
                if (s.substr(j, 2) == "/>") {
                    j += 2;
                    closed = true;
                    break;
                }
                if (j == before) {
                    return std::nullopt; // attributes are parted by spaces
                }
                const size_t nameStart = j;
                while (j < s.size() && NameChar(s[j])) {
                    ++j;
                }
                const std::string name(s.substr(nameStart, j - nameStart));
                while (j < s.size() && Space(s[j])) {
                    ++j;
                }
                if (name.empty() || j >= s.size() || s[j] != '=') {
                    return std::nullopt;
                }
                ++j;
                while (j < s.size() && Space(s[j])) {
                    ++j;
                }
                if (j >= s.size() || (s[j] != '"' && s[j] != '\'')) {
                    return std::nullopt;
                }
                const size_t close = s.find(s[j], j + 1);
                if (close == std::string_view::npos) {
                    return std::nullopt;
                }
                std::string value;
                const std::string_view raw = s.substr(j + 1, close - j - 1);
                if (raw.find('<') != std::string_view::npos || !Decode(raw, value) ||
                    !node.Attributes.emplace(name, value).second) {
                    return std::nullopt;
                }
                j = close + 1;
            }
            i = j;
            if (closed) {
                node.End = j;
                top.Children.push_back(std::move(node));
            } else {
                top.Children.push_back(std::move(node));
                open.push_back(&top.Children.back());
            }
        }
    }
    if (open.size() != 1 || document.Children.size() != 1) {
        return std::nullopt;
    }
    return std::move(document.Children.front());
}

std::string EscapeText(std::string_view s) {
    std::string out;
    for (const char c : s) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> ReadWhole(const std::string& path, bool& missing) {
    missing = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        missing = errno == ENOENT;
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) {
        return std::nullopt;
    }
    return text.str();
}

bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool WriteText(const std::string& path, const std::string& text, std::string* problem) {
    std::error_code ec;
    fs::create_directories(fs::path(path).parent_path(), ec);
    // Through a link (a dotfiles folder), keeping the file's permissions.
    if (FileShell().WriteDocumentOver(path, text)) {
        return true;
    }
    if (problem) {
        *problem = path + ": " + std::strerror(errno);
    }
    return false;
}

} // namespace

std::optional<std::vector<TRejectRule>> ReadRejectRules(std::string_view text) {
    const std::optional<TNode> root = ParseXml(text);
    if (!root || root->Name != "fontconfig") {
        return std::nullopt;
    }
    std::vector<TRejectRule> rules;
    for (const TNode& select : root->Children) {
        if (select.Name != "selectfont") {
            continue;
        }
        for (const TNode& reject : select.Children) {
            if (reject.Name != "rejectfont") {
                continue;
            }
            for (const TNode& rule : reject.Children) {
                TRejectRule found;
                found.Begin = rule.Begin;
                found.End = rule.End;
                if (rule.Name == "glob") {
                    found.Kind = TRejectRule::TKind::FileGlob;
                    found.Value = rule.Text;
                } else if (rule.Name == "pattern") {
                    found.Kind = TRejectRule::TKind::Other;
                    if (rule.Children.size() == 1 && rule.Children[0].Name == "patelt") {
                        const TNode& patelt = rule.Children[0];
                        const auto name = patelt.Attributes.find("name");
                        if (name != patelt.Attributes.end() && name->second == "family" &&
                            patelt.Children.size() == 1 && patelt.Children[0].Name == "string") {
                            found.Kind = TRejectRule::TKind::Family;
                            found.Value = patelt.Children[0].Text;
                        }
                    }
                } else {
                    continue;
                }
                rules.push_back(std::move(found));
            }
        }
    }
    return rules;
}

bool FontconfigGlobMatches(std::string_view glob, std::string_view name) {
    // Iterative, with one point to return to: a "*" later in the glob only
    // ever needs the last one's choice revisited.
    size_t g = 0, n = 0, starG = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (g < glob.size() && glob[g] == '*') {
            starG = g++;
            starN = n;
        } else if (g < glob.size() && (glob[g] == '?' || glob[g] == name[n])) {
            ++g;
            ++n;
        } else if (starG != std::string_view::npos) {
            g = starG + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (g < glob.size() && glob[g] == '*') {
        ++g;
    }
    return g == glob.size();
}

bool GlobCanNameExactly(std::string_view path) {
    if (path.empty() || !ValidUtf8(path)) {
        return false;
    }
    return std::none_of(path.begin(), path.end(), [](char c) {
        return c == '*' || c == '?' || (static_cast<unsigned char>(c) < 0x20 && c != '\t') ||
               c == 0x7F;
    });
}

std::string DisabledConfText(const std::vector<std::string>& globs) {
    std::string text = "<?xml version=\"1.0\"?>\n"
                       "<!DOCTYPE fontconfig SYSTEM \"urn:fontconfig:fonts.dtd\">\n"
                       "<!-- Written by Letterwell, the font manager: the font files it was told "
                       "to disable.\n     Letterwell rewrites this file whole; disable and enable "
                       "fonts there, or\n     remove this file to enable them all. -->\n"
                       "<fontconfig>\n  <selectfont>\n    <rejectfont>\n";
    for (const std::string& glob : globs) {
        text += "      <glob>" + EscapeText(glob) + "</glob>\n";
    }
    text += "    </rejectfont>\n  </selectfont>\n</fontconfig>\n";
    return text;
}

std::string WithoutRule(std::string_view text, const TRejectRule& rule) {
    size_t begin = rule.Begin;
    size_t end = rule.End;
    size_t lineStart = begin;
    while (lineStart > 0 && (text[lineStart - 1] == ' ' || text[lineStart - 1] == '\t')) {
        --lineStart;
    }
    size_t lineEnd = end;
    while (lineEnd < text.size() && (text[lineEnd] == ' ' || text[lineEnd] == '\t')) {
        ++lineEnd;
    }
    if ((lineStart == 0 || text[lineStart - 1] == '\n') &&
        (lineEnd == text.size() || text[lineEnd] == '\n')) {
        begin = lineStart;
        end = lineEnd < text.size() ? lineEnd + 1 : lineEnd;
    }
    return std::string(text.substr(0, begin)) + std::string(text.substr(end));
}

namespace {

// The lock lives in the program's own settings folder, which a first change
// may come before.
std::unique_ptr<IHeldLock> HoldLock(const std::string& lockFile, std::string* problem) {
    std::error_code ec;
    fs::create_directories(fs::path(lockFile).parent_path(), ec);
    std::unique_ptr<IHeldLock> lock = FileLocks().Lock(lockFile);
    if (!lock && problem) {
        *problem = lockFile + ": " + std::strerror(errno);
    }
    return lock;
}

} // namespace

TDisabledFonts::TDisabledFonts(std::string configHome, std::string lockFile,
                               std::function<std::vector<TFileFace>(const std::string&)> faces)
    : ConfigHome(std::move(configHome)), LockFile(std::move(lockFile)), Faces(std::move(faces)) {}

std::string TDisabledFonts::OwnFile() const {
    return ConfigHome + "/fontconfig/conf.d/" + kDisabledConfName;
}

std::vector<TRejectSource> TDisabledFonts::ReadSources() const {
    std::vector<std::string> paths{OwnFile()};
    std::vector<std::string> others;
    std::error_code ec;
    for (fs::directory_iterator it(ConfigHome + "/fontconfig/conf.d", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string path = it->path().string();
        if (it->path().extension() == ".conf" && path != OwnFile()) {
            others.push_back(path);
        }
    }
    std::sort(others.begin(), others.end());
    paths.insert(paths.end(), others.begin(), others.end());
    paths.push_back(ConfigHome + "/fontconfig/fonts.conf");
    std::vector<TRejectSource> sources;
    for (size_t i = 0; i < paths.size(); ++i) {
        bool missing = false;
        const std::optional<std::string> text = ReadWhole(paths[i], missing);
        if (missing) {
            continue;
        }
        TRejectSource source;
        source.Path = paths[i];
        source.Ours = i == 0;
        std::optional<std::vector<TRejectRule>> rules =
            text ? ReadRejectRules(*text) : std::nullopt;
        source.Parsed = rules.has_value();
        if (rules) {
            source.Rules = std::move(*rules);
        }
        sources.push_back(std::move(source));
    }
    return sources;
}

std::vector<TDisabledFace> TDisabledFonts::Disabled() const {
    std::vector<TDisabledFace> disabled;
    for (const TRejectSource& source : ReadSources()) {
        for (const TRejectRule& rule : source.Rules) {
            TDisabledFace face;
            face.Source = source.Path;
            face.Ours = source.Ours;
            face.Rule = rule;
            if (rule.Kind == TRejectRule::TKind::Family) {
                face.Family = rule.Value;
                face.Style = "*";
                disabled.push_back(face);
            } else if (rule.Kind == TRejectRule::TKind::FileGlob) {
                // A glob with wildcards names files by a pattern: shown as
                // it is written, as which files it catches is not listed.
                face.File = rule.Value;
                const std::vector<TFileFace> faces = GlobCanNameExactly(rule.Value) && Faces
                                                         ? Faces(rule.Value)
                                                         : std::vector<TFileFace>{};
                if (faces.empty()) {
                    disabled.push_back(face);
                }
                for (const TFileFace& one : faces) {
                    face.Family = one.Family;
                    face.Style = one.Style;
                    face.FullName = one.FullName;
                    disabled.push_back(face);
                }
            }
        }
    }
    return disabled;
}

bool TDisabledFonts::IsDisabled(const std::string& file,
                                const std::vector<std::string>& families) const {
    for (const TRejectSource& source : ReadSources()) {
        for (const TRejectRule& rule : source.Rules) {
            if (rule.Kind == TRejectRule::TKind::FileGlob &&
                FontconfigGlobMatches(rule.Value, file)) {
                return true;
            }
            if (rule.Kind == TRejectRule::TKind::Family &&
                std::any_of(families.begin(), families.end(), [&](const std::string& family) {
                    return EqualIgnoringAsciiCase(family, rule.Value);
                })) {
                return true;
            }
        }
    }
    return false;
}

TDisabledFonts::TResult TDisabledFonts::Change(const std::vector<std::string>& disable,
                                               const std::vector<std::string>& enable,
                                               std::string* problem) {
    for (const std::string& path : disable) {
        if (!GlobCanNameExactly(path)) {
            if (problem) {
                *problem = path;
            }
            return TResult::Inexpressible;
        }
    }
    const std::unique_ptr<IHeldLock> lock = HoldLock(LockFile, problem);
    if (!lock) {
        return TResult::WriteFailed;
    }
    // Read again under the lock: another process may have just written.
    bool missing = false;
    const std::optional<std::string> old = ReadWhole(OwnFile(), missing);
    std::vector<std::string> globs;
    if (!missing) {
        const std::optional<std::vector<TRejectRule>> rules =
            old ? ReadRejectRules(*old) : std::nullopt;
        if (!rules) {
            if (problem) {
                *problem = OwnFile();
            }
            return TResult::Unparseable;
        }
        for (const TRejectRule& rule : *rules) {
            if (rule.Kind == TRejectRule::TKind::FileGlob) {
                globs.push_back(rule.Value);
            }
        }
    }
    std::set<std::string> kept;
    for (const std::string& glob : globs) {
        // A rule whose file is gone would hide a font installed later
        // under the same name.
        std::error_code ec;
        const bool gone = !fs::exists(fs::path(glob), ec) && ec.value() == 0;
        if (GlobCanNameExactly(glob) && gone) {
            continue;
        }
        kept.insert(glob);
    }
    for (const std::string& path : enable) {
        kept.erase(path);
    }
    kept.insert(disable.begin(), disable.end());
    const std::vector<std::string> next(kept.begin(), kept.end());
    const std::string text = DisabledConfText(next);
    if (!missing && old && *old == text) {
        return TResult::Unchanged;
    }
    if (missing && next.empty()) {
        return TResult::Unchanged;
    }
    return WriteText(OwnFile(), text, problem) ? TResult::Changed : TResult::WriteFailed;
}

TDisabledFonts::TResult TDisabledFonts::RemoveOtherRule(const std::string& source,
                                                        const TRejectRule& rule,
                                                        std::string* problem) {
    const std::unique_ptr<IHeldLock> lock = HoldLock(LockFile, problem);
    if (!lock) {
        return TResult::WriteFailed;
    }
    bool missing = false;
    const std::optional<std::string> text = ReadWhole(source, missing);
    const std::optional<std::vector<TRejectRule>> rules =
        text ? ReadRejectRules(*text) : std::nullopt;
    const bool stillThere =
        rules && std::any_of(rules->begin(), rules->end(), [&](const TRejectRule& r) {
            return r.Begin == rule.Begin && r.End == rule.End && r.Kind == rule.Kind &&
                   r.Value == rule.Value;
        });
    if (!stillThere) {
        if (problem) {
            *problem = source;
        }
        return TResult::Unparseable;
    }
    if (!WriteText(source + ".bak", *text, problem) ||
        !WriteText(source, WithoutRule(*text, rule), problem)) {
        return TResult::WriteFailed;
    }
    return TResult::Changed;
}

bool ReportDisableResult(TDisabledFonts::TResult result, const std::string& problem) {
    std::string text;
    switch (result) {
    case TDisabledFonts::TResult::Changed:
    case TDisabledFonts::TResult::Unchanged:
        return true;
    case TDisabledFonts::TResult::Inexpressible:
        text = FmtLoadStr(30300, problem);
        break;
    case TDisabledFonts::TResult::Unparseable:
        text = FmtLoadStr(30301, problem);
        break;
    case TDisabledFonts::TResult::WriteFailed:
        text = FmtLoadStr(30302, problem);
        break;
    }
    Prompts().MessageBox(text, LoadStr(22), TMsgIcon::Error, TMsgButtons::Ok);
    return false;
}

namespace {
bool Named(const std::vector<std::string>& names, const std::string& name) {
    return names.empty() || std::any_of(names.begin(), names.end(), [&](const std::string& n) {
               return Text().CompareIgnoreCase(n, name) == 0;
           });
}

bool AmongFamilies(const std::vector<std::string>& families, const std::string& family) {
    return std::any_of(families.begin(), families.end(), [&](const std::string& f) {
        return Text().CompareIgnoreCase(f, family) == 0;
    });
}

TStyleChange DisableMatching(TDisabledFonts& store, const std::vector<std::string>& families,
                             const std::vector<std::string>& fullNames) {
    TStyleChange change;
    FontSystem().EnumFamilyFaces();
    std::set<std::string> files;
    for (const std::string& family : families) {
        for (const TFaceInfo& face : FontSystem().EnumFaces(family)) {
            if (Named(fullNames, face.FullName) && !face.File.empty()) {
                files.insert(face.File);
                change.Done.push_back(face.FullName);
            }
        }
    }
    std::string problem;
    const TDisabledFonts::TResult result =
        store.Change(std::vector<std::string>(files.begin(), files.end()), {}, &problem);
    if (!ReportDisableResult(result, problem)) {
        change.Kept = std::move(change.Done);
        change.Done.clear();
        change.Failed = true;
    }
    change.Changed = result == TDisabledFonts::TResult::Changed;
    return change;
}

TStyleChange EnableMatching(TDisabledFonts& store, const std::vector<std::string>& families,
                            const std::vector<std::string>& fullNames, bool otherAllowed) {
    TStyleChange change;
    std::vector<TDisabledFace> picked;
    for (TDisabledFace& face : store.Disabled()) {
        if (AmongFamilies(families, face.Family) &&
            (face.FullName.empty() || Named(fullNames, face.FullName))) {
            picked.push_back(std::move(face));
        }
    }
    std::vector<std::string> files;
    // Per file, the latest rule first, so a removal moves none still to come.
    std::map<std::string, std::map<size_t, TRejectRule, std::greater<>>> others;
    for (const TDisabledFace& face : picked) {
        if (face.Ours) {
            files.push_back(face.File);
        } else {
            others[face.Source][face.Rule.Begin] = face.Rule;
        }
    }
    std::string problem;
    bool oursFailed = false;
    if (!files.empty()) {
        const TDisabledFonts::TResult result = store.Change({}, files, &problem);
        oursFailed = !ReportDisableResult(result, problem);
        change.Changed = result == TDisabledFonts::TResult::Changed;
    }
    std::set<std::string> kept;
    for (const auto& [source, rules] : others) {
        for (const auto& [begin, rule] : rules) {
            // Another program's file is edited only when the user says so.
            if (!otherAllowed &&
                Prompts().MessageBox(FmtLoadStr(30304, rule.Value, source, source), LoadStr(20),
                                     TMsgIcon::Question, TMsgButtons::YesNo) != TMsgResult::Yes) {
                kept.insert(source);
                continue;
            }
            const TDisabledFonts::TResult result = store.RemoveOtherRule(source, rule, &problem);
            if (!ReportDisableResult(result, problem)) {
                change.Failed = true;
                kept.insert(source);
            }
            change.Changed = change.Changed || result == TDisabledFonts::TResult::Changed;
        }
    }
    change.Failed = change.Failed || oursFailed || !kept.empty();
    for (const TDisabledFace& face : picked) {
        const std::string name = face.FullName.empty() ? face.Family : face.FullName;
        const bool stays = face.Ours ? oursFailed : kept.count(face.Source) != 0;
        (stays ? change.Kept : change.Done).push_back(name);
    }
    return change;
}

} // namespace

TStyleChange DisableStyles(TDisabledFonts& store, const std::string& family,
                           const std::vector<std::string>& fullNames) {
    return DisableMatching(store, {family}, fullNames);
}

TStyleChange DisableFamilies(TDisabledFonts& store, const std::vector<std::string>& families) {
    return DisableMatching(store, families, {});
}

TStyleChange EnableStyles(TDisabledFonts& store, const std::string& family,
                          const std::vector<std::string>& fullNames, bool otherAllowed) {
    return EnableMatching(store, {family}, fullNames, otherAllowed);
}

TStyleChange EnableFamilies(TDisabledFonts& store, const std::vector<std::string>& families,
                            bool otherAllowed) {
    return EnableMatching(store, families, {}, otherAllowed);
}

std::vector<std::string> UserFamiliesOutside(const std::vector<std::string>& keep,
                                             const std::string& userFolder) {
    const std::string prefix = userFolder + (userFolder.ends_with('/') ? "" : "/");
    std::vector<std::string> outside;
    for (const std::string& family : FontSystem().EnumFamilyFaces()) {
        if (AmongFamilies(keep, family) || AmongFamilies(outside, family)) {
            continue;
        }
        const std::vector<TFaceInfo>& faces = FontSystem().EnumFaces(family);
        if (!faces.empty() && std::all_of(faces.begin(), faces.end(), [&](const TFaceInfo& f) {
                return f.File.starts_with(prefix);
            })) {
            outside.push_back(family);
        }
    }
    return outside;
}

std::vector<std::string> DisabledFamilies(const std::vector<TDisabledFace>& disabled) {
    std::vector<std::string> families;
    for (const TDisabledFace& face : disabled) {
        if (!face.Family.empty() && !AmongFamilies(families, face.Family)) {
            families.push_back(face.Family);
        }
    }
    std::sort(families.begin(), families.end(), [](const std::string& a, const std::string& b) {
        return Text().CompareIgnoreCase(a, b) < 0;
    });
    return families;
}

std::vector<TFamilyDisabledWhole> FamiliesDisabledWhole(const std::vector<TDisabledFace>& disabled,
                                                        const std::vector<std::string>& installed) {
    std::vector<TFamilyDisabledWhole> whole;
    for (const TDisabledFace& face : disabled) {
        if (face.Family.empty() || AmongFamilies(installed, face.Family)) {
            continue;
        }
        const auto known =
            std::find_if(whole.begin(), whole.end(), [&](const TFamilyDisabledWhole& w) {
                return Text().CompareIgnoreCase(w.Family, face.Family) == 0;
            });
        if (known == whole.end()) {
            whole.push_back({face.Family, face.File, face.Source});
        } else if (known->File.empty()) {
            // A family rule names no file; a glob of the same family does.
            known->File = face.File;
        }
    }
    std::sort(whole.begin(), whole.end(),
              [](const TFamilyDisabledWhole& a, const TFamilyDisabledWhole& b) {
                  return Text().CompareIgnoreCase(a.Family, b.Family) < 0;
              });
    return whole;
}

bool RemoveWithRulesLifted(TDisabledFonts& store, const std::vector<std::string>& families,
                           const std::function<void()>& remove) {
    const std::vector<TDisabledFace> disabled = store.Disabled();
    // A family fontconfig does not serve because another program's rule
    // hides it cannot be uninstalled without editing that program's file,
    // which is never done unasked: Enable asks, so the user is sent there.
    for (const std::string& family : families) {
        if (AmongFamilies(FontManager->Families, family)) {
            continue;
        }
        for (const TDisabledFace& face : disabled) {
            if (!face.Ours && Text().CompareIgnoreCase(face.Family, family) == 0) {
                Prompts().MessageBox(FmtLoadStr(kDisabledByOther, face.Family, face.Source),
                                     LoadStr(22), TMsgIcon::Error, TMsgButtons::Ok);
                return false;
            }
        }
    }
    std::set<std::string> lifted;
    for (const TDisabledFace& face : disabled) {
        if (face.Ours && !face.File.empty() && AmongFamilies(families, face.Family)) {
            lifted.insert(face.File);
        }
    }
    std::string problem;
    if (lifted.empty()) {
        // None lifted: fine for a family fontconfig serves; one it does not
        // serve may still be disabled by our file when that does not parse,
        // and uninstalling then would only fail with a misleading message.
        const bool served = std::all_of(families.begin(), families.end(), [](const std::string& f) {
            return AmongFamilies(FontManager->Families, f);
        });
        for (const TRejectSource& source : store.ReadSources()) {
            if (source.Ours && !source.Parsed && !served) {
                return ReportDisableResult(TDisabledFonts::TResult::Unparseable, source.Path);
            }
        }
        remove();
        return true;
    }
    TDisabledFonts::TResult result =
        store.Change({}, std::vector<std::string>(lifted.begin(), lifted.end()), &problem);
    if (!ReportDisableResult(result, problem)) {
        return false;
    }
    FontSystem().FontsChanged();
    FontManager->Refresh();
    remove();
    std::vector<std::string> kept;
    for (const std::string& file : lifted) {
        std::error_code ec;
        if (fs::exists(fs::path(file), ec)) {
            kept.push_back(file);
        }
    }
    result = store.Change(kept, {}, &problem);
    ReportDisableResult(result, problem);
    FontManager->BroadcastFontChange();
    return true;
}

TDisabledFonts UserDisabledFonts() {
    std::string home;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
        home = xdg;
    } else if (const char* user = std::getenv("HOME"); user != nullptr) {
        home = std::string(user) + "/.config";
    }
    return TDisabledFonts(home, home + "/Kestrova/disabled-fonts.lock",
                          [](const std::string& file) {
                              std::vector<TFileFace> faces;
                              for (const TFaceNames& face : FontSystem().FacesOfFile(file)) {
                                  faces.push_back({face.Family, face.Style, face.FullName});
                              }
                              return faces;
                          });
}

} // namespace lw
