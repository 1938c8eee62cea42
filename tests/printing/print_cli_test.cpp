// letterwell-cli print against the program's own job: the same stored
// settings, the same fonts, the same pages and the same words in the same
// places; and what it says, and leaves alone, when it cannot print.
#include "base/options.h"
#include "base/registry.h"
#include "base/settings.h"
#include "base/strings.h"
#include "categories/auto_categories.h"
#include "command_run.h"
#include "font_builder.h"
#include "platform/services.h"
#include "print_test_support.h"
#include "printing/current_printer.h"
#include "printing/print_dialog.h"
#include "printing/print_job.h"
#include "small_disk.h"
#include "test_env.h"
#include "test_home.h"

#include <QLabel>
#include <QPageLayout>
#include <QPrinter>

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <limits>
#include <random>
#include <thread>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>

namespace lw {
namespace {

namespace fs = std::filesystem;

class PrintCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        SetLanguage(0);
        Root = test::TestHome().Root() / "print-cli";
        fs::remove_all(Root);
        // A copy of its own, so its categories live beside it alone.
        fs::create_directories(Root / "program");
        fs::copy_file(test::BuildBinFolder() + "/letterwell-cli",
                      Root / "program" / "letterwell-cli");
        StoreSettings(1.5, 3, 48, "Sphinx");
    }
    void TearDown() override {
        for (const fs::path& file : Loaded) {
            FontSystem().RemoveFontResource(TFontFiles(file.string()));
        }
        fs::remove_all(Root);
        fs::remove(test::TestHome().SettingsFile());
    }

    // What the options dialog and the sheets would have stored.
    static void StoreSettings(double topMargin, int columns, int fontSize,
                              const std::string& sampleText) {
        TRegistry r(RegistryHive());
        ASSERT_TRUE(r.OpenKey(kProgramKey, true));
        r.WriteFloat(reg::PrintTopMargin, topMargin);
        r.WriteFloat(reg::PrintBottomMargin, 1.0);
        r.WriteFloat(reg::PrintLeftMargin, 2.0);
        r.WriteFloat(reg::PrintRightMargin, 1.0);
        r.WriteBool(reg::UseCentimeters, true);
        r.WriteInteger(reg::ListColumns, columns);
        r.WriteInteger(reg::ListFontSize, fontSize);
        r.WriteString(reg::ListSampleText, sampleText);
        r.WriteInteger(reg::Language, 0);
        r.CloseKey();
    }

    // The copied program, its standard error after its standard output; in
    // the built-in language, as the program's own job here.
    test::TCommandRun Cli(const std::string& arguments) {
        return test::RunCommand("'" + (Root / "program" / "letterwell-cli").string() +
                                "' --language 0 " + arguments + " 2>&1");
    }

    // The program's job with the stored settings, into a PDF.
    TPrintLayout ProgramPrints(const TPrintSource& source, QPageLayout::Orientation orientation,
                               const fs::path& pdf) {
        TOptions stored;
        EXPECT_TRUE(LoadStoredOptions(stored));
        stored.Print.JobText = stored.ListSampleText;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
        printer.setFullPage(false);
        printer.setPageOrientation(orientation);
        std::string error;
        EXPECT_EQ(PrintFontListOn(printer, stored.Print, source, {}, error), TPrintResult::Done)
            << error;
        return PrinterLayout(printer, stored.Print, source);
    }

    static void ExpectSameDocument(const fs::path& cli, const fs::path& program) {
        EXPECT_EQ(test::PdfPages(cli), test::PdfPages(program));
        const std::vector<test::TPdfWord> cliWords = test::PdfWords(cli);
        const std::vector<test::TPdfWord> programWords = test::PdfWords(program);
        ASSERT_EQ(cliWords.size(), programWords.size());
        ASSERT_FALSE(cliWords.empty());
        for (size_t i = 0; i < cliWords.size(); ++i) {
            EXPECT_EQ(cliWords[i].Text, programWords[i].Text);
            EXPECT_EQ(cliWords[i].Page, programWords[i].Page) << cliWords[i].Text;
            EXPECT_LT(std::fabs(cliWords[i].X - programWords[i].X), 0.5) << cliWords[i].Text;
            EXPECT_LT(std::fabs(cliWords[i].Y - programWords[i].Y), 0.5) << cliWords[i].Text;
        }
    }

