#pragma once
// System version tests, top-level window lookup and translucency.

#include "platform/window/Window.h"

bool IsWin98OrLater();
bool IsWin2000OrLater();
// Climbs from the window to its parent while the parent is visible and
// answers the last window reached (the window itself when its parent is
// missing or hidden).
platform::HWND GetTopLevelWindow(platform::HWND hWnd);
// Gives the top-level window around hWnd the layered style and the constant
// opacity alpha (0 transparent, 255 opaque). True when the window is layered
// and has the alpha.
bool MakeTranslucent(platform::HWND hWnd, quint8 alpha);
// Makes that window fully opaque and no longer layered. True when it is.
bool MakeOpaque(platform::HWND hWnd);
