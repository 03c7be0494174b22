#include "platform/irc/IrcLineBuffer.h"

namespace platform {

void IrcLineBuffer::append(QByteArrayView data) {
    while (!data.isEmpty()) {
        const qsizetype lf = data.indexOf('\n');
        if (m_discarding) {
            if (lf < 0)
                return; // all of it belongs to the line being dropped
            m_discarding = false;
            data = data.sliced(lf + 1);
            continue;
        }
        const qsizetype held = m_buffer.size() - m_lineStart;
        const qsizetype more = lf < 0 ? data.size() : lf;
        // One byte over the limit is the room for the CR before the LF.
        if (held + more > MaxLineBytes + 1) {
            m_buffer.truncate(m_lineStart);
            ++m_dropped;
            if (lf < 0) {
                m_discarding = true;
                return;
            }
            data = data.sliced(lf + 1);
            continue;
        }
        if (lf < 0) {
            m_buffer.append(data);
            return;
        }
        m_buffer.append(data.first(lf + 1));
        m_lineStart = m_buffer.size();
        data = data.sliced(lf + 1);
    }
}

bool IrcLineBuffer::takeLine(QByteArray& line) {
    bool found = false;
    while (!found && m_pos < m_lineStart) {
        const qsizetype lf = m_buffer.indexOf('\n', m_pos);
        QByteArrayView view(m_buffer.constData() + m_pos, lf - m_pos);
        m_pos = lf + 1;
        if (view.endsWith('\r'))
            view.chop(1);
        if (view.size() > MaxLineBytes) {
            ++m_dropped;
            continue;
        }
        if (view.isEmpty())
            continue;
        line = view.toByteArray();
        found = true;
    }
    if (m_pos == m_lineStart && m_pos > 0) {
        // Every complete line is taken: keep only the line that has not ended.
        m_buffer.remove(0, m_pos);
        m_lineStart = 0;
        m_pos = 0;
    }
    return found;
}

void IrcLineBuffer::clear() {
    m_buffer.clear();
    m_pos = 0;
    m_lineStart = 0;
    m_discarding = false;
}

} // namespace platform
