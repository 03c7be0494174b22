#include "windows/DetachMenuProc.h"

#include "windows/frm_query.h"

using namespace platform;

namespace {

const QString kPrevWndProc = QStringLiteral("PrevWndProc");

WNDPROC detachMenuProcId() {
    static const WNDPROC id = RegisterWindowProc(DetachMenuProc);
    return id;
}

} // namespace

LRESULT DetachMenuProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_SYSCOMMAND && wParam == IDM_DETACH) {
        if (auto* query = qobject_cast<frm_query*>(WidgetFromHandle(hWnd)))
            query->Desktop();
        return 0;
    }
    return CallWindowProcA(GetPropA(hWnd, kPrevWndProc), hWnd, msg, wParam, lParam);
}

void InstallDetachMenuProc(HWND hWnd) {
    const WNDPROC proc = detachMenuProcId();
    if (GetWindowLongA(hWnd, GWL_WNDPROC) == proc)
        return;
    const qint64 previous = SetWindowLongA(hWnd, GWL_WNDPROC, proc);
    if (previous != 0)
        SetPropA(hWnd, kPrevWndProc, previous);
}

void RemoveDetachMenuProc(HWND hWnd) {
    if (GetWindowLongA(hWnd, GWL_WNDPROC) != detachMenuProcId())
        return;
    SetWindowLongA(hWnd, GWL_WNDPROC, GetPropA(hWnd, kPrevWndProc));
    RemovePropA(hWnd, kPrevWndProc);
}
