#pragma once
// An ident client on a loopback socket for the tests: it connects, writes
// what it is told and gathers everything the server sends until the server
// closes. Waits run the event loop, so a server in the same thread is served.

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class IdentClient {
public:
    explicit IdentClient(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
        QObject::connect(&socket, &QTcpSocket::disconnected, [this] {
            if (socket.isReadable())
                received += socket.readAll();
            closed = true;
        });
        socket.connectToHost(QHostAddress::LocalHost, port);
    }

    // Writes and waits until the bytes have left the socket.
    bool send(const QByteArray& bytes) {
        if (socket.state() != QAbstractSocket::ConnectedState &&
            !QTest::qWaitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; }))
            return false;
        socket.write(bytes);
        return QTest::qWaitFor([this] { return socket.bytesToWrite() == 0; });
    }
    // Waits (bounded) until the server has closed the connection.
    bool waitClosed() {
        return QTest::qWaitFor([this] { return closed; }, 10000);
    }

    QTcpSocket socket;
    QByteArray received;
    bool closed = false;
};

// A port nobody listens on right now.
inline quint16 freePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::Any, 0) ? probe.serverPort() : 0;
}
