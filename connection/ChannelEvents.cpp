#include "connection/ChannelEvents.h"

#include "connection/ConnectionEvents.h"
#include "connection/EventSettings.h"
#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "core/ConversationWindow.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "core/WindowLookup.h"
#include "core/mod_connect.h"
#include "core/mod_set.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_chan.h"

using events::isOn;
using events::setting;
using platform::Yarv;

ChannelEvents::ChannelEvents(Program& program, Yarv& irc, QObject* parent)
    : QObject(parent), m_program(program) {
    resetServerFeatures();
    connect(&irc, &Yarv::UserJoined, this, &ChannelEvents::Yarv1_UserJoined);
    connect(&irc, &Yarv::UserParted, this, &ChannelEvents::Yarv1_UserParted);
    connect(&irc, &Yarv::UserKicked, this, &ChannelEvents::Yarv1_UserKicked);
    connect(&irc, &Yarv::UserQuit, this, &ChannelEvents::Yarv1_UserQuit);
    connect(&irc, &Yarv::NickChanged, this, &ChannelEvents::Yarv1_NickChanged);
    connect(&irc, &Yarv::ModeChanged, this, &ChannelEvents::Yarv1_ModeChanged);
    connect(&irc, &Yarv::NamesReply, this, &ChannelEvents::Yarv1_NamesReply);
    connect(&irc, &Yarv::ChannelModeReply, this, &ChannelEvents::Yarv1_ChannelModeReply);
    connect(&irc, &Yarv::UserModeReply, this, &ChannelEvents::Yarv1_UserModeReply);
    connect(&irc, &Yarv::TopicReply, this, &ChannelEvents::Yarv1_TopicReply);
    connect(&irc, &Yarv::TopicSetByReply, this, &ChannelEvents::Yarv1_TopicSetByReply);
    connect(&irc, &Yarv::TopicChanged, this, &ChannelEvents::Yarv1_TopicChanged);
    connect(&irc, &Yarv::ServerReply, this,
            [this](const QString&, const QString& command, const QString&,
                   const QStringList& params, const QString&) { serverReply(command, params); });
    connect(&irc, &Yarv::SocketConnected, this, [this] {
        resetServerFeatures();
        m_namesArriving.clear();
    });
}

void ChannelEvents::resetServerFeatures() {
    m_alwaysArgumentModes = QStringLiteral("beIk");
    m_setArgumentModes = QStringLiteral("l");
}

void ChannelEvents::serverReply(const QString& command, const QStringList& params) {
    if (command == u"366") {
        m_namesArriving.remove(params.value(0).toLower());
        return;
    }
    if (command != u"005")
        return;
    // The channel types and status modes are the control's to read; only
    // the modes that take an argument are kept here.
    for (const QString& token : params) {
        if (!token.startsWith(QLatin1String("CHANMODES=")))
            continue;
        // Lists, modes that always take an argument, modes that take one
        // when set, modes that never do; anything shorter is broken.
        const QStringList kinds = token.sliced(10).split(u',');
        if (kinds.size() < 4)
            continue;
        m_alwaysArgumentModes = kinds.value(0) + kinds.value(1);
        m_setArgumentModes = kinds.value(2);
    }
}

ChannelWindow* ChannelEvents::channelWindow(const QString& channel) const {
    const int index = FindForm(m_program, channel);
    return index < 0 ? nullptr : dynamic_cast<ChannelWindow*>(m_program.forms().at(index));
}

bool ChannelEvents::isSelf(const QString& nick) const {
    return nick.compare(setting(m_program, "PROFILE_NICKNAME"), Qt::CaseInsensitive) == 0;
}

bool ChannelEvents::isChannel(const QString& target) const {
    return m_program.serverSyntax().isChannel(target);
}

bool ChannelEvents::takesArgument(QChar mode, QChar sign) const {
    return m_program.serverSyntax().prefixModes().contains(mode) ||
           m_alwaysArgumentModes.contains(mode) ||
           (sign == u'+' && m_setArgumentModes.contains(mode));
}

void ChannelEvents::closeChannel(const QString& channel) {
    RemovePanel(m_program, channel);
    const int index = FindForm(m_program, channel);
    if (index >= 0)
        m_program.forms().at(index)->Unload();
}

