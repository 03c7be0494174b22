#pragma once
// The frame's once-a-second look at the connection: when the IRC control's
// connection flag has changed since the last tick, panel 1 of the switchbar
// (its picture and tooltip) and the server window's caption show the new
// state. Between changes other handlers may write the panel and the caption;
// a tick leaves them alone until the flag changes again.

#include <QObject>
#include <QTimer>

class Program;

class ConnectionTimer : public QObject {
    Q_OBJECT
public:
    static constexpr int IntervalMs = 1000;

    // Ticks every second when `program.connectionTimer` is on; tests leave it
    // off and call the tick themselves.
    ConnectionTimer(Program& program, QObject* parent = nullptr);

    // One tick: the flag is read once; on a change, connected shows picture 2
    // and "Connected to: " & SERVER_URL & " as " & PROFILE_NICKNAME,
    // disconnected picture 3 and "Disconnected". A server window not made
    // yet is not made for its caption.
    void Timer1_Timer();

    bool isRunning() const { return m_timer.isActive(); }

private:
    Program& m_program;
    QTimer m_timer;
    // The flag at the last tick; 0 before the first.
    int m_remembered = 0;
};
