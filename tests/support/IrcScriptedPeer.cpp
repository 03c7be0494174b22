#include "tests/support/IrcScriptedPeer.h"

#include "platform/irc/Yarv.h"

#include <QDeadlineTimer>
#include <QtTest>

IrcScriptedPeer::IrcScriptedPeer(QObject* parent) : QObject(parent) {
    m_server.listen(QHostAddress::LocalHost, 0);
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* next = m_server.nextPendingConnection()) {
            if (m_client) {
                m_client->abort();
                m_client->deleteLater();
            }
            m_client = next;
            ++m_accepted;
            m_received.clear();
            connect(next, &QTcpSocket::readyRead, this, [this, next] {
                m_received += next->readAll();
                emit bytesReceived();
            });
        }
    });
}

bool IrcScriptedPeer::waitForClient(int timeoutMs) {
    if (!QTest::qWaitFor([this] { return m_accepted > m_waited; }, timeoutMs))
        return false;
    ++m_waited;
    return true;
}

void IrcScriptedPeer::send(const QByteArray& bytes) {
    if (m_client) {
        m_client->write(bytes);
        m_client->flush();
    }
}

QByteArrayList IrcScriptedPeer::lines() const {
    QByteArrayList out;
    for (QByteArray line : m_received.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        out.append(line);
    }
    out.removeLast(); // what follows the last LF is not a line yet
    return out;
}

bool IrcScriptedPeer::waitForLines(int count, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (lines().size() < count && !deadline.hasExpired())
        QTest::qWait(5);
    return lines().size() >= count;
}

QByteArrayList IrcScriptedPeer::sentBy(platform::Yarv& client,
                                       const std::function<void()>& action) {
    const qsizetype before = lines().size();
    action();
    const QByteArray marker = "MARK " + QByteArray::number(++m_markers);
    client.SendCommand(QString::fromLatin1(marker));
    const QDeadlineTimer deadline(5000);
    while (!lines().mid(before).contains(marker) && !deadline.hasExpired())
        QTest::qWait(5);
    QByteArrayList sent = lines().mid(before);
    if (sent.isEmpty() || sent.constLast() != marker)
        return sent << "(the marker never arrived)";
    sent.removeLast();
    return sent;
}

void IrcScriptedPeer::closeClient() {
    if (QTcpSocket* client = m_client) {
        m_client = nullptr;
        // Whatever was sent still goes out before the FIN.
        connect(client, &QAbstractSocket::disconnected, client, &QObject::deleteLater);
        client->disconnectFromHost();
    }
}
