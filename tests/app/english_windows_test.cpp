// The English interface: every window shows a caption wherever the built-in
// language has one, and each caption fits its control at the control's own
// size, so no English word is clipped where the Serbian one was not.
#include "app/about_dialog.h"
#include "app/main_window.h"
#include "base/string_table.h"
#include "base/strings.h"
#include "categories/category_dialogs.h"
#include "categories/organize_dialog.h"
#include "controls/localize.h"
#include "main_window_fixture.h"
#include "options/options_dialog.h"
#include "pages/delete_dialog.h"
#include "pages/find_dialog.h"
#include "printing/print_dialog.h"
#include "printing/print_job.h"
#include "sheets/view_all.h"
#include "sheets/view_all_not_installed.h"
#include "test_home.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <set>

namespace lw {
namespace {

// The text as drawn: a single "&" marks the mnemonic and takes no room.
QString Drawn(QString text) {
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

bool BuiltInHasCaption(int tag) {
    const std::string* text = BuiltInLanguage().Strings.Find(tag);
    return text != nullptr && !text->empty();
}

// What a caption needs and what the control gives it, or nothing when the
// control is not one whose caption can be clipped.
struct TFit {
    int Needed = 0;
    int Available = 0;
};

std::optional<TFit> CaptionFit(QWidget* w, const QString& text) {
    const QFontMetrics metrics = w->fontMetrics();
    const int advance = metrics.horizontalAdvance(Drawn(text));
    if (qobject_cast<QCheckBox*>(w) != nullptr || qobject_cast<QRadioButton*>(w) != nullptr) {
        return TFit{w->sizeHint().width(), w->width()};
    }
    if (auto* button = qobject_cast<QPushButton*>(w)) {
        const int margin = w->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, w);
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return TFit{advance + icon + margin, button->width()};
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->wordWrap()) {
            return std::nullopt;
        }
        return TFit{advance, label->contentsRect().width()};
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        return TFit{advance + metrics.averageCharWidth(), group->width()};
    }
    return std::nullopt;
}

// None for a control that has no caption.
std::optional<QString> CaptionOf(QWidget* w) {
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        return button->text();
    }
    if (auto* label = qobject_cast<QLabel*>(w)) {
        return label->text();
    }
    if (auto* group = qobject_cast<QGroupBox*>(w)) {
        return group->title();
    }
    return std::nullopt;
}

// Each problem of one window, one line each: empty captions, clipped
// captions and menu items without text.
std::vector<std::string> CaptionProblems(QWidget& window) {
    window.show();
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
    std::vector<std::string> problems;
    const std::string where = window.objectName().toStdString() + ": ";
    auto clipped = [&](const std::string& name, const QString& text, TFit fit) {
        if (fit.Needed > fit.Available) {
            problems.push_back(name + " \"" + text.toStdString() + "\" needs " +
                               std::to_string(fit.Needed) + " px of " +
                               std::to_string(fit.Available));
        }
    };
    for (QWidget* w : window.findChildren<QWidget*>()) {
        // A page not shown has not been laid out yet: it is checked when shown.
        if (!w->isVisible()) {
            continue;
        }
        const int tag = TagOf(w);
        const bool picture = qobject_cast<QToolButton*>(w) != nullptr;
        const std::optional<QString> text = CaptionOf(w);
        if (tag <= 10000 || tag >= 65000 || picture || !BuiltInHasCaption(tag) || !text) {
            continue;
        }
        const std::string name = where + w->objectName().toStdString();
        if (text->isEmpty()) {
            problems.push_back(name + " has no caption (string " + std::to_string(tag) + ")");
        } else if (const std::optional<TFit> fit = CaptionFit(w, *text)) {
            clipped(name, *text, *fit);
        }
    }
    // A label placed by hand takes the width of its text when first shown,
    // so it is never clipped; a long one runs into the control beside it or
    // out of its box instead.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        QWidget* box = label->parentWidget();
        if (!label->isVisible() || TagOf(label) <= 10000 || label->wordWrap() || box == nullptr ||
            (box->layout() != nullptr && box->layout()->indexOf(label) >= 0)) {
            continue;
        }
        const int textWidth = label->fontMetrics().horizontalAdvance(Drawn(label->text()));
        const QRect drawn(label->pos(), QSize(textWidth, label->height()));
        const std::string name = where + label->objectName().toStdString();
        if (drawn.right() > box->rect().right()) {
            problems.push_back(name + " \"" + label->text().toStdString() + "\" runs out of " +
                               box->objectName().toStdString());
        }
        for (QWidget* other : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            // A bevel the label is drawn on holds it whole.
            const QRect place = other->geometry();
            if (other != label && other->isVisible() && drawn.intersects(place) &&
                !place.contains(drawn)) {
                problems.push_back(name + " \"" + label->text().toStdString() + "\" runs into " +
                                   other->objectName().toStdString());
            }
        }
    }
    // A radio group's items carry no tag of their own: strings Tag + 1, ...
    for (TRadioGroup* group : window.findChildren<TRadioGroup*>()) {
        if (!group->isVisible()) {
            continue;
        }
        for (QRadioButton* item : group->Items()) {
            const std::string name = where + group->objectName().toStdString() + " item";
            if (item->text().isEmpty()) {
                problems.push_back(name + " has no caption");
            } else {
                clipped(name, item->text(), *CaptionFit(item, item->text()));
            }
        }
    }
    for (QAction* action : window.findChildren<QAction*>()) {
        if (TagOf(action) > 10000 && BuiltInHasCaption(TagOf(action)) && action->text().isEmpty()) {
            problems.push_back(where + action->objectName().toStdString() + " has no text");
        }
    }
    return problems;
}