    // The PDF that was there, and what a run leaves beside it.
    static test::TBytes Old() { return {'o', 'l', 'd', '\n'}; }
    static bool IsWholePdf(const fs::path& file) {
        const std::string text = test::ReadText(file);
        return text.rfind("%PDF-", 0) == 0 &&
               text.find("%%EOF", text.size() - 8) != std::string::npos;
    }
    test::TCommandRun PrintTo(const fs::path& pdf) {
        return Cli("print --pdf '" + pdf.string() + "' 'DejaVu Sans'");
    }

    fs::path Root;
    std::vector<fs::path> Loaded;
};

TEST_F(PrintCliTest, FortyFamiliesOfAFolderPrintAsTheProgramPrintsAndAsTheDialogEstimates) {
    // Forty fonts named "Lwprint01"..., one file each, loaded in this process
    // too so the program's job draws the same faces.
    const fs::path folder = Root / "fonts";
    TPrintSource source = test::Families(40, 3, 48, "Lwprint");
    for (const std::string& family : source.Items) {
        const fs::path file = folder / (family + ".ttf");
        test::WriteFile(file, test::NamedTrueType(family));
        EXPECT_EQ(FontSystem().AddFontResource(TFontFiles(file.string())), 1) << family;
        Loaded.push_back(file);
        source.Faces.push_back({file.string(), 0});
    }
    // Not a font: told and left out, the rest still printed.
    test::WriteFile(folder / "broken.ttf", test::TBytes(100, 0x41));
    const test::TCommandRun run =
        Cli("print --pdf '" + (Root / "cli.pdf").string() + "' --folder '" + folder.string() + "'");
    ASSERT_TRUE(test::Says(run, 0, "/broken.ttf: "));

    const TPrintLayout layout = ProgramPrints(source, QPageLayout::Portrait, Root / "program.pdf");
    EXPECT_GT(layout.Pages, 1) << "rows a page " << layout.RowsPerPage;
    EXPECT_TRUE(test::Says(run, 0, ": 40 fonts, " + std::to_string(layout.Pages) + " pages"));
    EXPECT_EQ(test::PdfPages(Root / "cli.pdf"), layout.Pages);
    ExpectSameDocument(Root / "cli.pdf", Root / "program.pdf");

    // The estimate a person sees before printing the same list.
    Options = TOptions{};
    ASSERT_TRUE(LoadStoredOptions(Options));
    CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
    CurrentPrinter().setPageOrientation(QPageLayout::Portrait);
    TfPrint dialog(source);
    dialog.show();
    EXPECT_TRUE(dialog.lblNumberOfPages->text().endsWith(
        QStringLiteral(" %1").arg(test::PdfPages(Root / "cli.pdf"))))
        << dialog.lblNumberOfPages->text().toStdString();
}

