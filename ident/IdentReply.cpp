#include "ident/IdentReply.h"

namespace IdentReply {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArray trimmedBlanks(const QByteArray& text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text.at(from)))
        ++from;
    while (to > from && isBlank(text.at(to - 1)))
        --to;
    return text.sliced(from, to - from);
}

// A port number 1 to 65535 written in digits only, blanks around it allowed.
bool isPort(const QByteArray& field) {
    const QByteArray digits = trimmedBlanks(field);
    if (digits.isEmpty())
        return false;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
    }
    bool ok = false;
    const uint port = digits.toUInt(&ok);
    return ok && port >= 1 && port <= 65535;
}

bool isQuery(const QByteArray& line) {
    const qsizetype comma = line.indexOf(',');
    return line.size() <= MaxLineBytes && comma >= 0 && isPort(line.first(comma)) &&
           isPort(line.sliced(comma + 1));
}

QByteArray withoutLineBreaks(QByteArray text) {
    text.removeIf([](char c) { return c == '\r' || c == '\n' || c == '\0'; });
    return text;
}

QByteArray field(const QString& text) {
    return withoutLineBreaks(text.toUtf8());
}

} // namespace

QByteArray reply(QByteArray line, const QString& System, const QString& UserID) {
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (isQuery(line))
        return line + " : USERID : " + field(System) + " : " + field(UserID) + '\n';
    return withoutLineBreaks(line).left(MaxLineBytes) + " : ERROR : INVALID-PORT\n";
}

} // namespace IdentReply
