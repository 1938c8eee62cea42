#include "base/strings.h"
#include "controls/localize.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

namespace lw {
namespace {

QString Str(int id) {
    return QString::fromStdString(LoadStr(id));
}

// A control carrying this tag, made as `new T(arguments...)`.
template <typename T, typename... TArguments> T* Tagged(int tag, TArguments&&... arguments) {
    auto* control = new T(std::forward<TArguments>(arguments)...);
    SetTag(control, tag);
    return control;
}

class LocalizeTest : public ::testing::Test {
protected:
    void SetUp() override { SetLanguage(0); }
    QWidget Form;
};

// A missing hint is empty, and tags at or below 10000 are left alone. A
// radio group's items take the numbers after its own; list-like controls
// keep their items when their string is empty.
TEST_F(LocalizeTest,
       TaggedControlsTakeCaptionTwoPartHintAndRadioItemsTheFollowingNumbersInEitherLanguage) {
    auto* label = Tagged<QLabel>(10010, QStringLiteral("design"), &Form);
    auto* button = Tagged<QPushButton>(10110, &Form);
    auto* box = Tagged<QCheckBox>(10125, &Form);
    auto* hintless = Tagged<QLabel>(10104, QStringLiteral("design"), &Form);
    auto* untouched = Tagged<QLabel>(10000, QStringLiteral("stays"), &Form);
    auto* negative = Tagged<QLabel>(-20, QStringLiteral("stays too"), &Form);
    auto* group = Tagged<TRadioGroup>(14100, &Form);
    group->AddItem(QStringLiteral("one"));
    group->AddItem(QStringLiteral("two"));
    group->AddItem(QStringLiteral("three"));
    auto* memo = Tagged<QPlainTextEdit>(10400, QStringLiteral("design lines"), &Form);
    auto* combo = Tagged<QComboBox>(10402, &Form);
    combo->addItems({QStringLiteral("8"), QStringLiteral("10")});
    auto* filled = Tagged<QComboBox>(10010, &Form);
    ASSERT_TRUE(LoadStr(10400).empty());
    ASSERT_TRUE(LoadStr(10402).empty());
    LocalizeForm(&Form);
    EXPECT_EQ(label->text(), Str(10010));
    EXPECT_EQ(button->text(), QStringLiteral("Stam&paj primer..."));
    EXPECT_EQ(box->text(), Str(10125));
    const QString hint = Str(10510);
    ASSERT_TRUE(hint.contains(QLatin1Char('|'))) << hint.toStdString();
    EXPECT_EQ(HintOf(button), hint);
    EXPECT_EQ(button->toolTip(), hint.section(QLatin1Char('|'), 0, 0));
    EXPECT_EQ(button->statusTip(), hint.section(QLatin1Char('|'), 1));
    EXPECT_EQ(hintless->text(), Str(10104));
    EXPECT_EQ(HintOf(hintless), Str(10504));
    EXPECT_EQ(untouched->text(), QStringLiteral("stays"));
    EXPECT_TRUE(HintOf(untouched).isEmpty());
    EXPECT_EQ(negative->text(), QStringLiteral("stays too"));
    EXPECT_EQ(group->title(), Str(14100));
    const QList<QRadioButton*> items = group->Items();
    ASSERT_EQ(items.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(items[i]->text(), Str(14101 + i)) << i;
    }
    EXPECT_EQ(memo->toPlainText(), QStringLiteral("design lines"));
    EXPECT_EQ(combo->count(), 2);
    EXPECT_EQ(filled->count(), 1);
    EXPECT_EQ(filled->itemText(0), Str(10010));

    // Another language localises the form again, and pictures follow it.
    QPixmap builtIn;
    ASSERT_TRUE(LoadLanguageBitmap(builtIn, "BMP_NEGRITA"));
    EXPECT_EQ(builtIn.size(), QSize(16, 16));
    const QString serbian = label->text();
    SetLanguage(1);
    ASSERT_EQ(GetLanguage(), 1) << "the build puts lw_esp.lwb beside the tests";
    LocalizeForm(&Form);
    EXPECT_NE(label->text(), serbian);
    QPixmap spanish;
    ASSERT_TRUE(LoadLanguageBitmap(spanish, "BMP_NEGRITA"));
    EXPECT_NE(spanish.toImage(), builtIn.toImage());
    QPixmap none;
    EXPECT_FALSE(LoadLanguageBitmap(none, "BMP_NONE"));
    SetLanguage(0);
}

// Menus are localised depth first; untagged items keep their texts.
TEST_F(LocalizeTest, ToolBarButtonsDropMenuMarksFallBackToTheirCaptionAsHintAndMenusFollow) {
    QMainWindow window;
    auto* bar = new QToolBar(&window);
    auto* tool = Tagged<QToolButton>(10110, bar);
    bar->addWidget(tool);
    auto* speed = Tagged<QToolButton>(10110, &window);
    auto* tabs = Tagged<QTabWidget>(65000, &window);
    auto* page = Tagged<QWidget>(10013);
    tabs->addTab(page, QStringLiteral("design"));
    QMenuBar* menus = window.menuBar();
    SetTag(menus, 65535);
    QMenu* file = menus->addMenu(QStringLiteral("design"));
    SetTag(file->menuAction(), 10108);
    QAction* print = file->addAction(QStringLiteral("design"));
    SetTag(print, 10110);
    QMenu* languages = file->addMenu(QStringLiteral("languages"));
    QAction* serbian = languages->addAction(QStringLiteral("&SRPSKI"));
    QMenu* popup = Tagged<QMenu>(65535, &window);
    QAction* update = popup->addAction(QStringLiteral("design"));
    SetTag(update, 10109);
    LocalizeForm(&window);
    EXPECT_EQ(tool->text(), QStringLiteral("Stampaj primer"));
    EXPECT_FALSE(HintOf(tool).isEmpty());
    EXPECT_EQ(speed->text(), QStringLiteral("Stam&paj primer..."));
    EXPECT_TRUE(HintOf(tabs).isEmpty());
    EXPECT_EQ(tabs->tabText(0), Str(10013));
    EXPECT_EQ(file->title(), Str(10108));
    EXPECT_EQ(print->text(), Str(10110));
    EXPECT_EQ(HintOf(print), Str(10510));
    EXPECT_EQ(serbian->text(), QStringLiteral("&SRPSKI"));
    EXPECT_EQ(languages->title(), QStringLiteral("languages"));
    EXPECT_EQ(update->text(), Str(10109));
}

} // namespace
} // namespace lw
