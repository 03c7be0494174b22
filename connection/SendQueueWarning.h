#pragma once
// Tells the user, in the server window, that lines were not sent because the
// IRC control's send queue was full. A full queue refuses line after line
// while flood control holds it, so the warning is shown at most once a
// second by the program's clock.

#include <QDateTime>
#include <QObject>

class Program;

namespace platform {
class Yarv;
}

class SendQueueWarning : public QObject {
    Q_OBJECT
public:
    SendQueueWarning(Program& program, platform::Yarv* irc);

    void Yarv1_lineRefused();

private:
    Program& m_program;
    QDateTime m_shown; // when the warning was last shown
};
