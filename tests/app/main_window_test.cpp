#include "app/font_change_watcher.h"
#include "app/main_window.h"
#include "app/qt_app_fonts.h"
#include "app/qt_translations.h"
#include "base/strings.h"
#include "controls/localize.h"
#include "controls/status_panels.h"
#include "font_builder.h"
#include "fonts/font_change.h"
#include "fonts/font_manager.h"
#include "main_window_fixture.h"
#include "pages/installed_page.h"
#include "pages/sample_commands.h"
#include "pages/simple_combo.h"
#include "platform/services.h"
#include "sheets/view_all.h"
#include "test_env.h"
#include "test_home.h"

#include <QAction>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::TrueTypeFace;

using MainWindowTest = test::MainWindowFixture;

TEST_F(MainWindowTest, FirstRunOpensAtTheMinimumSizeCentredAndStoredBoundsSurviveARun) {
    {
        TfMain_letterwell window;
        EXPECT_EQ(window.windowTitle(), QStringLiteral("Kestrova Letterwell"));
        EXPECT_EQ(window.width(), kMinimumWidth);
        EXPECT_EQ(window.height(), kMinimumHeight);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        EXPECT_EQ(window.x(), (screen.width() - kMinimumWidth) / 2);
        EXPECT_EQ(window.y(), (screen.height() - kMinimumHeight) / 2);
    }
    EXPECT_EQ(Stored().at("Window width").Integer, static_cast<uint32_t>(kMinimumWidth));
    EXPECT_EQ(Stored().at("Maximized").Integer, 0u);
    EXPECT_TRUE(test::TestPrompts().Messages.empty());

    // A stored maximized state and normal bounds survive a run.
    Stored()["Window width"] = TRegValue::FromInteger(1000);
    Stored()["Window height"] = TRegValue::FromInteger(900);
    Stored()["Window left"] = TRegValue::FromInteger(12);
    Stored()["Window top"] = TRegValue::FromInteger(34);
    Stored()["Maximized"] = TRegValue::FromInteger(1);
    {
        TfMain_letterwell window;
        window.show();
        EXPECT_TRUE(window.isMaximized());
    }
    EXPECT_EQ(Stored().at("Maximized").Integer, 1u);
    EXPECT_EQ(Stored().at("Window width").Integer, 1000u);
    EXPECT_EQ(Stored().at("Window height").Integer, 900u);
    EXPECT_EQ(Stored().at("Window left").Integer, 12u);
    EXPECT_EQ(Stored().at("Window top").Integer, 34u);
}

// The program reads the families on another thread; the windows fill in
// when they come.
TEST_F(MainWindowTest, FamiliesReadOnAnotherThreadAreListedCountedAndFollowChangesNotAtShutDown) {
    FontManager = std::make_unique<TFontManager>(TFontManager::TFirstLook::Later);
    TfMain_letterwell window;
    TfViewAll sheet(&window);
    window.SetViewAllWindow(&sheet);
    window.show();
    TInstalledPage& page = *window.Installed;
    EXPECT_EQ(page.cmbFonts->Count(), 0);
    EXPECT_EQ(sheet.Items().size(), 0);
    EXPECT_EQ(page.lblNumber->text(), QStringLiteral("Citaju se instalirani fontovi..."));
    window.FontsRead(nullptr);
    ASSERT_EQ(page.cmbFonts->Count(), 3);
    EXPECT_EQ(page.cmbFonts->ItemIndex(), 0);
    EXPECT_EQ(page.lblNumber->text(), QStringLiteral("Broj instaliranih fontova je:  3"));
    EXPECT_EQ(window.Panels->PanelText(1), QStringLiteral("Arial"));
    EXPECT_EQ(sheet.Items(), (QStringList{"Arial", "Bodoni", "Courier"}));
    window.ShowInstalledFamily(1);
    EXPECT_EQ(page.lstStyles->count(), 1);
    EXPECT_EQ(page.lstStyles->item(0)->text(),
              QStringLiteral("Regular   |   Bodoni   --->   bodoni.ttf"));
    EXPECT_EQ(page.lblFontType->text(), QStringLiteral("Tip:  TrueType"));
    EXPECT_EQ(window.Panels->PanelText(1), QStringLiteral("Bodoni"));

    // Font changes refresh the list, but not during shut-down.
    page.cmbFonts->SetItemIndex(2);
    Fonts.AddFace("Didot", TrueTypeFace("Didot", "Regular", NTM_REGULAR));
    NotifyFontChange();
    EXPECT_EQ(page.cmbFonts->Count(), 4);
    EXPECT_EQ(page.cmbFonts->ItemIndex(), 2);
    EXPECT_EQ(page.lblNumber->text(), QStringLiteral("Broj instaliranih fontova je:  4"));

    Fonts.AddFace("Elzevir", TrueTypeFace("Elzevir", "Regular", NTM_REGULAR));
    window.close();
    ASSERT_TRUE(window.Terminating());
    NotifyFontChange();
    EXPECT_EQ(page.cmbFonts->Count(), 4);
}

