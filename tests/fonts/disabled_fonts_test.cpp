// Disabling fonts through fontconfig rules: the rule files as text, and what
// the real fontconfig of the temporary home (fc-list, fc-match) then serves.
#include "base/strings.h"
#include "command_run.h"
#include "font_builder.h"
#include "fonts/disabled_fonts.h"
#include "fonts/font_file_commands.h"
#include "fonts/font_manager.h"
#include "reader_test_support.h"
#include "scripted_prompts.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace lw {
namespace {

namespace fs = std::filesystem;
using TKind = TRejectRule::TKind;

std::string Shell(const std::string& command) {
    return test::RunCommand(command).Output;
}

bool Lists(const std::string& what) {
    return Shell("fc-list --format '%{family[0]}|%{style[0]}|%{file}\\n'").find(what) !=
           std::string::npos;
}

test::TCommandRun Cli(const std::string& arguments) {
    return test::RunCommand(test::BuildBinFolder() + "/letterwell-cli " + arguments + " 2>&1");
}

using test::ReadText;
using test::WriteText;

TEST(DisabledFontRules, RejectRulesAreReadWithTheirPlaceInTheFile) {
    const std::string text =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n"
        "<!-- <rejectfont> in a comment is no rule -->\n"
        "<fontconfig>\n <selectfont>\n  <rejectfont>\n"
        "   <glob>/f/a&amp;b&#x2a;.ttf</glob>\n"
        "   <pattern><patelt name='family'><string>Old Face</string></patelt></pattern>\n"
        "   <pattern><patelt name=\"family\"><string>A</string></patelt>"
        "<patelt name=\"style\"><string>Bold</string></patelt></pattern>\n"
        "  </rejectfont>\n  <acceptfont><glob>/f/kept.ttf</glob></acceptfont>\n"
        " </selectfont>\n <dir>/f</dir>\n</fontconfig>\n";
    const auto rules = ReadRejectRules(text);
    ASSERT_TRUE(rules);
    ASSERT_EQ(rules->size(), 3u);
    EXPECT_EQ((*rules)[0].Kind, TKind::FileGlob);
    EXPECT_EQ((*rules)[0].Value, "/f/a&b*.ttf");
    EXPECT_EQ(text.substr((*rules)[0].Begin, (*rules)[0].End - (*rules)[0].Begin),
              "<glob>/f/a&amp;b&#x2a;.ttf</glob>");
    EXPECT_EQ((*rules)[1].Kind, TKind::Family);
    EXPECT_EQ((*rules)[1].Value, "Old Face");
    // Only a family alone names a family; more is shown but never taken apart.
    EXPECT_EQ((*rules)[2].Kind, TKind::Other);

    const std::string without = WithoutRule(text, (*rules)[1]);
    EXPECT_EQ(without.find("Old Face"), std::string::npos);
    EXPECT_NE(
        without.find("   <glob>/f/a&amp;b&#x2a;.ttf</glob>\n   <pattern><patelt name=\"family\">"
                     "<string>A</string>"),
        std::string::npos)
        << without;
    const auto left = ReadRejectRules(without);
    ASSERT_TRUE(left);
    EXPECT_EQ(left->size(), 2u);
}

TEST(DisabledFontRules, TextsThatAreNotWellFormedAreNotRead) {
    for (const std::string text : {
             "<fontconfig><selectfont></fontconfig>",
             "<fontconfig><glob>a &nbsp; b</glob></fontconfig>",
             "<fontconfig></fontconfig><fontconfig></fontconfig>",
             "<fontconfig>",
             "<fontconfig a=b></fontconfig>",
             "<!DOCTYPE x [ <!ENTITY e \"/f\"> ]><fontconfig></fontconfig>",
             "<fontconfig><glob>\xff\xfe</glob></fontconfig>",
             "<other></other>",
             "",
             "stray <fontconfig></fontconfig>",
         }) {
        EXPECT_FALSE(ReadRejectRules(text)) << text;
    }
    EXPECT_TRUE(ReadRejectRules("\xEF\xBB\xBF<fontconfig/>"));
}

TEST(DisabledFontRules, GlobsMatchAsFontconfigsAndOnlyExactNamesAreWritten) {
    EXPECT_TRUE(FontconfigGlobMatches("/f/*.ttf", "/f/a.ttf"));
    EXPECT_TRUE(FontconfigGlobMatches("/f/*", "/f/g/a.otf"));
    EXPECT_TRUE(FontconfigGlobMatches("/f/?.ttf", "/f/b.ttf"));
    EXPECT_FALSE(FontconfigGlobMatches("/f/?.ttf", "/f/bb.ttf"));
    EXPECT_TRUE(FontconfigGlobMatches("/f/*a*b", "/f/xaxxab"));
    EXPECT_FALSE(FontconfigGlobMatches("/f/a.ttf", "/f/a.ttf2"));
    // "[" is no class to fontconfig, only itself.
    EXPECT_TRUE(FontconfigGlobMatches("/f/[ab].ttf", "/f/[ab].ttf"));
    EXPECT_FALSE(FontconfigGlobMatches("/f/[ab].ttf", "/f/a.ttf"));

    EXPECT_TRUE(GlobCanNameExactly("/f/[x] & <y>.ttf"));
    EXPECT_FALSE(GlobCanNameExactly("/f/a*.ttf"));
    EXPECT_FALSE(GlobCanNameExactly("/f/a?.ttf"));
    EXPECT_FALSE(GlobCanNameExactly("/f/a\nb.ttf"));
    EXPECT_FALSE(GlobCanNameExactly("/f/caf\xe9.ttf"));

    const std::string text = DisabledConfText({"/f/[x] & <y>.ttf", "/f/plain.ttf"});
    const auto rules = ReadRejectRules(text);
    ASSERT_TRUE(rules);
    ASSERT_EQ(rules->size(), 2u);
    EXPECT_EQ((*rules)[0].Value, "/f/[x] & <y>.ttf");
    EXPECT_NE(text.find("Letterwell"), std::string::npos);
}

class DisabledFontsTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(ConfD());
        fs::remove(test::TestHome().ConfigHome() / "fontconfig" / "fonts.conf");
    }
    void TearDown() override {
        SetUp(); // no rule file is left for the next test either
        for (const fs::path& file : Installed) {
            fs::remove(file);
        }
    }
    static fs::path ConfD() { return test::TestHome().ConfigHome() / "fontconfig" / "conf.d"; }
    std::vector<std::string> OwnGlobs() const {
        std::vector<std::string> globs;
        for (const TRejectRule& rule :
             ReadRejectRules(ReadText(OwnRules)).value_or(std::vector<TRejectRule>{})) {
            globs.push_back(rule.Value);
        }
        return globs;
    }
    fs::path Install(const std::string& fileName, const std::string& family,
                     const std::string& style) {
        Installed.push_back(fs::path(FontManager->FontsFolder) / fileName);
        test::WriteFile(Installed.back(), test::NamedTrueType(family, style));
        return Installed.back();
    }
    const fs::path OwnRules = ConfD() / kDisabledConfName;
    TDisabledFonts Store = UserDisabledFonts();
    std::vector<fs::path> Installed;
};

