// letterwell-cli: the font manager's work from a terminal, over the same core.
#include "base/strings.h"
#include "base/version.h"
#include "cli/category_commands.h"
#include "cli/console_prompts.h"
#include "cli/disable_commands.h"
#include "cli/print_command.h"
#include "controls/folder_listing.h"
#include "fonts/disabled_fonts.h"
#include "fonts/font_details.h"
#include "fonts/font_json.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "fonts/type1_font_file.h"
#include "platform/linux/linux_platform.h"
#include "platform/services.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

int Usage(std::ostream& out = std::cerr) {
    out << "usage: letterwell-cli [--language N] COMMAND...\n"
           "       --language N: the program's texts in language N (0 Serbian, 1 Spanish,\n"
           "       2 English, the default)\n"
           "commands:\n"
           "       letterwell-cli families\n"
           "       letterwell-cli styles FAMILY\n"
           "       letterwell-cli info [--details] FILE...\n"
           "       letterwell-cli list FOLDER [--mask \"*.ttf; *.otf; *.pfm; *.ttc; *.pfb\"]\n"
           "       letterwell-cli install FILE...\n"
           "       letterwell-cli uninstall FAMILY [--style FULLNAME]... [--backup DIR] [--trash]\n"
           "       letterwell-cli disable FAMILY [--style FULLNAME]...\n"
           "       letterwell-cli enable FAMILY [--style FULLNAME]... [--other]\n"
           "       letterwell-cli disabled\n"
           "       letterwell-cli categories [--auto]\n"
           "       letterwell-cli category show NAME | --auto ID\n"
           "       letterwell-cli category add NAME FAMILY...\n"
           "       letterwell-cli category remove NAME FAMILY...\n"
           "       letterwell-cli category combine A|--all|--auto ID plus|minus|and B|--all|--auto "
           "ID\n"
           "         automatic category ids: monospace serif sans-serif script decorative\n"
           "         symbol variable italic weight:bold width:condensed script:Cyrl\n"
           "         license:ofl type:truetype|cff|type1 vendor:XXXX "
           "installed:user|system|temporary\n"
           "       letterwell-cli category import-collections [--replace] FILE\n"
           "       letterwell-cli print --pdf FILE [--landscape] [--range all|odd|even]\n"
           "                      [--columns N] [--size N] [--text TEXT]\n"
           "                      [--category NAME | --folder DIR | FAMILY...]\n"
           "       letterwell-cli string [--language N] ID...\n"
           "       letterwell-cli --version\n"
           "       letterwell-cli --help\n";
    return 2;
}

// The language the texts of the table come in: the one a leading
// --language N asks for (dropped from the arguments then), otherwise English.
// A copy of the program without the English bundle beside it speaks the
// built-in language rather than failing every command on the bundle.
bool TakeLanguageOption(int& argc, char** argv, int& language) {
    if (argc < 2 || std::string(argv[1]) != "--language") {
        language =
            lw::LanguageBundles().ReadBundle(lw::kEnglishBundleFile) ? lw::kEnglishLanguage : 0;
        return true;
    }
    if (argc < 3) {
        return false;
    }
    try {
        language = std::stoi(argv[2]);
    } catch (const std::exception&) {
        return false;
    }
    for (int i = 3; i < argc; ++i) {
        argv[i - 2] = argv[i];
    }
    argc -= 2;
    return true;
}

// The installed families, one a line, as the main window lists them.
int PrintFamilies() {
    for (const std::string& family : lw::FontManager->Families) {
        std::cout << family << "\n";
    }
    return 0;
}

// The installed family of that name, compared ignoring case; tells when none.
std::optional<std::string> InstalledFamily(const std::string& wanted) {
    const auto& families = lw::FontManager->Families;
    const auto found = std::find_if(families.begin(), families.end(), [&](const std::string& f) {
        return lw::Text().CompareIgnoreCase(f, wanted) == 0;
    });
    if (found == families.end()) {
        std::cerr << "letterwell-cli: no installed family is named \"" << wanted << "\"\n";
        return std::nullopt;
    }
    return *found;
}

// One line a style: style, full name, file, type, tab-separated.
int PrintStyles(const std::string& wanted) {
    lw::TFontManager& fonts = *lw::FontManager;
    const std::optional<std::string> found = InstalledFamily(wanted);
    if (!found) {
        return 1;
    }
    const std::string family = *found;
    fonts.LoadFontTypeNames();
    const std::string typeName = fonts.GetFontTypeName(fonts.GetFontType(family));
    std::vector<std::string> styles;
    std::vector<std::string> fullNames;
    fonts.GetFamilyStyles(family, styles, fullNames);
    // A font installed in several folders is one style to the user.
    std::vector<std::string> printed;
    for (size_t i = 0; i < styles.size() && i < fullNames.size(); ++i) {
        // A Type 1 style is its outline file; its metrics only go with it.
        const lw::TFontFiles files = fonts.GetFontFiles(fullNames[i], family, styles[i]);
        const std::string file = files.Outline.empty() ? files.File : files.Outline;
        const std::string line = styles[i] + "\t" + fullNames[i] + "\t" + file + "\t" + typeName;
        if (std::find(printed.begin(), printed.end(), line) == printed.end()) {
            std::cout << line << "\n";
            printed.push_back(line);
        }
    }
    return 0;
}

