#pragma once
// How many CTCP replies the program gives: at most five in any thirty
// seconds, counted across all nicks and all kinds of request, so that a flood
// of requests never turns into a flood of replies (and the server's flood
// limit never throws the user off), while a user asking for VERSION and then
// PING still gets both. Times come from the caller, the program's clock.

#include <QDateTime>
#include <QList>

class CtcpReplyLimit {
public:
    static constexpr qint64 WindowMs = 30000;
    static constexpr int PerWindow = 5;

    // Whether a reply may go at `now`; one that may is counted.
    bool allow(const QDateTime& now);

private:
    QList<QDateTime> m_recent; // replies in the last window, oldest first
};
