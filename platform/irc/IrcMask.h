#pragma once
// A user mask nick!user@host taken apart. Either part after the nick may be
// missing: "nick@host" has no user, "nick!user" no host, "server.name" is a
// nick alone.

#include <QString>
#include <QStringView>

namespace platform {

struct IrcMask {
    QString nick;
    QString user;
    QString host;

    static IrcMask split(QStringView mask);
    // The nick alone, without taking the rest apart.
    static QString nickOf(QStringView mask);
    // True when the prefix names a user (it has a user or a host part), false
    // for a server name or an empty prefix.
    static bool isUserMask(QStringView mask);
};

} // namespace platform
