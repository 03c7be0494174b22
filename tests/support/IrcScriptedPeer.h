#pragma once
// A scripted IRC server on a loopback port, for lines a real server will not
// send (malformed, over-long, invalid UTF-8, notices before registration) and
// for watching exactly what a client puts on the wire. It takes one client at
// a time; every wait is bounded.

#include <QByteArray>
#include <QByteArrayList>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

#include <functional>

namespace platform {
class Yarv;
}

class IrcScriptedPeer : public QObject {
    Q_OBJECT
public:
    explicit IrcScriptedPeer(QObject* parent = nullptr);

    bool isListening() const { return m_server.isListening(); }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    quint16 port() const { return m_server.serverPort(); }

    // Waits for the next client to be accepted: each call waits for one
    // more connection than the calls before it, so a client that connects
    // and leaves at once still counts.
    bool waitForClient(int timeoutMs = 5000);
    // A client is connected now.
    bool hasClient() const {
        return m_client && m_client->state() == QAbstractSocket::ConnectedState;
    }

    // Sends bytes exactly as given, or one line with CR LF added.
    void send(const QByteArray& bytes);
    void sendLine(const QByteArray& line) { send(line + "\r\n"); }

    // Everything the client sent, and the same cut into lines (without CR LF).
    QByteArray received() const { return m_received; }
    QByteArrayList lines() const;
    // Waits until at least count lines have arrived.
    bool waitForLines(int count, int timeoutMs = 5000);

    // The lines `client` put on the wire while `action` ran: everything
    // before a marker line it sends last. A marker that never arrives is
    // reported as a last line saying so.
    QByteArrayList sentBy(platform::Yarv& client, const std::function<void()>& action);

    // Closes the client's connection in order (FIN), as a server does.
    void closeClient();

Q_SIGNALS:
    // The client sent bytes; received() holds them.
    void bytesReceived();

private:
    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
    QByteArray m_received;
    int m_markers = 0;
    int m_accepted = 0; // connections accepted
    int m_waited = 0;   // connections waitForClient returned for
};
