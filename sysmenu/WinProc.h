#pragma once
// The hook of one Sysdeck on one window: the window procedure put in front of
// the window's own, which raises the control's events for system commands and
// menu highlights before the window sees them.

#include "platform/window/Window.h"

#include <QMetaObject>
#include <QPointer>

#include <memory>

class Sysdeck;

namespace WinProc {

struct HookState {
    // The control whose events the hook raises; empty once it has ended.
    QPointer<Sysdeck> target;
    platform::HWND hookedWindow = 0;
    platform::WNDPROC previousWndProc = 0;
    platform::WNDPROC hookProc = 0;
    QMetaObject::Connection windowGone;

    // Puts a hook for `target` on `window`; nullptr when the window cannot be
    // hooked (no such window, or another process's).
    static std::shared_ptr<HookState> Install(Sysdeck* target, platform::HWND window);
    // Takes the hook off. The previous procedure comes back only while the
    // hook is the window's current procedure; under another hook it stays in
    // the chain and passes every message on.
    static void Remove(const std::shared_ptr<HookState>& hook);
    static platform::LRESULT SysMenuHookProc(const std::shared_ptr<HookState>& hook,
                                             platform::HWND hWnd, platform::UINT uMsg,
                                             platform::WPARAM wParam, platform::LPARAM lParam);
};

} // namespace WinProc
