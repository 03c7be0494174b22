#pragma once
// The socket control: one TCP endpoint that either listens for a peer or
// connects to one, with the control's events as signals. A listening control
// raises ConnectionRequest for each peer; the peer is taken on by Accept on
// this control or another one (a request nobody accepts is refused when the
// handlers return). Received bytes wait in the control until GetData takes
// them. Every event is raised from the event loop, never from inside a call
// of the control's own members.

#include "platform_export.h"

#include <QByteArray>
#include <QObject>
#include <QPointer>
#include <QString>

class QTcpServer;
class QTcpSocket;

namespace platform {

class PLATFORM_EXPORT Winsock : public QObject {
    Q_OBJECT
public:
    enum StateConstants {
        sckClosed = 0,
        sckListening = 2,
        sckConnecting = 6,
        sckConnected = 7,
        sckClosing = 8,
        sckError = 9,
    };

    explicit Winsock(QObject* parent = nullptr);
    ~Winsock() override;

    // Free text the program keeps with the control.
    QString Tag;

    // The port to listen on (0: the system chooses); while listening or
    // connected, the port in use.
    int LocalPort() const;
    void setLocalPort(int port);
    // The local IPv4 address in use while listening or connected ("" when
    // none is known); a control listening on every address answers the
    // address of its connection, or "0.0.0.0".
    QString LocalIP() const;
    QString RemoteHostIP() const;
    int RemotePort() const;
    int State() const;

    // Listens on every IPv4 address at LocalPort. False (and Error raised)
    // when the port cannot be had.
    bool Listen();
    // Connects to host and port; Connected or Error follows.
    void Connect(const QString& host, int port);
    // Takes on the peer of a ConnectionRequest raised by any control; false
    // when that request is no longer waiting.
    bool Accept(qintptr requestID);
    // Queues bytes to go out on the connection; nothing while not connected.
    void SendData(const QByteArray& data);
    // Everything received and not taken yet.
    QByteArray GetData();
    qint64 BytesReceived() const;
    // Bytes queued by SendData and not yet handed to the system.
    qint64 bytesToWrite() const;
    // At most this many received bytes wait in the control; the peer is
    // held back beyond (0: no limit).
    void setReadBufferSize(qint64 bytes);
    // Stops listening or closes the connection (bytes already queued still
    // go out); no Closed event follows a Close of the program's own.
    void Close();

Q_SIGNALS:
    void ConnectionRequest(qintptr requestID);
    void Connected();
    void DataArrival(qint64 bytesTotal);
    // The peer closed the connection.
    void Closed();
    void Error(int number, const QString& description);
    // Bytes handed to the system since the last report, and what still waits.
    void SendProgress(qint64 bytesSent, qint64 bytesRemaining);
    // Everything queued by SendData has been handed to the system.
    void SendComplete();

private:
    void adopt(QTcpSocket* socket);
    void dropSocket();
    void onIncoming();
    void onReadyRead();
    void onBytesWritten(qint64 bytes);
    void onDisconnected();
    void onError();
    void raiseError(int number, const QString& description);

    QTcpServer* m_server = nullptr;
    QPointer<QTcpSocket> m_socket;
    int m_localPort = 0;
    qint64 m_readBufferSize = 0;
    bool m_readQueued = false;
};

} // namespace platform
