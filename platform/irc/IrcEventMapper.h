#pragma once
// Decides which event a parsed server line raises. It keeps the little state
// that takes: whether the connection is registered, the nick the server
// accepted, the message of the day being collected, and the status prefixes
// the server lets go before a channel name. One mapper per connection;
// reset() starts it afresh.

#include "platform/irc/IrcEvent.h"
#include "platform/irc/IrcMessage.h"
#include "platform/irc/IrcServerSyntax.h"

#include <optional>

namespace platform {

class IrcEventMapper {
public:
    // The message of the day keeps at most this many bytes of text; later
    // lines of a longer one are left out.
    static constexpr qsizetype MaxMotdChars = 64 * 1024;

    // The status prefixes before a channel name that address only its members
    // of that status ("@#c" for its operators), until the server names its own.
    static constexpr QStringView DefaultStatusPrefixes = u"@+";

    // The event the line raises; nothing for a line that raises none (a part
    // of the message of the day), that lacks the parameters its event needs,
    // or whose channel, nick or target is empty. A user's message, join,
    // part, quit, nick change or invitation without a source (the nick it
    // acts on) raises nothing either.
    std::optional<IrcEvent> map(const IrcMessage& msg);
    void reset();

    // The nick the server accepted (its welcome), followed through NICK.
    const QString& currentNick() const { return m_nick; }
    bool registered() const { return m_registered; }
    // The server's channel types and status symbols (its 005).
    const IrcServerSyntax& syntax() const { return m_syntax; }

private:
    std::optional<IrcEvent> eventOf(const IrcMessage& msg);
    // The channel a message is for: "@#c" is for "#c".
    QString messageTarget(const QString& target) const;

    bool m_registered = false;
    QString m_nick;
    QStringList m_motd;
    qsizetype m_motdChars = 0;
    QString m_statusPrefixes = DefaultStatusPrefixes.toString();
    IrcServerSyntax m_syntax;
};

} // namespace platform