TEST_F(DisabledFontsTest, AStyleAndASystemFamilyLeaveEveryProgramAndComeBack) {
    const fs::path regular = Install("lwoff-regular.ttf", "LwOff", "Regular");
    const fs::path bold = Install("lwoff-bold.ttf", "LwOff", "Bold");
    const std::vector<std::string> serif =
        test::Lines(Shell("fc-list --format '%{file}\\n' 'DejaVu Serif'"));
    ASSERT_FALSE(serif.empty());
    ASSERT_TRUE(Lists("LwOff|Bold|" + bold.string()));
    ASSERT_EQ(Shell("fc-match -f '%{family[0]}' 'DejaVu Serif'"), "DejaVu Serif");

    std::vector<std::string> off = serif;
    off.push_back(bold.string());
    EXPECT_EQ(Store.Change(off, {}), TDisabledFonts::TResult::Changed);
    EXPECT_TRUE(fs::exists(OwnRules));
    EXPECT_FALSE(Lists(bold.string()));
    EXPECT_TRUE(Lists("LwOff|Regular|" + regular.string()));
    EXPECT_FALSE(Lists("DejaVu Serif|"));
    EXPECT_NE(Shell("fc-match -f '%{family[0]}' 'DejaVu Serif'"), "DejaVu Serif");

    const std::vector<TDisabledFace> disabled = Store.Disabled();
    ASSERT_EQ(disabled.size(), off.size());
    const auto boldFace = std::find_if(disabled.begin(), disabled.end(),
                                       [&](const TDisabledFace& f) { return f.File == bold; });
    ASSERT_NE(boldFace, disabled.end());
    EXPECT_EQ(boldFace->Family, "LwOff");
    EXPECT_EQ(boldFace->Style, "Bold");
    EXPECT_TRUE(boldFace->Ours);
    EXPECT_TRUE(Store.IsDisabled(bold.string(), {"LwOff"}));
    EXPECT_FALSE(Store.IsDisabled(regular.string(), {"LwOff"}));

    // Doing it twice changes nothing; enabling brings each back.
    EXPECT_EQ(Store.Change(off, {}), TDisabledFonts::TResult::Unchanged);
    EXPECT_EQ(Store.Change({}, {bold.string()}), TDisabledFonts::TResult::Changed);
    EXPECT_TRUE(Lists("LwOff|Bold|" + bold.string()));
    EXPECT_FALSE(Lists("DejaVu Serif|"));
    EXPECT_EQ(Store.Change({}, serif), TDisabledFonts::TResult::Changed);
    EXPECT_EQ(Shell("fc-match -f '%{family[0]}' 'DejaVu Serif'"), "DejaVu Serif");
    EXPECT_TRUE(Store.Disabled().empty());
    EXPECT_TRUE(fs::exists(bold) && fs::exists(regular));
}

