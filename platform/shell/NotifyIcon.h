#pragma once
// The desktop's notification area: one icon per (window, id) with a tip, and
// the icon's mouse actions sent to its window as the record's callback
// message, the action's own message number as the low word of lParam (so a
// window that hears them as mouse moves reads it as the x coordinate in
// pixels). Over QSystemTrayIcon; tests put in an area of their own.

#include "platform/window/ImageList.h"
#include "platform/window/Window.h"
#include "platform_export.h"

#include <QString>

namespace platform {

constexpr DWORD NIM_ADD = 0;
constexpr DWORD NIM_MODIFY = 1;
constexpr DWORD NIM_DELETE = 2;

constexpr UINT NIF_MESSAGE = 0x1;
constexpr UINT NIF_ICON = 0x2;
constexpr UINT NIF_TIP = 0x4;

// The actions an icon reports.
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_MBUTTONUP = 0x0208;

// The longest tip, in characters.
constexpr int NotifyTipLength = 64;

struct NOTIFYICONDATA {
    DWORD cbSize = 88;
    HWND hWnd = 0;
    UINT uID = 0;
    UINT uFlags = 0;
    UINT uCallbackMessage = 0;
    HICON hIcon = 0;
    // At most NotifyTipLength characters; the tip shown ends at the first
    // NUL, without the blanks that fill the field.
    QString szTip;
};

// The place the icons go: the desktop's notification area, or a test's.
class PLATFORM_EXPORT NotifyArea {
public:
    virtual ~NotifyArea();
    // Whether the desktop shows notification icons at all.
    virtual bool available() const = 0;
    // NIM_ADD, NIM_MODIFY or NIM_DELETE for the icon of (hWnd, uID).
    virtual bool notify(DWORD message, const NOTIFYICONDATA& data) = 0;
};

// Adds, changes or removes the icon of (data.hWnd, data.uID). Adding an icon
// that is there changes it; changing or removing one that is not there fails.
PLATFORM_EXPORT bool Shell_NotifyIconA(DWORD message, const NOTIFYICONDATA* data);
// Whether icons can be shown.
PLATFORM_EXPORT bool NotifyAreaAvailable();
// Installs the area the icons go to (not owned); nullptr puts the desktop's back.
PLATFORM_EXPORT void SetNotifyArea(NotifyArea* area);

} // namespace platform
