#pragma once
// The program's one clock: the time of day for timestamps and time values.
// Tests set it to a fixed moment; otherwise it is the system clock.

#include <QDateTime>

class ProgramClock {
public:
    QDateTime now() const { return m_fixed.isValid() ? m_fixed : QDateTime::currentDateTime(); }
    void setFixed(const QDateTime& moment) { m_fixed = moment; }
    void clearFixed() { m_fixed = QDateTime(); }

private:
    QDateTime m_fixed;
};
