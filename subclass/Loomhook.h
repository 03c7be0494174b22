#pragma once
// Loomhook: lets an object (a sink) receive chosen messages of a window of
// this process, before, after or instead of the window's own procedure. All
// hook state lives in properties of the hooked window.

#include "loomhook_export.h"
#include "platform/com/ComError.h"
#include "platform/window/Window.h"

#include <QList>

#include <utility>

namespace loomhook {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::WPARAM;

enum EMsgResponse : qint32 {
    emrConsume = 0,
    emrPostProcess = 1,
    emrPreprocess = 2,
};

// Error codes raised by AttachMessage; the raised number is 0x80040000 Or the code.
enum ELoomhookError : qint32 {
    eeCantSubclass = 13081,
    eeAlreadyAttached = 13082,
    eeInvalidWindow = 13083,
    eeNoExternalWindow = 13084,
};

// What a sink implements. The base class answers emrConsume and returns 0.
// A sink that is destroyed while still attached is detached from everything
// first, so the dispatcher never calls a dead sink.
class LOOMHOOK_EXPORT ISubclass {
public:
    ISubclass();
    ISubclass(const ISubclass&) = delete;
    ISubclass& operator=(const ISubclass&) = delete;
    virtual ~ISubclass();

    // Read by the dispatcher at every message.
    virtual EMsgResponse MsgResponse() const;
    virtual LRESULT WindowProc(HWND hwnd, qint32 iMsg, WPARAM wParam, LPARAM lParam);

private:
    friend class GSubclass;
    // Every (window, message) this sink is attached to, kept by GSubclass so
    // that the destructor can detach from all of them.
    QList<std::pair<HWND, qint32>> m_attachments;
};

// The hooking service. It holds no state of its own: the hook state of a
// window lives in the window's properties, named after its handle H and the
// message M, numbers in signed decimal:
//   H        the window's previous procedure
//   "C" H    attachments on the window, one per (message, sink)
//   H#M C    sinks attached to message M
//   H#M#i    the i-th of those sinks (from 1, in attachment order)
// The last detachment from a window puts the recorded previous procedure back
// as the window procedure, even when someone installed another procedure over
// ours meanwhile; ours, if still called through such a chain, then hands the
// message to the window's default handling.
class LOOMHOOK_EXPORT GSubclass {
public:
    // Raises platform::ComError 13081 to 13084.
    void AttachMessage(ISubclass* iwp, HWND hwnd, qint32 iMsg);
    void DetachMessage(ISubclass* iwp, HWND hwnd, qint32 iMsg);
    // The message of the most recent dispatch to a sink on this thread.
    qint32 CurrentMessage() const;
    // Calls the previous procedure recorded at the most recent dispatch to a sink.
    LRESULT CallOldWindowProc(HWND hwnd, qint32 iMsg, WPARAM wParam, LPARAM lParam);
};

} // namespace loomhook
