#pragma once
// The frame's handlers for chat text: a message to a channel, a private
// message and a notice. A private message opens a query window for its
// sender when none is open; that set-up is shared with the CTCP handler,
// which opens one for a private action.

#include <QObject>
#include <QString>

class Form;
class Program;

namespace platform {
class Yarv;
}

class MessageEvents : public QObject {
    Q_OBJECT
public:
    // Handles the events of `irc` from now on.
    MessageEvents(Program& program, platform::Yarv& irc, QObject* parent = nullptr);

    // "<" & nick & "> " & text in the channel's window, when it is open.
    void Yarv1_ChannelMessage(const QString& fromMask, const QString& channel, const QString& text);
    // The line in the sender's query window, opened hidden on first contact;
    // with SHOW_QUERY "1" also the whole mask and text in the server window.
    void Yarv1_PrivateMessage(const QString& fromMask, const QString& text);
    // With SHOW_NOTICE "1": a notice to a channel in its window, a notice to
    // the user where "echo" shows its text, in the notice colour.
    void Yarv1_NoticeReceived(const QString& fromMask, const QString& target, const QString& text);

    // The window tagged "?" & nick. When none is open, a query window is made
    // for it, hidden until its switchbar panel is picked, with the caption
    // nick & " (" & user and host & ")", the query looks, and a raised panel
    // of its own. nullptr when no window can be made (the program is ending).
    static Form* QueryWindowFor(Program& program, const QString& nick, const QString& mask);

private:
    Program& m_program;
};
