#include "core/TextUtils.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool isAsciiDigit(const QString& text, qsizetype pos) {
    return pos >= 0 && pos < text.size() && text[pos] >= u'0' && text[pos] <= u'9';
}

// Reads one or two digits at `pos`; advances `pos` past them.
int readNumber(const QString& text, qsizetype& pos) {
    int value = text[pos].unicode() - u'0';
    ++pos;
    if (isAsciiDigit(text, pos)) {
        value = value * 10 + (text[pos].unicode() - u'0');
        ++pos;
    }
    return value;
}

} // namespace

qsizetype SplitWords(WordArray& words, const QString& text) {
    words.assign(text.split(u' ', Qt::KeepEmptyParts));
    return words.size() - 1;
}

qsizetype SplitPairs(WordArray& pairs, const QString& text) {
    QStringList pieces;
    pieces.reserve(text.size() / 2 + 2);
    pieces.append(QString());
    for (qsizetype i = 0; i < text.size(); i += 2)
        pieces.append(text.mid(i, 2));
    pairs.assign(pieces);
    return pieces.size() - 1;
}

ColorCode ReadColorCode(const QString& text, qsizetype pos) {
    ColorCode code;
    if (!isAsciiDigit(text, pos))
        return code;
    qsizetype at = pos;
    code.fore = readNumber(text, at);
    if (at < text.size() && text[at] == u',') {
        ++at;
        if (isAsciiDigit(text, at))
            code.back = readNumber(text, at);
    }
    code.length = at - pos;
    return code;
}

QString StripColorCodes(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        if (ch == 3) {
            const qsizetype length = ReadColorCode(text, i + 1).length;
            i += length;
            // A line break right after the code's digits belongs to the code.
            if (length > 0 && i + 1 < text.size() && (text[i + 1] == u'\r' || text[i + 1] == u'\n'))
                ++i;
        } else if (ch >= 32 || ch == 10 || ch == 13)
            result.append(text[i]);
    }
    return result;
}

QString StripNickPrefix(QString& nick) {
    nick = nick.trimmed();
    if (nick.startsWith(u'@') || nick.startsWith(u'+') || nick.startsWith(u'-'))
        nick.remove(0, 1);
    return nick;
}

QString GetUserHost(const QString& mask) {
    const qsizetype bang = mask.indexOf(u'!');
    return bang < 0 ? QString() : mask.mid(bang + 1);
}

bool IsBlocked(const QStringList& blocked, const QString& nick, const QString& kind) {
    Q_UNUSED(kind);
    const QString lower = nick.toLower();
    for (const QString& entry : blocked) {
        const QString e = entry.toLower();
        if (e == lower || e == u"*")
            return true;
    }
    return false;
}

QString GetFileName(const QString& path) {
    const qsizetype cut = qMax(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(cut + 1);
}

qint64 GetFileSize(const QString& path) {
    // Only a regular file has a length to give; a pipe is never opened, as
    // opening one waits for its other end.
    if (!QFileInfo(path).isFile())
        return -1;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return file.size();
}

QString FormatDuration(const QString& number) {
    const QString digits = number.trimmed();
    qint64 seconds = 0;
    bool whole = !digits.isEmpty();
    for (const QChar c : digits)
        whole = whole && c >= u'0' && c <= u'9';
    if (whole) {
        bool ok = false;
        seconds = digits.toLongLong(&ok);
        if (!ok)
            seconds = 0;
    }
    return QString::number(seconds / 60) + QStringLiteral(" mins and ") +
           QString::number(seconds % 60) + QStringLiteral(" secs");
}
