#include "sysmenu/WinProc.h"

#include "platform/window/SystemMenu.h"
#include "sysmenu/Sysdeck.h"

using namespace platform;

namespace WinProc {

std::shared_ptr<HookState> HookState::Install(Sysdeck* target, HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (!IsWindow(window) || processId != GetCurrentProcessId())
        return nullptr;
    const WNDPROC previous = GetWindowLongA(window, GWL_WNDPROC);
    if (!previous)
        return nullptr;

    auto hook = std::make_shared<HookState>();
    hook->target = target;
    hook->hookedWindow = window;
    hook->previousWndProc = previous;
    hook->hookProc = RegisterWindowProc([hook](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        return SysMenuHookProc(hook, h, msg, wp, lp);
    });
    if (!SetWindowLongA(window, GWL_WNDPROC, hook->hookProc)) {
        UnregisterWindowProc(hook->hookProc);
        return nullptr;
    }
    // From here on the window has its system menu and carries out its
    // standard commands.
    GetSystemMenu(window, false);

    if (QWidget* widget = WidgetFromHandle(window)) {
        // The window goes before the control: the hook goes with it, and the
        // control no longer names that window.
        std::weak_ptr<HookState> weak = hook;
        hook->windowGone = QObject::connect(widget, &QObject::destroyed, [weak] {
            const std::shared_ptr<HookState> h = weak.lock();
            if (!h)
                return;
            if (Sysdeck* t = h->target) {
                if (t->m_storedHwnd == h->hookedWindow)
                    t->m_storedHwnd = 0;
                if (t->m_hook == h)
                    t->m_hook.reset();
            }
            h->target = nullptr;
            UnregisterWindowProc(h->hookProc);
        });
    }
    return hook;
}

void HookState::Remove(const std::shared_ptr<HookState>& hook) {
    if (!hook)
        return;
    hook->target = nullptr;
    QObject::disconnect(hook->windowGone);
    const HWND window = hook->hookedWindow;
    if (!IsWindow(window)) {
        UnregisterWindowProc(hook->hookProc);
        return;
    }
    if (GetWindowLongA(window, GWL_WNDPROC) == hook->hookProc) {
        SetWindowLongA(window, GWL_WNDPROC, hook->previousWndProc);
        UnregisterWindowProc(hook->hookProc);
        return;
    }
    // Another procedure was put in front of ours and calls ours as its
    // previous one: ours stays in the chain, passing everything on, until
    // the window goes.
    if (QWidget* widget = WidgetFromHandle(window)) {
        const WNDPROC proc = hook->hookProc;
        QObject::connect(widget, &QObject::destroyed, [proc] { UnregisterWindowProc(proc); });
    }
}

LRESULT HookState::SysMenuHookProc(const std::shared_ptr<HookState>& hook, HWND hWnd, UINT uMsg,
                                   WPARAM wParam, LPARAM lParam) {
    // The cancel flag of this one message: a handler that opens a dialog may
    // let other messages through meanwhile, and those have their own.
    bool cancelled = false;
    QPointer<Sysdeck> target = hook->target;
    if (target && hWnd == hook->hookedWindow) {
        target->m_dispatches.append(&cancelled);
        try {
            switch (uMsg) {
            case WM_SYSCOMMAND:
                target->RaiseSysCommandEvent(wParam);
                break;
            case WM_MENUSELECT:
                target->RaiseMenuSelect(wParam);
                break;
            case WM_NCDESTROY:
                target->m_storedHwnd = 0;
                break;
            default:
                break;
            }
        } catch (...) {
            // What a handler throws stays here; the message still goes on.
        }
        if (target)
            target->m_dispatches.removeOne(&cancelled);
    }
    if (cancelled)
        return 0;
    if (uMsg == WM_SYSCOMMAND) {
        try {
            return CallWindowProcA(hook->previousWndProc, hWnd, uMsg, wParam, lParam);
        } catch (...) {
            return 0;
        }
    }
    return CallWindowProcA(hook->previousWndProc, hWnd, uMsg, wParam, lParam);
}

} // namespace WinProc
