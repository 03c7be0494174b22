#include "platform/irc/IrcLineEncoder.h"

namespace platform {

namespace {

bool isLineBreakOrNul(QChar c) {
    return c == u'\r' || c == u'\n' || c == QChar(0);
}

} // namespace

QString IrcLineEncoder::clean(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!isLineBreakOrNul(c))
            out.append(c);
    }
    return out;
}

QString IrcLineEncoder::word(QStringView text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!isLineBreakOrNul(c) && c != u' ')
            out.append(c);
    }
    return out;
}

QString IrcLineEncoder::rawLine(QStringView text) {
    if (text.endsWith(u"\r\n"))
        text.chop(2);
    else if (text.endsWith(u'\n'))
        text.chop(1);
    return clean(text);
}

QByteArray IrcLineEncoder::encode(QStringView line) {
    QByteArray bytes = clean(line).toUtf8();
    if (bytes.size() > MaxLineBytes) {
        qsizetype cut = MaxLineBytes;
        // Never end inside a character: back up over continuation bytes.
        while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80)
            --cut;
        bytes.truncate(cut);
    }
    if (bytes.isEmpty())
        return {};
    bytes.append("\r\n");
    return bytes;
}

} // namespace platform
