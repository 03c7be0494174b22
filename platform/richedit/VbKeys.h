#pragma once
// Key codes, shift masks and mouse buttons as controls report them in their
// key and mouse events: key codes are the virtual-key numbers (vbKeyA = 65,
// vbKeyReturn = 13, vbKeyF1 = 112), shift is 1 Shift + 2 Ctrl + 4 Alt, and
// buttons are 1 left + 2 right + 4 middle.

#include "platform_export.h"

#include <QString>
#include <Qt>

namespace platform {

// 0 for a key that has no code.
PLATFORM_EXPORT int VbKeyCodeFromQt(int qtKey);
// Qt::Key_unknown for a code that has no key.
PLATFORM_EXPORT int QtKeyFromVbKeyCode(int keyCode);
PLATFORM_EXPORT int VbShiftFromQt(Qt::KeyboardModifiers modifiers);
PLATFORM_EXPORT Qt::KeyboardModifiers QtModifiersFromVbShift(int shift);
PLATFORM_EXPORT int VbButtonsFromQt(Qt::MouseButtons buttons);
// The text a key gives, for a key code a handler put in place of the
// pressed one; empty for a key without text.
PLATFORM_EXPORT QString TextForVbKeyCode(int keyCode, int shift);
// The key that types a character; Qt::Key_unknown for one without a key.
PLATFORM_EXPORT int QtKeyForCharacter(int ch);

} // namespace platform
