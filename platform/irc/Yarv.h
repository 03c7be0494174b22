#pragma once
// The IRC protocol control the main frame hosts as Yarv1: one server
// connection over TCP, its lines parsed and raised as events, and the
// program's lines sent with outgoing flood control through a bounded queue.
// It answers nothing by itself (not even a PING): the frame does that through
// the members below.
//
// Lines are never raised from inside the socket's readyRead (Qt raises no
// further readyRead while that slot runs, so a box opened by a handler there
// would stop all reading, PINGs included). The socket's signals only read
// what arrived into the line buffer; the lines are raised from the event loop,
// one at a time and in arrival order. A handler that runs a nested event loop
// (a modal box) does not stop the connection: the socket is still read and
// the next lines are raised from the same queue meanwhile. When the server
// closes the link, the lines read before its close (its ERROR) are raised
// before Disconnected.

#include "platform/irc/IrcEventMapper.h"
#include "platform/irc/IrcLineBuffer.h"
#include "platform_export.h"

#include <QAbstractSocket>
#include <QByteArray>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <optional>

class QTcpSocket;

namespace platform {

class PLATFORM_EXPORT Yarv : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString CurrentNick READ CurrentNick)
    Q_PROPERTY(bool IsConnected READ IsConnected)
    Q_PROPERTY(QString LocalAddress READ LocalAddress)

public:
    // Flood control: a burst of this many lines, then one line per interval.
    static constexpr int FloodBurst = 5;
    static constexpr int FloodIntervalMs = 2000;
    // What may wait for flood control: at most one PONG (a newer one takes
    // its place), every QUIT, and of all other lines at most this many and
    // this many bytes; a line beyond is refused (lineRefused) and what waits
    // is kept.
    static constexpr int MaxQueuedLines = 1000;
    static constexpr qsizetype MaxQueuedBytes = 256 * 1024;

    explicit Yarv(QObject* parent = nullptr);
    ~Yarv() override;

    // Starts connecting (closing an open connection first); SocketConnected or
    // SocketError follows.
    void OpenConnection(const QString& server, int port);
    // Registers: NICK, then USER with the user name and full name. The third
    // argument is not used.
    void Login(const QString& nick, const QString& userName, const QString& reserved,
               const QString& fullName);
    // One command line, given without a line end. True when it went out or
    // waits for flood control; false when it was not sent (no connection,
    // the send queue full, nothing left of it once cleaned).
    bool SendCommand(const QString& line);
    // A line with its caller's CR LF; one trailing CR LF (or LF) ends the line.
    void SendRaw(const QString& text);
    void SendPrivmsg(const QString& target, const QString& text);
    void SendCTCP(const QString& target, const QString& command, const QString& params);
    void SendCTCPReply(const QString& target, const QString& command, const QString& params);
    void Pong(const QString& server);
    // Closes the connection, or ends an attempt still in progress;
    // Disconnected follows at once when it was open, and nothing after an
    // attempt. Lines already written (a QUIT among them) still go to the
    // server before the socket closes, while events run.
    void CloseConnection();
    // True while a closed connection is still handing its last lines to the
    // server.
    bool isClosing() const;

    // The nick part of a user mask nick!user@host.
    static QString NickFromMask(const QString& mask);
    // The nick the server accepted; "" before its welcome.
    QString CurrentNick() const;
    // What the server says channel names and status symbols look like; the
    // defaults until its 005 says otherwise, again on each new connection.
    const IrcServerSyntax& serverSyntax() const { return m_mapper.syntax(); }
    // True once the connection is up, not while it is being made.
    bool IsConnected() const;
    // True while an attempt to connect is in progress.
    bool isConnecting() const;
    // The local address of the connection ("" when there is none).
    QString LocalAddress() const;

    // Outgoing flood control, on by default. Switching it off sends every held
    // line at once.
    void setFloodControl(bool on);
    bool floodControl() const { return m_floodControl; }

