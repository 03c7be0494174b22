#pragma once
// Reads and writes the hook state that one window carries in its properties:
// the previous procedure (H), the attachment count ("C" H), and per message M
// the sink count (H#M C) and the sinks (H#M#i, i from 1). Sinks are stored as
// their interface pointer in a 64-bit value, without any reference.

#include "platform/window/Window.h"

#include <QList>
#include <QString>

namespace loomhook {

class ISubclass;

class HookProperties {
public:
    explicit HookProperties(platform::HWND hwnd);

    platform::WNDPROC previousProc() const;
    void setPreviousProc(platform::WNDPROC proc) const;
    qint64 windowCount() const;
    void setWindowCount(qint64 count) const;
    // Removes H and "C" H: the window is no longer hooked.
    void removeWindowState() const;

    qint64 sinkCount(qint32 iMsg) const;
    void setSinkCount(qint32 iMsg, qint64 count) const;
    ISubclass* sink(qint32 iMsg, qint64 index) const;
    void setSink(qint32 iMsg, qint64 index, ISubclass* sink) const;
    void removeSink(qint32 iMsg, qint64 index) const;
    // The index (from 1) of a sink among the message's sinks, 0 when absent.
    qint64 indexOf(qint32 iMsg, const ISubclass* sink) const;
    // Entries 1 to the sink count, in order; an empty entry is a null pointer.
    QList<ISubclass*> sinks(qint32 iMsg) const;

private:
    QString sinkCountName(qint32 iMsg) const;
    QString sinkName(qint32 iMsg, qint64 index) const;

    platform::HWND m_hwnd;
    // H: every name starts with the window's handle.
    QString m_handleName;
};

} // namespace loomhook
