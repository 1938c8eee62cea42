#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lw {

// Fonts are disabled by fontconfig's <selectfont><rejectfont> rules: the
// file stays where it is and every program that asks fontconfig stops seeing
// it. This program writes one configuration file of its own and reads those
// other tools (or the user) left in the same folder.

// The name of the file this program writes in the user's conf.d. The user's
// conf.d is read at the system's 50-user.conf, its files in name order;
// rejectfont rules are gathered while the configuration is read and applied
// only when fonts are scanned afterwards, so any number would reject. 49
// puts it first among the user's files, before those of other font managers
// (78-Reject.conf), so a reader of the folder meets it first and a later
// <acceptfont> by the user (which wins over every rejectfont) stays theirs.
inline constexpr const char* kDisabledConfName = "49-letterwell-disabled.conf";

// One rejectfont rule as it stands in a file.
struct TRejectRule {
    enum class TKind {
        FileGlob, // <glob>: files whose paths match
        Family,   // <pattern> with one family <patelt>
        Other     // any other <pattern>: shown, never edited
    };
    TKind Kind = TKind::FileGlob;
    std::string Value; // the glob or the family, entities decoded
    // Where the element (<glob> or <pattern>) lies in the file's bytes.
    size_t Begin = 0;
    size_t End = 0;
};

// The rejectfont rules of a fontconfig file's text; nothing when the text is
// not a well-formed <fontconfig> document, which is then never rewritten.
std::optional<std::vector<TRejectRule>> ReadRejectRules(std::string_view text);

// Whether fontconfig's glob matches name: "*" any run of bytes, "?" any one
// byte, every other byte itself (there is no escape and no "[...]").
bool FontconfigGlobMatches(std::string_view glob, std::string_view name);

// Whether a path can be named by a glob that matches it and no other file:
// not when it holds "*" or "?" (fontconfig cannot escape them), bytes that
// are not UTF-8 or control characters (its XML reader refuses or changes them).
bool GlobCanNameExactly(std::string_view path);

// The whole text of this program's own file, one <glob> per path.
std::string DisabledConfText(const std::vector<std::string>& globs);

// text without the rule's element (and its line when nothing else is on it).
std::string WithoutRule(std::string_view text, const TRejectRule& rule);

// One configuration file that disables fonts, as read.
struct TRejectSource {
    std::string Path;
    bool Ours = false;
    bool Parsed = true;
    std::vector<TRejectRule> Rules;
};

// One face of a font file: what the system reads from the file itself, as
// a disabled file is no longer listed.
struct TFileFace {
    std::string Family;
    std::string Style;
    std::string FullName;
};

// A disabled style (or, for a family rule, a whole family whose files are
// not known) and the file and rule that disable it.
struct TDisabledFace {
    std::string Family;
    std::string Style;    // "*" for a family rule
    std::string FullName; // empty for a family rule
    std::string File;     // empty for a family rule
    std::string Source;   // the configuration file holding the rule
    bool Ours = false;
    TRejectRule Rule;
};

class TDisabledFonts {
public:
    // configHome: $XDG_CONFIG_HOME; lockFile: the lock two processes writing
    // take; faces: the faces of a file (the fontconfig adapter's reader).
    TDisabledFonts(std::string configHome, std::string lockFile,
                   std::function<std::vector<TFileFace>(const std::string&)> faces);

    std::string OwnFile() const;
    // Ours first, then every other *.conf of the user's conf.d, then the
    // user's fonts.conf; missing files are left out.
    std::vector<TRejectSource> ReadSources() const;
    // Every disabled style, in source order.
    std::vector<TDisabledFace> Disabled() const;
    // Whether a rule of any source disables this file (a family rule counts
    // when one of families matches, ignoring ASCII case).
    bool IsDisabled(const std::string& file, const std::vector<std::string>& families) const;

    enum class TResult { Changed, Unchanged, Unparseable, Inexpressible, WriteFailed };
    // Adds rules for disable and drops ours for enable in one write under the
    // lock; rules for files that no longer exist are dropped on the way.
    // Problem: the file that could not be parsed, the path that cannot be
    // named, or the error text of a failed write.
    TResult Change(const std::vector<std::string>& disable, const std::vector<std::string>& enable,
                   std::string* problem = nullptr);
    // Removes one rule of another configuration file, keeping the file as it
    // was beside it as "<name>.bak"; the file must still read as it did.
    TResult RemoveOtherRule(const std::string& source, const TRejectRule& rule,
                            std::string* problem = nullptr);

private:
    std::string ConfigHome;
    std::string LockFile;
    std::function<std::vector<TFileFace>(const std::string&)> Faces;
};

// What enabling or disabling styles did: the full names (a family rule's
// family) changed and those left as they were.
struct TStyleChange {
    std::vector<std::string> Done;
    std::vector<std::string> Kept;
    bool Failed = false;  // a message told why
    bool Changed = false; // a file was written: fontconfig must look again
};

// Disables the faces of an installed family by full name, every face when
// none is named, in one write. A face of a collection goes with its file.
TStyleChange DisableStyles(TDisabledFonts& store, const std::string& family,
                           const std::vector<std::string>& fullNames);
// Every style of these installed families, in one write (a sheet's selection).
TStyleChange DisableFamilies(TDisabledFonts& store, const std::vector<std::string>& families);
// Enables the disabled faces of a family likewise. A rule another
// configuration holds is removed only when otherAllowed or when the user says
// yes to the question asked through the prompts.
TStyleChange EnableStyles(TDisabledFonts& store, const std::string& family,
                          const std::vector<std::string>& fullNames, bool otherAllowed);
TStyleChange EnableFamilies(TDisabledFonts& store, const std::vector<std::string>& families,
                            bool otherAllowed);
// The installed families not among keep whose every face lies in
// userFolder: what enabling only a category disables. The system's fonts
// are never among them.
std::vector<std::string> UserFamiliesOutside(const std::vector<std::string>& keep,
                                             const std::string& userFolder);
// The families that rules disable whole or in part, each once, sorted.
std::vector<std::string> DisabledFamilies(const std::vector<TDisabledFace>& disabled);

// A family every style of which is disabled: no program is served it, so the
// windows list it apart and draw it from File.
struct TFamilyDisabledWhole {
    std::string Family;
    std::string File;   // the first of its files a rule names
    std::string Source; // the configuration file of that rule
};
// The families of disabled that installed (the families fontconfig serves)
// lacks, each once, sorted ignoring case.
std::vector<TFamilyDisabledWhole> FamiliesDisabledWhole(const std::vector<TDisabledFace>& disabled,
                                                        const std::vector<std::string>& installed);

// Runs remove with this program's rules on the families' files lifted, as
// uninstalling goes by the styles fontconfig serves, then disables again the
// files still there: a removed file takes its rule along, one kept stays
// disabled. Rules of other configurations are left alone. False (and remove
// not run) when the rules could not be lifted; the user was told why.
bool RemoveWithRulesLifted(TDisabledFonts& store, const std::vector<std::string>& families,
                           const std::function<void()>& remove);

// Tells the user through the prompts why a change was not made (nothing for
// Changed and Unchanged); whether the change stands.
bool ReportDisableResult(TDisabledFonts::TResult result, const std::string& problem);

// The user's: $XDG_CONFIG_HOME (~/.config when unset), the lock beside the
// program's settings, the faces read by fontconfig.
TDisabledFonts UserDisabledFonts();

} // namespace lw
