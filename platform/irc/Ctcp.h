#pragma once
// The CTCP frame: Chr(1) & command [& " " & parameters] & Chr(1), carried as
// the text of a PRIVMSG (request) or a NOTICE (reply).

#include <QString>
#include <QStringView>

#include <optional>

namespace platform {

class Ctcp {
public:
    struct Message {
        QString command; // the first word, as received
        QString params;  // the rest after the blank that ends the command
    };

    // Frames a request or reply. Chr(1), CR, LF and NUL cannot be carried and
    // are taken out; blanks at the end of the command are dropped, so that a
    // command written with a trailing blank gets exactly one before params.
    static QString frame(QStringView command, QStringView params);

    // Takes a framed text apart; nothing when the text is not framed. The
    // closing Chr(1) may be missing; text after it is ignored.
    static std::optional<Message> unframe(QStringView text);

    static constexpr QChar Delimiter = QChar(1);
};

} // namespace platform
