#pragma once

#include <functional>

class QWidget;

namespace lw::test {

// Runs `inside` once the modal window that `open` shows is up, active and
// holding the focus, so keys sent to QApplication::focusWidget() reach it.
// A window `inside` leaves open is closed with Esc, as a person would; one
// that never gets the focus is closed and the test fails, rather than wait
// for ever.
void WhileModal(const std::function<void(QWidget*)>& inside, const std::function<void()>& open);

} // namespace lw::test
