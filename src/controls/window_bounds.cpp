#include "controls/window_bounds.h"

#include <QEvent>
#include <QObject>
#include <QVariant>
#include <QWidget>

namespace lw {

namespace {

// Where the client area lay inside the frame when the window last stood on
// screen in the normal state; absent until it did.
constexpr const char* kNormalFrameOffset = "lwNormalFrameOffset";

class TNormalStateWatch : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        auto* window = static_cast<QWidget*>(watched);
        const Qt::WindowStates state = window->windowState() & ~Qt::WindowActive;
        if ((type == QEvent::Move || type == QEvent::Resize || type == QEvent::Show) &&
            window->isVisible() && state == Qt::WindowNoState) {
            // The frame a window manager draws around a maximized window is
            // often thinner: the offset is taken while the window is normal.
            window->setProperty(kNormalFrameOffset, window->geometry().topLeft() - window->pos());
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
    const QVariant offset = window->property(kNormalFrameOffset);
    if (!offset.isValid()) {
        return normal; // still as it was set: the frame's position already
    }
    // Seen on screen, the normal geometry is the client area's; stored as it
    // is, each maximized exit would move the window down by its title bar.
    return QRect(normal.topLeft() - offset.toPoint(), normal.size());
}

} // namespace lw
