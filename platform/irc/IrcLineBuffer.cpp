#include "platform/irc/IrcLineBuffer.h"

namespace platform {

void IrcLineBuffer::append(QByteArrayView data) {
    compact();
    // The lines kept go into the buffer together: `kept` is where the data
    // not yet appended starts.
    qsizetype kept = 0;
    qsizetype at = 0;
    while (at < data.size()) {
        const qsizetype lf = data.indexOf('\n', at);
        if (m_discarding) {
            if (lf < 0)
                return; // all of it belongs to the line being dropped
            m_discarding = false;
            at = kept = lf + 1;
            continue;
        }
        // The line's bytes held from earlier reads, and those in this one.
        const qsizetype held = kept == at ? m_buffer.size() - m_lineStart : 0;
        const qsizetype more = (lf < 0 ? data.size() : lf) - at;
        // One byte over the limit is the room for the CR before the LF.
        if (held + more > MaxLineBytes + 1) {
            m_buffer.append(data.sliced(kept, at - kept));
            m_buffer.truncate(m_lineStart);
            ++m_dropped;
            if (lf < 0) {
                m_discarding = true;
                return;
            }
            at = kept = lf + 1;
            continue;
        }
        if (lf < 0)
            break;
        at = lf + 1;
        m_lineStart = m_buffer.size() + (at - kept);
    }
    m_buffer.append(data.sliced(kept));
}

bool IrcLineBuffer::takeLine(QByteArrayView& line) {
    compact();
    while (m_pos < m_lineStart) {
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
        line = view;
        return true;
    }
    return false;
}

void IrcLineBuffer::compact() {
    // Once every complete line is taken, only the line that has not ended is
    // kept. Done before the buffer changes, not after a take, so that the
    // line last taken stays readable until then.
    if (m_pos == m_lineStart && m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_lineStart = 0;
        m_pos = 0;
    }
}

void IrcLineBuffer::clear() {
    m_buffer.clear();
    m_pos = 0;
    m_lineStart = 0;
    m_discarding = false;
}

} // namespace platform
