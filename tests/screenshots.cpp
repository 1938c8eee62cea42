// letterwell-screenshots FOLDER: renders every window on the offscreen
// platform into PNG files, so the program can be looked at without a display.
// Runs in a temporary home, so the real settings are never read or written.
#include "app/main_window.h"
#include "base/strings.h"
#include "categories/category_dialogs.h"
#include "categories/organize_dialog.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "controls/folder_listing.h"
#include "fonts/font_manager.h"
#include "pages/details_window.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "printing/current_printer.h"
#include "printing/print_dialog.h"
#include "sheets/view_all.h"
#include "sheets/view_all_not_installed.h"

#include "pages/simple_combo.h"
#include "platform/linux/linux_platform.h"
#include "scripted_prompts.h"
#include "test_home.h"
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>

#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QPrinter>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>

namespace {

bool Save(QWidget& window, const QString& folder, const QString& name) {
    window.show();
    // Lists draw new faces over several frames, the sheet's on a worker
    // thread; let them finish.
    for (int frame = 0; frame < 20; ++frame) {
        QApplication::processEvents();
        QThread::msleep(10);
    }
    const QString path = QDir(folder).filePath(name + QStringLiteral(".png"));
    if (!window.grab().save(path)) {
        std::cerr << "cannot write " << path.toStdString() << "\n";
        return false;
    }
    std::cout << path.toStdString() << "\n";
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: letterwell-screenshots FOLDER\n";
        return 2;
    }
    // Taken now: choosing a folder on the not-installed page makes it the
    // current folder.
    const std::string target = std::filesystem::absolute(argv[1]).string();
    lw::test::TestHome();
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(target.c_str());
    QDir().mkpath(folder);
    lw::test::TScriptedPrompts prompts;
    lw::TLinuxPlatform platform(prompts);
    lw::FontManager = std::make_unique<lw::TFontManager>();
    bool ok = true;
    {
        lw::TfMain_letterwell window;
        // Serbian first, whatever this machine's locale would choose.
        window.mnLanguageClick(window.Menu.mnEnglish);
        window.resize(lw::kMinimumWidth, lw::kMinimumHeight);
        window.Installed->cmbFonts->setFocus();
        window.ShowInstalledFamily(1);
        ok = Save(window, folder, QStringLiteral("main-installed")) && ok;
        window.pcMain->setCurrentIndex(1);
        // A folder of the machine's fonts, a file chosen and previewed.
        window.NotInstalled->DriveView->SetPath("/usr/share/fonts/truetype/dejavu");
        window.NotInstalled->FolderChosen();
        window.NotInstalled->FileList->setCurrentRow(
            std::min(2, window.NotInstalled->FileList->count() - 1));
        ok = Save(window, folder, QStringLiteral("main-not-installed")) && ok;
        window.pcMain->setCurrentIndex(0);
        window.mnLanguageClick(window.Menu.mnEspaniol);
        ok = Save(window, folder, QStringLiteral("main-installed-spanish")) && ok;
        window.Menu.mnFile->popup(window.mapToGlobal(QPoint(0, 0)));
        ok = Save(*window.Menu.mnFile, folder, QStringLiteral("menu-file-spanish")) && ok;
        window.Menu.mnFile->hide();
        window.mnLanguageClick(window.Menu.mnLanguageEnglish);
        ok = Save(window, folder, QStringLiteral("main-installed-english")) && ok;
        window.pcMain->setCurrentIndex(1);
        ok = Save(window, folder, QStringLiteral("main-not-installed-english")) && ok;
        window.pcMain->setCurrentIndex(0);
        window.Menu.mnFile->popup(window.mapToGlobal(QPoint(0, 0)));
        ok = Save(*window.Menu.mnFile, folder, QStringLiteral("menu-file-english")) && ok;
        window.Menu.mnFile->hide();
        {
            lw::TfViewAll englishSheet(&window);
            englishSheet.resize(1000, 700);
            ok = Save(englishSheet, folder, QStringLiteral("sheet-installed-english")) && ok;
            lw::CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
            lw::TfPrint englishPrint(englishSheet.PrintSource());
            ok = Save(englishPrint, folder, QStringLiteral("print-settings-english")) && ok;
        }
        // Each tab of the Details window, on a variable face (its axes show
        // on the waterfall), in English.
        if (lw::TfDetails* details =
                lw::OpenFileDetails("/usr/share/fonts/truetype/inter-vf/Inter.var.ttf", 0,
                                    QStringLiteral("Quick brown fox"), &window)) {
            const char* const tabs[] = {"details-properties", "details-licence",
                                        "details-characters", "details-waterfall"};
            for (int tab = 0; tab < 4; ++tab) {
                details->pcDetails->setCurrentIndex(tab);
                if (tab == 2) {
                    details->FindCharacter(QStringLiteral("U+0416"));
                }
                ok = Save(*details, folder, QString::fromLatin1(tabs[tab])) && ok;
            }
            details->close();
        }
        window.mnLanguageClick(window.Menu.mnEnglish);
        lw::Options.ListMaximized = false;
        lw::TfViewAll sheet(&window);
        sheet.resize(1000, 700);
        sheet.SetColumns(3);
        sheet.SetListFontSize(24);
        ok = Save(sheet, folder, QStringLiteral("sheet-installed")) && ok;
        sheet.mnLongSample->trigger();
        sheet.SelectAll();
        ok = Save(sheet, folder, QStringLiteral("sheet-installed-long-sample-selected")) && ok;
        lw::CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
        lw::TfPrint print(sheet.PrintSource());
        ok = Save(print, folder, QStringLiteral("print-settings")) && ok;
        // Categories kept in the temporary home, one of them chosen.
        const std::string data = lw::test::TestHome().DataHome().string();
        lw::TfOrganize organize({data + "/screenshots-program", data + "/Kestrova/Letterwell"});
        lw::TCategoryStore& categories = organize.Store();
        prompts.TextAnswers.push_back("Sans");
        categories.MoveToCategory({0, 2});
        categories.CommitCategory();
        if (QListWidgetItem* shown = organize.lstFonts->item(0)) {
            organize.lstFonts->setCurrentItem(shown);
            emit organize.lstFonts->itemClicked(shown);
        }
        ok = Save(organize, folder, QStringLiteral("categories-organize")) && ok;
        // The sheet showing a combination, chosen in the combine window.
        sheet.SetOrganizeWindow(&organize);
        prompts.TextAnswers.push_back("Wide");
        categories.SelectCategory(0);
        categories.MoveToCategory({1, 2});
        categories.CommitCategory();
        QTimer::singleShot(0, [] {
            auto* chosen = qobject_cast<lw::TfMixCategories*>(QApplication::activeModalWidget());
            if (chosen != nullptr) {
                chosen->lstCategory1->setCurrentRow(1);
                chosen->lstCategory2->setCurrentRow(2);
                chosen->btnViewMix->click();
            }
        });
        sheet.mnCombineCategoriesClick();
        ok = Save(sheet, folder, QStringLiteral("sheet-combination")) && ok;
        sheet.SetOrganizeWindow(nullptr);
        // The folder sheet, alone and with the installed families; then faces
        // of other scripts and a symbol font, each drawing what it can.
        const std::string fontsFolder = "/usr/share/fonts/truetype/dejavu/";
        const std::string scripts = lw::test::TestHome().Root().string() + "/own-scripts/";
        std::filesystem::create_directories(scripts);
        for (const char* font : {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                 "/usr/share/fonts/truetype/noto/NotoSansArabic-Regular.ttf",
                                 "/usr/share/fonts/truetype/noto/NotoSansDevanagari-Regular.ttf",
                                 "/usr/share/fonts/truetype/noto/NotoSansThai-Regular.ttf",
                                 "/usr/share/fonts/truetype/noto/NotoSansHebrew-Regular.ttf",
                                 "/usr/share/fonts/opentype/stix/STIXIntegralsD-Regular.otf"}) {
            std::error_code ec;
            std::filesystem::create_symlink(
                font, scripts + std::filesystem::path(font).filename().string(), ec);
        }
        const struct {
            std::string Folder;
            const char* Masks;
            bool Mixed;
            int Height;
            const char* Name;
        } folderSheets[] = {
            {fontsFolder, "*.ttf; *.otf; *.pfm", false, 700, "folder-sheet"},
            {fontsFolder, "*.ttf; *.otf; *.pfm", true, 700, "folder-sheet-mixed"},
            {scripts, "*.ttf; *.otf", false, 400, "folder-sheet-own-scripts"},
        };
        for (const auto& shown : folderSheets) {
            const std::vector<std::string> files =
                lw::ListFolderFiles(shown.Folder, lw::ParseMasks(shown.Masks));
            lw::TfViewAllNotInstalled folderSheet(&window, &sheet);
            folderSheet.resize(1000, shown.Height);
            // Taken once the load is over and the sheet is up.
            QTimer shoot;
            QObject::connect(&shoot, &QTimer::timeout, [&] {
                if (folderSheet.isVisible()) {
                    shoot.stop();
                    ok = Save(folderSheet, folder, QString::fromLatin1(shown.Name)) && ok;
                    folderSheet.close();
                }
            });
            shoot.start(0);
            if (shown.Mixed) {
                folderSheet.ShowFolderSheetMixed(shown.Folder, files, nullptr);
            } else {
                folderSheet.ShowFolderSheet(shown.Folder, files, nullptr);
            }
        }
        lw::TfMixCategories mix(categories.Categories());
        ok = Save(mix, folder, QStringLiteral("categories-combine")) && ok;
        lw::TfAdd add(categories.Categories());
        ok = Save(add, folder, QStringLiteral("categories-add")) && ok;
        lw::TfResults results("DejaVu Sans", {"Sans"});
        ok = Save(results, folder, QStringLiteral("categories-results")) && ok;
    }
    lw::FontManager.reset();
    lw::SetLanguage(0);
    return ok ? 0 : 1;
}
