#include "app/main_window.h"
#include "command_run.h"
#include "controls/status_panels.h"
#include "not_installed_fixture.h"
#include "pages/installed_page.h"
#include "pages/not_installed_page.h"
#include "pages/sample_commands.h"
#include "pages/simple_combo.h"
#include "test_home.h"
#include "told.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusTipEvent>
#include <QTest>
#include <QToolButton>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;

// The main window, shown and active, as the not-installed page's tests have it.
class InstalledPageTest : public test::NotInstalledPageTest {
protected:
    TInstalledPage& Page() { return *Window->Installed; }
    QPlainTextEdit& Sample() { return *Page().mmSample; }
    QPlainTextEdit& OtherSample() { return *Window->NotInstalled->mmSampleNotInst; }
    void SelectInSample(const QString& text) {
        Sample().setPlainText(text);
        Sample().selectAll();
        Sample().setFocus();
    }
};

TEST_F(InstalledPageTest, SizeBoxTakesDigitsEditCommandsPresetsAndTheSizeQuestion) {
    QLineEdit* edit = Page().cmbSize->lineEdit();
    QTest::mouseClick(edit, Qt::LeftButton);
    // Keys go where a person's keys go: to the widget that has the focus after
    // the click, whatever Qt makes of the combo box inside.
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ab c-1.5x3"));
    EXPECT_EQ(edit->text(), QStringLiteral("153"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("30"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(Sample().font().pointSize(), 30);
    EXPECT_EQ(OtherSample().font().pointSize(), 30);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("6"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    EXPECT_EQ(Sample().font().pointSize(), 306);
    // Letters pasted in and confirmed give back the current size.
    edit->setText(QStringLiteral("big"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(edit->text(), QStringLiteral("306"));
    EXPECT_EQ(Sample().font().pointSize(), 306);

    // The edit commands work on its text while it has the focus.
    edit->setText(QStringLiteral("48"));
    Window->Menu.mnSelectAll->trigger();
    EXPECT_EQ(edit->selectedText(), QStringLiteral("48"));
    QApplication::clipboard()->clear();
    Window->Menu.mnCopy->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("48"));
    Window->Menu.mnCut->trigger();
    EXPECT_EQ(edit->text(), QString());
    Window->Menu.mnPaste->trigger();
    EXPECT_EQ(edit->text(), QStringLiteral("48"));

    // A double click steps through the presets; the Size command asks.
    Page().cmbSize->setEditText(QStringLiteral("72"));
    QTest::mouseDClick(Page().cmbSize->lineEdit(), Qt::LeftButton);
    EXPECT_EQ(Page().cmbSize->currentText(), QStringLiteral("8"));
    EXPECT_EQ(Sample().font().pointSize(), 8);

    test::TestPrompts().TextAnswers.push_back(std::string("30"));
    Window->Menu.mnSize->trigger();
    ASSERT_EQ(test::TestPrompts().Asked.size(), 1u);
    EXPECT_EQ(test::TestPrompts().Asked[0], "Velicina fonta");
    EXPECT_EQ(Sample().font().pointSize(), 30);
    test::TestPrompts().TextAnswers.push_back(std::nullopt);
    Window->Menu.mnSize->trigger();
    EXPECT_EQ(Sample().font().pointSize(), 30);
}

TEST_F(InstalledPageTest, StyleColourAndAnsiSampleCommandsReachTheSamplesTheyShould) {
    Window->Menu.mnBold->trigger();
    EXPECT_TRUE(Page().btnBold->isChecked());
    EXPECT_TRUE(Window->Menu.mnBold->isChecked());
    EXPECT_TRUE(Sample().font().bold());
    EXPECT_FALSE(OtherSample().font().bold());
    QTest::mouseClick(Page().btnUnderline, Qt::LeftButton);
    EXPECT_TRUE(Window->Menu.mnUnderline->isChecked());
    EXPECT_TRUE(Sample().font().underline());
    Window->Menu.mnBold->trigger();
    EXPECT_FALSE(Sample().font().bold());
    EXPECT_FALSE(Window->Menu.mnBold->isChecked());
    // The style stays when another family is shown.
    Page().SelectFamily(2);
    EXPECT_TRUE(Sample().font().underline());
    EXPECT_EQ(Sample().font().family(), QStringLiteral("Courier"));

    // The colour command colours both samples but not the stored option.
    const TColor before = Options.FontColor;
    test::TestPrompts().ColorAnswers.push_back(RGBColor(200, 10, 20));
    Window->Menu.mnSampleColor->trigger();
    EXPECT_EQ(Sample().palette().color(QPalette::Text), QColor(200, 10, 20));
    EXPECT_EQ(OtherSample().palette().color(QPalette::Text), QColor(200, 10, 20));
    EXPECT_EQ(Options.FontColor, before);
    test::TestPrompts().ColorAnswers.push_back(std::nullopt);
    QTest::mouseClick(Page().btnColor, Qt::LeftButton);
    EXPECT_EQ(Sample().palette().color(QPalette::Text), QColor(200, 10, 20));

    // The ANSI sample is shown in both; the earlier text comes back.
    Sample().setPlainText(QStringLiteral("my sample"));
    Window->Menu.mnAnsiSample->trigger();
    EXPECT_TRUE(Page().btnAnsiSample->isChecked());
    // The editor's plain text gives the no-break space as a space.
    QString shown = Window->Samples->AnsiSampleText;
    shown.replace(QChar(0xA0), QLatin1Char(' '));
    EXPECT_EQ(Sample().toPlainText(), shown);
    EXPECT_EQ(OtherSample().toPlainText(), shown);
    Sample().appendPlainText(QStringLiteral("edited"));
    QTest::mouseClick(Page().btnAnsiSample, Qt::LeftButton);
    EXPECT_FALSE(Window->Menu.mnAnsiSample->isChecked());
    EXPECT_EQ(Sample().toPlainText(), QStringLiteral("my sample"));
    EXPECT_EQ(OtherSample().toPlainText(), QStringLiteral("my sample"));
}

TEST_F(InstalledPageTest, TheFamilyListAnswersKeysClicksAndFindAndGivesWayWhenAFamilyLeaves) {
    QTest::keyClick(Page().cmbFonts->Edit(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(Page().cmbFonts->ItemIndex(), 2);
    QTest::keyClick(Page().cmbFonts->Edit(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(Page().cmbFonts->ItemIndex(), 0);

    Page().SelectFamily(1);
    ASSERT_EQ(Page().lstStyles->count(), 1);
    Page().lstStyles->setFocus();
    const QRect first = Page().lstStyles->visualItemRect(Page().lstStyles->item(0));
    // A click chooses the style the family's commands then act on, and the
    // menu says so; a second click lets it go. The keys stay with the list.
    QTest::mouseClick(Page().lstStyles->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_EQ(Page().lstStyles->selectedItems().size(), 1);
    EXPECT_FALSE(Page().SelectedStyle().isEmpty());
    EXPECT_EQ(Window->Menu.mnDisableFont->text(), QStringLiteral("Iskl&juci stil"));
    EXPECT_EQ(Window->Menu.mnEnableFont0->text(), QStringLiteral("&Ukljuci stil"));
    EXPECT_EQ(QApplication::focusWidget(), Page().cmbFonts->Edit());
    QTest::mouseClick(Page().lstStyles->viewport(), Qt::LeftButton, {}, first.center());
    EXPECT_TRUE(Page().lstStyles->selectedItems().isEmpty());
    EXPECT_TRUE(Page().SelectedStyle().isEmpty());
    EXPECT_EQ(Window->Menu.mnDisableFont->text(), QStringLiteral("Iskl&juci font"));
    EXPECT_EQ(QApplication::focusWidget(), Page().cmbFonts->Edit());
    // The keys choose as the click does, and past the end let go again.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(Page().SelectedStyle(), Page().lstStyles->item(0)->data(Qt::UserRole).toString());
    EXPECT_EQ(Window->Menu.mnDisableFont->text(), QStringLiteral("Iskl&juci stil"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down, Qt::AltModifier);
    EXPECT_TRUE(Page().SelectedStyle().isEmpty());
    EXPECT_EQ(Page().cmbFonts->ItemIndex(), 1);

    Page().FindFamilyNext(QStringLiteral("OUR"), false);
    EXPECT_EQ(Page().SelectedFamily(), QStringLiteral("Courier"));
    EXPECT_EQ(Sample().font().family(), QStringLiteral("Courier"));
    EXPECT_TRUE(test::TestPrompts().Messages.empty());
    Page().FindFamilyNext(QStringLiteral("Zapf"), false);
    ASSERT_TRUE(test::ToldOnce("Ne mugu naci nijedan font koji sadrzi Zapf.", "Nije nadjen",
                               TMsgIcon::Information));
    EXPECT_EQ(Page().SelectedFamily(), QStringLiteral("Courier"));

    // The family found leaves the system (removed temporary fonts, say) and
    // the page: the family now in its place is shown, with its styles and
    // status.
    Fonts.Faces.erase("Courier");
    std::erase(Fonts.FaceFamilies, "Courier");
    Fonts.AddFace("Bodoni", test::TrueTypeFace("Bodoni Bold", "Bold", NTM_BOLD));
    Window->FontsChanged();
    EXPECT_EQ(Page().SelectedFamily(), QStringLiteral("Bodoni"));
    EXPECT_EQ(Page().cmbFonts->Edit()->text(), QStringLiteral("Bodoni"));
    EXPECT_EQ(Sample().font().family(), QStringLiteral("Bodoni"));
    EXPECT_EQ(Page().lstStyles->count(), 2);
    EXPECT_EQ(Window->Panels->PanelText(1), QStringLiteral("Bodoni"));

    // A family that stays keeps its place and shows what changed in it.
    Page().SelectFamily(0);
    Fonts.AddFace("Arial", test::TrueTypeFace("Arial Bold", "Bold", NTM_BOLD));
    Window->FontsChanged();
    EXPECT_EQ(Page().SelectedFamily(), QStringLiteral("Arial"));
    EXPECT_EQ(Page().lstStyles->count(), 2);
}

TEST_F(InstalledPageTest, ASelectionInTheSampleIsCopiedCutPastedAndHintedFromItsFirstBar) {
    Page().SelectFamily(0);
    Window->Menu.mnBold->trigger();
    Window->Menu.mnUnderline->trigger();
    Page().cmbSize->setEditText(QStringLiteral("10"));
    Page().cmbSizeClick();
    SelectInSample(QStringLiteral("Ćao {svete}\nline two"));
    Window->Menu.mnCopy->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->text(), QStringLiteral("Ćao {svete}\nline two"));
    const std::string rtf = data->data(QStringLiteral("text/rtf")).toStdString();
    EXPECT_NE(rtf.find("\\fnil Arial;"), std::string::npos) << rtf;
    EXPECT_NE(rtf.find("\\fs20\\cf1\\b\\ul {\\u262?}ao \\{svete\\} \\par\r\nline two\r\n }"),
              std::string::npos)
        << rtf;

    // An empty selection leaves the clipboard alone.
    Sample().moveCursor(QTextCursor::End);
    Window->Menu.mnCopyEx->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Ćao {svete}\nline two"));

    SelectInSample(QStringLiteral("gone"));
    Window->Menu.mnCutEx->trigger();
    EXPECT_EQ(Sample().toPlainText(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("gone"));

    // A system colour is copied as the colour the sample shows.
    ASSERT_EQ(Page().SampleColor, clWindowText);
    QPalette palette = Sample().palette();
    palette.setColor(QPalette::Text, QColor(10, 20, 30));
    Sample().setPalette(palette);
    SelectInSample(QStringLiteral("x"));
    Window->Menu.mnCopyEx->trigger();
    const std::string colour =
        QApplication::clipboard()->mimeData()->data(QStringLiteral("text/rtf")).toStdString();
    EXPECT_NE(colour.find("\\red10\\green20\\blue30;"), std::string::npos) << colour;

    // Paste needs plain text on the clipboard.
    auto* image = new QMimeData;
    image->setData(QStringLiteral("image/png"), QByteArray("not text"));
    QApplication::clipboard()->setMimeData(image);
    Sample().setPlainText(QStringLiteral("kept"));
    Sample().moveCursor(QTextCursor::End);
    Window->Menu.mnPasteEx->trigger();
    EXPECT_EQ(Sample().toPlainText(), QStringLiteral("kept"));
    QApplication::clipboard()->setText(QStringLiteral(" more"));
    Window->Menu.mnPasteEx->trigger();
    EXPECT_EQ(Sample().toPlainText(), QStringLiteral("kept more"));

    // The status bar shows what is selected from its first bar on.
    Sample().setPlainText(QString());
    QTest::mouseClick(Sample().viewport(), Qt::LeftButton);
    EXPECT_EQ(Window->Panels->PanelText(0), QStringLiteral("Oznaci tekst:  (nijedan)"));
    SelectInSample(QStringLiteral("left|right"));
    QTest::mouseRelease(Sample().viewport(), Qt::LeftButton);
    EXPECT_EQ(Window->Panels->PanelText(0), QStringLiteral("right"));
    EXPECT_TRUE(Sample().toolTip().isEmpty());
    // After the first bar, not the last; several lines shown as one.
    SelectInSample(QStringLiteral("one|two\nthree|four"));
    QTest::mouseRelease(Sample().viewport(), Qt::LeftButton);
    EXPECT_EQ(Window->Panels->PanelText(0), QStringLiteral("two three|four"));
    // The status tip the hint routing shows later carries the same text.
    QStatusTipEvent tip(Sample().statusTip());
    QApplication::sendEvent(Window.get(), &tip);
    EXPECT_EQ(Window->Panels->PanelText(0), QStringLiteral("two three|four"));
}

std::string PdfText(const fs::path& pdf) {
    return test::RunCommand("pdftotext -layout '" + pdf.string() + "' -").Output;
}

TEST_F(InstalledPageTest, PrintingAsksFirstAndWritesOnePageOfTheLinesThatFit) {
    if (!QPrinterInfo::availablePrinters().isEmpty()) {
        GTEST_SKIP() << "a printer is installed; the PDF fallback is not used";
    }
    const fs::path documents = test::TestHome().Documents();
    fs::remove_all(documents);
    fs::create_directories(documents);
    Window->Menu.mnPrint->trigger();
    ASSERT_TRUE(test::ToldOnce("Zelis li da stampas primer teksta?", "Potvrda", std::nullopt,
                               TMsgButtons::YesNo));
    EXPECT_TRUE(fs::is_empty(documents)) << "No prints nothing";

    Page().SelectFamily(0);
    QString text;
    for (int line = 1; line <= 200; ++line) {
        text += QStringLiteral("line%1\n").arg(line);
    }
    Sample().setPlainText(text);
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Window->Menu.mnPrint->trigger();
    const fs::path pdf = documents / "Primer od Arial.pdf";
    ASSERT_TRUE(fs::exists(pdf));
    EXPECT_NE(Window->Panels->PanelText(0).toStdString().find(pdf.string()), std::string::npos);
    const std::string printed = PdfText(pdf);
    EXPECT_NE(printed.find("line1\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("line20"), std::string::npos);
    EXPECT_EQ(printed.find("line200"), std::string::npos) << "lines below the page are dropped";
    EXPECT_EQ(printed.find('\f', printed.find('\f') + 1), std::string::npos) << "one page only";

    // A line wider than the page is wrapped inside the margins, every word kept.
    QString wide;
    for (int word = 1; word <= 40; ++word) {
        wide += QStringLiteral("word%1 ").arg(word);
    }
    Sample().setPlainText(wide.trimmed());
    fs::remove(pdf);
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Window->Menu.mnPrint->trigger();
    const std::string wrapped = PdfText(pdf);
    EXPECT_NE(wrapped.find("word1 "), std::string::npos) << wrapped;
    EXPECT_NE(wrapped.find("word40"), std::string::npos) << wrapped;
    const size_t first = wrapped.find("word1 ");
    EXPECT_NE(wrapped.substr(first, wrapped.find("word40") - first).find('\n'), std::string::npos)
        << "not all on one line";

    // No documents folder: made, as the desktop makes it.
    fs::remove_all(documents);
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Window->Menu.mnPrint->trigger();
    EXPECT_TRUE(fs::exists(pdf));
    // None to be had: the home folder, and the status bar says so.
    fs::remove_all(documents);
    test::WriteText(documents, "a file where the folder should be");
    test::TestPrompts().Answers.push_back(TMsgResult::Yes);
    Window->Menu.mnPrint->trigger();
    const fs::path home = test::TestHome().Home() / "Primer od Arial.pdf";
    EXPECT_TRUE(fs::exists(home));
    EXPECT_NE(Window->Panels->PanelText(0).toStdString().find(home.string()), std::string::npos);
    fs::remove(documents);
    fs::remove(home);
    fs::create_directories(documents);
}

} // namespace
} // namespace lw
