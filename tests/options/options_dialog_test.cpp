// The options dialog as a person uses it: boxes typed into, colours chosen
// in the colour dialog (scripted), OK and Cancel; and from the main window,
// the settings applied and saved.
#include "app/main_window.h"
#include "controls/qt_colors.h"
#include "main_window_fixture.h"
#include "modal_window.h"
#include "options/options_dialog.h"
#include "pages/installed_page.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace lw {
namespace {

using test::MainWindowFixture;
using test::WhileModal;

class OptionsDialogTest : public MainWindowFixture {
protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        Settings.FontSize = 24;
        Settings.ListFontSize = 16;
        Settings.ListColumns = 3;
        Settings.FontColor = RGBColor(10, 20, 30);
        Settings.BackgroundColor = RGBColor(250, 250, 240);
        Settings.ListNormalColor = RGBColor(1, 2, 3);
        Settings.ListSelectedColor = RGBColor(200, 0, 0);
        Settings.ListBackgroundColor = RGBColor(255, 255, 255);
        Settings.CopyBeforeDelete = false;
        Settings.DefaultCopyFolder = "/backups/fonts";
        Settings.SampleText = "Old sample\r\n";
        Settings.ListSampleText = "Sheet";
    }
    // Opens the dialog on Settings, runs inside, and gives what it returned.
    bool Edit(const std::function<void(TfOptions&)>& inside) {
        bool accepted = false;
        WhileModal([&](QWidget* window) { inside(*qobject_cast<TfOptions*>(window)); },
                   [&] { accepted = EditOptions(Settings, nullptr); });
        return accepted;
    }
    static void Type(QWidget* box, const QString& text) {
        box->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }

    TOptions Settings;
};