// Another tool's rule is shown, and changed neither by the program nor by
// its command line until the user asks.
TEST_F(DisabledFontsTest, AnotherToolsFamilyRuleIsShownAndRemovedOnlyWhenAsked) {
    const fs::path elsewhere = Install("lwelse.ttf", "LwElsewhere", "Regular");
    const fs::path other = ConfD() / "78-Reject.conf";
    const std::string reject =
        "<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
        "  <selectfont>\n    <rejectfont>\n      <pattern>\n"
        "        <patelt name=\"family\"><string>LwElsewhere</string></patelt>\n"
        "      </pattern>\n    </rejectfont>\n  </selectfont>\n</fontconfig>\n";
    WriteText(other, reject);
    EXPECT_FALSE(Lists("LwElsewhere|"));
    const std::vector<TDisabledFace> disabled = Store.Disabled();
    ASSERT_EQ(disabled.size(), 1u);
    EXPECT_EQ(disabled[0].Family, "LwElsewhere");
    EXPECT_FALSE(disabled[0].Ours);
    EXPECT_EQ(disabled[0].Source, other.string());
    EXPECT_EQ(Cli("disabled").Output, "LwElsewhere\t*\t\t" + other.string() + "\n");

    // Uninstalling it is refused, naming the other file and the way out.
    FontManager->Refresh();
    const test::TBytes fontBytes = test::ReadFile(elsewhere);
    test::TestPrompts().Reset();
    bool ran = false;
    EXPECT_FALSE(RemoveWithRulesLifted(Store, {"lwelsewhere"}, [&] { ran = true; }));
    EXPECT_FALSE(ran);
    ASSERT_TRUE(test::ToldOnce(FmtLoadStr(30650, "LwElsewhere", other.string())));
    EXPECT_EQ(test::ReadFile(elsewhere), fontBytes);
    EXPECT_EQ(ReadText(other), reject);
    // The command line neither enables nor uninstalls it unasked.
    test::TCommandRun run = Cli("enable LwElsewhere");
    EXPECT_TRUE(test::Says(run, 1, "LwElsewhere: not enabled"));
    EXPECT_EQ(ReadText(other), reject);
    EXPECT_TRUE(test::Says(Cli("uninstall LwElsewhere"), 1,
                           "LwElsewhere was not uninstalled: it is disabled by another program's "
                           "fontconfig file, " +
                               other.string() +
                               ", which Letterwell does not change unasked. Enable it first"));
    EXPECT_EQ(test::ReadFile(elsewhere), fontBytes);
    EXPECT_EQ(ReadText(other), reject);
    EXPECT_FALSE(Lists("LwElsewhere|"));

    // Writing our own file leaves the other one alone.
    const fs::path mine = Install("lwmine.ttf", "LwMine", "Regular");
    EXPECT_EQ(Store.Change({mine.string()}, {}), TDisabledFonts::TResult::Changed);
    EXPECT_EQ(ReadText(other), reject);

    // Asked on the command line, the rule goes and the file is kept beside.
    run = Cli("enable LwElsewhere --other");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_TRUE(Lists("LwElsewhere|"));
    EXPECT_EQ(ReadText(ConfD() / "78-Reject.conf.bak"), reject);

    // The other tool's file is a link into a dotfiles folder: written
    // through, the link kept.
    const fs::path dotfiles = test::TestHome().Root() / "dotfiles" / "78-Reject.conf";
    fs::create_directories(dotfiles.parent_path());
    WriteText(dotfiles, reject);
    fs::remove(other);
    fs::remove(ConfD() / "78-Reject.conf.bak");
    fs::create_symlink(dotfiles, other);
    ASSERT_FALSE(Lists("LwElsewhere|"));
    EXPECT_EQ(Store.RemoveOtherRule(disabled[0].Source, disabled[0].Rule),
              TDisabledFonts::TResult::Changed);
    EXPECT_TRUE(fs::is_symlink(other));
    EXPECT_EQ(ReadText(ConfD() / "78-Reject.conf.bak"), reject);
    EXPECT_TRUE(Lists("LwElsewhere|"));
    EXPECT_FALSE(Lists("LwMine|"));
    const auto left = ReadRejectRules(ReadText(other));
    ASSERT_TRUE(left);
    EXPECT_TRUE(left->empty());
    // A rule no longer where it was is not removed a second time.
    EXPECT_EQ(Store.RemoveOtherRule(disabled[0].Source, disabled[0].Rule),
              TDisabledFonts::TResult::Unparseable);
    fs::remove_all(dotfiles.parent_path());
}

