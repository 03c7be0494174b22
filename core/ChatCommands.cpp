#include "core/ChatCommands.h"

#include "connection/frm_main.h"
#include "core/CommandContext.h"
#include "core/CommandSupport.h"
#include "core/CommandWindow.h"
#include "core/ConversationWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/WindowLookup.h"
#include "core/mod_set.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_query.h"

namespace {

QString setting(const Program& p, const char* key) {
    return p.settings.value(QLatin1StringView(key));
}

void sendCommand(Program& p, const QString& line) {
    if (platform::Yarv* irc = CommandIrc(p))
        irc->SendCommand(line);
}

// The members of the broadcast family: which windows, and how the text goes.
enum class Addressed { Channels, Queries };
enum class SentAs { Message, Action };

void broadcast(CommandContext& command, Addressed addressed, SentAs sentAs) {
    Program& p = command.program;
    const QString text = command.trimmedTail(1);
    const QString line = u'<' + OwnNick(p) + QStringLiteral("> ") + text;
    const QList<Form*> windows = p.forms();
    for (Form* window : windows) {
        const QString tag = window->Tag();
        // A detached query is one conversation: its desktop window carries
        // "?" & nick, the hidden twin left in the frame "??" & nick.
        const bool addressee = addressed == Addressed::Channels
                                   ? IsChannelWindow(window)
                                   : tag.startsWith(u'?') && !tag.startsWith(u"??");
        if (!addressee)
            continue;
        if (ConversationWindow* display = LineDisplay(window))
            display->disp(line);
        const QString target = addressed == Addressed::Channels ? tag : tag.mid(1);
        platform::Yarv* irc = CommandIrc(p);
        if (irc == nullptr)
            continue;
        if (sentAs == SentAs::Message)
            irc->SendPrivmsg(target, text);
        else
            irc->SendCTCP(target, QStringLiteral("ACTION"), text);
    }
}

// A channel name with "#" in front when it begins with none of the server's
// channel types.
QString channelName(const Program& p, const QString& word) {
    return p.serverSyntax().isChannel(word) ? word : u'#' + word;
}

} // namespace

void achCommand(CommandContext& command) {
    broadcast(command, Addressed::Channels, SentAs::Message);
}

void aquCommand(CommandContext& command) {
    broadcast(command, Addressed::Queries, SentAs::Message);
}

void ameCommand(CommandContext& command) {
    broadcast(command, Addressed::Channels, SentAs::Action);
}

void amsgCommand(CommandContext& command) {
    broadcast(command, Addressed::Queries, SentAs::Action);
}

void awayCommand(CommandContext& command) {
    sendCommand(command.program, QStringLiteral("AWAY :") + command.tail(1));
}

void ctcpCommand(CommandContext& command) {
    if (platform::Yarv* irc = CommandIrc(command.program))
        irc->SendCTCP(command.word(1), command.word(2), command.tail(3));
}

void joinCommand(CommandContext& command) {
    sendCommand(command.program,
                QStringLiteral("JOIN ") + channelName(command.program, command.word(1)));
}

void kickCommand(CommandContext& command) {
    QString reason = command.trimmedTail(3);
    if (reason.isEmpty())
        reason = QStringLiteral("No reason given");
    sendCommand(command.program, QStringLiteral("KICK ") +
                                     channelName(command.program, command.word(1)) + u' ' +
                                     command.word(2) + QStringLiteral(" :") + reason);
}

void meCommand(CommandContext& command) {
    SendAction(command.program, command.line.mid(2).trimmed(), command.tag);
}

void msgCommand(CommandContext& command) {
    Program& p = command.program;
    const QString target = command.word(1);
    const QString text = command.tail(2);
    const QString echo = QStringLiteral("->  *") + target + QStringLiteral("* ") + text.trimmed();
    Form* window = command.window();
    ConversationWindow* display = IsServerWindow(p, window) ? nullptr : LineDisplay(window);
    if (display)
        display->disp(echo, false);
    else
        ServerEcho(p, echo, QString(), 0);
    sendCommand(p, QStringLiteral("PRIVMSG ") + target + QStringLiteral(" :") + text);
}

void noticeCommand(CommandContext& command) {
    Program& p = command.program;
    const QString target = command.word(1);
    const QString text = command.tail(2);
    sendCommand(p, QStringLiteral("NOTICE ") + target + QStringLiteral(" :") + text);
    if (setting(p, "SHOW_NOTICEACTIVE") != u"1")
        return;
    const QString echo = QStringLiteral("->! ") + target + QStringLiteral(" - ") + text;
    Form* window = command.window();
    const QString tag = window ? window->Tag().trimmed() : QString();
    ConversationWindow* display =
        tag.startsWith(u'?') || IsChannelWindow(window) ? LineDisplay(window) : nullptr;
    if (display)
        display->disp(echo);
    else
        ServerEcho(p, echo, QString(), 0);
}

void partCommand(CommandContext& command) {
    sendCommand(command.program,
                QStringLiteral("PART ") + command.word(1) + QStringLiteral(" :") + command.tail(2));
}

void queryCommand(CommandContext& command) {
    Program& p = command.program;
    const QString nick = command.word(1);
    const QString tag = u'?' + nick;
    if (nick.isEmpty() || p.closing || FindForm(p, tag) >= 0)
        return;
    auto* query = new frm_query(p);
    query->setTag(tag);
    query->Show();
    query->setCaption(nick);
    ApplyQueryLooks(p, *query);
    if (FindPanel(p, tag) == 0)
        p.mainFrame().AddPanel(tag, 5);
}

void sayCommand(CommandContext& command) {
    Program& p = command.program;
    const QString text = command.tail(1);
    Form* window = command.window();
    if (IsServerWindow(p, window)) {
        ServerEcho(p, QStringLiteral("Error: Can't use /say in this window"), QString(), 0);
        return;
    }
    QString target;
    if (IsChannelWindow(window))
        target = window->Tag();
    else if (IsQueryWindow(window))
        target = window->Tag().mid(1);
    else
        return;
    if (platform::Yarv* irc = CommandIrc(p))
        irc->SendPrivmsg(target, text);
    if (ConversationWindow* display = LineDisplay(window))
        display->disp(u'<' + OwnNick(p) + QStringLiteral("> ") + text, false,
                      setting(p, "WIN_CHAN_CONSOLE_FORECOLOR"));
}

void SendAction(Program& p, const QString& text, const QString& tag) {
    Form* window = CommandWindow(p, tag);
    QString target;
    QString colour;
    if (IsChannelWindow(window)) {
        target = window->Tag();
        colour = setting(p, "WIN_CHAN_ACTIONCOLOR");
    } else if (IsQueryWindow(window)) {
        target = window->Tag().mid(1);
        colour = setting(p, "WIN_QUERY_ACTIONCOLOR");
    } else {
        return;
    }
    const QString action = text.trimmed();
    if (ConversationWindow* display = LineDisplay(window))
        display->disp(QStringLiteral("* ") + OwnNick(p) + u' ' + action, false, colour);
    if (platform::Yarv* irc = CommandIrc(p))
        irc->SendCTCP(target, QStringLiteral("ACTION"), action);
}