TEST_F(MainWindowTest, PageChangeAndActivationEnableTheirCommandsAndThePageRemembersFocus) {
    TfMain_letterwell window;
    window.show();
    QApplication::setActiveWindow(&window);
    const TMainMenu& m = window.Menu;
    EXPECT_TRUE(m.mnUpdateList->isEnabled());
    EXPECT_FALSE(m.mnUpdateFileList->isEnabled());
    EXPECT_TRUE(window.Installed->btnBold->isEnabled());
    EXPECT_EQ(window.Samples->ActiveSample, window.Installed->mmSample);

    window.Installed->mmSample->setFocus();
    window.pcMain->setCurrentIndex(1);
    EXPECT_FALSE(m.mnUpdateList->isEnabled());
    EXPECT_FALSE(window.Installed->btnBold->isEnabled());
    EXPECT_FALSE(m.mnBold->isEnabled());
    EXPECT_TRUE(m.mnInstallFont->isEnabled());
    EXPECT_TRUE(m.mnUpdateFileList->isEnabled());
    EXPECT_TRUE(m.mnCopyFile->isEnabled());
    EXPECT_TRUE(m.mnViewFolder->isEnabled());
    EXPECT_NE(window.Samples->ActiveSample, window.Installed->mmSample);

    window.pcMain->setCurrentIndex(0);
    EXPECT_TRUE(m.mnUpdateList->isEnabled());
    EXPECT_FALSE(m.mnViewFolder->isEnabled());
    EXPECT_EQ(window.LastControlInstalled, window.Installed->mmSample);
    EXPECT_EQ(QApplication::focusWidget(), window.Installed->mmSample);
    EXPECT_EQ(window.Samples->ActiveSample, window.Installed->mmSample);

    // Interchange follows the sheet's visibility on activation.
    EXPECT_FALSE(window.Menu.mnInterchange->isEnabled());
    TfViewAll sheet(&window);
    sheet.show();
    window.SetViewAllWindow(&sheet);
    QEvent activation(QEvent::ActivationChange);
    QApplication::sendEvent(&window, &activation);
    EXPECT_TRUE(window.Menu.mnInterchange->isEnabled());
    sheet.hide();
    QApplication::sendEvent(&window, &activation);
    EXPECT_FALSE(window.Menu.mnInterchange->isEnabled());
}