// Items of one menu (or menu bar) that share an Alt letter: the keyboard
// could reach only the first of them.
std::vector<std::string> MnemonicClashes(QWidget& window) {
    std::vector<std::string> clashes;
    for (QWidget* menu : window.findChildren<QWidget*>()) {
        if (qobject_cast<QMenu*>(menu) == nullptr && qobject_cast<QMenuBar*>(menu) == nullptr) {
            continue;
        }
        std::map<QKeySequence, QString> taken;
        for (QAction* action : menu->actions()) {
            // The Alt key Qt itself gives the item, whatever the letter's case.
            const QKeySequence letter = QKeySequence::mnemonic(action->text());
            if (letter.isEmpty() || !action->isVisible()) {
                continue;
            }
            if (auto [it, fresh] = taken.emplace(letter, action->text()); !fresh) {
                clashes.push_back(menu->objectName().toStdString() + ": \"" +
                                  it->second.toStdString() + "\" and \"" +
                                  action->text().toStdString() + "\"");
            }
        }
    }
    return clashes;
}

// The caption problems of every page of every tab control, each page shown
// in turn since a page not shown has no size of its own yet, and the Alt
// letters that clash.
std::set<std::string> WindowProblems(QWidget& window) {
    std::set<std::string> problems;
    auto collect = [&](const std::vector<std::string>& found) {
        problems.insert(found.begin(), found.end());
    };
    collect(CaptionProblems(window));
    for (QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            collect(CaptionProblems(window));
        }
    }
    collect(MnemonicClashes(window));
    return problems;
}

using EnglishWindows = test::MainWindowFixture;

TEST_F(EnglishWindows, StoredEnglishOpensEveryWindowWithEachCaptionWhole) {
    Stored()["Language"] = TRegValue::FromInteger(kEnglishLanguage);
    TfMain_letterwell window;
    window.resize(kMinimumWidth, kMinimumHeight);
    ASSERT_EQ(GetLanguage(), kEnglishLanguage) << "lw_eng.lwb lies beside the tests";
    EXPECT_EQ(window.Menu.mnFile->title(), QStringLiteral("&File"));
    EXPECT_EQ(window.Menu.mnDeleteFont->text(), QStringLiteral("&Uninstall font..."));
    TfViewAll sheet(&window);
    sheet.resize(1000, 700);
    TfViewAllNotInstalled folderSheet(&window, &sheet);
    folderSheet.resize(1000, 700);
    const std::string data = test::TestHome().DataHome().string();
    TFindDialog find(&window);
    TfOrganize organize({data + "/english-program", data + "/Kestrova/Letterwell"});
    TfAdd add({"Sans", "Serif"});
    TfMixCategories mix({"Sans", "Serif"});
    TfResults results("DejaVu Sans", {"Sans"});
    TfDelete uninstall;
    TfOptions options;
    const TPrintSource twoFamilies{.Items = {"DejaVu Sans", "DejaVu Serif"},
                                   .Selected = {true, true},
                                   .Faces = {},
                                   .Columns = 2,
                                   .FontSize = 20};
    TfPrint print(twoFamilies);
    TfAbout about(ProgramVersion());
    TfPrinting progress(Options.Print, twoFamilies);
    // Each problem names its window.
    for (QWidget* shown : std::initializer_list<QWidget*>{
             &window, &sheet, &folderSheet, &find, &organize, &add, &mix, &results, &uninstall,
             &options, &print, &about, &progress}) {
        for (const std::string& problem : WindowProblems(*shown)) {
            ADD_FAILURE() << problem;
        }
    }
}

} // namespace
} // namespace lw
