#pragma once
// The program's one clock: the time of day for timestamps and time values.
// Tests set it to a fixed moment; otherwise it is the system clock.

#include <QDateTime>
#include <QTime>

class ProgramClock {
public:
    QDateTime now() const { return m_fixed.isValid() ? m_fixed : QDateTime::currentDateTime(); }
    // The local time of day, as now().time(), for what reads it with every
    // line (timestamps): the C library looks at the zone's file again each
    // time it is asked for the local time, so the zone's offset is asked
    // once a minute; offsets change on whole minutes.
    QTime time() const;
    void setFixed(const QDateTime& moment) { m_fixed = moment; }
    void clearFixed() { m_fixed = QDateTime(); }

private:
    QDateTime m_fixed;
    mutable qint64 m_offsetMinute = -1;
    mutable qint64 m_offsetMs = 0;
};
