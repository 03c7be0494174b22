#pragma once
// Ostrane, "Ostrane - Ident Server" (Ostrane_Project.Ostrane): a control that
// answers ident queries (RFC 1413, server side) on a listening TCP socket with
// the name of the operating system and of the local user, and keeps its
// settings in the property bag of the form that hosts it. It has no visible
// surface.
//
// Once `Listen` has been called the control serves by itself: it keeps
// listening while it serves, and serves each connection separately. A
// connection gets one reply to its first complete line (buffered until its
// LF) and is then closed; a line longer than IdentReply::MaxLineBytes, or a
// connection whose line has not ended 30 seconds after it connected, is
// closed without a reply. A failed accept (no file handle left) pauses the
// listener for a moment; it listens again afterwards. At most
// MaxConnections are served at once; a client beyond them is closed at once,
// so that clients who never finish cannot use up the program's file handles.
//
// Every property write raises PropertyChanged with the property's name, so
// that a designer saves it; the read-only members and the methods raise none.

#include "ident/about.h"
#include "ostrane_export.h"

#include <QObject>
#include <QString>
#include <QVariant>

class QTcpServer;

namespace platform {
class PropertyBag;
}

class OSTRANE_EXPORT Ostrane : public QObject {
    Q_OBJECT
public:
    // A new control, as a container initialises one (InitProperties).
    explicit Ostrane(QObject* parent = nullptr);
    ~Ostrane() override;

    // The members, in the order of the control's interface; each comment
    // starts with the member's help text.

    // "Returns the local machine name"; stored and returned unchanged, never
    // filled or used by the control.
    QString LocalHostName() const { return m_localHostName; }
    void setLocalHostName(const QString& New_LocalHostName);
    // "The UserID is generally the login name of the user." Sent in every reply.
    QVariant UserID() const { return m_userID; }
    void setUserID(const QVariant& New_UserID);
    // "Returns the remote host IP address": that of the latest connection, ""
    // before the first.
    QString RemoteHostIP() const { return m_remoteHostIP; }
    // "Returns the local machine IP address": its first IPv4 address other
    // than the loopback one, else 127.0.0.1.
    QString LocalIP() const;
    // "Returns/Sets the port to be connected to on the remote computer";
    // stored, the control never connects out.
    qint32 RemotePort() const { return m_remotePort; }
    void setRemotePort(qint32 New_RemotePort);
    // "Returns/Sets the port used on the local computer": the port `Listen`
    // binds (0: any free port); a reply never changes it.
    qint32 LocalPort() const { return m_localPort; }
    void setLocalPort(qint32 New_LocalPort);
    // "Listen for incoming connection requests". Any error is ignored: a
    // control already listening, or whose port is taken or out of range,
    // stays as it is (see isListening).
    void Listen();
    // "Returns/Sets the name used to identify the remote computer"; stored.
    QString RemoteHost() const { return m_remoteHost; }
    void setRemoteHost(const QString& New_RemoteHost);
    // "A string that specifies the identity of the operating system." Sent in
    // every reply.
    QString System() const { return m_system; }
    void setSystem(const QString& New_System);
    // "Automatically determines the Operating System and the UserID": writing
    // True also writes System "UNIX" and UserID the login name, through their
    // own writes; False changes nothing else.
    bool Automatic() const { return m_automatic; }
    void setAutomatic(bool New_Automatic);
    // The about box, shown modally without an owner.
    void ShowAboutBox();

    // Persistence in the host's property bag. A new control takes the
    // defaults without notifications; a value equal to its default is not
    // stored. Reading Automatic stores the flag only.
    void InitProperties();
    void ReadProperties(const platform::PropertyBag& PropBag);
    void WriteProperties(platform::PropertyBag& PropBag) const;

    // Whether the control listens, and on which port (0 when it does not).
    bool isListening() const;
    quint16 listeningPort() const;
    // The connections being served, at most MaxConnections.
    static constexpr int MaxConnections = 32;
    int connectionCount() const { return m_connections; }
    // How long after its connection a client's query must have arrived;
    // tests shorten it. Taken by connections accepted afterwards.
    void setQueryTimeout(int milliseconds) { m_queryTimeoutMs = milliseconds; }
    // How long the listener rests after a failed accept; tests shorten it.
    void setAcceptRetryDelay(int milliseconds) { m_acceptRetryMs = milliseconds; }
    // What the about box's "System Info" button starts programs with; tests
    // put in their own.
    void setProgramLauncher(about::ProgramLauncher launcher) { m_launcher = std::move(launcher); }

Q_SIGNALS:
    void PropertyChanged(const QString& PropertyName);

private:
    void acceptConnections();
    QByteArray replyTo(const QByteArray& line) const;

    QTcpServer* m_listener;
    QVariant m_defaultIdentity;
    QString m_localHostName;
    QVariant m_userID;
    QString m_system;
    bool m_automatic = true;
    qint32 m_localPort = 113;
    qint32 m_remotePort = 0;
    QString m_remoteHost;
    QString m_remoteHostIP;
    int m_queryTimeoutMs = 30000;
    int m_acceptRetryMs = 1000;
    int m_connections = 0;
    about::ProgramLauncher m_launcher;
};
