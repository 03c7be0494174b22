#pragma once
// Cuts the byte stream of a connection into lines ended by CR LF or LF. A line
// longer than the limit is dropped whole, and at most the limit is ever held
// of a line that has not ended yet, whatever the peer sends.

#include <QByteArray>
#include <QByteArrayView>

namespace platform {

class IrcLineBuffer {
public:
    // The longest line kept, in bytes without its line end.
    static constexpr qsizetype MaxLineBytes = 8191;

    void append(QByteArrayView data);
    // Takes the next complete, non-empty line (without CR LF): a view into the
    // buffer, good until the buffer is next changed (append, takeLine, clear).
    bool takeLine(QByteArrayView& line);
    void clear();

    // Bytes held for lines not taken yet.
    qsizetype bufferedBytes() const { return m_buffer.size() - m_pos; }
    // Lines dropped because they were too long.
    qsizetype droppedLines() const { return m_dropped; }

private:
    void compact();

    QByteArray m_buffer;
    qsizetype m_pos = 0;       // start of the first line not taken yet
    qsizetype m_lineStart = 0; // start of the line that has not ended yet
    bool m_discarding = false; // inside a line that was too long: skip to its LF
    qsizetype m_dropped = 0;
};

} // namespace platform
