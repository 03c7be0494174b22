#pragma once
// Turns what the program sends into protocol lines: no argument can carry a
// line end or a NUL into the stream, and every line goes out as UTF-8, at most
// 510 bytes, with exactly one CR LF.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace platform {

class IrcLineEncoder {
public:
    // The longest line sent, in bytes without its CR LF.
    static constexpr qsizetype MaxLineBytes = 510;

    // The text without CR, LF and NUL.
    static QString clean(QStringView text);
    // A single-word argument (a target, a nick): clean and without blanks, so
    // that it cannot shift the parameters after it.
    static QString word(QStringView text);
    // The line a caller of SendRaw meant: one trailing CR LF (or LF) is its
    // line end; any other CR, LF or NUL is taken out.
    static QString rawLine(QStringView text);
    // The bytes sent for a line: clean, UTF-8, cut to MaxLineBytes on a
    // character boundary, then CR LF. Empty when nothing is left to send.
    static QByteArray encode(QStringView line);
};

} // namespace platform
