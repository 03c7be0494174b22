#include "platform/irc/IrcMask.h"

namespace platform {

namespace {

qsizetype nickEnd(QStringView mask) {
    for (qsizetype i = 0; i < mask.size(); ++i) {
        if (mask[i] == u'!' || mask[i] == u'@')
            return i;
    }
    return mask.size();
}

} // namespace

IrcMask IrcMask::split(QStringView mask) {
    IrcMask parts;
    const qsizetype end = nickEnd(mask);
    parts.nick = mask.first(end).toString();
    QStringView rest = mask.sliced(end);
    if (rest.startsWith(u'!')) {
        rest = rest.sliced(1);
        const qsizetype at = rest.indexOf(u'@');
        parts.user = (at < 0 ? rest : rest.first(at)).toString();
        rest = at < 0 ? QStringView() : rest.sliced(at);
    }
    if (rest.startsWith(u'@'))
        parts.host = rest.sliced(1).toString();
    return parts;
}

QString IrcMask::nickOf(QStringView mask) {
    return mask.first(nickEnd(mask)).toString();
}

bool IrcMask::isUserMask(QStringView mask) {
    return nickEnd(mask) < mask.size();
}

} // namespace platform