// Qt's standard buttons and dialogs speak the interface's language where
// Qt has a translation for it (qt6-translations-l10n: Spanish, no Serbian).
TEST_F(MainWindowTest, LanguageMenuSwitchesEveryCaptionQtsOwnTextsAndBack) {
    TfMain_letterwell window;
    window.show();
    auto yesButton = [] {
        QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::Cancel);
        return box.button(QDialogButtonBox::Yes)->text();
    };
    auto colorTitle = [] { return QColorDialog().windowTitle(); };
    const QString fileSerbian = window.Menu.mnFile->title();
    const QString pageSerbian = window.pcMain->tabText(0);
    EXPECT_FALSE(window.Menu.mnEnglish->isChecked());
    EXPECT_FALSE(window.Menu.mnEspaniol->isChecked());
    window.Installed->mmSample->setPlainText(QStringLiteral("typed by the user"));

    window.Menu.mnEspaniol->trigger();
    EXPECT_EQ(GetLanguage(), 1);
    EXPECT_TRUE(window.Menu.mnEspaniol->isChecked());
    EXPECT_NE(window.Menu.mnFile->title(), fileSerbian);
    EXPECT_NE(window.pcMain->tabText(0), pageSerbian);
    EXPECT_EQ(window.Installed->mmSample->toPlainText().toStdString(), LoadStr(10025));
    EXPECT_EQ(window.Menu.mnEnglish->text(), QStringLiteral("&SRPSKI"));
    EXPECT_EQ(FontManager->GetFontTypeName(ftTrueType), LoadStr(30001));
    // The family's type line follows the language too.
    EXPECT_EQ(window.Installed->lblFontType->text().toStdString(),
              FmtLoadStr(10029, LoadStr(30001)));
    EXPECT_EQ(window.Installed->lblNumber->text().toStdString(), FmtLoadStr(10010, 3));
    EXPECT_EQ(window.Menu.mnBold->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    ASSERT_FALSE(QtTranslationName(1).isEmpty());
    ASSERT_TRUE(UseQtTranslations(1)) << "qt6-translations-l10n is installed by make deps";
    EXPECT_EQ(yesButton(), QStringLiteral("&S\u00ed"));
    const QString spanishColor = colorTitle();

    window.Menu.mnLanguageEnglish->trigger();
    EXPECT_EQ(GetLanguage(), kEnglishLanguage);
    EXPECT_TRUE(window.Menu.mnLanguageEnglish->isChecked());
    EXPECT_FALSE(window.Menu.mnEspaniol->isChecked());
    EXPECT_EQ(window.Menu.mnFile->title(), QStringLiteral("&File"));
    EXPECT_EQ(window.pcMain->tabText(0), QStringLiteral("Installed fonts"));
    EXPECT_EQ(window.Installed->mmSample->toPlainText().toStdString(), LoadStr(10025));
    EXPECT_TRUE(window.Installed->mmSample->toPlainText().startsWith(QStringLiteral("The quick")));
    EXPECT_EQ(window.Installed->lblNumber->text(), QStringLiteral("Installed fonts:  3"));
    EXPECT_EQ(window.Menu.mnLanguageEnglish->text(), QStringLiteral("&English"));
    EXPECT_EQ(HintOf(&window), QStringLiteral("Kestrova Letterwell - font manager  -  See more"));
    EXPECT_EQ(FontManager->GetFontTypeName(ftUnknown), "(Unknown font type)");
    EXPECT_EQ(yesButton(), QStringLiteral("&Yes"));
    EXPECT_NE(colorTitle(), spanishColor);

    window.Menu.mnEnglish->trigger();
    EXPECT_EQ(GetLanguage(), 0);
    EXPECT_TRUE(window.Menu.mnEnglish->isChecked());
    EXPECT_FALSE(window.Menu.mnEspaniol->isChecked());
    EXPECT_FALSE(window.Menu.mnLanguageEnglish->isChecked());
    EXPECT_EQ(window.Menu.mnFile->title(), fileSerbian);
    EXPECT_EQ(window.pcMain->tabText(0), pageSerbian);
    EXPECT_EQ(QtTranslationName(0), QStringLiteral("qtbase_sr"));
    EXPECT_TRUE(QtTranslationName(kEnglishLanguage).isEmpty());
    EXPECT_TRUE(QtTranslationName(7).isEmpty());
}

TEST_F(MainWindowTest, HintsReachPanelZeroExceptWhileLoadingAndItTakesElevenFifteenths) {
    TfMain_letterwell window;
    window.show();
    QStatusTipEvent tip(QStringLiteral("long part of a hint"));
    QApplication::sendEvent(&window, &tip);
    EXPECT_EQ(window.Panels->PanelText(0), QStringLiteral("long part of a hint"));
    EXPECT_EQ(window.Menu.mnPrint->statusTip().toStdString(),
              LoadStr(10510).substr(LoadStr(10510).find('|') + 1));

    window.StartLoading();
    ASSERT_NE(window.LoadProgress, nullptr);
    EXPECT_EQ(window.LoadProgress->geometry(), window.Panels->PanelRect(1));
    QStatusTipEvent ignored(QStringLiteral("not shown"));
    QApplication::sendEvent(&window, &ignored);
    EXPECT_EQ(window.Panels->PanelText(0), QStringLiteral("long part of a hint"));
    window.StopLoading();
    EXPECT_EQ(window.LoadProgress, nullptr);

    EXPECT_EQ(TStatusPanels::Panel0Width(150), 110);
    EXPECT_EQ(TStatusPanels::Panel0Width(925), 678); // 678.33
    EXPECT_EQ(TStatusPanels::Panel0Width(45), 33);
    EXPECT_EQ(TStatusPanels::Panel0Width(15 * 3 + 15 / 2 + 1), 39); // 38.86
    TStatusPanels panels;
    panels.resize(300, 20);
    EXPECT_EQ(panels.PanelRect(0).width() + panels.PanelRect(1).width(), 300);
    EXPECT_EQ(panels.PanelRect(1).left(), 220);
}

