#include "console/toolkit/mod_winx.h"

#include "platform/shell/Version.h"
#include "platform/window/WindowStyle.h"

using namespace platform;

namespace {

bool versionOf(OSVERSIONINFOA* info) {
    info->dwOSVersionInfoSize = 148;
    return GetVersionExA(info);
}

} // namespace

bool IsWin98OrLater() {
    OSVERSIONINFOA info;
    if (!versionOf(&info))
        return false;
    if (info.dwMajorVersion > 4)
        return true;
    return info.dwMajorVersion == 4 && info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS &&
           info.dwMinorVersion >= 1;
}

bool IsWin2000OrLater() {
    OSVERSIONINFOA info;
    if (!versionOf(&info))
        return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion >= 5;
}

HWND GetTopLevelWindow(HWND hWnd) {
    HWND w = hWnd;
    for (;;) {
        const HWND parent = GetParent(w);
        if (parent == 0 || !IsWindowVisible(parent))
            return w;
        w = parent;
    }
}

bool MakeTranslucent(HWND hWnd, quint8 alpha) {
    if (!IsWin2000OrLater())
        return false;
    const HWND w = GetTopLevelWindow(hWnd);
    if (!UseStyleWords(w))
        return false;
    // Judged by the word read back: a window whose extended style was 0
    // answers 0 from the write and is layered all the same.
    SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) | WS_EX_LAYERED);
    if (!(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED))
        return false;
    return SetLayeredWindowAttributes(w, 0, alpha, LWA_ALPHA);
}

bool MakeOpaque(HWND hWnd) {
    if (!IsWin2000OrLater())
        return false;
    const HWND w = GetTopLevelWindow(hWnd);
    if (!UseStyleWords(w))
        return false;
    SetLayeredWindowAttributes(w, 0, 255, LWA_ALPHA);
    SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) & ~WS_EX_LAYERED);
    return !(GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_LAYERED);
}
