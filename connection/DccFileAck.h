#pragma once
// The acknowledgements of a DCC file transfer. After every arrival of data
// the receiver sends the number of bytes it has received so far, modulo
// 2^32, as 4 bytes, most significant first. The sender reads them as 4-byte
// words however they are cut into arrivals; the last whole word counts.

#include <QByteArray>
#include <QByteArrayView>

#include <optional>

// The acknowledgement of a running count of `received` bytes.
QByteArray DccFileAck(qint64 received);

// The acknowledgements a sender reads, as they arrive.
class DccAckReader {
public:
    // Takes the bytes of one arrival.
    void feed(QByteArrayView bytes);
    // The last whole acknowledgement read; none before the first.
    std::optional<quint32> last() const { return m_last; }

private:
    std::optional<quint32> m_last;
    // The first bytes of a word still incomplete.
    quint32 m_partial = 0;
    int m_partialBytes = 0;
};

// Whether a sender of a file of `size` bytes that has written `written` of
// them is done: every byte written and the last acknowledgement equal to the
// size modulo 2^32. A file of 0 bytes is done at once.
bool DccSendFinished(qint64 size, qint64 written, std::optional<quint32> lastAck);