TEST_F(DisabledFontsTest, AGlobInTheUsersFontsConfIsShownAndRemovedWhenAllowed) {
    const fs::path font = Install("lwglob.ttf", "LwGlob", "Italic");
    const fs::path fontsConf = test::TestHome().ConfigHome() / "fontconfig" / "fonts.conf";
    const std::string text = "<?xml version=\"1.0\"?>\n<fontconfig>\n  <selectfont><rejectfont>\n"
                             "    <glob>" +
                             font.string() +
                             "</glob>\n"
                             "  </rejectfont></selectfont>\n</fontconfig>\n";
    WriteText(fontsConf, text);
    EXPECT_FALSE(Lists("LwGlob|"));
    const std::vector<TDisabledFace> disabled = Store.Disabled();
    ASSERT_EQ(disabled.size(), 1u);
    EXPECT_EQ(disabled[0].Family, "LwGlob");
    EXPECT_EQ(disabled[0].Style, "Italic");
    EXPECT_EQ(disabled[0].Source, fontsConf.string());
    EXPECT_FALSE(disabled[0].Ours);
    FontManager->Refresh();
    test::TestPrompts().Reset();
    EXPECT_FALSE(RemoveWithRulesLifted(Store, {"LwGlob"}, [] {}));
    ASSERT_TRUE(test::ToldOnce(FmtLoadStr(30650, "LwGlob", fontsConf.string())));
    EXPECT_TRUE(fs::exists(font));
    EXPECT_EQ(ReadText(fontsConf), text);

    // Asked and refused: the file stays as it is.
    test::TestPrompts().Reset();
    test::TestPrompts().Answers = {TMsgResult::No};
    TStyleChange change = EnableStyles(Store, "lwglob", {}, false);
    EXPECT_FALSE(change.Changed);
    EXPECT_EQ(change.Kept, std::vector<std::string>{"LwGlob Italic"});
    ASSERT_EQ(test::TestPrompts().Messages.size(), 1u);
    EXPECT_EQ(ReadText(fontsConf), text);

    test::TestPrompts().Answers = {TMsgResult::Yes};
    change = EnableStyles(Store, "LwGlob", {}, false);
    EXPECT_TRUE(change.Changed);
    EXPECT_EQ(change.Done, std::vector<std::string>{"LwGlob Italic"});
    EXPECT_TRUE(Lists("LwGlob|Italic|"));
    EXPECT_EQ(ReadText(fs::path(fontsConf.string() + ".bak")), text);
    EXPECT_EQ(ReadText(fontsConf),
              "<?xml version=\"1.0\"?>\n<fontconfig>\n  <selectfont><rejectfont>\n"
              "  </rejectfont></selectfont>\n</fontconfig>\n");
    fs::remove(fs::path(fontsConf.string() + ".bak"));
}