TEST_F(OptionsDialogTest, TheCopyFolderFollowsItsBoxesTabKeepsItsOrderAndTypedNumbersAreStored) {
    EXPECT_TRUE(Edit([](TfOptions& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Opcije"));
        EXPECT_EQ(dialog.size(), QSize(442, 398));
        EXPECT_FALSE(dialog.edDefaultCopyFolder->isEnabled());
        EXPECT_FALSE(dialog.btnGetFolder->isEnabled());
        QTest::mouseClick(dialog.cbCopyBeforeDelete, Qt::LeftButton);
        EXPECT_TRUE(dialog.edDefaultCopyFolder->isEnabled());
        ASSERT_TRUE(dialog.btnGetFolder->isEnabled());
        test::TestPrompts().TextAnswers.push_back("/chosen/here");
        QTest::mouseClick(dialog.btnGetFolder, Qt::LeftButton);
        EXPECT_EQ(test::TestPrompts().Asked.back(), "Odaberi folder koji sadrzi fontove:");
        EXPECT_EQ(test::TestPrompts().Offered.back(), "/backups/fonts");
        EXPECT_EQ(dialog.edDefaultCopyFolder->text(), QStringLiteral("/chosen/here"));
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    }));
    EXPECT_TRUE(Settings.CopyBeforeDelete);
    EXPECT_EQ(Settings.DefaultCopyFolder, "/chosen/here");

    // Opened with the copy folder on, Tab goes through the general group,
    // then the sheets, then the buttons. Numbers typed are stored; text that
    // is no number keeps the old value.
    QStringList visited;
    EXPECT_TRUE(Edit([&](TfOptions& dialog) {
        EXPECT_EQ(dialog.cmbFontSize->currentText(), QStringLiteral("24"));
        dialog.cbDeleteReadOnly->setFocus();
        for (int step = 0; step < 18; ++step) {
            visited.append(QApplication::focusWidget()->objectName());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        Type(dialog.cmbFontSize, QStringLiteral("20"));
        Type(dialog.cmbListFontSize, QStringLiteral("abc"));
        Type(dialog.cmbColumns, QStringLiteral("5"));
        Type(dialog.mmDefaultSample, QStringLiteral("one"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("two"));
        Type(dialog.edListSample, QStringLiteral("Quick"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); // OK
    }));
    EXPECT_EQ(visited.join(QLatin1Char(' ')),
              QStringLiteral("cbDeleteReadOnly cbMoveToTrash cbCopyBeforeDelete "
                             "edDefaultCopyFolder btnGetFolder pnlFontColor pnlBackgroundColor "
                             "cmbFontSize mmDefaultSample cmbColumns cmbListFontSize "
                             "pnlListFontColor pnlListSelectionColor pnlListBackgroundColor "
                             "edListSample btnRestoreColors btnOK btnCancel"));
    EXPECT_EQ(Settings.FontSize, 20);
    EXPECT_EQ(Settings.ListFontSize, 16);
    EXPECT_EQ(Settings.ListColumns, 5);
    EXPECT_EQ(Settings.SampleText, "one\r\ntwo\r\n");
    EXPECT_EQ(Settings.ListSampleText, "Quick");
}

TEST_F(OptionsDialogTest, CancelledColoursChangeNothingAndRestoredOnesAreTheSystems) {
    const TOptions before = Settings;
    EXPECT_FALSE(Edit([](TfOptions& dialog) {
        test::TestPrompts().ColorAnswers = {RGBColor(9, 9, 9), RGBColor(8, 8, 8)};
        QTest::mouseClick(dialog.pnlFontColor, Qt::LeftButton);
        QTest::mouseClick(dialog.pnlListBackgroundColor, Qt::LeftButton);
        EXPECT_EQ(dialog.pnlFontColor->Color(), RGBColor(9, 9, 9));
        Type(dialog.cmbFontSize, QStringLiteral("30"));
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    }));
    EXPECT_EQ(Settings.FontColor, before.FontColor);
    EXPECT_EQ(Settings.ListBackgroundColor, before.ListBackgroundColor);
    EXPECT_EQ(Settings.FontSize, before.FontSize);

    // Restored colours are the system's and follow its changes.
    EXPECT_TRUE(Edit([](TfOptions& dialog) {
        // The colour dialog offers the system's colours as its own.
        EXPECT_EQ(QColorDialog::customColor(2), QApplication::palette().color(QPalette::Base));
        EXPECT_EQ(QColorDialog::customColor(10), QApplication::palette().color(QPalette::Text));
        QTest::mouseClick(dialog.btnRestoreColors, Qt::LeftButton);
        QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    }));
    EXPECT_EQ(Settings.FontColor, clWindowText);
    EXPECT_EQ(Settings.ListNormalColor, clWindowText);
    EXPECT_EQ(Settings.BackgroundColor, clWindow);
    EXPECT_EQ(Settings.ListBackgroundColor, clWindow);
    EXPECT_EQ(Settings.ListSelectedColor, clHighlight);
    QPalette scheme;
    scheme.setColor(QPalette::Base, QColor(20, 30, 40));
    scheme.setColor(QPalette::Highlight, QColor(200, 100, 0));
    EXPECT_EQ(ResolveColor(Settings.ListBackgroundColor, scheme), QColor(20, 30, 40));
    EXPECT_EQ(ResolveColor(Settings.ListSelectedColor, scheme), QColor(200, 100, 0));
}

TEST_F(OptionsDialogTest, TheMainWindowAppliesAndSavesWhatWasAccepted) {
    TfMain_letterwell window;
    window.show();
    QApplication::setActiveWindow(&window);
    WhileModal(
        [](QWidget* dialog) {
            auto& options = *qobject_cast<TfOptions*>(dialog);
            Type(options.cmbFontSize, QStringLiteral("20"));
            QTest::mouseClick(options.btnOK, Qt::LeftButton);
        },
        [&] { window.Menu.mnSetOptions->trigger(); });
    EXPECT_EQ(Options.FontSize, 20);
    EXPECT_EQ(window.Installed->cmbSize->currentText(), QStringLiteral("20"));
    EXPECT_EQ(Stored().at("Font Size").Integer, 20u) << "saved at once";
}

} // namespace
} // namespace lw
