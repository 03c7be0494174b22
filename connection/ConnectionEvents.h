#pragma once
// The main frame's handlers of the connection's own events: the socket
// connecting, the message of the day, the welcome, server pings, notices and
// errors, socket errors and the end of the connection. They log in, keep the
// connection flag, panel 1 and the server window's caption in step, print the
// server's words into the server window, answer pings, run the start-up
// script and, when allowed, reconnect after a server error.

#include <QObject>
#include <QString>
#include <QTimer>

class Program;

namespace platform {
class Yarv;
}

// Panel 1's tooltip and the server window's caption: "Connected to: " & host
// & " as " & the own nick.
void ShowConnectedTo(Program& program, const QString& host);

class ConnectionEvents : public QObject {
    Q_OBJECT
public:
    // After a server error the reconnect waits this long, doubling with every
    // further error up to the longest wait; a welcome starts again from the first.
    static constexpr int FirstReconnectDelayMs = 5000;
    static constexpr int LongestReconnectDelayMs = 60000;

    // Connects itself to the control's events.
    ConnectionEvents(Program& program, platform::Yarv& irc, QObject* parent = nullptr);

    void Yarv1_SocketConnected();
    void Yarv1_MotdReceived(const QString& server, const QString& text);
    void Yarv1_Welcome(const QString& server, const QString& text);
    void Yarv1_ServerPing(const QString& server);
    void Yarv1_ServerNotice(const QString& text);
    void Yarv1_ServerError(const QString& text);
    void Yarv1_SocketError(qint16 number, const QString& description);
    void Yarv1_Disconnected();

    // A reconnect waiting for its time, and how long it was set to wait.
    bool reconnectPending() const { return m_reconnect.isActive(); }
    int reconnectDelay() const { return m_reconnect.interval(); }
    // Drops a waiting reconnect; the user's own connect or disconnect does.
    void cancelReconnect() { m_reconnect.stop(); }
    // The reconnect itself, when its wait is over.
    void reconnect();

private:
    // The File menu's connect item: "&Connect" or "&Disconnect".
    void setConnectCaption(const QString& caption);

    Program& m_program;
    platform::Yarv& m_irc;
    QTimer m_reconnect;
    int m_nextDelay = FirstReconnectDelayMs;
};