// Our rule file names each file alone, whatever its name; rules for files no
// longer there are dropped at the next write; a file that does not parse is
// never rewritten.
TEST_F(DisabledFontsTest, OurRulesNameFilesAloneDropFilesGoneAndOnlyAFileThatParsesIsRewritten) {
    const fs::path odd = Install("lw[x] & <y>.ttf", "LwOdd", "Regular");
    const fs::path near = Install("lwx & <y>.ttf", "LwNear", "Regular");
    const fs::path starred = Install("lw*.ttf", "LwStar", "Regular");
    EXPECT_EQ(Store.Change({odd.string()}, {}), TDisabledFonts::TResult::Changed);
    EXPECT_FALSE(Lists("LwOdd|"));
    EXPECT_TRUE(Lists("LwNear|"));
    EXPECT_TRUE(Lists("LwStar|"));

    // "*" would hide every lw file; refused, and the file left as it was.
    const std::string before = ReadText(OwnRules);
    std::string problem;
    EXPECT_EQ(Store.Change({starred.string()}, {}, &problem),
              TDisabledFonts::TResult::Inexpressible);
    EXPECT_EQ(problem, starred.string());
    EXPECT_EQ(ReadText(OwnRules), before);
    EXPECT_TRUE(Lists("LwNear|"));

    // Rules for files gone are dropped at the next write.
    const fs::path gone = Install("lwgone.ttf", "LwGone", "Regular");
    const fs::path kept = Install("lwkept.ttf", "LwKept", "Regular");
    ASSERT_EQ(Store.Change({gone.string(), kept.string()}, {}), TDisabledFonts::TResult::Changed);
    fs::remove(gone);
    const fs::path other = Install("lwother.ttf", "LwOther", "Regular");
    ASSERT_EQ(Store.Change({other.string()}, {}), TDisabledFonts::TResult::Changed);
    EXPECT_EQ(OwnGlobs(), (std::vector<std::string>{odd.string(), kept.string(), other.string()}));

    const fs::path font = Install("lwparse.ttf", "LwParse", "Regular");
    const std::string broken = "<fontconfig><selectfont><rejectfont><glob>" + font.string() +
                               "</glob></rejectfont></fontconfig>\n";
    WriteText(OwnRules, broken);
    EXPECT_EQ(Store.Change({font.string()}, {}, &problem), TDisabledFonts::TResult::Unparseable);
    EXPECT_EQ(problem, OwnRules.string());
    EXPECT_EQ(ReadText(OwnRules), broken);
    EXPECT_EQ(Store.Change({}, {font.string()}), TDisabledFonts::TResult::Unparseable);
    EXPECT_EQ(ReadText(OwnRules), broken);
}

// Uninstalling goes by what fontconfig serves: a disabled style is served to
// the uninstall alone, and what the user keeps is disabled again.
TEST_F(DisabledFontsTest, UninstallingADisabledStyleTakesItsRuleAlongAndNothingElse) {
    const fs::path regular = Install("lwgo-regular.ttf", "LwGo", "Regular");
    const fs::path bold = Install("lwgo-bold.ttf", "LwGo", "Bold");
    const fs::path stay = Install("lwstay.ttf", "LwStay", "Regular");
    ASSERT_EQ(Store.Change({regular.string(), bold.string(), stay.string()}, {}),
              TDisabledFonts::TResult::Changed);
    FontManager->BroadcastFontChange();
    FontManager->Refresh();
    const test::TBytes boldBytes = test::ReadFile(bold);
    const test::TBytes stayBytes = test::ReadFile(stay);
    test::TestPrompts().Reset();

    EXPECT_TRUE(RemoveWithRulesLifted(Store, {"LwGo"}, [&] {
        RemoveInstalledFont("LwGo", "", false, true, false,
                            [&](const std::string&, std::vector<std::string>& fullNames) {
                                fullNames = {"LwGo Regular"};
                                return true;
                            });
    }));
    EXPECT_FALSE(fs::exists(regular));
    EXPECT_EQ(test::ReadFile(bold), boldBytes);
    EXPECT_EQ(test::ReadFile(stay), stayBytes);
    EXPECT_EQ(OwnGlobs(), (std::vector<std::string>{bold.string(), stay.string()}));
    EXPECT_FALSE(Lists("LwGo|"));
    EXPECT_FALSE(Lists("LwStay|"));
    EXPECT_TRUE(test::TestPrompts().Messages.empty());

    // A rule file damaged while the rules were lifted is told and kept.
    const std::string broken = ReadText(OwnRules) + "<unclosed>";
    EXPECT_TRUE(RemoveWithRulesLifted(Store, {"LwGo"}, [&] { WriteText(OwnRules, broken); }));
    ASSERT_TRUE(test::ToldOnce(FmtLoadStr(30301, OwnRules.string())));
    EXPECT_EQ(ReadText(OwnRules), broken);
    test::TestPrompts().Reset();

    // A rule file that does not parse is not rewritten, and nothing is removed
    // (fontconfig still keeps the rules it read before the damage).
    FontManager->Refresh();
    ASSERT_FALSE(Lists("LwGo|"));
    bool ran = false;
    EXPECT_FALSE(RemoveWithRulesLifted(Store, {"LwGo"}, [&] { ran = true; }));
    EXPECT_FALSE(ran);
    ASSERT_TRUE(test::ToldOnce(FmtLoadStr(30301, OwnRules.string())));
    EXPECT_EQ(ReadText(OwnRules), broken);
    EXPECT_EQ(test::ReadFile(bold), boldBytes);
    FontManager->Refresh();
}

