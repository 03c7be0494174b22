#include "connection/ServerReplies.h"

#include "connection/frm_main.h"
#include "core/CommandWindow.h"
#include "core/Program.h"
#include "core/ServerBoxes.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "core/WindowLookup.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_list.h"

#include <QListWidget>
#include <QLocale>

using platform::Yarv;

namespace {

// A reply's numeric value; 0 for a command that is not a number.
int numericOf(const QString& command) {
    bool ok = false;
    const int value = command.toInt(&ok);
    return ok ? value : 0;
}

// The parameters, each followed by one blank.
QString joined(const QStringList& params) {
    QString text;
    for (const QString& param : params)
        text += param + u' ';
    return text;
}

// Replies that have a line of their own, or none, and so no generic echo.
bool hasOwnLine(const QString& command) {
    static const QStringList own{
        QStringLiteral("006"),    QStringLiteral("321"), QStringLiteral("322"),
        QStringLiteral("INVITE"), QStringLiteral("311"), QStringLiteral("312"),
        QStringLiteral("313"),    QStringLiteral("317"), QStringLiteral("318"),
        QStringLiteral("319"),    QStringLiteral("310"), QStringLiteral("305"),
        QStringLiteral("306")};
    return own.contains(command.toUpper());
}

} // namespace

ServerReplies::ServerReplies(Program& program, Yarv& irc, QObject* parent)
    : QObject(parent), m_program(program), m_irc(irc) {
    connect(&irc, &Yarv::ServerReply, this, &ServerReplies::Yarv1_ServerReply);
    connect(&irc, &Yarv::WhoReply, this, &ServerReplies::Yarv1_WhoReply);
    // Each connection may try the alternate nick once.
    connect(&irc, &Yarv::SocketConnected, this, [this] { m_triedAlternate = false; });
}

void ServerReplies::echo(const QString& text) {
    ServerEcho(m_program, text,
               m_program.settings.value(QStringLiteral("WIN_SERVER_IRCMESSAGECOLOR")));
}

void ServerReplies::Yarv1_ServerReply(const QString& /*prefix*/, const QString& command,
                                      const QString& target, const QStringList& params,
                                      const QString& subject) {
    Program& p = m_program;
    const int numeric = numericOf(command);
    const QString first = params.value(0);
    const QString second = params.value(1);
    const QString third = params.value(2);

    if (numeric == 401) {
        echo(QStringLiteral("Sorry, ") + joined(params).trimmed() +
             QStringLiteral(" is not connected."));
        return;
    }
    if (command.toUpper() == u"INVITE")
        echo(target + QStringLiteral(" invites you to join ") + subject);
    if (numeric == 433)
        nickInUse();
    if (numeric == 305)
        p.IsAway = false;
    if (numeric == 306)
        p.IsAway = true;
    if (numeric == 310)
        echo(first + u' ' + subject);
    if (numeric == 311)
        echo(QStringLiteral("-\r\n") + first + QStringLiteral(" is ") + second + u'@' + third +
             QStringLiteral(" :") + subject);
    if (numeric == 312) {
        if (params.size() == 2)
            echo(first + QStringLiteral(" is on ") + second + u' ' + subject);
        else if (params.size() == 3)
            echo(first + QStringLiteral(" is on ") + second + u' ' + third);
        else
            echo(QString());
    }
    if (numeric == 313)
        echo(first + u' ' + subject);
    if (numeric == 317)
        echo(first + QStringLiteral(" has been idle ") + FormatDuration(second) +
             QStringLiteral(", signed on ") + third);
    if (command == u"318")
        echo(subject + QStringLiteral("\r\n-"));
    if (command == u"319")
        echo(joined(params) + QStringLiteral("is on ") + subject);
    if (command == u"321")
        listStarts();
    if (command == u"322")
        listChannel(joined(params).trimmed() + u' ' + StripColorCodes(subject));
    if (command == u"323")
        listEnds();

    if (p.settings.value(QStringLiteral("SHOW_IRCMESSAGES")) == u"1" && !hasOwnLine(command))
        echo(QStringLiteral("- ") + subject);
}

void ServerReplies::listStarts() {
    Program& p = m_program;
    if (p.closing)
        return;
    frm_list& list = p.listWindow();
    list.Show();
    list.ZOrder();
    list.List1->clear();
    list.List1->hide();
    list.setCaption(QStringLiteral("Please wait. Listing!"));
    if (const int panel = FindPanel(p, QStringLiteral("/LIST")); panel > 0) {
        frm_main& frame = p.mainFrame();
        frame.StatusBar1->Panel(panel)->setPicture(frame.il.Picture(11));
    }
}

void ServerReplies::listChannel(const QString& channel) {
    Program& p = m_program;
    if (!p.closing)
        p.listWindow().addChannel(channel);
}

void ServerReplies::listEnds() {
    Program& p = m_program;
    if (p.closing)
        return;
    frm_list& list = p.listWindow();
    const QDateTime now = p.clock.now();
    const QLocale locale;
    list.setCaption(QStringLiteral("/LIST complete as at: ") +
                    locale.toString(now.time(), QLocale::ShortFormat) + u' ' +
                    locale.toString(now.date(), QLocale::ShortFormat));
    list.List1->show();
    // The list came in while the user looked elsewhere.
    const Form* active = ActiveChild(p);
    if (!active || active->Tag() != list.Tag()) {
        if (const int panel = FindPanel(p, QStringLiteral("/LIST")); panel > 0) {
            frm_main& frame = p.mainFrame();
            frame.StatusBar1->Panel(panel)->setPicture(frame.il.Picture(12));
        }
    }
}

void ServerReplies::nickInUse() {
    const QString alternate = m_program.settings.value(QStringLiteral("PROFILE_ALTERNATE"));
    const bool registered = !m_irc.CurrentNick().isEmpty();
    if (registered || m_triedAlternate || alternate.isEmpty()) {
        tellUser(QStringLiteral("Nick in use"));
        return;
    }
    m_triedAlternate = true;
    echo(QStringLiteral("Nick in use, trying ") + alternate);
    m_irc.SendCommand(QStringLiteral("NICK ") + alternate);
}

void ServerReplies::tellUser(const QString& text) {
    ServerMsgBox(m_program, text, platform::vbOKOnly, QString());
}

void ServerReplies::Yarv1_WhoReply(const QString& channel, const QString& user, const QString& host,
                                   const QString& nick, const QString& server,
                                   const QString& realName) {
    ServerEcho(m_program, QStringLiteral("** ") + nick + QStringLiteral(" is: ") + user + u'!' +
                              host + QStringLiteral("\r\non ") + channel + QStringLiteral("\r\n") +
                              server + QStringLiteral(" \r\n") + realName);
}
