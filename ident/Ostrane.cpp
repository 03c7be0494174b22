#include "ident/Ostrane.h"

#include "ident/IdentConnection.h"
#include "ident/IdentReply.h"
#include "platform/com/PropertyBag.h"
#include "platform/shell/LoginName.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

namespace {

// The operating-system field, by default and when Automatic fills it in.
const QString UnixSystem = QStringLiteral("UNIX");
constexpr qint32 IdentPort = 113;

// An IPv4 peer of a listener on both protocols shows as an IPv4-mapped IPv6
// address; it is given in its IPv4 form.
QString addressText(const QHostAddress& address) {
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}

} // namespace

Ostrane::Ostrane(QObject* parent) : QObject(parent), m_listener(new QTcpServer(this)) {
    connect(m_listener, &QTcpServer::newConnection, this, &Ostrane::acceptConnections);
    // The listener stops accepting after a failed accept (out of file
    // handles, say); it takes up again once the moment has passed, instead of
    // leaving ident silent for good.
    connect(m_listener, &QTcpServer::acceptError, this, [this] {
        QTimer::singleShot(m_acceptRetryMs, m_listener, [listener = m_listener] {
            if (listener->isListening())
                listener->resumeAccepting();
        });
    });
    InitProperties();
}

Ostrane::~Ostrane() = default;

void Ostrane::setLocalHostName(const QString& New_LocalHostName) {
    m_localHostName = New_LocalHostName;
    Q_EMIT PropertyChanged(QStringLiteral("LocalHostName"));
}

void Ostrane::setUserID(const QVariant& New_UserID) {
    m_userID = New_UserID;
    Q_EMIT PropertyChanged(QStringLiteral("UserID"));
}

QString Ostrane::LocalIP() const {
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol && !address.isLoopback())
            return address.toString();
    }
    return QHostAddress(QHostAddress::LocalHost).toString();
}

void Ostrane::setRemotePort(qint32 New_RemotePort) {
    m_remotePort = New_RemotePort;
    Q_EMIT PropertyChanged(QStringLiteral("RemotePort"));
}

void Ostrane::setLocalPort(qint32 New_LocalPort) {
    m_localPort = New_LocalPort;
    Q_EMIT PropertyChanged(QStringLiteral("LocalPort"));
}

void Ostrane::Listen() {
    if (m_listener->isListening() || m_localPort < 0 || m_localPort > 65535)
        return;
    m_listener->listen(QHostAddress::Any, static_cast<quint16>(m_localPort));
}

void Ostrane::setRemoteHost(const QString& New_RemoteHost) {
    m_remoteHost = New_RemoteHost;
    Q_EMIT PropertyChanged(QStringLiteral("RemoteHost"));
}

void Ostrane::setSystem(const QString& New_System) {
    m_system = New_System;
    Q_EMIT PropertyChanged(QStringLiteral("System"));
}

void Ostrane::setAutomatic(bool New_Automatic) {
    m_automatic = New_Automatic;
    Q_EMIT PropertyChanged(QStringLiteral("Automatic"));
    if (New_Automatic) {
        setSystem(UnixSystem);
        setUserID(platform::LoginName());
    }
}

void Ostrane::ShowAboutBox() {
    about box(m_launcher);
    box.exec();
}

void Ostrane::InitProperties() {
    m_defaultIdentity = platform::LoginName();
    m_localHostName.clear();
    m_userID = m_defaultIdentity;
    m_system = UnixSystem;
    m_automatic = true;
    m_localPort = IdentPort;
    m_remotePort = 0;
    m_remoteHost.clear();
}

void Ostrane::ReadProperties(const platform::PropertyBag& PropBag) {
    m_defaultIdentity = platform::LoginName();
    m_localHostName = PropBag.ReadProperty(QStringLiteral("LocalHostName"), QString()).toString();
    m_userID = PropBag.ReadProperty(QStringLiteral("UserID"), m_defaultIdentity);
    m_remotePort = PropBag.ReadProperty(QStringLiteral("RemotePort"), 0).toInt();
    m_localPort = PropBag.ReadProperty(QStringLiteral("LocalPort"), IdentPort).toInt();
    m_remoteHost = PropBag.ReadProperty(QStringLiteral("RemoteHost"), QString()).toString();
    m_system = PropBag.ReadProperty(QStringLiteral("System"), UnixSystem).toString();
    m_automatic = PropBag.ReadProperty(QStringLiteral("Automatic"), true).toBool();
}

void Ostrane::WriteProperties(platform::PropertyBag& PropBag) const {
    PropBag.WriteProperty(QStringLiteral("LocalHostName"), m_localHostName, QString());
    PropBag.WriteProperty(QStringLiteral("UserID"), m_userID, m_defaultIdentity);
    PropBag.WriteProperty(QStringLiteral("RemotePort"), m_remotePort, 0);
    PropBag.WriteProperty(QStringLiteral("LocalPort"), m_localPort, IdentPort);
    PropBag.WriteProperty(QStringLiteral("RemoteHost"), m_remoteHost, QString());
    PropBag.WriteProperty(QStringLiteral("System"), m_system, UnixSystem);
    PropBag.WriteProperty(QStringLiteral("Automatic"), m_automatic, true);
}

bool Ostrane::isListening() const {
    return m_listener->isListening();
}

quint16 Ostrane::listeningPort() const {
    return m_listener->isListening() ? m_listener->serverPort() : 0;
}

void Ostrane::acceptConnections() {
    while (QTcpSocket* socket = m_listener->nextPendingConnection()) {
        if (m_connections >= MaxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        m_remoteHostIP = addressText(socket->peerAddress());
        auto* connection = new IdentConnection(
            socket, m_queryTimeoutMs, [this](const QByteArray& line) { return replyTo(line); },
            this);
        ++m_connections;
        connect(connection, &QObject::destroyed, this, [this] { --m_connections; });
    }
}

QByteArray Ostrane::replyTo(const QByteArray& line) const {
    return IdentReply::reply(line, m_system, m_userID.toString());
}
