// The print settings dialog and the job window, driven as a person does,
// on the program's current printer made a PDF printer for the test.
#include "base/options.h"
#include "base/strings.h"
#include "controls/localize.h"
#include "modal_window.h"
#include "platform/services.h"
#include "print_test_support.h"
#include "printing/current_printer.h"
#include "printing/print_dialog.h"
#include "printing/print_job.h"
#include "small_disk.h"
#include "test_env.h"
#include "test_home.h"
#include "told.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace lw {
namespace {

namespace fs = std::filesystem;
using test::WhileModal;

void TypeInto(QLineEdit* box, const QString& keys) {
    box->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), keys);
}

int PagesShown(const QLabel* label) {
    return label->text().section(QLatin1Char(' '), -1).toInt();
}

class PrintDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::TestPrompts().Reset();
        SetLanguage(0);
        Options.Print = test::Centimetres(1.0);
        QPrinter& printer = CurrentPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageOrientation(QPageLayout::Portrait);
    }
    std::vector<test::TScriptedPrompts::TMessage>& Messages() {
        return test::TestPrompts().Messages;
    }
};

TEST_F(PrintDialogTest, TabOrderLanguageAndMarginBoxesThatTakeEitherSeparatorAndRefuseNoNumber) {
    TfPrint dialog(test::Families(9, 4, 24));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Stampaj"));
    EXPECT_EQ(dialog.size(), QSize(437, 178));
    EXPECT_EQ(QApplication::focusWidget(), dialog.edTop);
    EXPECT_EQ(dialog.edTop->text(), QStringLiteral("1.00"));
    EXPECT_EQ(dialog.lblNumberOfFonts->text(), QStringLiteral("Broj fontova: 9"));
    EXPECT_TRUE(dialog.rbCentimeters->isChecked());
    EXPECT_EQ(dialog.rgRange->Items()[1]->text(), QStringLiteral("&Ovu stranu"));
    EXPECT_EQ(dialog.rgOrientation->Items()[1]->text(), QStringLiteral("&Pejzaz"));
    EXPECT_EQ(dialog.btnConfigure->text(), QStringLiteral("Podesi &printer..."));
    // A group of radio buttons is one stop: the unit, the range, the orientation.
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        order.append(focused->objectName().isEmpty() ? focused->parentWidget()->objectName()
                                                     : focused->objectName());
    }
    EXPECT_EQ(order, (QStringList{"edBottom", "edLeft", "edRight", "rbCentimeters", "rgRange",
                                  "rgOrientation", "btnOK", "btnCancel", "btnConfigure"}));

    TypeInto(dialog.edTop, QStringLiteral("1,5"));
    EXPECT_EQ(dialog.edTop->text(), QStringLiteral("1.5"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(dialog.edTop->text(), QStringLiteral("1.50"));
    EXPECT_EQ(Options.Print.TopMargin, 1.5);
    EXPECT_EQ(QApplication::focusWidget(), dialog.edBottom);
    TypeInto(dialog.edBottom, QStringLiteral("1.237"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(Options.Print.BottomMargin, 1.24);

    TypeInto(dialog.edLeft, QStringLiteral("abc"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(test::ToldOnce("Pogresan broj.", "Greska ", TMsgIcon::Error));
    EXPECT_EQ(dialog.edLeft->text(), QStringLiteral("0"));
    EXPECT_EQ(QApplication::focusWidget(), dialog.edLeft);
    EXPECT_EQ(Options.Print.LeftMargin, 1.0) << "the stored margin keeps its value";

    // Cancel keeps what leaving the boxes stored.
    QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(Options.Print.TopMargin, 1.5);
}

TEST_F(PrintDialogTest,
       TheEstimateFollowsOrientationAndThePrinterSetUpButNotRangeAndOkTakesTheUnit) {
    TfPrint dialog(test::Families(200, 4, 24));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const int portrait = PagesShown(dialog.lblNumberOfPages);
    EXPECT_EQ(portrait,
              PrinterLayout(CurrentPrinter(), Options.Print, test::Families(200, 4, 24)).Pages);
    EXPECT_EQ(PrinterLayout(CurrentPrinter(), Options.Print, test::Families(200, 4, 24)).Rows, 50);
    // What a person chooses in the printer set-up, the dialog reads back.
    QString opened;
    WhileModal(
        [&](QWidget* setUp) {
            opened = setUp->objectName();
            CurrentPrinter().setPageOrientation(QPageLayout::Landscape);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        },
        [&] { QTest::mouseClick(dialog.btnConfigure, Qt::LeftButton); });
    EXPECT_EQ(opened, QStringLiteral("dlgConfigure"));
    EXPECT_TRUE(dialog.rgOrientation->Items()[1]->isChecked());
    const int landscape = PagesShown(dialog.lblNumberOfPages);
    EXPECT_GT(landscape, portrait);
    // Back from the set-up, as a window manager gives the focus back.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    // Choosing an orientation changes the count at once, before OK.
    QTest::mouseClick(dialog.rgOrientation->Items()[0], Qt::LeftButton);
    EXPECT_EQ(CurrentPrinter().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_EQ(PagesShown(dialog.lblNumberOfPages), portrait);
    QTest::mouseClick(dialog.rgOrientation->Items()[1], Qt::LeftButton);
    EXPECT_EQ(CurrentPrinter().pageLayout().orientation(), QPageLayout::Landscape);
    EXPECT_EQ(PagesShown(dialog.lblNumberOfPages), landscape);
    // The range does not.
    QTest::mouseClick(dialog.rgRange->Items()[2], Qt::LeftButton);
    EXPECT_EQ(PagesShown(dialog.lblNumberOfPages), landscape);

    // Centimetres to inches keeps the numbers: 2.00 becomes 2 inches.
    TypeInto(dialog.edRight, QStringLiteral("2"));
    QTest::mouseClick(dialog.rbInches, Qt::LeftButton);
    QTest::mouseClick(dialog.btnOK, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(Options.Print.RightMargin, 2.0);
    EXPECT_FALSE(Options.Print.UseCentimeters);
    EXPECT_EQ(Options.Print.UnitFactor, 1.0);
    EXPECT_EQ(Options.Print.Range, 2);

    // A bad box on OK: told, the dialog stays, the boxes before it stored.
    TfPrint again(test::Families(2, 1, 24));
    again.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&again));
    again.edTop->setText(QStringLiteral("3"));
    again.edRight->setText(QStringLiteral("x"));
    QTest::mouseClick(again.btnOK, Qt::LeftButton);
    EXPECT_TRUE(again.isVisible());
    EXPECT_EQ(Options.Print.TopMargin, 3.0);
    EXPECT_EQ(Messages().back().Text, "Pogresan broj.");
}

TEST_F(PrintDialogTest, PrintingAsksPrintsStopsWhenCancelledAndTellsWhereThePdfWentOrItDidNotFit) {
    const fs::path documents = test::TestHome().Documents();
    fs::remove_all(documents);
    QString title;
    WhileModal(
        [&](QWidget* settings) {
            EXPECT_EQ(settings->objectName(), QStringLiteral("fPrint"));
            // OK; the job window follows and runs by itself.
            QTimer::singleShot(0, [&] {
                QWidget* job = QApplication::activeModalWidget();
                if (job != nullptr) {
                    title = job->windowTitle();
                }
            });
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        },
        [] { PrintFontList(test::Families(5, 2, 24), "Sample line"); });
    EXPECT_TRUE(title.startsWith(QStringLiteral("Stampa liste na "))) << title.toStdString();
    EXPECT_EQ(Options.Print.JobText, "Sample line");
    const std::string pdf = (documents / "Font Lista.pdf").string();
    ASSERT_TRUE(
        test::ToldOnce("Primer je poslat na:  " + pdf, std::nullopt, TMsgIcon::Information));
    EXPECT_TRUE(fs::exists(pdf));

    // Cancel in the settings: nothing printed.
    test::TestPrompts().Reset();
    fs::remove(pdf);
    WhileModal([](QWidget*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
               [] { PrintFontList(test::Families(5, 2, 24), ""); });
    EXPECT_TRUE(Messages().empty());
    EXPECT_FALSE(fs::exists(pdf));

    const std::string cancelled = (test::TestHome().Root() / "cancelled.pdf").string();
    CurrentPrinter().setOutputFileName(QString::fromStdString(cancelled));
    TfPrinting job(Options.Print, test::Families(400, 1, 24));
    EXPECT_EQ(job.size(), QSize(442, 98));
    int steps = 0;
    // The first font's step lets pending input through: a click on Cancel.
    QObject::connect(job.ProgressBar, &QProgressBar::valueChanged, [&](int value) {
        steps = value;
        if (value == 1) {
            QTimer::singleShot(0, [&] { QTest::mouseClick(job.btnCancel, Qt::LeftButton); });
        }
    });
    job.exec();
    EXPECT_EQ(job.Result(), TPrintResult::Cancelled);
    EXPECT_LE(steps, 3);
    EXPECT_FALSE(fs::exists(cancelled));
    EXPECT_TRUE(Messages().empty());

    // Qt's PDF writer tells nobody of a write that failed: a full disk must be
    // told, with no cut PDF left where the message would have sent the user.
    test::TSmallDisk disk(documents);
    if (!disk.Mounted()) {
        GTEST_SKIP() << disk.Reason();
    }
    disk.Fill();
    WhileModal([](QWidget*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); },
               [] { PrintFontList(test::Families(5, 2, 24), "Sample line"); });
    ASSERT_TRUE(
        test::ToldOnce("Ne mogu da stampam na  " + pdf + ".\n" + SystemErrors().ErrorText(ENOSPC),
                       "Greska ", TMsgIcon::Error));
    EXPECT_TRUE(disk.Entries().empty());
}

} // namespace
} // namespace lw
