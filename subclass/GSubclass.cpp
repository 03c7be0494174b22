#include "subclass/Dispatcher.h"
#include "subclass/HookProperties.h"
#include "subclass/Loomhook.h"
#include "subclass/LoomhookError.h"

namespace loomhook {

using namespace platform;

void GSubclass::AttachMessage(ISubclass* iwp, HWND hwnd, qint32 iMsg) {
    if (!IsWindow(hwnd))
        raiseLoomhookError(eeInvalidWindow);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId != GetCurrentProcessId())
        raiseLoomhookError(eeNoExternalWindow);
    if (!iwp)
        return; // no sink, nothing to attach

    const HookProperties props(hwnd);
    const qint64 windowCount = qMax<qint64>(props.windowCount(), 0);
    const qint64 sinkCount = qMax<qint64>(props.sinkCount(iMsg), 0);
    // Checked before the dispatcher is installed, so that a failed attach
    // leaves the window exactly as it was.
    if (props.indexOf(iMsg, iwp) > 0)
        raiseLoomhookError(eeAlreadyAttached);
    if (windowCount == 0) {
        const WNDPROC previous = SetWindowLongA(hwnd, GWL_WNDPROC, Dispatcher::proc());
        if (previous == 0)
            raiseLoomhookError(eeCantSubclass);
        props.setPreviousProc(previous);
    }
    props.setSink(iMsg, sinkCount + 1, iwp);
    props.setSinkCount(iMsg, sinkCount + 1);
    props.setWindowCount(windowCount + 1);
    iwp->m_attachments.append({hwnd, iMsg});
}

void GSubclass::DetachMessage(ISubclass* iwp, HWND hwnd, qint32 iMsg) {
    const HookProperties props(hwnd);
    const qint64 sinkCount = props.sinkCount(iMsg);
    const qint64 found = props.indexOf(iMsg, iwp);
    // Not attached here (or the window is gone with its properties): nothing
    // to undo. The sink is not touched, it may be a dangling pointer.
    if (sinkCount <= 0 || found == 0)
        return;

    const qint64 windowCount = props.windowCount();
    if (windowCount <= 1) {
        SetWindowLongA(hwnd, GWL_WNDPROC, props.previousProc());
        props.removeWindowState();
    } else {
        props.setWindowCount(windowCount - 1);
    }
    for (qint64 i = found; i < sinkCount; ++i)
        props.setSink(iMsg, i, props.sink(iMsg, i + 1));
    props.removeSink(iMsg, sinkCount);
    props.setSinkCount(iMsg, sinkCount - 1);
    iwp->m_attachments.removeOne(std::pair{hwnd, iMsg});
}

qint32 GSubclass::CurrentMessage() const {
    return Dispatcher::currentMessage();
}

LRESULT GSubclass::CallOldWindowProc(HWND hwnd, qint32 iMsg, WPARAM wParam, LPARAM lParam) {
    return Dispatcher::callOldWindowProc(hwnd, static_cast<UINT>(iMsg), wParam, lParam);
}

} // namespace loomhook
