#pragma once
// The desktop around the program's top-level windows: the work area of the
// screen, sliding a window in or out of view, and bringing one to the front.

#include "platform/window/Window.h"

namespace platform {

struct RECT {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
};

constexpr UINT SPI_GETWORKAREA = 48;

// SPI_GETWORKAREA fills *rect with the primary screen's work area in pixels:
// the screen less the panels and docks. False for any other action.
PLATFORM_EXPORT bool SystemParametersInfoA(UINT action, UINT param, RECT* rect, UINT winIni);

constexpr DWORD AW_HOR_POSITIVE = 0x1;
constexpr DWORD AW_HOR_NEGATIVE = 0x2;
constexpr DWORD AW_VER_POSITIVE = 0x4;
constexpr DWORD AW_VER_NEGATIVE = 0x8;
constexpr DWORD AW_HIDE = 0x10000;
constexpr DWORD AW_ACTIVATE = 0x20000;
constexpr DWORD AW_SLIDE = 0x40000;

// Shows (or with AW_HIDE hides) a top-level window by sliding its content
// in the given direction over `time` milliseconds; AW_VER_NEGATIVE rises
// from the bottom edge, AW_VER_POSITIVE sinks towards it. Returns at once
// and never waits. A window shown this way takes the focus only with
// AW_ACTIVATE. False for a window that is not a top-level window.
PLATFORM_EXPORT bool AnimateWindow(HWND hwnd, DWORD time, DWORD flags);

// Raises the window and gives it the focus. False for a window that is not
// a top-level window.
PLATFORM_EXPORT bool SetForegroundWindow(HWND hwnd);

} // namespace platform