// A path as the shell means it: relative to the current folder, never to
// the font folder, where the readers look for a bare name.
std::string CommandLinePath(const std::string& argument) {
    if (!argument.empty() && argument.front() == '/') {
        return argument;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(argument, ec);
    return ec ? argument : absolute.string();
}

// One JSON object a line per file, in the order given; a file without a
// record gets its error on its line and the others are still read.
// One file's line: its record, or why it gives none. False for the latter.
bool AppendFileLine(std::string& out, const std::string& shown, const std::string& path,
                    bool details) {
    constexpr int kDamagedFont = 13014;
    bool read = false;
    try {
        // A collection is one file of several faces: a line each.
        const std::vector<std::unique_ptr<lw::TFontFile>> faces =
            lw::TFontManager::ReadFontFaces(path);
        read = !faces.empty();
        // The details come from the sfnt tables, which a Type 1 font has none of.
        std::unique_ptr<lw::IByteSource> source;
        if (details && !faces.empty() &&
            dynamic_cast<const lw::TOpenTypeFontFile*>(faces[0].get())) {
            source = lw::FileShell().OpenFontFile(path);
        }
        for (size_t i = 0; i < faces.size(); ++i) {
            if (source) {
                const lw::TFontDetails face = lw::ReadFontDetails(*source, faces[i]->FaceIndex);
                lw::AppendFontFileJson(out, *faces[i], &face);
            } else {
                lw::AppendFontFileJson(out, *faces[i]);
            }
            read = read && !faces[i]->NotAFont;
            if (i + 1 < faces.size()) {
                out += '\n';
            }
        }
        if (faces.empty()) {
            out += lw::FontFileErrorJson(shown, lw::LoadStr(kDamagedFont));
        }
    } catch (const std::exception& e) {
        out += lw::FontFileErrorJson(shown, e.what());
    }
    out += '\n';
    return read;
}

// The lines of many files, written in large blocks, not a system call each.
int PrintFileLines(const std::vector<std::pair<std::string, std::string>>& files,
                   bool details = false) {
    constexpr size_t kFlushAt = 256 * 1024;
    std::string out;
    int status = 0;
    for (const auto& [shown, path] : files) {
        if (!AppendFileLine(out, shown, path, details)) {
            status = 1;
        }
        if (out.size() >= kFlushAt) {
            std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
    }
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    return status;
}

int PrintFontInfo(int argc, char** argv) {
    const bool details = std::string(argv[2]) == "--details";
    const int first = details ? 3 : 2;
    if (first >= argc) {
        return Usage();
    }
    std::vector<std::pair<std::string, std::string>> files;
    for (int i = first; i < argc; ++i) {
        files.emplace_back(argv[i], CommandLinePath(argv[i]));
    }
    return PrintFileLines(files, details);
}

// The not-installed page's list of a folder: its font files in the page's
// order, each file's record as info gives it.
int ListFolder(int argc, char** argv) {
    std::string masks = lw::kFontFileMasks;
    for (int i = 3; i < argc; ++i) {
        if (std::string(argv[i]) == "--mask" && i + 1 < argc) {
            masks = argv[++i];
        } else {
            return Usage();
        }
    }
    const std::string folder = lw::FolderWithSeparator(CommandLinePath(argv[2]));
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::cerr << "letterwell-cli: no folder " << folder << "\n";
        return 1;
    }
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : lw::ListFolderFiles(folder, lw::ParseMasks(masks))) {
        files.emplace_back(folder + name, folder + name);
    }
    return PrintFileLines(files);
}

// Prints strings of the program's texts: handy for translators and scripts.
int PrintStrings(int argc, char** argv) {
    int i = 2;
    if (i + 1 < argc && std::string(argv[i]) == "--language") {
        lw::SetLanguage(std::stoi(argv[i + 1]));
        i += 2;
    }
    if (i >= argc) {
        return Usage();
    }
    for (; i < argc; ++i) {
        std::cout << lw::LoadStr(std::stoi(argv[i])) << "\n";
    }
    return 0;
}

