#pragma once
// Style words, window position and layering on top of the window table.
//
// A window's style words (GWL_STYLE, GWL_EXSTYLE) keep their bits exactly as
// written; once a window uses them (UseStyleWords), every change of a word is
// applied to the widget as Qt window flags: caption, frame, system menu and
// its buttons, tool window, context help and stays-on-top. SetWindowPos with
// HWND_TOPMOST or HWND_NOTOPMOST sets or clears WS_EX_TOPMOST, and the alpha
// of a layered window is the widget's window opacity. For a child of the MDI
// frame the words act on its sub-window.

#include "platform/window/Window.h"

#include <QPoint>

namespace platform {

// Bits of the style word.
constexpr qint64 WS_BORDER = 0x800000;
constexpr qint64 WS_DLGFRAME = 0x400000;
constexpr qint64 WS_CAPTION = 0xC00000; // WS_BORDER | WS_DLGFRAME
constexpr qint64 WS_SYSMENU = 0x80000;
constexpr qint64 WS_THICKFRAME = 0x40000;
constexpr qint64 WS_MINIMIZEBOX = 0x20000;
constexpr qint64 WS_MAXIMIZEBOX = 0x10000;
// Bits of the extended style word.
constexpr qint64 WS_EX_TOPMOST = 0x8;
constexpr qint64 WS_EX_TOOLWINDOW = 0x80;
constexpr qint64 WS_EX_CONTEXTHELP = 0x400;
constexpr qint64 WS_EX_LAYERED = 0x80000;

// Where SetWindowPos puts a window in the z-order.
constexpr HWND HWND_TOP = 0;
constexpr HWND HWND_BOTTOM = 1;
constexpr HWND HWND_TOPMOST = -1;
constexpr HWND HWND_NOTOPMOST = -2;
constexpr UINT SWP_NOSIZE = 0x1;
constexpr UINT SWP_NOMOVE = 0x2;
constexpr UINT SWP_NOZORDER = 0x4;
constexpr UINT SWP_NOACTIVATE = 0x10;
constexpr UINT SWP_FRAMECHANGED = 0x20;

constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;

// A press on the non-client area; with HTCAPTION the window's default
// handling starts moving it, as a drag on its caption would.
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr WPARAM HTCAPTION = 2;

// Makes the window's style words live: the first call fills them from the
// widget's current look (bits written earlier that the look does not express,
// such as WS_EX_LAYERED, are kept), and from then on every change is applied.
// Calling it again does nothing. False for a window without a widget.
PLATFORM_EXPORT bool UseStyleWords(HWND hwnd);

// Moves, sizes and orders a window (pixels, screen coordinates for a
// top-level window). SWP_FRAMECHANGED applies the style words again.
PLATFORM_EXPORT bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy,
                                  UINT flags);
// The constant alpha of a layered top-level window (LWA_ALPHA; a colour key
// is not supported and is ignored). False unless WS_EX_LAYERED is set.
PLATFORM_EXPORT bool SetLayeredWindowAttributes(HWND hwnd, DWORD colorKey, quint8 alpha,
                                                DWORD flags);

// The nearest ancestor widget that is a window of the table, 0 for none.
PLATFORM_EXPORT HWND GetParent(HWND hwnd);
// True when the window and all its ancestors are shown.
PLATFORM_EXPORT bool IsWindowVisible(HWND hwnd);
// Ends a mouse grab, whoever holds it.
PLATFORM_EXPORT bool ReleaseCapture();
// The mouse position in screen coordinates.
PLATFORM_EXPORT bool GetCursorPos(QPoint* point);

// The widget that the window's frame flags apply to: the MDI sub-window of a
// child of the frame, the widget itself when it is a window, otherwise none.
PLATFORM_EXPORT QWidget* FrameWidgetOf(HWND hwnd);

} // namespace platform
