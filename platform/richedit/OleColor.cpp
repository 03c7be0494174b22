#include "platform/richedit/OleColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

// The palette role that stands for each system colour index; -1 for indexes
// that have no counterpart.
QPalette::ColorRole roleOf(int index, bool* known) {
    *known = true;
    switch (index) {
    case 0:  // scroll bar
    case 15: // button face
    case 4:  // menu
    case 3:  // inactive caption
    case 2:  // active caption
        return QPalette::Button;
    case 1: // desktop
        return QPalette::Dark;
    case COLOR_WINDOW:
        return QPalette::Base;
    case 6:  // window frame
    case 16: // button shadow
        return QPalette::Shadow;
    case 7:  // menu text
    case 9:  // caption text
    case 18: // button text
    case 19: // inactive caption text
        return QPalette::ButtonText;
    case COLOR_WINDOWTEXT:
        return QPalette::Text;
    case 10: // active border
    case 11: // inactive border
    case 12: // application workspace
        return QPalette::Window;
    case 13: // highlight
        return QPalette::Highlight;
    case 14: // highlighted text
        return QPalette::HighlightedText;
    case 17: // grey text
        return QPalette::PlaceholderText;
    case 20: // 3-D highlight
        return QPalette::Light;
    case 21: // 3-D dark shadow
        return QPalette::Shadow;
    case 22: // 3-D light
        return QPalette::Midlight;
    case 23: // tooltip text
        return QPalette::ToolTipText;
    case 24: // tooltip background
        return QPalette::ToolTipBase;
    default:
        *known = false;
        return QPalette::NoRole;
    }
}

} // namespace

qint32 OleTranslateColor(qint32 colour) {
    const quint32 value = static_cast<quint32>(colour);
    if ((value & 0xFF000000u) == 0)
        return colour;
    if ((value & 0xFF000000u) != 0x80000000u || (value & 0x00FFFF00u) != 0)
        return -1;
    bool known = false;
    const QPalette::ColorRole role = roleOf(static_cast<int>(value & 0xFFu), &known);
    if (!known)
        return -1;
    return RgbFromColor(QGuiApplication::palette().color(QPalette::Active, role));
}

QColor ColorFromRgb(qint32 rgb) {
    return QColor(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

qint32 RgbFromColor(const QColor& colour) {
    return colour.red() + 256 * colour.green() + 65536 * colour.blue();
}

} // namespace platform
