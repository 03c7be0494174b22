#include "platform/winsock/Winsock.h"

#include <QHash>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

namespace platform {

namespace {

// Peers waiting for an Accept while their ConnectionRequest is raised.
QHash<qintptr, QTcpSocket*>& waitingRequests() {
    static QHash<qintptr, QTcpSocket*> requests;
    return requests;
}
qintptr g_nextRequest = 0;

QString ipv4Text(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : QString();
}

// The control's error numbers for Qt's socket errors.
int errorNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::NetworkError:
        return 10050;
    default:
        return 10000 + static_cast<int>(error) + 1;
    }
}

} // namespace

Winsock::Winsock(QObject* parent) : QObject(parent) {}

Winsock::~Winsock() {
    dropSocket();
}

int Winsock::LocalPort() const {
    if (m_server && m_server->isListening())
        return m_server->serverPort();
    if (m_socket && m_socket->state() != QAbstractSocket::UnconnectedState)
        return m_socket->localPort();
    return m_localPort;
}

void Winsock::setLocalPort(int port) {
    m_localPort = port;
}

QString Winsock::LocalIP() const {
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState)
        return ipv4Text(m_socket->localAddress());
    if (m_server && m_server->isListening())
        return ipv4Text(m_server->serverAddress());
    return QString();
}

QString Winsock::RemoteHostIP() const {
    return m_socket ? ipv4Text(m_socket->peerAddress()) : QString();
}

int Winsock::RemotePort() const {
    return m_socket ? m_socket->peerPort() : 0;
}

int Winsock::State() const {
    if (m_server && m_server->isListening())
        return sckListening;
    if (!m_socket)
        return sckClosed;
    switch (m_socket->state()) {
    case QAbstractSocket::HostLookupState:
    case QAbstractSocket::ConnectingState:
        return sckConnecting;
    case QAbstractSocket::ConnectedState:
        return sckConnected;
    case QAbstractSocket::ClosingState:
        return sckClosing;
    default:
        return sckClosed;
    }
}

bool Winsock::Listen() {
    Close();
    m_server = new QTcpServer(this);
    connect(m_server, &QTcpServer::newConnection, this, &Winsock::onIncoming);
    if (m_localPort < 0 || m_localPort > 65535 ||
        !m_server->listen(QHostAddress::AnyIPv4, static_cast<quint16>(m_localPort))) {
        const QString description = m_server->errorString();
        const int number = errorNumber(m_server->serverError());
        delete m_server;
        m_server = nullptr;
        raiseError(number, description);
        return false;
    }
    return true;
}

void Winsock::Connect(const QString& host, int port) {
    Close();
    auto* socket = new QTcpSocket(this);
    adopt(socket);
    if (port < 1 || port > 65535) {
        // Reported like any failed connect: later, from the event loop.
        QMetaObject::invokeMethod(
            this,
            [this, socket] {
                if (m_socket == socket) {
                    dropSocket();
                    raiseError(10049, QStringLiteral("The port is not valid"));
                }
            },
            Qt::QueuedConnection);
        return;
    }
    socket->connectToHost(host, static_cast<quint16>(port));
}

bool Winsock::Accept(qintptr requestID) {
    QTcpSocket* socket = waitingRequests().take(requestID);
    if (socket == nullptr)
        return false;
    Close();
    socket->setParent(this);
    adopt(socket);
    // Bytes the peer sent before the accept are announced as any others.
    if (socket->bytesAvailable() > 0)
        QMetaObject::invokeMethod(this, &Winsock::onReadyRead, Qt::QueuedConnection);
    return true;
}

void Winsock::SendData(const QByteArray& data) {
    if (m_socket && m_socket->state() == QAbstractSocket::ConnectedState && !data.isEmpty())
        m_socket->write(data);
}

QByteArray Winsock::GetData() {
    return m_socket ? m_socket->readAll() : QByteArray();
}

qint64 Winsock::BytesReceived() const {
    return m_socket ? m_socket->bytesAvailable() : 0;
}

qint64 Winsock::bytesToWrite() const {
    return m_socket ? m_socket->bytesToWrite() : 0;
}

void Winsock::setReadBufferSize(qint64 bytes) {
    m_readBufferSize = bytes;
    if (m_socket)
        m_socket->setReadBufferSize(bytes);
}

void Winsock::Close() {
    if (m_server) {
        m_server->close();
        m_server->deleteLater();
        m_server = nullptr;
    }
    dropSocket();
}

void Winsock::adopt(QTcpSocket* socket) {
    m_socket = socket;
    socket->setReadBufferSize(m_readBufferSize);
    connect(socket, &QTcpSocket::connected, this, [this, socket] {
        if (m_socket == socket)
            emit Connected();
    });
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
        if (m_socket == socket)
            onReadyRead();
    });
    connect(socket, &QTcpSocket::bytesWritten, this, [this, socket](qint64 bytes) {
        if (m_socket == socket)
            onBytesWritten(bytes);
    });
    connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        if (m_socket == socket)
            onDisconnected();
    });
    connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] {
        if (m_socket == socket)
            onError();
    });
}

void Winsock::dropSocket() {
    QTcpSocket* socket = m_socket;
    if (!socket)
        return;
    m_socket = nullptr;
    socket->disconnect(this);
    // What was queued still goes out before the close.
    if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->deleteLater();
        return;
    }
    socket->abort();
    socket->deleteLater();
}

void Winsock::onIncoming() {
    const QPointer<Winsock> self(this);
    while (m_server && m_server->hasPendingConnections()) {
        QTcpSocket* socket = m_server->nextPendingConnection();
        const qintptr request = ++g_nextRequest;
        waitingRequests().insert(request, socket);
        emit ConnectionRequest(request);
        // A request nobody accepted is refused.
        if (QTcpSocket* left = waitingRequests().take(request)) {
            left->abort();
            left->deleteLater();
        }
        if (!self)
            return;
    }
}

void Winsock::onReadyRead() {
    const qint64 waiting = BytesReceived();
    if (waiting > 0)
        emit DataArrival(waiting);
}

void Winsock::onBytesWritten(qint64 bytes) {
    const qint64 remaining = bytesToWrite();
    emit SendProgress(bytes, remaining);
    if (remaining == 0 && m_socket)
        emit SendComplete();
}

void Winsock::onDisconnected() {
    // What the peer sent before it closed comes first.
    const QPointer<Winsock> self(this);
    if (BytesReceived() > 0)
        onReadyRead();
    if (!self || !m_socket)
        return;
    emit Closed();
}

void Winsock::onError() {
    QTcpSocket* socket = m_socket;
    if (!socket)
        return;
    const QAbstractSocket::SocketError error = socket->error();
    if (error == QAbstractSocket::RemoteHostClosedError)
        return; // disconnected follows and raises Closed
    const QString description = socket->errorString();
    const bool wasConnected = socket->state() == QAbstractSocket::ConnectedState;
    if (!wasConnected)
        dropSocket();
    raiseError(errorNumber(error), description);
}

void Winsock::raiseError(int number, const QString& description) {
    emit Error(number, description);
}

} // namespace platform
