#pragma once
// The frame's DCC chat sockets (the `DCC` array): offers the user makes
// listen for the peer; offers the user accepts connect to the peer. Once
// connected, each chat has its own window, which owns the socket; the peer's
// lines are shown there and its close is announced there.
//
// A peer's bytes are cut into lines at CR, LF or CR LF; a line waits for its
// end, and one longer than the receive buffer (8 KiB) is shown cut, the rest
// of it dropped. A line is UTF-8, else Latin-1. A socket error ends a chat
// as a close does.
//
// A peer cannot hold the event loop: lines are shown from the event loop, a
// slice of at most ShowBudgetMs per turn, the rest from the next turn, in
// arrival order. While a chat holds lines not shown yet, nothing more is read
// from its socket, so a faster peer waits in TCP behind the socket's receive
// buffer and what is held stays within about twice that buffer. The peer's
// close is announced once the lines read before it are shown.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

class Program;
class QElapsedTimer;
class QTimer;
class frm_dccChat;

namespace platform {
class Winsock;
class WinsockArray;
} // namespace platform

class DccChatSockets : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 ReceiveBufferBytes = 8 * 1024;
    // How long an accepted offer may take to connect, and how long an offer
    // of the user's own waits for the peer.
    static constexpr int ConnectTimeoutMs = 30 * 1000;
    static constexpr int ListenTimeoutMs = 3 * 60 * 1000;
    // How long one event-loop turn may show lines (one line at least).
    static constexpr int ShowBudgetMs = 20;

    DccChatSockets(Program& program, platform::WinsockArray& sockets, QObject* parent = nullptr);

    // A new element listening on a port the system chooses for a chat with
    // `nick`; its index, or -1 when it cannot listen (an "Error: " line says
    // why).
    int listenFor(const QString& nick);
    // A new element connecting to the peer of an accepted offer. The
    // acknowledgement line is shown now, the chat window once connected;
    // a connection that fails or is not made in time gives one "Error: "
    // line and leaves nothing.
    void connectTo(const QString& nick, const QString& host, quint16 port);

    // Test seam: the two time limits.
    void setTimeouts(int connectMs, int listenMs) {
        m_connectTimeoutMs = connectMs;
        m_listenTimeoutMs = listenMs;
    }
    // Test seam: how long one turn may show lines; 0 shows one line a turn.
    void setShowBudget(int ms) { m_showBudgetMs = ms; }

    void DCC_ConnectionRequest(int index, qintptr requestID);
    void DCC_Connect(int index);
    void DCC_DataArrival(int index, qint64 bytesTotal);
    void DCC_Close(int index);
    void DCC_Error(int index, int number, const QString& description);

private:
    struct Chat {
        // Bytes read from the socket; those before `shown` have been shown.
        QByteArray buffer;
        qsizetype shown = 0;
        // Dropping the rest of a line that was too long.
        bool dropping = false;
        // The peer has gone; announced once the lines read before are shown.
        bool closed = false;
        QPointer<QTimer> timer;
    };

    // The chat window of an element; only chat windows are looked at.
    frm_dccChat* windowOf(int index) const;
    // Steps 2 to 5 of a made connection: the window, its panel, its looks.
    void openWindow(int index);
    // Queues the chat's lines (and what its socket holds) to be shown.
    void scheduleShow(int index);
    // Shows the lines waiting, for a while; the rest from the next turn.
    void showWaiting();
    // Shows the lines of one chat until `turn` has used the budget; true
    // when some may still wait.
    bool showLines(int index, const QElapsedTimer& turn);
    // The next line of the chat, reading from the socket only when none is
    // held; false when no complete line has arrived.
    bool takeLine(Chat& chat, platform::Winsock& socket, QByteArrayView& line);
    void showLine(frm_dccChat& window, QByteArrayView bytes);
    // "DCC Connection Closed" and "Close window?".
    void announceClose(frm_dccChat& window);
    void startTimer(int index, int ms);
    void stopTimer(int index);
    void drop(int index);

    Program& m_program;
    platform::WinsockArray& m_sockets;
    QHash<int, Chat> m_chats;
    int m_connectTimeoutMs = ConnectTimeoutMs;
    int m_listenTimeoutMs = ListenTimeoutMs;
    int m_showBudgetMs = ShowBudgetMs;
    // Chats with lines to show (or their close to announce), in turn.
    QList<int> m_waiting;
    QTimer* m_show;
};
