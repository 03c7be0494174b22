#pragma once
// The main frame's handlers of the server's replies: the numerics and the few
// other lines the control reports as generic replies, and the WHO reply. A
// fixed set gets a line of its own in the server window (WHOIS, no such nick,
// invitations), 305 and 306 keep the away flag, a nick in use is handled, the
// LIST replies feed the channel-list window, and every other reply is echoed
// as a generic line when SHOW_IRCMESSAGES is "1".

#include <QObject>
#include <QString>
#include <QStringList>

class Program;

namespace platform {
class Yarv;
}

class ServerReplies : public QObject {
    Q_OBJECT
public:
    // Connects itself to the control's events.
    ServerReplies(Program& program, platform::Yarv& irc, QObject* parent = nullptr);

    void Yarv1_ServerReply(const QString& prefix, const QString& command, const QString& target,
                           const QStringList& params, const QString& subject);
    void Yarv1_WhoReply(const QString& channel, const QString& user, const QString& host,
                        const QString& nick, const QString& server, const QString& realName);

private:
    // A nick in use: before registration the alternate nick is tried once,
    // after that (and once registered) the user is told.
    void nickInUse();
    // A message box raised by a server line: it does not wait, and no second
    // one opens while one is open.
    void tellUser(const QString& text);
    void echo(const QString& text);
    // The LIST replies: the start, one channel, the end.
    void listStarts();
    void listChannel(const QString& channel);
    void listEnds();

    Program& m_program;
    platform::Yarv& m_irc;
    bool m_triedAlternate = false;
};
