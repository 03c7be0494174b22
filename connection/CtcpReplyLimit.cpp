#include "connection/CtcpReplyLimit.h"

#include <limits>

qint64 CtcpReplyLimit::since(const QDateTime& then, const QDateTime& now) {
    const qint64 ms = then.msecsTo(now);
    return ms < 0 ? std::numeric_limits<qint64>::max() : ms;
}

bool CtcpReplyLimit::allow(const QString& nick, const QDateTime& now) {
    while (!m_recent.isEmpty() && since(m_recent.first(), now) >= WindowMs)
        m_recent.removeFirst();
    const QString key = nick.toLower();
    const auto last = m_lastByNick.constFind(key);
    if (last != m_lastByNick.cend() && since(*last, now) < PerNickMs)
        return false;
    if (m_recent.size() >= PerWindow)
        return false;
    m_recent.append(now);
    // Only nicks answered within the last two seconds matter: at most a
    // window's worth are kept.
    for (auto it = m_lastByNick.begin(); it != m_lastByNick.end();) {
        if (since(it.value(), now) >= PerNickMs)
            it = m_lastByNick.erase(it);
        else
            ++it;
    }
    m_lastByNick.insert(key, now);
    return true;
}