void ChannelEvents::Yarv1_UserJoined(const QString& mask, const QString& channel) {
    Program& p = m_program;
    const QString nick = Yarv::NickFromMask(mask);
    const QString joinColour = setting(p, "WIN_CHAN_JOINCOLOR");
    if (isSelf(nick)) {
        // The names that follow make the list afresh.
        m_namesArriving.remove(channel.toLower());
        ChannelWindow* chan = channelWindow(channel);
        if (chan) {
            // Joined again while its window is open: the window stays, and
            // the names and topic that follow fill it afresh.
            chan->ClearNames();
            chan->setTopic(QString());
        } else {
            if (p.closing)
                return;
            auto* window = new frm_chan(p);
            window->setTag(channel);
            window->setCaption(channel + QStringLiteral(" [") +
                               QString::number(window->ListCount()) + QStringLiteral("] "));
            window->Show();
            frm_main& frame = p.mainFrame();
            frame.StatusBar1->Panel(frame.AddPanel(channel, 1))->setToolTipText(channel);
            SelectPanel(p, channel);
            chan = window;
        }
        chan->UpdateNicksTotal();
        if (isOn(p, "SHOW_JOIN"))
            chan->disp(QStringLiteral("** Now talking in ") + channel, false, joinColour);
        return;
    }
    ChannelWindow* chan = channelWindow(channel);
    if (!chan)
        return;
    if (isOn(p, "SHOW_JOIN"))
        chan->disp(QStringLiteral("** ") + nick + QStringLiteral(" (") + GetUserHost(mask) +
                       QStringLiteral(") has joined ") + channel,
                   false, joinColour);
    chan->AddNames(nick);
    chan->UpdateNicksTotal();
}

void ChannelEvents::Yarv1_UserParted(const QString& mask, const QString& channel) {
    const QString nick = Yarv::NickFromMask(mask);
    if (isSelf(nick)) {
        closeChannel(channel);
        return;
    }
    ChannelWindow* chan = channelWindow(channel);
    if (!chan)
        return;
    if (isOn(m_program, "SHOW_PART"))
        chan->disp(QStringLiteral("** ") + nick + QStringLiteral(" (") + GetUserHost(mask) +
                       QStringLiteral(") has parted ") + channel,
                   false, setting(m_program, "WIN_CHAN_PARTCOLOR"));
    chan->RemoveName(nick);
    chan->UpdateNicksTotal();
}

void ChannelEvents::Yarv1_UserKicked(const QString& byMask, const QString& channel,
                                     const QString& kickedNick, const QString& reason) {
    Program& p = m_program;
    const QString kicker = Yarv::NickFromMask(byMask);
    if (!isSelf(kickedNick)) {
        ChannelWindow* chan = channelWindow(channel);
        if (!chan)
            return;
        if (isOn(p, "SHOW_KICK"))
            chan->disp(QStringLiteral("** ") + kickedNick + QStringLiteral(" was kicked by ") +
                           kicker + QStringLiteral(" (") + reason + u')',
                       false, setting(p, "WIN_CHAN_KICKCOLOR"));
        chan->RemoveName(kickedNick);
        chan->UpdateNicksTotal();
        return;
    }
    closeChannel(channel);
    const QString by = isSelf(kicker) ? QStringLiteral("yourself") : kicker;
    ServerEcho(p,
               QStringLiteral("-#- You were kicked from ") + channel + QStringLiteral(" by ") + by +
                   QStringLiteral(" (") + reason + u')',
               setting(p, "WIN_SERVER_KICKCOLOR"));
    if (isOn(p, "USE_AUTOREJOIN")) {
        ServerEcho(p, QStringLiteral("Attempting rejoin..."));
        p.mainFrame().Yarv1->SendCommand(QStringLiteral("JOIN ") + channel);
    }
}

void ChannelEvents::Yarv1_UserQuit(const QString& mask, QString reason) {
    Program& p = m_program;
    UpdateTrayStatus(p);
    if (isOn(p, "SHOW_QUIT"))
        ServerEcho(p,
                   QStringLiteral("-#- |") + mask + QStringLiteral("| has quit (") + reason +
                       QStringLiteral(")."),
                   setting(p, "WIN_SERVER_QUITCOLOR"));
    if (reason.isEmpty())
        reason = QStringLiteral("exited without reason");
    const QString nick = Yarv::NickFromMask(mask);
    if (isSelf(nick)) {
        DisconnectServer(p);
        return;
    }
    const QList<Form*> forms = p.forms();
    for (Form* form : forms) {
        auto* chan = dynamic_cast<ChannelWindow*>(form);
        if (!chan || form->Tag().isEmpty() || !chan->IsONChan(nick))
            continue;
        chan->RemoveName(nick);
        chan->UpdateNicksTotal();
        if (isOn(p, "SHOW_QUITACTIVE"))
            chan->disp(QStringLiteral("** ") + nick + QStringLiteral(" has quit (") + reason + u')',
                       false, setting(p, "WIN_CHAN_QUITCOLOR"));
    }
}

