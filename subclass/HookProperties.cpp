#include "subclass/HookProperties.h"

#include <QStringBuilder>

namespace loomhook {

using namespace platform;

// The names are built on every message a hooked window gets, so each is
// put together in one allocation.
HookProperties::HookProperties(HWND hwnd) : m_hwnd(hwnd), m_handleName(QString::number(hwnd)) {}

QString HookProperties::sinkCountName(qint32 iMsg) const {
    return m_handleName % u'#' % QString::number(iMsg) % u'C';
}

QString HookProperties::sinkName(qint32 iMsg, qint64 index) const {
    return m_handleName % u'#' % QString::number(iMsg) % u'#' % QString::number(index);
}

WNDPROC HookProperties::previousProc() const {
    return GetPropA(m_hwnd, m_handleName);
}

void HookProperties::setPreviousProc(WNDPROC proc) const {
    SetPropA(m_hwnd, m_handleName, proc);
}

qint64 HookProperties::windowCount() const {
    return GetPropA(m_hwnd, u'C' % m_handleName);
}

void HookProperties::setWindowCount(qint64 count) const {
    SetPropA(m_hwnd, u'C' % m_handleName, count);
}

void HookProperties::removeWindowState() const {
    RemovePropA(m_hwnd, m_handleName);
    RemovePropA(m_hwnd, u'C' % m_handleName);
}

qint64 HookProperties::sinkCount(qint32 iMsg) const {
    return GetPropA(m_hwnd, sinkCountName(iMsg));
}

void HookProperties::setSinkCount(qint32 iMsg, qint64 count) const {
    SetPropA(m_hwnd, sinkCountName(iMsg), count);
}

ISubclass* HookProperties::sink(qint32 iMsg, qint64 index) const {
    const qint64 value = GetPropA(m_hwnd, sinkName(iMsg, index));
    return reinterpret_cast<ISubclass*>(static_cast<quintptr>(value));
}

void HookProperties::setSink(qint32 iMsg, qint64 index, ISubclass* sink) const {
    SetPropA(m_hwnd, sinkName(iMsg, index), static_cast<qint64>(reinterpret_cast<quintptr>(sink)));
}

void HookProperties::removeSink(qint32 iMsg, qint64 index) const {
    RemovePropA(m_hwnd, sinkName(iMsg, index));
}

qint64 HookProperties::indexOf(qint32 iMsg, const ISubclass* sink) const {
    if (!sink)
        return 0;
    const qint64 count = sinkCount(iMsg);
    for (qint64 i = 1; i <= count; ++i) {
        if (this->sink(iMsg, i) == sink)
            return i;
    }
    return 0;
}

QList<ISubclass*> HookProperties::sinks(qint32 iMsg) const {
    QList<ISubclass*> result;
    const qint64 count = sinkCount(iMsg);
    for (qint64 i = 1; i <= count; ++i)
        result.append(sink(iMsg, i));
    return result;
}

} // namespace loomhook
