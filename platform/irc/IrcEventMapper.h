#pragma once
// Decides which event a parsed server line raises. It keeps the little state
// that takes: whether the connection is registered, the nick the server
// accepted, and the message of the day being collected. One mapper per
// connection; reset() starts it afresh.

#include "platform/irc/IrcEvent.h"
#include "platform/irc/IrcMessage.h"

#include <optional>

namespace platform {

class IrcEventMapper {
public:
    // The message of the day keeps at most this many bytes of text; later
    // lines of a longer one are left out.
    static constexpr qsizetype MaxMotdChars = 64 * 1024;

    // The event the line raises; nothing for a line that raises none (a part
    // of the message of the day) or that lacks the parameters its event needs.
    std::optional<IrcEvent> map(const IrcMessage& msg);
    void reset();

    // The nick the server accepted (its welcome), followed through NICK.
    const QString& currentNick() const { return m_nick; }
    bool registered() const { return m_registered; }

private:
    bool m_registered = false;
    QString m_nick;
    QStringList m_motd;
    qsizetype m_motdChars = 0;
};

} // namespace platform
