#include "connection/CtcpReplyLimit.h"

bool CtcpReplyLimit::allow(const QDateTime& now) {
    // A reply stamped after `now` (the clock was set back) counts as long ago.
    while (!m_recent.isEmpty()) {
        const qint64 since = m_recent.first().msecsTo(now);
        if (since >= 0 && since < WindowMs)
            break;
        m_recent.removeFirst();
    }
    if (m_recent.size() >= PerWindow)
        return false;
    m_recent.append(now);
    return true;
}