// The real font system of the temporary home, whose user font folder does
// not exist when the watch starts.
TEST(FontChangeWatcher, AUserFontFolderMadeAfterStartIsWatchedFromThen) {
    const fs::path fonts = FontManager->FontsFolder;
    const fs::path data = fonts.parent_path();
    fs::remove_all(data);
    TFontChangeWatcher watcher;
    QSignalSpy changed(&watcher, &TFontChangeWatcher::FontsChanged);
    watcher.WatchFontFolders();
    // Unrelated work in the folders above it is no font change.
    fs::create_directories(data);
    test::WriteFile(data / "notes.txt", {'n'});
    QTest::qWait(800);
    EXPECT_EQ(changed.count(), 0);
    fs::create_directories(fonts);
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 5000);
    test::WriteFile(fonts / "new.ttf", {'x'});
    QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 5000);
    fs::remove(fonts / "new.ttf");
}

// Fonts this process loads reach Qt's drawing under any file name, also one
// that is not UTF-8 (Qt cannot open it by name); fonts let go leave Qt
// together.
TEST(ApplicationFonts, AFontWhoseNameIsNotUtf8IsDrawnAndFontsLetGoLeaveTogether) {
    TQtApplicationFonts& fonts = test::ApplicationFonts();
    const fs::path folder = test::TestHome().Root() / "app-fonts";
    const fs::path file = folder / "drawn-\xE9\xFF.ttf";
    test::WriteFile(file, test::NamedTrueType("LwLatinDrawn"));
    ASSERT_EQ(FontSystem().AddFontResource(TFontFiles(file.string())), 1);
    EXPECT_TRUE(QFontDatabase::families().contains(QStringLiteral("LwLatinDrawn")));
    EXPECT_TRUE(FontSystem().RemoveFontResource(TFontFiles(file.string())));
    // Let go, it leaves Qt with the next fonts let go, all at once.
    fonts.RemoveRetired();
    EXPECT_FALSE(QFontDatabase::families().contains(QStringLiteral("LwLatinDrawn")));

    // Every font let go makes Qt read all installed fonts again; a preview
    // clicked through a folder lets one go at every click.
    const size_t limit = fonts.RetiredLimit;
    const int pause = fonts.IdleFlushMilliseconds;
    fonts.RetiredLimit = 2;
    fonts.IdleFlushMilliseconds = 100;
    std::vector<fs::path> files;
    for (int i = 0; i < 3; ++i) {
        files.push_back(folder / ("retired" + std::to_string(i) + ".ttf"));
        test::WriteFile(files.back(), test::NamedTrueType("LwRetired" + std::to_string(i)));
    }
    const auto drawn = [](int i) {
        return QFontDatabase::families().contains(QStringLiteral("LwRetired%1").arg(i));
    };
    for (int i = 0; i < 2; ++i) {
        FontSystem().AddFontResource(TFontFiles(files[static_cast<size_t>(i)].string()));
        FontSystem().RemoveFontResource(TFontFiles(files[static_cast<size_t>(i)].string()));
    }
    EXPECT_TRUE(drawn(0) && drawn(1)) << "two let go, within the limit";
    // Loaded again, the font Qt still has is used as it is.
    FontSystem().AddFontResource(TFontFiles(files[0].string()));
    EXPECT_TRUE(drawn(0));
    FontSystem().AddFontResource(TFontFiles(files[2].string()));
    FontSystem().RemoveFontResource(TFontFiles(files[2].string()));
    FontSystem().RemoveFontResource(TFontFiles(files[0].string()));
    EXPECT_TRUE(drawn(0)) << "over the limit, they leave when the user pauses";
    QTRY_VERIFY_WITH_TIMEOUT(!drawn(0) && !drawn(1) && !drawn(2), 5000);
    fonts.RetiredLimit = limit;
    fonts.IdleFlushMilliseconds = pause;
    fs::remove_all(folder);
}

TEST(AnsiSample, HoldsCodes33To255OfTheWesternCodePage) {
    const QString text = BuildAnsiSampleText();
    ASSERT_EQ(text.size(), 223);
    EXPECT_EQ(text.front(), QChar(u'!'));
    EXPECT_EQ(text[0x80 - 33], QChar(u'€'));
    EXPECT_EQ(text[0x81 - 33], QChar(char16_t(0x81)));
    EXPECT_EQ(text.back(), QChar(u'ÿ'));
}

} // namespace
} // namespace lw
