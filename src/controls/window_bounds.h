#pragma once

#include <QRect>

class QWidget;

namespace lw {

// Lets NormalBounds tell how Qt holds a window's normal geometry: as it was
// set before the window was shown (the frame's position) or as last seen on
// screen in the normal state (the client area's). Call once per window.
void TrackNormalBounds(QWidget* window);

// Where a top-level window stands when it is not maximized: its frame's
// top-left, as move() takes it, and its client size, as resize() takes it.
// Read as the window keeps them, also while it is maximized, so the state
// need not be left (on X11 leaving it would only take effect later).
QRect NormalBounds(const QWidget* window);

} // namespace lw
