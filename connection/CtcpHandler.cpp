#include "connection/CtcpHandler.h"

#include "connection/Alerts.h"
#include "connection/DccOfferPrompts.h"
#include "connection/EventSettings.h"
#include "connection/MessageEvents.h"
#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "core/CommandSupport.h"
#include "core/ConversationWindow.h"
#include "core/Program.h"
#include "core/ProgramVersion.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "core/Val.h"
#include "core/WindowLookup.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_blocks.h"

using events::isOn;
using events::setting;
using platform::Yarv;

namespace {

// The credit at the end of the VERSION reply.
constexpr auto kCredit = "- a desktop IRC client for Linux";

// A CTCP request or reply in the server window, as one line in the console
// and in the server log alike: a line or paragraph separator sent inside it
// is a blank, so it forges no line of its own.
void echo(Program& p, const QString& from, const QString& target, const QString& command,
          const QString& params) {
    QString line = QStringLiteral("-C- |") + from + u'/' + target + QStringLiteral("| [") +
                   command + QStringLiteral("] ") + params;
    line.replace(QChar::LineSeparator, u' ').replace(QChar::ParagraphSeparator, u' ');
    ServerEcho(p, line, setting(p, "WIN_SERVER_CTCPCOLOR"), 0);
}

} // namespace

CtcpHandler::CtcpHandler(Program& program, Yarv& irc, DccOfferPrompts& offers, QObject* parent)
    : QObject(parent), m_program(program), m_irc(irc), m_offers(offers) {
    connect(&irc, &Yarv::CtcpRequest, this, &CtcpHandler::Yarv1_CtcpRequest);
    connect(&irc, &Yarv::CtcpReply, this, &CtcpHandler::Yarv1_CtcpReply);
}

bool CtcpHandler::mayReply() {
    return m_limit.allow(m_program.clock.now());
}

void CtcpHandler::Yarv1_CtcpRequest(const QString& fromMask, const QString& target,
                                    const QString& command, const QString& params) {
    Program& p = m_program;
    const QString nick = Yarv::NickFromMask(fromMask);
    if (IsBlocked(p, nick))
        return;
    const QString kind = command.toUpper();
    if (kind == u"ACTION") {
        action(fromMask, nick, target, params);
        return;
    }
    if (isOn(p, "SHOW_CTCP"))
        echo(p, fromMask, target, command, params);
    if (kind == u"DCC") {
        m_offers.offered(fromMask, params);
    } else if (kind == u"PING") {
        if (mayReply())
            m_irc.SendCTCPReply(nick, QStringLiteral("PING"), params);
    } else if (kind == u"VERSION") {
        if (!mayReply())
            return;
        const ProgramVersion v = CurrentVersion();
        m_irc.SendCommand(
            QStringLiteral("NOTICE ") + nick + QStringLiteral(" :\x01VERSION ") +
            QStringLiteral("Parlone v%1.%2.%3 ").arg(v.major).arg(v.minor).arg(v.revision) +
            QLatin1StringView(kCredit) + u'\x01');
    }
}

void CtcpHandler::action(const QString& fromMask, const QString& nick, const QString& target,
                         const QString& params) {
    Program& p = m_program;
    // Buddy mode: an action to the user while the frame sits in the tray.
    if (alertsWanted(p) &&
        QString::compare(target, setting(p, "PROFILE_NICKNAME"), Qt::CaseInsensitive) == 0) {
        const QString plain = StripColorCodes(params);
        RaiseAlert(p, {QStringLiteral("Message from: ") + nick + u' ' + plain,
                       events::colourIndex(p, "WIN_QUERY_CONSOLE_FORECOLOR"),
                       events::colourIndex(p, "WIN_QUERY_CONSOLE_BACKCOLOR"),
                       u'*' + nick + u' ' + plain, QStringLiteral("ACTION")});
    }
    const QString line = QStringLiteral("* ") + nick + u' ' + params;
    if (m_offers.isChannel(target)) {
        const int index = FindForm(p, target);
        if (index < 0)
            return;
        if (ConversationWindow* display = LineDisplay(p.forms().at(index)))
            display->disp(line, false, setting(p, "WIN_CHAN_ACTIONCOLOR"));
        return;
    }
    if (nick.isEmpty())
        return;
    Form* query = MessageEvents::QueryWindowFor(p, nick, fromMask);
    if (query == nullptr)
        return;
    if (ConversationWindow* display = LineDisplay(query))
        display->disp(line, false, setting(p, "WIN_QUERY_ACTIONCOLOR"));
    UpdateTrayStatus(p);
}

void CtcpHandler::Yarv1_CtcpReply(const QString& from, const QString& target,
                                  const QString& command, const QString& params) {
    Program& p = m_program;
    if (Val(setting(p, "SHOW_CTCPREPLY")) != 1.0)
        return;
    echo(p, from, target, command, params);
}
