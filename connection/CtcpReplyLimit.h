#pragma once
// How many CTCP replies the program gives: at most one to a nick every two
// seconds, and at most five in any thirty seconds in all, so that a flood of
// requests never turns into a flood of replies (and the server's flood limit
// never throws the user off). Times come from the caller, the program's
// clock.

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>

class CtcpReplyLimit {
public:
    static constexpr qint64 PerNickMs = 2000;
    static constexpr qint64 WindowMs = 30000;
    static constexpr int PerWindow = 5;

    // Whether a reply to `nick` may go at `now`; one that may is counted.
    bool allow(const QString& nick, const QDateTime& now);

private:
    // Milliseconds from `then` to `now`; a clock set back counts as long ago.
    static qint64 since(const QDateTime& then, const QDateTime& now);

    QList<QDateTime> m_recent;              // replies in the last window, oldest first
    QHash<QString, QDateTime> m_lastByNick; // nicks in lower case
};
