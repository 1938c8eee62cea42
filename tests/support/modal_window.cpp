#include "modal_window.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace lw::test {

namespace {

void RunInside(QWidget* modal, const std::function<void(QWidget*)>& inside) {
    modal->activateWindow();
    // The window's activation can come before the focus moves into it;
    // keys sent in between would go to the window underneath.
    const bool ready = QTest::qWaitForWindowActive(modal) && QTest::qWaitFor([modal] {
                           const QWidget* focus = QApplication::focusWidget();
                           return focus != nullptr && focus->window() == modal;
                       });
    EXPECT_TRUE(ready) << "the modal window never took the focus";
    if (!ready) {
        modal->close();
        return;
    }
    inside(modal);
    if (QApplication::activeModalWidget() == modal) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    }
}

} // namespace

void WhileModal(const std::function<void(QWidget*)>& inside, const std::function<void()>& open) {
    // Checked at every turn of the event loop: work done before the window
    // shows (a load) may run events first.
    QTimer watch;
    bool ran = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        watch.stop();
        ran = true;
        RunInside(modal, inside);
    });
    watch.start(0);
    open();
    watch.stop();
    EXPECT_TRUE(ran) << "no modal window came up";
}

} // namespace lw::test
