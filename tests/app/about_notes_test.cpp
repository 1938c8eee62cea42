// Help: the notes viewer (F1) and the About box, opened from the main window
// as a person opens them; addresses open through the platform's shell,
// recorded here instead of starting a browser.
#include "app/about_dialog.h"
#include "app/main_window.h"
#include "app/notes_viewer.h"
#include "base/strings.h"
#include "command_run.h"
#include "font_builder.h"
#include "main_window_fixture.h"
#include "modal_window.h"
#include "platform/linux/linux_platform.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

#include <cmath>
#include <filesystem>
#include <regex>
#include <set>

namespace lw {
namespace {

using test::MainWindowFixture;
using test::WhileModal;
namespace fs = std::filesystem;

// The platform's shell for as long as it lives.
class TRecordingShell : public IShell {
public:
    TRecordingShell() : Previous(Platform().Shell) { Platform().Shell = this; }
    ~TRecordingShell() override { Platform().Shell = Previous; }
    std::vector<std::string> Opened;
    bool OpenUrl(const std::string& url) override {
        Opened.push_back(url);
        return true;
    }
    std::optional<std::string> RunProgram(const std::vector<std::string>&) override {
        return std::nullopt;
    }

private:
    IShell* Previous;
};

class HelpTest : public MainWindowFixture {
protected:
    TRecordingShell Recorded;
};

TEST_F(HelpTest, F1ShowsTheNotesAtFourFifthsOfTheScreenOnceOrTellsThemMissing) {
    TfMain_letterwell window;
    window.show();
    // A language whose own notes are not beside the program (1) shows the
    // built-in language's under its own caption.
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        SetLanguage(language);
        ASSERT_EQ(GetLanguage(), language);
        const std::string caption = language == 0 ? "Procitaj" : LoadStr(10013);
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        WhileModal(
            [&](QWidget* viewer) {
                EXPECT_EQ(viewer->objectName(), QStringLiteral("fShowHtml"));
                EXPECT_EQ(viewer->windowTitle().toStdString(), caption);
                const QRect screen = QGuiApplication::primaryScreen()->geometry();
                EXPECT_EQ(viewer->width(), static_cast<int>(std::nearbyint(0.8 * screen.width())));
                EXPECT_EQ(viewer->height(),
                          static_cast<int>(std::nearbyint(0.7 * screen.height())));
                const QString text = viewer->findChild<QTextBrowser*>()->toPlainText();
                EXPECT_TRUE(text.contains(QStringLiteral("Letterwell")))
                    << text.left(80).toStdString();
            },
            [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1); });
        QApplication::processEvents();
        EXPECT_EQ(TfShowHtml::Current(), nullptr) << "Esc closed and freed it";
    }
    SetLanguage(0);
    EXPECT_TRUE(test::TestPrompts().Messages.empty()) << test::TestPrompts().Messages[0].Text;

    // Shown on its own, a second request brings the same viewer forward.
    const std::string notes = ProgramFolder() + "/Procitaj.txt";
    ShowNotes("Procitaj", notes, nullptr, QIcon(), true);
    TfShowHtml* first = TfShowHtml::Current();
    ASSERT_NE(first, nullptr);
    first->showMinimized();
    ShowNotes("Procitaj", notes, nullptr, QIcon(), true);
    EXPECT_EQ(TfShowHtml::Current(), first);
    EXPECT_FALSE(first->isMinimized());
    int viewers = 0;
    for (QWidget* shown : QApplication::topLevelWidgets()) {
        viewers += shown->objectName() == QStringLiteral("fShowHtml") && shown->isVisible();
    }
    EXPECT_EQ(viewers, 1);
    first->activateWindow();
    QTest::keyClick(first->findChild<QTextBrowser*>(), Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(TfShowHtml::Current(), nullptr);

    // A missing notes file is told with its path, and nothing opens.
    const std::string nowhere = (test::TestHome().Root() / "nowhere").string();
    window.NotesFolder = nowhere;
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1);
    ASSERT_TRUE(test::ToldOnce("Couldn't find the file " + nowhere + "/Procitaj.txt", "Error",
                               TMsgIcon::Error));
    EXPECT_EQ(TfShowHtml::Current(), nullptr);
}

// Each language's notes lie beside the program under the name its own
// table gives, and name the menus as that language shows them.
TEST_F(HelpTest, EachLanguagesNotesShipAndNameItsOwnMenus) {
    const int menuCaptions[] = {10108, 10136, 10127, 10128, 10125, 10140, 10137, 13105, 13103};
    std::set<std::string> files;
    for (int language : {0, 1, kEnglishLanguage}) {
        SetLanguage(language);
        ASSERT_EQ(GetLanguage(), language);
        const fs::path notes = fs::path(test::BuildBinFolder()) / LoadStr(10014);
        files.insert(LoadStr(10014));
        ASSERT_TRUE(fs::exists(notes)) << notes;
        std::string text = test::ReadText(notes);
        // Lines wrap anywhere between words.
        text = std::regex_replace(text, std::regex("\\s+"), " ");
        for (int id : menuCaptions) {
            const std::string caption = StripMenuMarks(LoadStr(id));
            EXPECT_NE(text.find(caption), std::string::npos)
                << notes.filename() << " does not name \"" << caption << "\"";
        }
    }
    EXPECT_EQ(files.size(), 3u) << "one notes file a language";
}

TEST_F(HelpTest, TheAboutBoxShowsTheVersionAndOpensItsAddresses) {
    EXPECT_EQ(VersionText(TVersion{3, 5, "", ""}), "Verzija 3.05");
    EXPECT_EQ(VersionText(TVersion{3, 81, " beta", ""}), "Verzija 3.81 beta");
    EXPECT_EQ(VersionNumber(TVersion{3, 5, " beta", ""}), "3.05 beta");
    // The box and the command line name one version.
    const std::string number = VersionNumber(ProgramVersion());
    const test::TCommandRun cli =
        test::RunCommand(test::BuildBinFolder() + "/letterwell-cli --version");
    EXPECT_EQ(cli.Output, "letterwell-cli " + number + "\n");
    TfMain_letterwell window;
    window.show();
    QApplication::setActiveWindow(&window);
    WhileModal(
        [&](QWidget* box) {
            auto& about = *qobject_cast<TfAbout*>(box);
            EXPECT_EQ(about.windowTitle(), QStringLiteral("INFO"));
            EXPECT_EQ(about.lblVersion->text().toStdString(), "Verzija " + number);
            // Every paragraph has room for all its lines, above the button.
            for (QLabel* paragraph : {about.lblSendEMail, about.lblInfo, about.lblResponsibility}) {
                EXPECT_GE(paragraph->height(), paragraph->heightForWidth(paragraph->width()))
                    << paragraph->objectName().toStdString();
                EXPECT_LT(paragraph->geometry().bottom(), about.btnOK->y());
            }
            EXPECT_LE(about.btnOK->geometry().bottom(), about.height());
            EXPECT_EQ(about.lblName->text(), QStringLiteral("Kestrova Letterwell"));
            EXPECT_TRUE(about.lblAuthor->text().contains(QStringLiteral("2024-2026")));
            QTest::mouseClick(about.edEmail, Qt::LeftButton);
            QTest::mouseClick(about.edWWW, Qt::LeftButton);
        },
        [&] { window.Menu.mnAbout->trigger(); });
    EXPECT_EQ(Recorded.Opened, (std::vector<std::string>{"mailto:letterwell@kestrova.example",
                                                         "https://letterwell.kestrova.example"}));
}

} // namespace
} // namespace lw