// Installs each file for good, as the program does; one line of result each.
int InstallFiles(int argc, char** argv) {
    lw::TFontManager& fonts = *lw::FontManager;
    bool failed = false;
    bool installed = false;
    for (int i = 2; i < argc; ++i) {
        const std::string file = argv[i];
        std::string result;
        try {
            std::unique_ptr<lw::TFontFile> font =
                lw::TFontManager::ReadFontFile(CommandLinePath(file));
            if (!font) {
                result = lw::LoadStr(13014);
            } else {
                const uint8_t code = fonts.InstallFontFile(*font);
                result =
                    code == lw::TFontManager::irInstalled ? "installed" : fonts.GetErrorText(code);
                installed = installed || code == lw::TFontManager::irInstalled;
            }
        } catch (const std::exception& e) {
            result = e.what();
        }
        failed = failed || result != "installed";
        std::cout << file << ": " << result << "\n";
    }
    if (installed) {
        fonts.BroadcastFontChange();
    }
    return failed ? 1 : 0;
}

// Removes every style of a family, or the named ones, optionally keeping a
// copy first; a style whose copy fails stays installed.
int UninstallServedFamily(int argc, char** argv) {
    lw::TFontManager& fonts = *lw::FontManager;
    const std::optional<std::string> family = InstalledFamily(argv[2]);
    if (!family) {
        return 1;
    }
    std::vector<std::string> styles;
    std::string backup;
    bool toTrash = false;
    for (int i = 3; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--style" && i + 1 < argc) {
            styles.push_back(argv[++i]);
        } else if (arg == "--backup" && i + 1 < argc) {
            backup = CommandLinePath(argv[++i]);
        } else if (arg == "--trash") {
            toTrash = true;
        } else {
            return Usage();
        }
    }
    if (styles.empty()) {
        fonts.GetFamilyFullNames(*family, styles);
        std::sort(styles.begin(), styles.end());
        styles.erase(std::unique(styles.begin(), styles.end()), styles.end());
    }
    bool failed = false;
    for (const std::string& style : styles) {
        const bool removed = (backup.empty() || fonts.BackupFontFiles(style, *family, backup)) &&
                             fonts.UninstallFont(style, *family, false, toTrash);
        std::cout << style << ": " << (removed ? "uninstalled" : "not uninstalled") << "\n";
        failed = failed || !removed;
    }
    // A rule left for a removed file would hide a font installed later
    // under its name; the next write drops it.
    lw::UserDisabledFonts().Change({}, {});
    fonts.BroadcastFontChange();
    return failed ? 1 : 0;
}

// A disabled family is served to its uninstall alone; what stays installed
// stays disabled.
int UninstallFamily(int argc, char** argv) {
    lw::TDisabledFonts store = lw::UserDisabledFonts();
    int status = 1;
    lw::RemoveWithRulesLifted(store, {argv[2]},
                              [&] { status = UninstallServedFamily(argc, argv); });
    return status;
}

} // namespace

int main(int argc, char** argv) {
    // Output is written in one stream, not line by line to the C library's.
    std::ios::sync_with_stdio(false);
    lw::TConsolePrompts prompts;
    lw::TLinuxPlatform platform(prompts);
    int language = lw::kEnglishLanguage;
    if (!TakeLanguageOption(argc, argv, language) || argc < 2) {
        return Usage();
    }
    const std::string command = argv[1];
    try {
        if (command == "--version") {
            std::cout << "letterwell-cli " << lw::VersionNumber(lw::ProgramVersion()) << "\n";
            return 0;
        }
        if (command == "--help") {
            Usage(std::cout);
            return 0;
        }
        lw::SetLanguage(language);
        if (command == "string") {
            return PrintStrings(argc, argv);
        }
        if (command == "families" && argc == 2) {
            lw::FontManager = std::make_unique<lw::TFontManager>();
            return PrintFamilies();
        }
        if (command == "info" && argc >= 3) {
            lw::FontManager = std::make_unique<lw::TFontManager>();
            return PrintFontInfo(argc, argv);
        }
        if (command == "list" && argc >= 3) {
            lw::FontManager = std::make_unique<lw::TFontManager>();
            return ListFolder(argc, argv);
        }
        if (command == "install" && argc >= 3) {
            lw::FontManager = std::make_unique<lw::TFontManager>();
            return InstallFiles(argc, argv);
        }
        if (command == "uninstall" && argc >= 3) {
            lw::FontManager = std::make_unique<lw::TFontManager>();
            return UninstallFamily(argc, argv);
        }
        if (command == "disable" || command == "enable" || command == "disabled") {
            const int status = lw::RunDisableCommand(argc, argv);
            return status == 2 ? Usage() : status;
        }
        if (command == "categories" || command == "category") {
            const int status = lw::RunCategoryCommand(argc, argv, prompts);
            return status == 2 ? Usage() : status;
        }
        if (command == "print") {
            const int status = lw::RunPrintCommand(argc, argv, prompts);
            return status == 2 ? Usage() : status;
        }
        if (command == "styles" && argc == 3) {
            lw::FontManager = std::make_unique<lw::TFontManager>();
            return PrintStyles(argv[2]);
        }
    } catch (const std::exception& e) {
        std::cerr << "letterwell-cli: " << e.what() << "\n";
        return 1;
    }
    return Usage();
}