TEST_F(DisabledFontsTest, WritersAtOnceKeepEachOthersRulesAndAKillLeavesAWholeFile) {
    const fs::path folder = test::TestHome().Root() / "many";
    fs::create_directories(folder);
    std::vector<std::string> files[2];
    for (int i = 0; i < 40; ++i) {
        const fs::path file = folder / ("f" + std::to_string(i) + ".ttf");
        WriteText(file, "x");
        files[i % 2].push_back(file.string());
    }
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        if (children[c] == 0) {
            for (const std::string& file : files[c]) {
                if (Store.Change({file}, {}) == TDisabledFonts::TResult::WriteFailed) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    auto rules = ReadRejectRules(ReadText(OwnRules));
    ASSERT_TRUE(rules);
    EXPECT_EQ(rules->size(), 40u);

    // A writer killed at any moment: the file is the old or the new one.
    for (int round = 0; round < 8; ++round) {
        const pid_t child = ::fork();
        if (child == 0) {
            for (;;) {
                Store.Change({}, files[0]);
                Store.Change(files[0], {});
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        rules = ReadRejectRules(ReadText(OwnRules));
        ASSERT_TRUE(rules) << round;
        EXPECT_TRUE(rules->size() == 20u || rules->size() == 40u) << rules->size();
    }
    fs::remove_all(folder);
}

// What fontconfig serves of a rule file is checked with the store above; here, what each
// command says and writes.
TEST_F(DisabledFontsTest, TheCommandLineDisablesListsAndEnablesStylesAndTwoAtOnceKeepBothRules) {
    const fs::path regular = Install("lwcli-regular.ttf", "LwCli", "Regular");
    const fs::path bold = Install("lwcli-bold.ttf", "LwCli", "Bold");
    test::TCommandRun run = Cli("disable LwCli --style 'LwCli Bold'");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(run.Output, "LwCli Bold: disabled\n");
    run = Cli("disabled");
    EXPECT_EQ(run.Output, "LwCli\tBold\t" + bold.string() + "\t" + OwnRules.string() + "\n");

    EXPECT_EQ(Cli("disable LwCli --style 'LwCli Black'").Status, 1);
    EXPECT_EQ(Cli("disable LwNothing").Status, 1);
    EXPECT_EQ(Cli("enable LwNothing").Status, 1);
    EXPECT_EQ(Cli("disable").Status, 2);

    run = Cli("enable lwcli");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(run.Output, "LwCli Bold: enabled\n");
    EXPECT_EQ(Cli("disabled").Output, "");

    // A disabled style is uninstalled by name, its rule going with its file.
    ASSERT_EQ(Cli("disable LwCli").Status, 0);
    run = Cli("uninstall LwCli --style 'LwCli Bold'");
    EXPECT_EQ(run.Status, 0) << run.Output;
    EXPECT_EQ(run.Output, "LwCli Bold: uninstalled\n");
    EXPECT_FALSE(fs::exists(bold));
    EXPECT_EQ(Cli("disabled").Output,
              "LwCli\tRegular\t" + regular.string() + "\t" + OwnRules.string() + "\n");

    // Two command lines at once: both rules are kept.
    const fs::path one = Install("lwone.ttf", "LwOne", "Regular");
    const fs::path two = Install("lwtwo.ttf", "LwTwo", "Regular");
    const std::string cli = test::BuildBinFolder() + "/letterwell-cli";
    run = test::RunCommand(cli + " disable LwOne & " + cli + " disable LwTwo & wait");
    EXPECT_EQ(run.Output, run.Output.find("LwOne") == 0
                              ? "LwOne Regular: disabled\nLwTwo Regular: disabled\n"
                              : "LwTwo Regular: disabled\nLwOne Regular: disabled\n");
    const std::string listed = Cli("disabled").Output;
    EXPECT_NE(listed.find("LwOne\tRegular\t" + one.string()), std::string::npos) << listed;
    EXPECT_NE(listed.find("LwTwo\tRegular\t" + two.string()), std::string::npos) << listed;
}

} // namespace
} // namespace lw
