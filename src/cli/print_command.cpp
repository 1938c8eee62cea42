#include "cli/print_command.h"

#include "app/qt_app_fonts.h"
#include "base/settings.h"
#include "base/strings.h"
#include "categories/category_names.h"
#include "categories/category_store.h"
#include "cli/console_prompts.h"
#include "cli/installed_spellings.h"
#include "controls/folder_listing.h"
#include "fonts/font_manager.h"
#include "platform/linux/linux_platform.h"
#include "platform/linux/replace_file.h"
#include "platform/services.h"
#include "printing/print_job.h"

#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lw {

namespace {

constexpr int kUsage = 2;
constexpr int kDamagedFont = 13014;
constexpr int kCannotPrint = 30109;
constexpr int kNotARegularFile = 30110;
constexpr int kSettingsUnreadable = 25;
const char* const kFolderMasks = kFontFileMasks;

// What the command line asks for; anything not given comes from the stored
// settings, as the sheets would print it.
struct TPrintRequest {
    std::string Pdf;
    bool Landscape = false;
    int Range = 0;
    std::optional<int> Columns;
    std::optional<int> FontSize;
    std::optional<std::string> Text;
    std::optional<std::string> Category;
    std::optional<std::string> Folder;
    std::vector<std::string> Families;
};

std::string AbsolutePath(const std::string& argument) {
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(argument, ec);
    return ec ? argument : absolute.string();
}

// A whole number from low to high, or nothing.
std::optional<int> NumberIn(const std::string& text, int low, int high) {
    try {
        size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= low && value <= high) {
            return value;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

bool ParseRequest(const std::vector<std::string>& args, TPrintRequest& request) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--pdf" && hasValue) {
            request.Pdf = AbsolutePath(args[++i]);
        } else if (arg == "--landscape") {
            request.Landscape = true;
        } else if (arg == "--range" && hasValue) {
            const std::string range = args[++i];
            if (range != "all" && range != "odd" && range != "even") {
                return false;
            }
            request.Range = range == "all" ? 0 : range == "odd" ? 1 : 2;
        } else if ((arg == "--columns" || arg == "--size") && hasValue) {
            const std::optional<int> number =
                arg == "--columns" ? NumberIn(args[++i], 1, 100) : NumberIn(args[++i], 1, 1000);
            if (!number) {
                return false;
            }
            (arg == "--columns" ? request.Columns : request.FontSize) = number;
        } else if (arg == "--text" && hasValue) {
            request.Text = args[++i];
        } else if (arg == "--category" && hasValue) {
            request.Category = args[++i];
        } else if (arg == "--folder" && hasValue) {
            request.Folder = AbsolutePath(args[++i]);
        } else if (arg.rfind("--", 0) == 0) {
            return false;
        } else {
            request.Families.push_back(arg);
        }
    }
    const int sources = int(request.Category.has_value()) + int(request.Folder.has_value()) +
                        int(!request.Families.empty());
    return !request.Pdf.empty() && sources <= 1;
}

// The category's installed members, in its order; a member no longer
// installed is told and left out, as the sheet would not show it.
bool CategoryFamilies(const std::string& wanted, TConsolePrompts& prompts,
                      std::vector<std::string>& found) {
    TCategoryStore store({PortableProgramFolder(), ProgramDataFolder()});
    store.Start();
    if (prompts.Failures > 0) {
        return false;
    }
    const int position = store.PositionOf(wanted);
    if (position < 1) {
        std::cerr << "letterwell-cli: no category is named \"" << wanted << "\"\n";
        return false;
    }
    const std::string name = store.Categories()[static_cast<size_t>(position)];
    std::vector<std::string> members;
    if (!store.LoadCategory(name, members)) {
        return false;
    }
    const TNameSet installed(FontManager->Families);
    for (const std::string& member : members) {
        if (installed.Holds(member)) {
            found.push_back(member);
        } else {
            std::cerr << "letterwell-cli: \"" << member << "\" of " << name
                      << " is not installed and is left out\n";
        }
    }
    return true;
}

