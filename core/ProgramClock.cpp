#include "core/ProgramClock.h"

namespace {
constexpr qint64 MsPerMinute = 60 * 1000;
constexpr qint64 MsPerDay = 24 * 60 * MsPerMinute;
} // namespace

QTime ProgramClock::time() const {
    if (m_fixed.isValid())
        return m_fixed.time();
    const qint64 utc = QDateTime::currentMSecsSinceEpoch();
    const qint64 minute = utc / MsPerMinute;
    if (minute != m_offsetMinute) {
        m_offsetMinute = minute;
        m_offsetMs = qint64(QDateTime::fromMSecsSinceEpoch(utc).offsetFromUtc()) * 1000;
    }
    qint64 ofDay = (utc + m_offsetMs) % MsPerDay;
    if (ofDay < 0)
        ofDay += MsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ofDay));
}
