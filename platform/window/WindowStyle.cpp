#include "platform/window/WindowStyle.h"

#include "platform/window/WindowStyleHost.h"

#include <QCursor>
#include <QMdiSubWindow>
#include <QWidget>

namespace platform {

QWidget* FrameWidgetOf(HWND hwnd) {
    QWidget* w = WidgetFromHandle(hwnd);
    if (!w)
        return nullptr;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(w->parentWidget()))
        return sub;
    return w->isWindow() ? w : nullptr;
}

bool UseStyleWords(HWND hwnd) {
    return WindowStyleHost::attach(hwnd) != nullptr;
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    if (!UseStyleWords(hwnd))
        return false;
    QWidget* frame = FrameWidgetOf(hwnd);
    QWidget* w = frame ? frame : WidgetFromHandle(hwnd);

    if (!(flags & SWP_NOZORDER)) {
        if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
            const qint64 ex = GetWindowLongA(hwnd, GWL_EXSTYLE);
            const qint64 wanted =
                insertAfter == HWND_TOPMOST ? (ex | WS_EX_TOPMOST) : (ex & ~WS_EX_TOPMOST);
            if (wanted != ex)
                SetWindowLongA(hwnd, GWL_EXSTYLE, wanted);
            if (insertAfter == HWND_TOPMOST)
                w->raise();
        } else if (insertAfter == HWND_TOP) {
            w->raise();
        } else if (insertAfter == HWND_BOTTOM) {
            w->lower();
        } else if (QWidget* other = FrameWidgetOf(insertAfter)) {
            if (other->parentWidget() == w->parentWidget() && other != w)
                w->stackUnder(other);
        }
    }
    if (!(flags & SWP_NOMOVE))
        w->move(x, y);
    if (!(flags & SWP_NOSIZE))
        w->resize(cx, cy);
    if (flags & SWP_FRAMECHANGED) {
        if (WindowStyleHost* host = WindowStyleHost::of(hwnd))
            host->apply();
        w->update();
    }
    return true;
}

bool SetLayeredWindowAttributes(HWND hwnd, DWORD colorKey, quint8 alpha, DWORD flags) {
    Q_UNUSED(colorKey);
    if (!UseStyleWords(hwnd))
        return false;
    if (!(GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED))
        return false;
    QWidget* frame = FrameWidgetOf(hwnd);
    if (!frame || !frame->isWindow())
        return false;
    if (flags & LWA_ALPHA)
        frame->setWindowOpacity(alpha / 255.0);
    return true;
}

HWND GetParent(HWND hwnd) {
    const QWidget* w = WidgetFromHandle(hwnd);
    if (!w)
        return 0;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
        if (const HWND h = HandleOfWidget(p))
            return h;
    }
    return 0;
}

bool IsWindowVisible(HWND hwnd) {
    const QWidget* w = WidgetFromHandle(hwnd);
    return w && w->isVisible();
}

bool ReleaseCapture() {
    if (QWidget* grabber = QWidget::mouseGrabber())
        grabber->releaseMouse();
    return true;
}

bool GetCursorPos(QPoint* point) {
    if (!point)
        return false;
    *point = QCursor::pos();
    return true;
}

} // namespace platform