void ChannelEvents::Yarv1_NickChanged(const QString& oldMask, const QString& newNick) {
    Program& p = m_program;
    const QString oldNick = Yarv::NickFromMask(oldMask);
    const QList<Form*> forms = p.forms();
    for (Form* form : forms) {
        auto* chan = dynamic_cast<ChannelWindow*>(form);
        if (!chan || form->Tag().isEmpty() || !chan->IsONChan(oldNick))
            continue;
        // The nick keeps its status in this channel.
        const QString entry = chan->UserChanStat(oldNick) + newNick;
        chan->RemoveName(oldNick);
        chan->AddNames(entry);
        if (isOn(p, "SHOW_NICK"))
            chan->disp(QStringLiteral("** ") + oldNick + QStringLiteral(" is now know as ") + entry,
                       false, setting(p, "WIN_CHAN_NICKCOLOR"));
    }
    if (!isSelf(oldNick))
        return;
    Setting(p, QStringLiteral("PROFILE_NICKNAME"), newNick);
    ServerEcho(p, QStringLiteral("- You are now known as ") + newNick,
               setting(p, "WIN_SERVER_NICKCOLOR"));
    ShowConnectedTo(p, setting(p, "SERVER_URL"));
}

void ChannelEvents::Yarv1_ModeChanged(const QString& byMask, const QString& target,
                                      const QString& modes) {
    Program& p = m_program;
    if (isOn(p, "SHOW_CHANNELMODE"))
        ServerEcho(p, QStringLiteral("-#- |") + byMask + u'/' + target +
                          QStringLiteral("| mode: ") + modes);
    const QString by = Yarv::NickFromMask(byMask);
    if (by == target || !isChannel(target)) {
        ServerEcho(p, QStringLiteral("** User mode: ") + modes);
        return;
    }
    ChannelWindow* chan = channelWindow(target);
    if (!chan)
        return;
    chan->disp(QStringLiteral("** ") + by + QStringLiteral(" sets mode: ") + modes);

    // Walk the mode string keeping the sign; each letter that takes an
    // argument takes the next one.
    const QStringList words = modes.split(u' ', Qt::SkipEmptyParts);
    const QString letters = words.value(0);
    qsizetype next = 1;
    QChar sign = u'+';
    for (const QChar letter : letters) {
        if (letter == u'+' || letter == u'-') {
            sign = letter;
            continue;
        }
        if (!takesArgument(letter, sign))
            continue;
        if (next >= words.size())
            break;
        const QString& argument = words.at(next++);
        if (letter == u'o' || letter == u'v')
            chan->DoMode(QString(sign) + letter, argument);
    }
}

void ChannelEvents::Yarv1_NamesReply(const QString& channel, const QString& names) {
    Program& p = m_program;
    if (isOn(p, "SHOW_NAMES"))
        ServerEcho(p, QStringLiteral("Names/") + channel + QStringLiteral(": ") + names,
                   setting(p, "WIN_SERVER_NAMESCOLOR"));
    ChannelWindow* chan = channelWindow(channel);
    if (!chan)
        return;
    // A new names list replaces the one shown.
    const QString key = channel.toLower();
    if (!m_namesArriving.contains(key)) {
        m_namesArriving.insert(key);
        chan->ClearNames();
    }
    chan->AddNames(names);
    chan->UpdateNicksTotal();
}

void ChannelEvents::Yarv1_ChannelModeReply(const QString& channel, const QString& modes) {
    if (!isOn(m_program, "SHOW_CHANNELMODE"))
        return;
    if (ChannelWindow* chan = channelWindow(channel))
        chan->disp(QStringLiteral("** ") + channel + QStringLiteral(" mode: ") + modes);
}

void ChannelEvents::Yarv1_UserModeReply(const QString& modes) {
    ServerEcho(m_program, QStringLiteral("** ") + setting(m_program, "PROFILE_NICKNAME") +
                              QStringLiteral(" sets mode: ") + modes);
}

void ChannelEvents::Yarv1_TopicReply(const QString& channel, const QString& topic) {
    ChannelWindow* chan = channelWindow(channel);
    if (!chan)
        return;
    chan->setTopic(StripColorCodes(topic));
    chan->disp(channel + QStringLiteral(" topic is: ") + topic);
}

void ChannelEvents::Yarv1_TopicSetByReply(const QString& channel, const QString& setBy,
                                          const QString& setAt) {
    if (ChannelWindow* chan = channelWindow(channel))
        chan->disp(QStringLiteral("** Topic set ") + setAt + QStringLiteral(" by ") + setBy);
}

void ChannelEvents::Yarv1_TopicChanged(const QString& byMask, const QString& channel,
                                       const QString& topic) {
    ChannelWindow* chan = channelWindow(channel);
    if (!chan)
        return;
    // The caption never shows control codes; the line keeps them.
    chan->setTopic(StripColorCodes(topic));
    chan->disp(QStringLiteral("** ") + Yarv::NickFromMask(byMask) +
               QStringLiteral(" changes topic to: ") + topic);
}
