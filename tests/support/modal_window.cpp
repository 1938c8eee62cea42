#include "modal_window.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace lw::test {

void WhileModal(const std::function<void(QWidget*)>& inside, const std::function<void()>& open) {
    QTimer::singleShot(0, [inside] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
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
    });
    open();
}

} // namespace lw::test