TEST_F(PrintCliTest, CategoriesAndNamedFamiliesWithTheCommandLinesOwnChoices) {
    const test::TCommandRun made = Cli("category add Pair 'DejaVu Serif' 'DejaVu Sans'");
    ASSERT_EQ(made.Status, 0) << made.Output;
    const test::TCommandRun run = Cli("print --pdf '" + (Root / "pair.pdf").string() +
                                      "' --category pair --landscape --columns 1 --text Quick");
    ASSERT_EQ(run.Status, 0) << run.Output;
    StoreSettings(1.5, 1, 48, "Quick");
    TPrintSource pair = test::Families(2, 1, 48);
    pair.Items = {"DejaVu Sans", "DejaVu Serif"};
    ProgramPrints(pair, QPageLayout::Landscape, Root / "program.pdf");
    ExpectSameDocument(Root / "pair.pdf", Root / "program.pdf");

    // Families by name keep the order given and take the installed spelling.
    ASSERT_EQ(
        Cli("print --pdf '" + (Root / "named.pdf").string() + "' 'dejavu serif' 'DejaVu Sans Mono'")
            .Status,
        0);
    const std::vector<test::TPdfWord> words = test::PdfWords(Root / "named.pdf");
    ASSERT_GE(words.size(), 2u);
    EXPECT_EQ(words[0].Text + " " + words[1].Text, "DejaVu Serif");

    // A face that lacks the text prints a sentence of its own script, named:
    // a folder's font as well as an installed one.
    test::TFactsFontTraits greek;
    greek.Codes = {{0x20, 0x20, 1}, {0x391, 0x3A1, 2}, {0x3A3, 0x3A9, 19}, {0x3B1, 0x3C9, 26}};
    greek.Advances.assign(52, 500);
    fs::create_directories(Root / "greek");
    test::WriteFile(Root / "greek" / "facts.ttf", test::FactsFont(greek));
    const QString greekName = QString::fromStdString(LocalScriptName("Grek")).toLower();
    // The copied program speaks its built-in language.
    std::vector<std::pair<std::string, std::string>> lacking = {
        {"--folder '" + (Root / "greek").string() + "'",
         "Facts (" + greekName.toStdString() + ")"}};
    const fs::path arabic = "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf";
    const fs::path served = test::TestHome().FixtureFonts() / "print-arabic.ttf";
    if (fs::exists(arabic)) {
        fs::copy_file(arabic, served, fs::copy_options::overwrite_existing);
        lacking.emplace_back("'Noto Sans Arabic'", "(arapsko)");
    }
    for (const auto& [fonts, named] : lacking) {
        const test::TCommandRun printed =
            Cli("print --pdf '" + (Root / "lacking.pdf").string() + "' --text Quick " + fonts);
        EXPECT_EQ(printed.Status, 0) << printed.Output;
        std::string text;
        for (const test::TPdfWord& word : test::PdfWords(Root / "lacking.pdf")) {
            text += word.Text + " ";
        }
        EXPECT_NE(text.find(named), std::string::npos) << fonts << ": " << text;
        EXPECT_EQ(text.find("Quick"), std::string::npos) << fonts << ": " << text;
    }
    fs::remove(served);
}