// The families of a folder's font files, each file loaded for this run so
// its face can be drawn; files that are no font, or do not load, are told
// and left out.
// The folder's fonts are given to this process alone: each family's face
// file goes with it, since the installed fonts do not hold it.
bool FolderFamilies(const std::string& wanted, TPrintSource& found) {
    const std::string folder = FolderWithSeparator(wanted);
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::cerr << "letterwell-cli: no folder " << folder << "\n";
        return false;
    }
    std::vector<std::pair<std::string, std::string>> families; // family, file
    for (const std::string& name : ListFolderFiles(folder, ParseMasks(kFolderMasks))) {
        std::string problem;
        try {
            const std::unique_ptr<TFontFile> font = TFontManager::ReadFontFile(folder + name);
            if (!font) {
                problem = LoadStr(kDamagedFont);
            } else if (FontSystem().AddFontResource(font->GetFiles(true)) == 0) {
                problem = FontSystem().LastErrorText();
            } else {
                families.emplace_back(font->FamilyName, folder + name);
            }
        } catch (const std::exception& e) {
            problem = e.what();
        }
        if (!problem.empty()) {
            std::cerr << "letterwell-cli: " << folder << name << ": " << problem << "\n";
        }
    }
    std::vector<std::string> names;
    for (const auto& [family, file] : families) {
        names.push_back(family);
    }
    Text().SortCollated(names);
    for (const std::string& family : names) {
        if (found.Items.empty() || NameKey(found.Items.back()) != NameKey(family)) {
            found.Items.push_back(family);
        }
    }
    // The first file of each family, in the folder's order, gives its sample.
    found.Faces.resize(found.Items.size());
    for (size_t item = 0; item < found.Items.size(); ++item) {
        for (const auto& [family, file] : families) {
            if (NameKey(family) == NameKey(found.Items[item])) {
                found.Faces[item] = {file, 0};
                break;
            }
        }
    }
    return true;
}

bool RequestedFamilies(const TPrintRequest& request, TConsolePrompts& prompts,
                       TPrintSource& found) {
    if (request.Category) {
        return CategoryFamilies(*request.Category, prompts, found.Items);
    }
    if (request.Folder) {
        return FolderFamilies(*request.Folder, found);
    }
    if (!request.Families.empty()) {
        bool missing = false;
        found.Items = InstalledSpellings(request.Families, missing);
        return !missing;
    }
    found.Items = FontManager->Families;
    return true;
}

// The job draws into a file in memory, whose bytes go to the PDF in one
// step only once complete and on disk: a failed, full or interrupted job
// never leaves half a document, nor spoils one that was there.
int PrintToPdf(const TPrintRequest& request, const TOptions& options, TPrintSource source) {
    source.Selected.assign(source.Items.size(), true);
    source.Columns = request.Columns.value_or(options.ListColumns);
    source.FontSize = request.FontSize.value_or(options.ListFontSize);
    TPrintOptions print = options.Print;
    print.Range = static_cast<uint8_t>(request.Range);
    print.JobText = request.Text.value_or(options.ListSampleText);

    const auto cannotPrint = [&](const std::string& why) {
        std::cerr << "letterwell-cli: " << FmtLoadStr(kCannotPrint, request.Pdf) << " " << why
                  << "\n";
        return 1;
    };
    const TDocumentTarget target = FindDocumentTarget(request.Pdf);
    if (target.Exists && !target.Regular) {
        return cannotPrint(FmtLoadStr(kNotARegularFile, target.Path));
    }
    RemoveStaleHiddenFiles(FolderOf(target.Path));
    const TMemoryFile document;
    if (document.Fd() < 0) {
        return cannotPrint(std::strerror(errno));
    }

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(document.Path().c_str()));
    printer.setFullPage(false);
    printer.setPageOrientation(request.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    const TPrintLayout layout = PrinterLayout(printer, print, source);
    std::string error;
    if (PrintFontListOn(printer, print, source, {}, error) != TPrintResult::Done) {
        std::cerr << "letterwell-cli: " << error << "\n";
        return 1;
    }
    if (!ReplaceDocument(target, [&](int fd) { return CopyAll(document.Fd(), fd); })) {
        return cannotPrint(std::strerror(errno));
    }
    std::cout << request.Pdf << ": " << layout.Count << " fonts, " << layout.PagesToPrint
              << " pages\n";
    return 0;
}

} // namespace

int RunPrintCommand(int argc, char** argv, TConsolePrompts& prompts) {
    TPrintRequest request;
    if (!ParseRequest(std::vector<std::string>(argv + 2, argv + argc), request)) {
        return kUsage;
    }
    TOptions options;
    // The stored settings carry the program's language; the command line's
    // stays in force.
    const int language = GetLanguage();
    const bool stored = LoadStoredOptions(options);
    SetLanguage(language);
    if (!stored) {
        std::cerr << "letterwell-cli: " << LoadStr(kSettingsUnreadable)
                  << " The defaults are used.\n";
    }
    // Printing needs Qt's fonts and painting, not a screen: a script may run
    // where there is none.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QGuiApplication application(qtArgc, qtArgv);
    FontManager = std::make_unique<TFontManager>();
    TQtApplicationFonts applicationFonts;
    TPrintSource source;
    if (!RequestedFamilies(request, prompts, source)) {
        return 1;
    }
    if (source.Items.empty()) {
        std::cerr << "letterwell-cli: there are no fonts to print\n";
        return 1;
    }
    return PrintToPdf(request, options, std::move(source));
}

} // namespace lw
