#pragma once
// The frame's handler of the ISON replies to the notify window's poll: it
// sorts the watched nicks into the online and offline lists, tells the
// server window who came and who went, and raises an alert for each in
// buddy mode. A poll that took several lines is judged once all of its
// replies have come.

#include <QObject>
#include <QString>

class Program;

namespace platform {
class Yarv;
}

class NotifyReplies : public QObject {
    Q_OBJECT
public:
    // Handles the events of `irc` from now on.
    NotifyReplies(Program& program, platform::Yarv& irc, QObject* parent = nullptr);

    // `first` is the own nick; `onlineNicks` the nicks of one reply, single
    // blanks between them.
    void Yarv1_IsonReply(const QString& first, const QString& onlineNicks);

private:
    // One whole round's nicks against the watched ones.
    void judge(const QString& onlineNicks);
    // The server-window line and, in buddy mode, the alert of a buddy who
    // came (`online`) or went.
    void announce(const QString& buddy, bool online);

    Program& m_program;
};
