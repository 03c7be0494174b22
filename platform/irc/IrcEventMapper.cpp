#include "platform/irc/IrcEventMapper.h"

#include "platform/irc/Ctcp.h"
#include "platform/irc/IrcMask.h"

namespace platform {

namespace {

using Kind = IrcEvent::Kind;

IrcEvent event(Kind kind, QStringList args) {
    IrcEvent e;
    e.kind = kind;
    e.args = std::move(args);
    return e;
}

// A reply's numeric value; 0 for a command that is not three digits.
int numericOf(const QString& command) {
    if (command.size() != 3)
        return 0;
    int value = 0;
    for (const QChar c : command) {
        if (c < u'0' || c > u'9')
            return 0;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// A list of nicks with single blanks between them.
QString nickList(const QString& text) {
    return text.split(u' ', Qt::SkipEmptyParts).join(u' ');
}

// Every line that no event of its own covers: target is the first parameter,
// params those between it and the last, subject the last.
IrcEvent serverReply(const IrcMessage& msg, const QString& target) {
    const QStringList& p = msg.params;
    IrcEvent e;
    e.kind = Kind::ServerReply;
    e.args = {msg.source, msg.command, target, p.isEmpty() ? QString() : p.last()};
    if (p.size() > 2)
        e.params = p.mid(1, p.size() - 2);
    return e;
}

// The whole number at the start of a 352's last parameter is the hop count.
bool isWholeNumber(QStringView text) {
    if (text.isEmpty())
        return false;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The status prefixes a 005 line announces (STATUSMSG=@+); nothing when it
// names none, the defaults again when it withdraws them.
std::optional<QString> announcedStatusPrefixes(const QStringList& params) {
    std::optional<QString> prefixes;
    for (const QString& token : params.mid(1)) {
        if (token.startsWith(u"STATUSMSG="))
            prefixes = token.sliced(10);
        else if (token == u"-STATUSMSG")
            prefixes = IrcEventMapper::DefaultStatusPrefixes.toString();
    }
    return prefixes;
}

} // namespace

void IrcEventMapper::reset() {
    m_registered = false;
    m_nick.clear();
    m_motd.clear();
    m_motdChars = 0;
    m_statusPrefixes = DefaultStatusPrefixes.toString();
    m_syntax.reset();
}

QString IrcEventMapper::messageTarget(const QString& target) const {
    qsizetype skip = 0;
    while (skip < target.size() && m_statusPrefixes.contains(target[skip]))
        ++skip;
    if (skip == 0 || !m_syntax.isChannel(QStringView(target).sliced(skip)))
        return target;
    return target.sliced(skip);
}

std::optional<IrcEvent> IrcEventMapper::map(const IrcMessage& msg) {
    std::optional<IrcEvent> e = eventOf(msg);
    if (!e || !e->isComplete())
        return std::nullopt;
    // An own nick change: the nick that the server now knows.
    if (e->kind == Kind::NickChanged && !m_nick.isEmpty() &&
        IrcMask::nickOf(e->args[0]).compare(m_nick, Qt::CaseInsensitive) == 0)
        m_nick = e->args[1];
    return e;
}

std::optional<IrcEvent> IrcEventMapper::eventOf(const IrcMessage& msg) {
    const QStringList& p = msg.params;
    const qsizetype n = p.size();
    const QString& src = msg.source;
    // The source as the user who acts: empty when the line names no nick.
    const QString user = IrcMask::nickOf(src).isEmpty() ? QString() : src;
    const auto is = [&msg](const char* name) {
        return msg.command.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
    };

    switch (numericOf(msg.command)) {
    case 0:
        break;
    case 1:
        if (n < 2)
            return std::nullopt;
        m_registered = true;
        m_nick = p[0];
        return event(Kind::Welcome, {src, p.last()});
    case 5:
        if (const std::optional<QString> prefixes = announcedStatusPrefixes(p))
            m_statusPrefixes = *prefixes;
        m_syntax.read005(p.mid(1));
        return serverReply(msg, p.value(0));
    case 221:
        if (n < 2)
            return std::nullopt;
        return event(Kind::UserModeReply, {p.mid(1).join(u' ')});
    case 303:
        if (n < 2)
            return std::nullopt;
        return event(Kind::IsonReply, {p[0], nickList(p.last())});
    case 324:
        if (n < 3)
            return std::nullopt;
        return event(Kind::ChannelModeReply, {p[1], p.mid(2).join(u' ')});
    case 332:
        if (n < 3)
            return std::nullopt;
        return event(Kind::TopicReply, {p[1], p.last()});
    case 333:
        if (n < 4)
            return std::nullopt;
        return event(Kind::TopicSetByReply, {p[1], p[2], p[3]});
    case 352: {
        if (n < 8)
            return std::nullopt;
        // The last parameter is the hop count, a blank, then the real name;
        // a server that leaves out the hop count sends the real name alone.
        const QString& last = p.last();
        const qsizetype blank = last.indexOf(u' ');
        const QStringView first = QStringView(last).first(blank < 0 ? last.size() : blank);
        QString realName = last;
        if (isWholeNumber(first))
            realName = blank < 0 ? QString() : last.sliced(blank + 1);
        return event(Kind::WhoReply, {p[1], p[2], p[3], p[5], p[4], realName});
    }
    case 353: {
        if (n < 3)
            return std::nullopt;
        // "353 me = #chan :names"; some servers leave out the channel kind,
        // and a kind without a channel after it names no channel.
        const QString& channel = p[n - 2];
        if (channel == u"=" || channel == u"*" || channel == u"@")
            return std::nullopt;
        return event(Kind::NamesReply, {channel, nickList(p.last())});
    }
    case 375:
        m_motd.clear();
        m_motdChars = 0;
        return std::nullopt;
    case 372:
        if (n >= 2 && m_motdChars + p.last().size() <= MaxMotdChars) {
            m_motd.append(p.last());
            m_motdChars += p.last().size() + 2;
        }
        return std::nullopt;
    case 376:
    case 422: {
        // With no MOTD (422) the server's own words about it are the text.
        QString text = m_motd.join(QStringLiteral("\r\n"));
        if (m_motd.isEmpty() && numericOf(msg.command) == 422 && n >= 2)
            text = p.last();
        m_motd.clear();
        m_motdChars = 0;
        return event(Kind::MotdReceived, {src, text});
    }
    default:
        return serverReply(msg, p.value(0));
    }

    if (is("PRIVMSG")) {
        if (n < 2)
            return std::nullopt;
        const QString target = messageTarget(p[0]);
        const QString& text = p.last();
        if (const auto ctcp = Ctcp::unframe(text)) {
            if (ctcp->command.isEmpty())
                return std::nullopt;
            return event(Kind::CtcpRequest, {user, target, ctcp->command, ctcp->params});
        }
        if (m_syntax.isChannel(target))
            return event(Kind::ChannelMessage, {user, target, text});
        return event(Kind::PrivateMessage, {user, text});
    }
    if (is("NOTICE")) {
        if (n < 2)
            return std::nullopt;
        const QString target = messageTarget(p[0]);
        const QString& text = p.last();
        if (!m_registered || !IrcMask::isUserMask(src))
            return event(Kind::ServerNotice, {text});
        if (const auto ctcp = Ctcp::unframe(text)) {
            if (ctcp->command.isEmpty())
                return std::nullopt;
            return event(Kind::CtcpReply,
                         {IrcMask::nickOf(src), target, ctcp->command, ctcp->params});
        }
        return event(Kind::NoticeReceived, {src, target, text});
    }
    if (is("PING")) {
        if (n < 1)
            return std::nullopt;
        return event(Kind::ServerPing, {p.last()});
    }
    if (is("ERROR")) {
        if (n < 1)
            return std::nullopt;
        return event(Kind::ServerError, {p.last()});
    }
    if (is("JOIN")) {
        if (n < 1)
            return std::nullopt;
        return event(Kind::UserJoined, {user, p[0]});
    }
    if (is("PART")) {
        if (n < 1)
            return std::nullopt;
        return event(Kind::UserParted, {user, p[0]});
    }
    if (is("KICK")) {
        if (n < 2)
            return std::nullopt;
        return event(Kind::UserKicked, {src, p[0], p[1], n > 2 ? p.last() : QString()});
    }
    if (is("QUIT"))
        return event(Kind::UserQuit, {user, n > 0 ? p.last() : QString()});
    if (is("NICK")) {
        if (n < 1)
            return std::nullopt;
        return event(Kind::NickChanged, {user, p[0]});
    }
    if (is("MODE")) {
        if (n < 2)
            return std::nullopt;
        return event(Kind::ModeChanged, {src, p[0], p.mid(1).join(u' ')});
    }
    if (is("TOPIC")) {
        if (n < 2)
            return std::nullopt;
        return event(Kind::TopicChanged, {src, p[0], p.last()});
    }
    if (is("INVITE")) {
        if (n < 2 || user.isEmpty() || p[0].isEmpty() || p.last().isEmpty())
            return std::nullopt;
        // The target of an invitation is the one who invites.
        return serverReply(msg, IrcMask::nickOf(src));
    }
    return serverReply(msg, p.value(0));
}

} // namespace platform
