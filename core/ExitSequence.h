#pragma once
// The program's end: the command "exit", which the frame's close request,
// the File menu, the tray menu and typed or scripted lines all run.
//
// It asks first when USE_CONFIRM_EXIT is "1" and the user has not confirmed
// yet; then it sends the quit message, writes settings.ini, popups.ini and
// the frame's main.win, removes the tray icon, disconnects, waits until the
// program's clock shows another second than the one it began in (and, within
// a bound, for the quit message to leave), unloads every window and ends the
// program, exactly once.
// While the question is open the program goes on as before; once the exit
// goes on `Program::closing` is set: a close request or "exit" during it
// returns at once, and no window refuses to close.

#include <QDeadlineTimer>
#include <QObject>
#include <QTimer>

class Program;

// The close question, when USE_CONFIRM_EXIT is "1" and the exit is not
// confirmed yet: "Are you sure you want to close Parlone?". Records the
// answer in ExitConfirmed. True when the program may go on to its end; false
// also for a request that comes while the question is open.
bool ConfirmExit(Program& program);

class ExitSequence : public QObject {
    Q_OBJECT
public:
    // How long the end waits, beyond the next second, for the connection's
    // last lines to reach the server.
    static constexpr int SendGraceMs = 3000;

    explicit ExitSequence(Program& program);

    // Runs the command "exit": returns once the wait has begun (or at once,
    // when the user said No or the exit is already under way); the program
    // ends from the event loop.
    void run();

private:
    // The wait of one timer, at most a second, until the clock has left the
    // second the exit began in and the last lines have left.
    void waitFor(int ms);
    void tick();
    void finish();

    Program& m_p;
    QTimer m_wait;
    int m_startSecond = 0;
    QDeadlineTimer m_sendDeadline;
};
