#include "platform/richedit/VbKeys.h"

#include <QString>

#include <array>
#include <utility>

namespace platform {

namespace {

// Keys whose code is not their character.
constexpr std::array<std::pair<int, int>, 29> namedKeys{{
    {Qt::Key_Backspace, 8}, {Qt::Key_Tab, 9},       {Qt::Key_Backtab, 9},
    {Qt::Key_Clear, 12},    {Qt::Key_Return, 13},   {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},    {Qt::Key_Control, 17},  {Qt::Key_Alt, 18},
    {Qt::Key_Pause, 19},    {Qt::Key_CapsLock, 20}, {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},    {Qt::Key_PageUp, 33},   {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},      {Qt::Key_Home, 36},     {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},       {Qt::Key_Right, 39},    {Qt::Key_Down, 40},
    {Qt::Key_Print, 44},    {Qt::Key_Insert, 45},   {Qt::Key_Delete, 46},
    {Qt::Key_Help, 47},     {Qt::Key_NumLock, 144}, {Qt::Key_ScrollLock, 145},
    {Qt::Key_Menu, 93},     {Qt::Key_Meta, 91},
}};

} // namespace

int VbKeyCodeFromQt(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    for (const auto& [key, code] : namedKeys) {
        if (key == qtKey)
            return code;
    }
    return 0;
}

int QtKeyFromVbKeyCode(int keyCode) {
    if ((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9'))
        return keyCode;
    if (keyCode >= 112 && keyCode < 112 + 24)
        return Qt::Key_F1 + (keyCode - 112);
    for (const auto& [key, code] : namedKeys) {
        if (code == keyCode)
            return key;
    }
    return Qt::Key_unknown;
}

int VbShiftFromQt(Qt::KeyboardModifiers modifiers) {
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

Qt::KeyboardModifiers QtModifiersFromVbShift(int shift) {
    Qt::KeyboardModifiers modifiers;
    if (shift & 1)
        modifiers |= Qt::ShiftModifier;
    if (shift & 2)
        modifiers |= Qt::ControlModifier;
    if (shift & 4)
        modifiers |= Qt::AltModifier;
    return modifiers;
}

int VbButtonsFromQt(Qt::MouseButtons buttons) {
    int result = 0;
    if (buttons & Qt::LeftButton)
        result |= 1;
    if (buttons & Qt::RightButton)
        result |= 2;
    if (buttons & Qt::MiddleButton)
        result |= 4;
    return result;
}

QString TextForVbKeyCode(int keyCode, int shift) {
    if (keyCode >= 'A' && keyCode <= 'Z') {
        if (shift & 2)
            return QString(QChar(static_cast<char16_t>(keyCode - 64)));
        return QString(QChar(static_cast<char16_t>((shift & 1) ? keyCode : keyCode + 32)));
    }
    if (keyCode >= '0' && keyCode <= '9' && !(shift & 3))
        return QString(QChar(static_cast<char16_t>(keyCode)));
    switch (keyCode) {
    case 8:
    case 9:
    case 13:
    case 27:
    case 32:
        return QString(QChar(static_cast<char16_t>(keyCode)));
    default:
        return QString();
    }
}

int QtKeyForCharacter(int ch) {
    switch (ch) {
    case 8:
        return Qt::Key_Backspace;
    case 9:
        return Qt::Key_Tab;
    case 13:
        return Qt::Key_Return;
    case 27:
        return Qt::Key_Escape;
    case 32:
        return Qt::Key_Space;
    default:
        break;
    }
    if (ch >= 'a' && ch <= 'z')
        return Qt::Key_A + (ch - 'a');
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return ch;
    return Qt::Key_unknown;
}

} // namespace platform