Q_SIGNALS:
    // A line was not sent because the send queue was full.
    void lineRefused();

    void Disconnected();
    void SocketError(qint16 number, const QString& description, qint32 code, const QString& source,
                     const QString& helpFile, qint32 helpContext, bool cancelDisplay);
    void NickChanged(const QString& oldMask, const QString& newNick);
    void IsonReply(const QString& first, const QString& onlineNicks);
    void MotdReceived(const QString& server, const QString& text);
    void CtcpReply(const QString& from, const QString& target, const QString& command,
                   const QString& params);
    void CtcpRequest(const QString& fromMask, const QString& target, const QString& command,
                     const QString& params);
    void SocketConnected();
    void ServerReply(const QString& prefix, const QString& command, const QString& target,
                     const QStringList& params, const QString& subject);
    void ServerPing(const QString& server);
    void ServerNotice(const QString& text);
    void ServerError(const QString& text);
    void UserJoined(const QString& mask, const QString& channel);
    void UserParted(const QString& mask, const QString& channel);
    void UserKicked(const QString& byMask, const QString& channel, const QString& kickedNick,
                    const QString& reason);
    void ModeChanged(const QString& byMask, const QString& target, const QString& modes);
    void NoticeReceived(const QString& fromMask, const QString& target, const QString& text);
    void ChannelMessage(const QString& fromMask, const QString& channel, const QString& text);
    void PrivateMessage(const QString& fromMask, const QString& text);
    void UserQuit(const QString& mask, const QString& reason);
    void TopicChanged(const QString& byMask, const QString& channel, const QString& topic);
    void Welcome(const QString& server, const QString& text);
    void NamesReply(const QString& channel, const QString& names);
    void ChannelModeReply(const QString& channel, const QString& modes);
    void UserModeReply(const QString& modes);
    void TopicReply(const QString& channel, const QString& topic);
    void TopicSetByReply(const QString& channel, const QString& setBy, const QString& setAt);
    void WhoReply(const QString& channel, const QString& user, const QString& host,
                  const QString& nick, const QString& server, const QString& realName);

private:
    enum class State { Idle, Connecting, Connected };

    // Why an open link is closing once the lines read before are raised.
    struct PendingClose {
        bool error = false; // else the server closed it
        qint16 number = 0;
        QString description;
    };

    void onConnected();
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onClosedByPeer();
    void failConnect(qint16 number, const QString& description);
    // Moves what the socket holds into the line buffer; unless `all`, only
    // while the buffer holds less than its share (the kernel keeps the rest).
    // True when anything was read.
    bool readAvailable(bool all);
    void scheduleDispatch();
    // Raises the lines read, for a while; the rest from the next turn.
    void dispatchLines();
    // Ends a link whose last lines have been raised.
    void finishClose();
    // Raises the event of a line, decoded.
    void processLine(const QString& line);
    // Raises the event of a line; a handler's failure ends with the handler.
    void raise(const IrcEvent& event);
    void emitEvent(const IrcEvent& event);
    // Lets go of the socket without raising anything; graceful lets written
    // lines reach the server before the close.
    void dropSocket(bool graceful);
    bool queueLine(const QByteArray& line);
    void refuse();
    void flushQueue();
    void refill();

    QTcpSocket* m_socket = nullptr;
    State m_state = State::Idle;
    // Counts connections opened and closed, so that a read loop notices when
    // a handler has closed or replaced the connection under it.
    quint64 m_generation = 0;
    IrcLineBuffer m_lines;
    QByteArray m_readChunk; // what one read takes from the socket, kept for the next
    QTimer m_dispatch;      // raises the lines read, from the event loop
    std::optional<PendingClose> m_closing;
    IrcEventMapper m_mapper;
    QQueue<QByteArray> m_urgent; // PONG and QUIT go before everything else
    QQueue<QByteArray> m_queue;
    qsizetype m_queuedBytes = 0; // of m_queue
    bool m_refusing = false;     // a handler of lineRefused runs
    int m_credits = FloodBurst;
    QTimer m_refill;
    bool m_floodControl = true;
};

} // namespace platform
