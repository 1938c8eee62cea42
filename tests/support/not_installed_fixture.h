#pragma once

// The main window on the not-installed page, over a catalogue the test
// describes and real files in a folder of the temporary home.
#include "app/main_window.h"
#include "controls/drive_view.h"
#include "controls/file_list.h"
#include "font_builder.h"
#include "main_window_fixture.h"
#include "pages/not_installed_page.h"
#include "test_home.h"

#include <QApplication>
#include <QLabel>
#include <QTabWidget>
#include <QTest>

#include <filesystem>

namespace lw::test {

namespace fs = std::filesystem;

class NotInstalledPageTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        static int run = 0;
        Folder = TestHome().Root() / ("page-" + std::to_string(++run));
        FontFolder = Folder / "installed";
        fs::create_directories(FontFolder);
        Fonts.Folder = FontFolder.string();
        FontManager->FontsFolder = FontFolder.string();
        FontManager->LoadFontTypeNames();
        Window = std::make_unique<TfMain_letterwell>();
        Window->show();
        QApplication::setActiveWindow(Window.get());
        Page().show();
    }
    void TearDown() override {
        Window.reset();
        fs::remove_all(Folder);
        MainWindowFixture::TearDown();
    }
    TNotInstalledPage& Page() { return *Window->NotInstalled; }
    void MakeFont(const std::string& file, const std::string& family, const std::string& style) {
        TNameTableBuilder names;
        names.Windows(1, family)
            .Windows(2, style)
            .Windows(4, family + " " + style)
            .Windows(5, "Version 1.5");
        WriteFile(Folder / file, MinimalTrueType(names));
    }
    // A Type 1 font of the family LwPair; without an outline name, its
    // metrics file alone.
    void MakePair(const std::string& metrics = "pair.pfm",
                  const std::string& outline = "pair.pfb") {
        TPfmBuilder pfm;
        pfm.FaceName = "LwPair";
        pfm.PostScriptName = "LwPair-Regular";
        WriteFile(Folder / metrics, pfm.Build());
        if (!outline.empty()) {
            WriteFile(Folder / outline, PfbFile("/FullName (LwPair) readonly def\n"));
        }
    }
    // The page shown by a click on its tab, the folder by a click in the tree.
    void OpenFolder() {
        QTabBar* tabs = Window->pcMain->tabBar();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        Page().DriveView->SetPath(Folder.string());
        TDriveView& tree = *Page().DriveView;
        QApplication::processEvents(); // the tree scrolls the folder into view
        QTest::mouseClick(tree.viewport(), Qt::LeftButton, {},
                          tree.visualItemRect(tree.currentItem()).center());
    }
    void ClickFile(const std::string& name) {
        TFileList& list = *Page().FileList;
        for (int row = 0; row < list.count(); ++row) {
            if (list.ItemName(row) == name) {
                list.scrollToItem(list.item(row));
                QApplication::processEvents();
                QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                                  list.visualItemRect(list.item(row)).center());
                return;
            }
        }
        FAIL() << name << " is not listed";
    }
    std::string Label(QLabel* label) { return label->text().toStdString(); }
    const std::vector<TScriptedPrompts::TMessage>& Messages() { return TestPrompts().Messages; }

    std::unique_ptr<TfMain_letterwell> Window;
    fs::path Folder;
    fs::path FontFolder;
};

} // namespace lw::test
