#include "platform/irc/Ctcp.h"

namespace platform {

namespace {

QString withoutUnsendable(QStringView s) {
    QString out;
    out.reserve(s.size());
    for (const QChar c : s) {
        if (c != Ctcp::Delimiter && c != u'\r' && c != u'\n' && c != QChar(0))
            out.append(c);
    }
    return out;
}

} // namespace

QString Ctcp::frame(QStringView command, QStringView params) {
    QString cmd = withoutUnsendable(command);
    while (cmd.endsWith(u' '))
        cmd.chop(1);
    const QString args = withoutUnsendable(params);
    QString text;
    text.reserve(cmd.size() + args.size() + 3);
    text.append(Delimiter).append(cmd);
    if (!args.isEmpty())
        text.append(u' ').append(args);
    text.append(Delimiter);
    return text;
}

std::optional<Ctcp::Message> Ctcp::unframe(QStringView text) {
    if (!text.startsWith(Delimiter))
        return std::nullopt;
    QStringView body = text.sliced(1);
    const qsizetype end = body.indexOf(Delimiter);
    if (end >= 0)
        body = body.first(end);
    const qsizetype blank = body.indexOf(u' ');
    Message msg;
    msg.command = (blank < 0 ? body : body.first(blank)).toString();
    if (blank >= 0)
        msg.params = body.sliced(blank + 1).toString();
    return msg;
}

} // namespace platform
