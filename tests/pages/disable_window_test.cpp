// Disabling and enabling a family from the main window, against the real
// fontconfig of the temporary home.
#include "app/main_window.h"
#include "app/qt_app_fonts.h"
#include "base/options.h"
#include "base/strings.h"
#include "command_run.h"
#include "controls/status_panels.h"
#include "font_builder.h"
#include "fonts/disabled_fonts.h"
#include "fonts/font_manager.h"
#include "fonts/opentype_font_file.h"
#include "memory_hive.h"
#include "modal_window.h"
#include "pages/file_info.h"
#include "pages/installed_page.h"
#include "pages/simple_combo.h"
#include "platform/services.h"
#include "scripted_prompts.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

std::string FcList(const std::string& format) {
    return test::RunCommand("fc-list --format '" + format + "\\n'").Output;
}

class DisableWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        SetLanguage(0);
        for (const char* style : {"Regular", "Bold"}) {
            const fs::path file =
                fs::path(FontManager->FontsFolder) / (std::string("lwgrey-") + style + ".ttf");
            test::WriteFile(file, test::NamedTrueType("LwGrey", style));
            Files.push_back(file);
        }
        FontManager->Refresh();
        Window = std::make_unique<TfMain_letterwell>();
        Window->show();
        QApplication::setActiveWindow(Window.get());
    }
    void TearDown() override {
        Window.reset();
        FontSystem().SetProcessFontObserver(&test::ApplicationFonts());
        for (const fs::path& file : Files) {
            fs::remove(file);
        }
        fs::remove_all(test::TestHome().ConfigHome() / "fontconfig");
        FontManager->Refresh();
        // With no language stored, the window took the locale's.
        SetLanguage(0);
    }
    TInstalledPage& Page() { return *Window->Installed; }
    int IndexOf(const QString& family) {
        const QList<QListWidgetItem*> found =
            Page().cmbFonts->List()->findItems(family, Qt::MatchExactly);
        return found.isEmpty() ? -1 : Page().cmbFonts->List()->row(found[0]);
    }

    // Which files this process loads for itself, in place of Qt's follower.
    struct TLoads : IProcessFontObserver {
        void FontFileLoaded(const std::string& path) override { Loaded.push_back(path); }
        void FontFileReleased(const std::string& path) override { Released.push_back(path); }
        std::vector<std::string> Loaded;
        std::vector<std::string> Released;
    };

    test::TScopedMemoryHive Hive;
    std::vector<fs::path> Files;
    std::unique_ptr<TfMain_letterwell> Window;
    TLoads Loads;
};

