#pragma once
// Colours as the program stores them: RGB numbers (red + 256 * green +
// 65536 * blue), or system colours (&H80000000 Or the index of a system
// colour) that take the application palette's colour of that role.

#include "platform_export.h"

#include <QColor>
#include <QtGlobal>

namespace platform {

constexpr qint32 SystemColorFlag = qint32(0x80000000u);
constexpr int COLOR_WINDOW = 5;
constexpr int COLOR_WINDOWTEXT = 8;
constexpr qint32 vbWindowBackground = SystemColorFlag | COLOR_WINDOW;
constexpr qint32 vbWindowText = SystemColorFlag | COLOR_WINDOWTEXT;

// The RGB number of a colour: system colours are looked up in the
// application palette (the window background is its base colour, the window
// text its text colour). -1 when the colour cannot be translated.
PLATFORM_EXPORT qint32 OleTranslateColor(qint32 colour);

PLATFORM_EXPORT QColor ColorFromRgb(qint32 rgb);
PLATFORM_EXPORT qint32 RgbFromColor(const QColor& colour);

} // namespace platform
