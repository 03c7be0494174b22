#include "connection/DccFileAck.h"

#include <QtEndian>

QByteArray DccFileAck(qint64 received) {
    QByteArray ack(4, Qt::Uninitialized);
    qToBigEndian(static_cast<quint32>(static_cast<quint64>(received)), ack.data());
    return ack;
}

void DccAckReader::feed(QByteArrayView bytes) {
    for (const char byte : bytes) {
        m_partial = (m_partial << 8) | static_cast<quint8>(byte);
        if (++m_partialBytes == 4) {
            m_last = m_partial;
            m_partial = 0;
            m_partialBytes = 0;
        }
    }
}

bool DccSendFinished(qint64 size, qint64 written, std::optional<quint32> lastAck) {
    if (size == 0)
        return true;
    return written >= size && lastAck && *lastAck == static_cast<quint32>(size);
}