TEST_F(DisableWindowTest,
       AFamilyOrAStyleDisabledByKeyStaysListedMarkedToldAsSuchAndComesBackFromThePopUp) {
    FontSystem().SetProcessFontObserver(&Loads);
    const int listed = IndexOf(QStringLiteral("LwGrey"));
    ASSERT_GE(listed, 0);
    ASSERT_NE(FcList("%{family[0]}").find("LwGrey"), std::string::npos);
    Page().SelectFamily(listed);
    Page().cmbFonts->Edit()->setFocus();
    QTest::keyClick(Page().cmbFonts->Edit(), Qt::Key_D, Qt::ControlModifier | Qt::ShiftModifier);

    EXPECT_EQ(FcList("%{family[0]}").find("LwGrey"), std::string::npos);
    const int greyed = IndexOf(QStringLiteral("LwGrey"));
    ASSERT_GE(greyed, 0);
    EXPECT_TRUE(Page().cmbFonts->ItemGreyed(greyed));
    // After every installed family, so the catalogue's indexes still hold.
    EXPECT_EQ(greyed, Page().cmbFonts->Count() - 1);
    EXPECT_EQ(Window->Panels->PanelText(0), QString::fromStdString(LoadStr(30303)));

    // The selection went with the family, so Enable undoes Disable.
    EXPECT_EQ(Page().cmbFonts->ItemIndex(), greyed);
    // Its sample is still drawn in it, from its file loaded for this process.
    ASSERT_EQ(Loads.Loaded.size(), 1u);
    EXPECT_TRUE(Loads.Loaded[0] == Files[0].string() || Loads.Loaded[0] == Files[1].string());
    EXPECT_EQ(QFontInfo(Page().mmSample->font()).family(), QStringLiteral("LwGrey"));
    const QString mark = QString::fromStdString(FmtLoadStr(30307, kDisabledConfName));
    ASSERT_EQ(Page().lstStyles->count(), 2);
    for (int row = 0; row < 2; ++row) {
        EXPECT_TRUE(Page().lstStyles->item(row)->text().contains(mark))
            << Page().lstStyles->item(row)->text().toStdString();
    }

    Window->Menu.mnEnableFont0->trigger();
    EXPECT_EQ(Loads.Released, Loads.Loaded);
    EXPECT_NE(FcList("%{family[0]}").find("LwGrey"), std::string::npos);
    const int back = IndexOf(QStringLiteral("LwGrey"));
    ASSERT_GE(back, 0);
    EXPECT_FALSE(Page().cmbFonts->ItemGreyed(back));
    EXPECT_EQ(Page().SelectedFamily(), QStringLiteral("LwGrey"));

    // A style chosen by a click is disabled alone, stays chosen and marked,
    // and the same command of the pop-up brings it back.
    ASSERT_EQ(Page().lstStyles->count(), 2);
    // Sorted: the bold style's line is the first.
    QTest::mouseClick(Page().lstStyles->viewport(), Qt::LeftButton, {},
                      Page().lstStyles->visualItemRect(Page().lstStyles->item(0)).center());
    EXPECT_EQ(Page().SelectedStyle(), QStringLiteral("LwGrey Bold"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D,
                    Qt::ControlModifier | Qt::ShiftModifier);

    const std::string files = FcList("%{file}");
    EXPECT_EQ(files.find(Files[1].string()), std::string::npos);
    EXPECT_NE(files.find(Files[0].string()), std::string::npos);
    EXPECT_FALSE(Page().cmbFonts->ItemGreyed(Page().cmbFonts->ItemIndex()));
    EXPECT_EQ(Page().SelectedFamily(), QStringLiteral("LwGrey"));
    // Only its line is marked, and it stays chosen for Enable.
    ASSERT_EQ(Page().lstStyles->count(), 2);
    ASSERT_EQ(Page().lstStyles->selectedItems().size(), 1);
    EXPECT_TRUE(Page().lstStyles->selectedItems()[0]->text().contains(mark));
    EXPECT_FALSE(Page().lstStyles->item(0)->text().contains(mark));
    EXPECT_EQ(Page().SelectedStyle(), QStringLiteral("LwGrey Bold"));
    EXPECT_EQ(Window->Menu.mnEnableFont0->text(), QString::fromStdString(LoadStr(30321)));
    // The not-installed page tells the disabled file from its installed
    // sibling and from a copy of it elsewhere, which is simply not installed.
    const TOpenTypeFontFile off(Files[1].string());
    EXPECT_FALSE(off.Installed);
    EXPECT_EQ(FileInfo(off, *FontManager).Installed, FmtLoadStr(30318, kDisabledConfName));
    EXPECT_TRUE(TOpenTypeFontFile(Files[0].string()).Installed);
    const fs::path copy = test::TestHome().Documents() / "lwgrey-copy.ttf";
    fs::copy_file(Files[1], copy, fs::copy_options::overwrite_existing);
    EXPECT_EQ(FileInfo(TOpenTypeFontFile(copy.string()), *FontManager).Installed, LoadStr(13004));
    fs::remove(copy);

    Window->Menu.mnEnableFont0->trigger();
    EXPECT_NE(FcList("%{file}").find(Files[1].string()), std::string::npos);
    EXPECT_TRUE(UserDisabledFonts().Disabled().empty());
    EXPECT_TRUE(fs::exists(Files[0]) && fs::exists(Files[1]));
    // Nothing was told, from the first disable on.
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

// A family disabled whole is uninstalled from the page as any other: its
// files leave the font folder and their rules the rule file.
TEST_F(DisableWindowTest, ADisabledFamilyIsUninstalledWithItsRules) {
    Page().SelectFamily(IndexOf(QStringLiteral("LwGrey")));
    Window->Menu.mnDisableFont->trigger();
    ASSERT_TRUE(Page().cmbFonts->ItemGreyed(Page().cmbFonts->ItemIndex()));
    Options.CopyBeforeDelete = false;
    Options.MoveToTrash = false;
    test::WhileModal(
        [](QWidget* dialog) {
            QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnDelete")),
                              Qt::LeftButton);
        },
        [this] { Window->Menu.mnDeleteFont->trigger(); });
    EXPECT_FALSE(fs::exists(Files[0]));
    EXPECT_FALSE(fs::exists(Files[1]));
    EXPECT_TRUE(UserDisabledFonts().Disabled().empty());
    EXPECT_EQ(IndexOf(QStringLiteral("LwGrey")), -1);
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
}

// Where Flatpak applications cannot read the folder, the user is offered the
// override; flatpak here is a script that notes what it is asked.
TEST_F(DisableWindowTest, DisablingOffersFlatpakApplicationsTheFolder) {
    const fs::path bin = test::TestHome().Root() / "flatpak-bin";
    test::WriteText(bin / "flatpak",
                    "#!/bin/sh\necho \"$*\" >> '" + (bin / "calls").string() + "'\n");
    fs::permissions(bin / "flatpak", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    ::setenv("PATH", (bin.string() + ":" + path).c_str(), 1);
    test::TestPrompts().Answers = {TMsgResult::Yes};
    Page().SelectFamily(IndexOf(QStringLiteral("LwGrey")));
    Window->Menu.mnDisableFont->trigger();
    ::setenv("PATH", path.c_str(), 1);

    ASSERT_TRUE(test::ToldOnce(LoadStr(30310)));
    const std::string seen = test::ReadText(bin / "calls");
    EXPECT_NE(seen.find("override --user --filesystem=xdg-config/fontconfig:ro\n"),
              std::string::npos)
        << seen;
    fs::remove_all(bin);

    // Enabling asks nothing more.
    Page().SelectFamily(IndexOf(QStringLiteral("LwGrey")));
    Window->Menu.mnEnableFont->trigger();
    EXPECT_EQ(test::TestPrompts().Messages.size(), 1u);
    EXPECT_NE(FcList("%{family[0]}").find("LwGrey"), std::string::npos);
}

} // namespace
} // namespace lw
