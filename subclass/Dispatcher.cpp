#include "subclass/Dispatcher.h"

#include "subclass/HookProperties.h"
#include "subclass/Loomhook.h"

#include <QDebug>
#include <QHash>

#include <exception>

namespace loomhook {

using namespace platform;

namespace {

// What the most recent dispatch to a sink on this thread was, for
// CurrentMessage and CallOldWindowProc. A previous procedure of 0 stands for
// the window's default handling.
struct DispatchState {
    bool recorded = false;
    qint32 message = 0;
    WNDPROC previous = 0;
};

thread_local DispatchState t_state;

// What a window's properties said of one of its messages: its previous
// procedure and its sinks. Every message a hooked window gets passes here,
// and most have no sink, so the properties are read again only after they
// changed.
struct Snapshot {
    quint64 revision = 0;
    WNDPROC previous = 0;
    QList<ISubclass*> sinks;
};

// Windows and messages met so far; forgotten all at once past this many.
constexpr qsizetype MaxSnapshots = 4096;

Snapshot snapshotOf(HWND hwnd, qint32 message) {
    thread_local QHash<quint64, Snapshot> snapshots;
    const quint64 revision = PropRevision(hwnd);
    const quint64 key = (quint64(quint32(hwnd)) << 32) | quint32(message);
    auto it = snapshots.find(key);
    if (it != snapshots.end() && revision != 0 && it->revision == revision)
        return *it;
    const HookProperties props(hwnd);
    Snapshot read{revision, props.previousProc(), props.sinks(message)};
    if (revision != 0) {
        if (it == snapshots.end() && snapshots.size() >= MaxSnapshots)
            snapshots.clear();
        snapshots.insert(key, read);
    }
    return read;
}

LRESULT callPrevious(WNDPROC previous, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (previous == 0)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

// Whether a sink after position `index` of the snapshot is still attached.
bool laterSinkAttached(const HookProperties& props, qint32 message, const QList<ISubclass*>& sinks,
                       qsizetype index) {
    for (qsizetype i = index + 1; i < sinks.size(); ++i) {
        if (props.indexOf(message, sinks.at(i)) > 0)
            return true;
    }
    return false;
}

} // namespace

WNDPROC Dispatcher::proc() {
    static const WNDPROC id = RegisterWindowProc(&Dispatcher::dispatch);
    return id;
}

qint32 Dispatcher::currentMessage() {
    return t_state.message;
}

LRESULT Dispatcher::callOldWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!t_state.recorded)
        return 0;
    return callPrevious(t_state.previous, hwnd, msg, wParam, lParam);
}

// Window procedures are called from Qt event handlers: nothing a sink throws
// may get past this point. The message then answers 0.
LRESULT Dispatcher::dispatch(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        return dispatchToSinks(hwnd, msg, wParam, lParam);
    } catch (const std::exception& e) {
        qWarning("Loomhook: handling message %d of window %d failed: %s", static_cast<qint32>(msg),
                 hwnd, e.what());
    } catch (...) {
        qWarning("Loomhook: handling message %d of window %d failed", static_cast<qint32>(msg),
                 hwnd);
    }
    return 0;
}

// The first sink decides whether the previous procedure runs before the sinks
// (its result dropped), the last sink whether it runs after them (its result
// becomes the message's result); otherwise the message's result is the last
// sink's. The sinks are taken as they stand when the message arrives, so a
// sink attached meanwhile waits for the next message, one detached meanwhile is
// passed over, and the last sink still attached decides the post-processing:
// the previous procedure runs at most once per message.
LRESULT Dispatcher::dispatchToSinks(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const qint32 message = static_cast<qint32>(msg);
    const Snapshot snapshot = snapshotOf(hwnd, message);
    WNDPROC previous = snapshot.previous;
    if (previous == proc())
        previous = 0; // never call ourselves in a loop
    const QList<ISubclass*>& sinks = snapshot.sinks;
    if (sinks.isEmpty())
        return callPrevious(previous, hwnd, msg, wParam, lParam);

    const HookProperties props(hwnd);

    LRESULT result = 0;
    bool calledBefore = false;
    bool firstSink = true;
    bool sinkCalled = false;
    for (qsizetype i = 0; i < sinks.size(); ++i) {
        ISubclass* sink = sinks.at(i);
        if (props.indexOf(message, sink) == 0)
            continue; // an empty entry, or detached since the message arrived
        t_state = {true, message, previous};
        // Read before the call too: a sink that detaches itself inside its
        // WindowProc may be gone afterwards, and then this answer stands.
        const EMsgResponse declared = sink->MsgResponse();
        if (firstSink) {
            firstSink = false;
            if (declared == emrPreprocess) {
                result = callPrevious(previous, hwnd, msg, wParam, lParam);
                calledBefore = true;
                if (props.indexOf(message, sink) == 0)
                    continue;
            }
        }
        result = sink->WindowProc(hwnd, message, wParam, lParam);
        sinkCalled = true;
        if (calledBefore || laterSinkAttached(props, message, sinks, i))
            continue;
        const EMsgResponse after =
            props.indexOf(message, sink) > 0 ? sink->MsgResponse() : declared;
        if (after == emrPostProcess) {
            result = callPrevious(previous, hwnd, msg, wParam, lParam);
            calledBefore = true;
        }
        break; // the last sink has had the message
    }
    if (!sinkCalled && !calledBefore)
        result = callPrevious(previous, hwnd, msg, wParam, lParam);
    return result;
}

} // namespace loomhook
