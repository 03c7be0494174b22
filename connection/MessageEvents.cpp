#include "connection/MessageEvents.h"

#include "connection/Alerts.h"
#include "connection/EventSettings.h"
#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "core/CommandSupport.h"
#include "core/ConversationWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ProgramCommands.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "core/WindowLookup.h"
#include "core/mod_set.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_query.h"

using events::colourIndex;
using events::isOn;
using events::setting;
using platform::SwitchBarPanel;
using platform::Yarv;

namespace {

// Shows a line in the window tagged `tag`, when it is open and shows lines.
void showIn(Program& p, const QString& tag, const QString& line, const char* colourKey) {
    const int index = FindForm(p, tag);
    if (index < 0)
        return;
    if (ConversationWindow* display = LineDisplay(p.forms().at(index)))
        display->disp(line, false, setting(p, colourKey));
}

} // namespace

MessageEvents::MessageEvents(Program& program, Yarv& irc, QObject* parent)
    : QObject(parent), m_program(program) {
    connect(&irc, &Yarv::ChannelMessage, this, &MessageEvents::Yarv1_ChannelMessage);
    connect(&irc, &Yarv::PrivateMessage, this, &MessageEvents::Yarv1_PrivateMessage);
    connect(&irc, &Yarv::NoticeReceived, this, &MessageEvents::Yarv1_NoticeReceived);
}

void MessageEvents::Yarv1_ChannelMessage(const QString& fromMask, const QString& channel,
                                         const QString& text) {
    showIn(m_program, channel, u'<' + Yarv::NickFromMask(fromMask) + QStringLiteral("> ") + text,
           "WIN_CHAN_MSGCOLOR");
}

void MessageEvents::Yarv1_PrivateMessage(const QString& fromMask, const QString& text) {
    Program& p = m_program;
    if (isOn(p, "SHOW_QUERY"))
        ServerEcho(p, QStringLiteral("-?- |") + fromMask + QStringLiteral("| ") + text,
                   setting(p, "WIN_SERVER_QUERYCOLOR"), 0);
    const QString nick = Yarv::NickFromMask(fromMask);
    if (nick.isEmpty())
        return;
    Form* query = QueryWindowFor(p, nick, fromMask);
    if (query == nullptr)
        return;
    // The nick as the window has it: the first message's letter case.
    if (ConversationWindow* display = LineDisplay(query))
        display->disp(u'<' + query->Tag().mid(1) + QStringLiteral("> ") + text, false,
                      setting(p, "WIN_QUERY_MSGCOLOR"));
    if (!alertsWanted(p))
        return;
    const QString plain = StripColorCodes(text);
    RaiseAlert(p, {QStringLiteral("Message from: ") + nick + QStringLiteral(" - ") + plain,
                   colourIndex(p, "WIN_QUERY_CONSOLE_FORECOLOR"),
                   colourIndex(p, "WIN_QUERY_CONSOLE_BACKCOLOR"),
                   u'<' + nick + QStringLiteral("> ") + plain, QStringLiteral("MESSAGE")});
    // The tray's tip counts the new line.
    UpdateTrayStatus(p);
}

void MessageEvents::Yarv1_NoticeReceived(const QString& fromMask, const QString& target,
                                         const QString& text) {
    Program& p = m_program;
    if (!isOn(p, "SHOW_NOTICE"))
        return;
    const QString nick = Yarv::NickFromMask(fromMask);
    if (p.serverSyntax().isChannel(target)) {
        showIn(p, target, u'-' + nick + QStringLiteral("- ") + text, "WIN_CHAN_NOTICECOLOR");
        return;
    }
    // Shown as "echo" shows a line, wherever the user is looking, in the
    // notice colour.
    const int colour = colourIndex(p, "WIN_SERVER_NOTICECOLOR");
    EchoLine(p, (u'\x03' + QString::number(colour) + QStringLiteral(" - ") + nick +
                 QStringLiteral(" - ") + text)
                    .trimmed());
    // The note tile shows the notice as it came, codes and all.
    if (alertsWanted(p))
        RaiseAlert(p, {QStringLiteral("(Notice from: ") + nick + QStringLiteral(") - ") + text,
                       colour, colourIndex(p, "WIN_SERVER_CONSOLE_BACKCOLOR"),
                       u'[' + nick + QStringLiteral("] ") + StripColorCodes(text),
                       QStringLiteral("NOTICE")});
}

Form* MessageEvents::QueryWindowFor(Program& p, const QString& nick, const QString& mask) {
    const QString tag = u'?' + nick;
    const int index = FindForm(p, tag);
    if (index >= 0)
        return p.forms().at(index);
    if (p.closing)
        return nullptr;
    auto* query = new frm_query(p);
    query->setTag(tag);
    query->setCaption(nick + QStringLiteral(" (") + GetUserHost(mask) + u')');
    int panel = FindPanel(p, tag);
    if (panel == 0)
        panel = p.mainFrame().AddPanel(tag, 5);
    p.mainFrame().StatusBar1->Panel(panel)->setBevel(SwitchBarPanel::sbrRaised);
    ApplyQueryLooks(p, *query);
    return query;
}
