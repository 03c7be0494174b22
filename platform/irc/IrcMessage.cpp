#include "platform/irc/IrcMessage.h"

#include "platform/text/DecodeText.h"

namespace platform {

namespace {

// Index of the first character at or after pos that is not a blank.
qsizetype skipBlanks(QStringView s, qsizetype pos) {
    while (pos < s.size() && s[pos] == u' ')
        ++pos;
    return pos;
}

// The word from pos up to the next blank (or the end); pos moves past it.
QStringView takeWord(QStringView s, qsizetype& pos) {
    qsizetype end = s.indexOf(u' ', pos);
    if (end < 0)
        end = s.size();
    const QStringView word = s.sliced(pos, end - pos);
    pos = end;
    return word;
}

void parseTags(QStringView tags, QMap<QString, QString>& out) {
    qsizetype pos = 0;
    while (pos <= tags.size()) {
        qsizetype end = tags.indexOf(u';', pos);
        if (end < 0)
            end = tags.size();
        const QStringView item = tags.sliced(pos, end - pos);
        pos = end + 1;
        if (item.isEmpty())
            continue;
        const qsizetype eq = item.indexOf(u'=');
        const QStringView key = eq < 0 ? item : item.first(eq);
        if (key.isEmpty())
            continue;
        // A key given twice keeps its last value.
        out.insert(key.toString(),
                   eq < 0 ? QString() : IrcMessage::unescapeTagValue(item.sliced(eq + 1)));
    }
}

} // namespace

QString IrcMessage::unescapeTagValue(QStringView value) {
    if (!value.contains(u'\\'))
        return value.toString();
    QString out;
    out.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\') {
            out.append(c);
            continue;
        }
        if (++i >= value.size())
            break; // a lone backslash at the end is dropped
        switch (value[i].unicode()) {
        case ':':
            out.append(u';');
            break;
        case 's':
            out.append(u' ');
            break;
        case 'r':
            out.append(u'\r');
            break;
        case 'n':
            out.append(u'\n');
            break;
        default: // "\\" and any other escaped character stand for themselves
            out.append(value[i]);
            break;
        }
    }
    return out;
}

std::optional<IrcMessage> IrcMessage::parse(QStringView line) {
    if (line.contains(QChar(0)))
        return std::nullopt;
    // A CR that framing left inside a line would show, and be logged, as a
    // line break, so that text after it passed for a line of its own. It is
    // dropped rather than taken as a line end: the server relayed all of it as
    // one line from one sender, and splitting it would let that sender write
    // a second line with any prefix it likes.
    QString withoutCr;
    if (line.contains(u'\r')) {
        withoutCr = line.toString();
        withoutCr.remove(u'\r');
        line = withoutCr;
    }
    IrcMessage msg;
    qsizetype pos = skipBlanks(line, 0);
    if (pos < line.size() && line[pos] == u'@') {
        ++pos;
        parseTags(takeWord(line, pos), msg.tags);
        pos = skipBlanks(line, pos);
    }
    if (pos < line.size() && line[pos] == u':') {
        ++pos;
        msg.source = takeWord(line, pos).toString();
        pos = skipBlanks(line, pos);
    }
    msg.command = takeWord(line, pos).toString();
    if (msg.command.isEmpty())
        return std::nullopt;
    for (;;) {
        pos = skipBlanks(line, pos);
        if (pos >= line.size())
            break;
        if (line[pos] == u':') {
            msg.params.append(line.sliced(pos + 1).toString());
            break;
        }
        msg.params.append(takeWord(line, pos).toString());
    }
    return msg;
}

QString IrcMessage::decode(QByteArrayView bytes) {
    return DecodeUtf8OrLatin1(bytes);
}

} // namespace platform
