#include "app/window_bounds.h"

#include <QEvent>
#include <QObject>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace lw {

namespace {

constexpr const char* kShownNormal = "lwShownNormal";

// Notes the first time the window stands on screen in the normal state.
class TNormalStateWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        auto* window = static_cast<QWidget*>(watched);
        if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) &&
            window->isVisible() && window->windowState() == Qt::WindowNoState) {
            window->setProperty(kShownNormal, true);
        }
        return false;
    }
};

} // namespace

void TrackNormalBounds(QWidget* window) {
    window->installEventFilter(new TNormalStateWatch(window));
}

QRect NormalBounds(const QWidget* window) {
    if (!window->isMaximized() && !window->isFullScreen()) {
        return QRect(window->pos(), window->size());
    }
    const QRect normal =
        window->normalGeometry().isValid() ? window->normalGeometry() : window->geometry();
    if (!window->property(kShownNormal).toBool()) {
        return normal; // still as it was set: the frame's position already
    }
    // Seen on screen, the normal geometry is the client area's; stored as it
    // is, each maximized exit would move the window down by its title bar.
    const QWindow* handle = window->windowHandle();
    const QMargins frame = handle != nullptr ? handle->frameMargins() : QMargins();
    return QRect(normal.topLeft() - QPoint(frame.left(), frame.top()), normal.size());
}

} // namespace lw
