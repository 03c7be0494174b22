#pragma once
// The main frame's handlers of what happens in channels: joins, parts,
// kicks, quits, nick and mode changes, and the replies that describe a
// channel (names, modes, topic). Each handler shows its lines in the channel
// windows and the server window and keeps the windows' nick lists and
// captions in step; the user's own join opens the channel's window and the
// user's own part or kick closes it.

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class ChannelWindow;
class Program;

namespace platform {
class Yarv;
}

class ChannelEvents : public QObject {
    Q_OBJECT
public:
    // Connects itself to the control's events.
    ChannelEvents(Program& program, platform::Yarv& irc, QObject* parent = nullptr);

    void Yarv1_UserJoined(const QString& mask, const QString& channel);
    void Yarv1_UserParted(const QString& mask, const QString& channel);
    void Yarv1_UserKicked(const QString& byMask, const QString& channel, const QString& kickedNick,
                          const QString& reason);
    void Yarv1_UserQuit(const QString& mask, QString reason);
    void Yarv1_NickChanged(const QString& oldMask, const QString& newNick);
    void Yarv1_ModeChanged(const QString& byMask, const QString& target, const QString& modes);
    void Yarv1_NamesReply(const QString& channel, const QString& names);
    void Yarv1_ChannelModeReply(const QString& channel, const QString& modes);
    void Yarv1_UserModeReply(const QString& modes);
    void Yarv1_TopicReply(const QString& channel, const QString& topic);
    void Yarv1_TopicSetByReply(const QString& channel, const QString& setBy, const QString& setAt);
    void Yarv1_TopicChanged(const QString& byMask, const QString& channel, const QString& topic);

private:
    // What the server says about its channels in its 005 reply, and the end
    // of a names list (366).
    void serverReply(const QString& command, const QStringList& params);
    void resetServerFeatures();
    // The open channel window of the channel; nullptr when none is open.
    ChannelWindow* channelWindow(const QString& channel) const;
    bool isSelf(const QString& nick) const;
    bool isChannel(const QString& target) const;
    // Whether a mode letter takes an argument when set (sign "+") or cleared.
    bool takesArgument(QChar mode, QChar sign) const;
    void closeChannel(const QString& channel);

    Program& m_program;
    // Channels whose names list is being received; the first reply of a new
    // list empties the nick list first. Lower case.
    QSet<QString> m_namesArriving;
    // The server's mode letters that take an argument (its CHANMODES); the
    // usual ones until it tells otherwise.
    QString m_alwaysArgumentModes;
    QString m_setArgumentModes;
};