TEST_F(PrintCliTest, WhatCannotBePrintedIsToldNoDocumentIsLostAndOnlyRegularFilesAreReplaced) {
    const fs::path pdf = Root / "kept.pdf";
    test::WriteFile(pdf, Old());
    const auto keptUntouched = [&] {
        EXPECT_EQ(test::ReadFile(pdf), Old());
        for (const std::string& name : test::FolderEntries(Root)) {
            EXPECT_EQ(name.find(".letterwell"), std::string::npos) << name;
        }
    };
    const std::string to = "print --pdf '" + pdf.string() + "' ";

    // An empty folder has nothing to print.
    fs::create_directories(Root / "empty");
    const std::pair<std::string, std::string> refused[] = {
        {"'No Such Family' 'DejaVu Sans'", "no installed family is named \"No Such Family\""},
        {"--category Missing", "no category is named \"Missing\""},
        {"--folder '" + (Root / "empty").string() + "'", "no fonts to print"}};
    for (const auto& [arguments, told] : refused) {
        EXPECT_TRUE(test::Says(Cli(to + arguments), 1, told)) << arguments;
        keptUntouched();
    }

    // Margins that leave no room for a row print nothing at all, nor do
    // stored ones that are no number or no int can hold.
    for (const double margin : {40.0, 1e300, 99999999.0, std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN()}) {
        StoreSettings(margin, 3, 20, "");
        EXPECT_TRUE(test::Says(PrintTo(pdf), 1, LoadStr(30108))) << margin;
        keptUntouched();
    }
    StoreSettings(1.5, 3, 20, "");

    EXPECT_TRUE(test::Says(PrintTo(Root / "none" / "x.pdf"), 1,
                           FmtLoadStr(30109, (Root / "none" / "x.pdf").string())));

    for (const char* wrong :
         {"'DejaVu Sans'", "--pdf", "--pdf x.pdf --columns 0", "--pdf x.pdf --range some",
          "--pdf x.pdf --folder a 'DejaVu Sans'", "--pdf x.pdf --size abc"}) {
        EXPECT_TRUE(test::Says(Cli(std::string("print ") + wrong), 2, "usage:")) << wrong;
    }

    // A pipe and a device are refused and stay what they are.
    const fs::path fifo = Root / "pipe.pdf";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    test::TCommandRun run = PrintTo(fifo);
    EXPECT_TRUE(test::Says(run, 1, FmtLoadStr(30110, fifo.string())));
    EXPECT_TRUE(fs::is_fifo(fifo));
    const fs::path device = Root / "null.pdf";
    if (::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
        run = PrintTo(device);
        EXPECT_TRUE(test::Says(run, 1, FmtLoadStr(30110, device.string())));
        EXPECT_TRUE(fs::is_character_file(device));
        // Through a link too.
        fs::create_symlink(device, Root / "to-null.pdf");
        EXPECT_EQ(PrintTo(Root / "to-null.pdf").Status, 1);
        EXPECT_TRUE(fs::is_character_file(device));
    } else {
        std::cout << "no device made here (" << std::strerror(errno) << "); the pipe stands in\n";
    }

    // A file replaced keeps its mode, whatever the umask; its name may be
    // any bytes.
    const fs::path odd = Root / "odd *?[\n\xff.pdf";
    test::WriteFile(odd, Old());
    fs::permissions(odd, fs::perms::owner_read | fs::perms::owner_write);
    run = PrintTo(odd);
    ASSERT_EQ(run.Status, 0) << run.Output;
    EXPECT_TRUE(IsWholePdf(odd));
    EXPECT_EQ(fs::status(odd).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // A link is written through: the link stays, the file it names is the PDF.
    fs::create_directories(Root / "real");
    const fs::path real = Root / "real" / "book.pdf";
    test::WriteFile(real, Old());
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/book.pdf", Root / "link.pdf");
    fs::create_symlink("real/made.pdf", Root / "dangling.pdf");
    ASSERT_EQ(PrintTo(Root / "link.pdf").Status, 0);
    ASSERT_EQ(PrintTo(Root / "dangling.pdf").Status, 0);
    EXPECT_TRUE(fs::is_symlink(Root / "link.pdf"));
    EXPECT_TRUE(fs::is_symlink(Root / "dangling.pdf"));
    EXPECT_TRUE(IsWholePdf(real));
    EXPECT_TRUE(IsWholePdf(Root / "real" / "made.pdf"));
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(test::FolderEntries(Root / "real"),
              (std::vector<std::string>{"book.pdf", "made.pdf"}));

    // A full disk: told, and the PDF there stays whole.
    test::TSmallDisk disk(Root / "small", "size=64k");
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Reason();
    }
    const fs::path full = Root / "small" / "book.pdf";
    test::WriteFile(full, Old());
    disk.Fill();
    run = PrintTo(full);
    EXPECT_TRUE(test::Says(run, 1, FmtLoadStr(30109, full.string()) + " " + std::strerror(ENOSPC)));
    EXPECT_EQ(test::ReadFile(full), Old());
    EXPECT_EQ(disk.Entries(), std::vector<std::string>{"book.pdf"});
}

TEST_F(PrintCliTest, KilledPrintsLeaveTheOldPdfOrANewOneAndNothingBeside) {
    const fs::path pdf = Root / "killed.pdf";
    test::WriteFile(pdf, Old());
    // What an earlier run killed while the hidden file was named left.
    test::WriteFile(Root / ".letterwell-999999999.1-0123456789abcdef", Old());
    const std::string cli = (Root / "program" / "letterwell-cli").string();
    std::mt19937 random(5);
    const int endings[] = {SIGKILL, SIGTERM, SIGINT};
    for (int round = 0; round < 9; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, 1);
            ::dup2(null, 2);
            ::execl(cli.c_str(), cli.c_str(), "print", "--pdf", pdf.c_str(), "DejaVu Sans",
                    "DejaVu Serif", static_cast<char*>(nullptr));
            ::_exit(127);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(random() % 1500));
        ::kill(child, endings[round % 3]);
        ::waitpid(child, nullptr, 0);
        const bool old = test::ReadFile(pdf) == Old();
        EXPECT_TRUE(old || IsWholePdf(pdf)) << "round " << round;
        for (const std::string& name : test::FolderEntries(Root)) {
            EXPECT_TRUE(name == "killed.pdf" || name == "program" ||
                        name.rfind(".letterwell-", 0) == 0)
                << name;
        }
    }
    ASSERT_EQ(PrintTo(pdf).Status, 0);
    EXPECT_TRUE(IsWholePdf(pdf));
    EXPECT_EQ(test::FolderEntries(Root), (std::vector<std::string>{"killed.pdf", "program"}));
}

} // namespace
} // namespace lw
