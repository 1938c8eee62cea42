#include "controls/qt_colors.h"

namespace lw {

namespace {
QPalette::ColorRole RoleOfSystemColor(int index) {
    switch (index) {
    case 1:
        return QPalette::Dark; // desktop
    case 2:
        return QPalette::Highlight; // active caption
    case 3:
        return QPalette::Mid; // inactive caption
    case 9:
        return QPalette::HighlightedText; // caption text
    case 12:
        return QPalette::Midlight; // application workspace
    case 17:
        return QPalette::PlaceholderText; // grey text
    case 19:
        return QPalette::WindowText; // inactive caption text
    case 5:
        return QPalette::Base; // window (edit background)
    case 8:
        return QPalette::Text; // window text
    case 13:
        return QPalette::Highlight; // highlight
    case 14:
        return QPalette::HighlightedText; // highlighted text
    case 15:
        return QPalette::Button; // button face
    case 18:
        return QPalette::ButtonText; // button text
    case 23:
        return QPalette::ToolTipText; // info text
    case 24:
        return QPalette::ToolTipBase; // info background
    default:
        return QPalette::Window;
    }
}
} // namespace

QColor ResolveColor(TColor color, const QPalette& palette) {
    if (IsSystemColor(color)) {
        return palette.color(RoleOfSystemColor(SystemColorIndex(color)));
    }
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

TColor ToTColor(const QColor& color) {
    return RGBColor(color.red(), color.green(), color.blue());
}

} // namespace lw
