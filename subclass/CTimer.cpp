#include "subclass/CTimer.h"

#include "subclass/LoomhookError.h"

#include <array>

namespace loomhook {

using namespace platform;

namespace {

constexpr int SlotCount = 100;

// The running timers of one thread, each held by a reference, and the highest
// slot ever filled.
struct TimerTable {
    std::array<std::shared_ptr<CTimer>, SlotCount> timers;
    qint16 highWater = 0;
};

thread_local TimerTable t_table;

SystemTimers& platformTimers() {
    // Never destroyed: timers may still be stopped while the process ends.
    static SystemTimers* const timers = new SystemTimers;
    return *timers;
}

} // namespace

SystemTimers::~SystemTimers() = default;

UINT_PTR SystemTimers::SetTimer(UINT elapseMs, TimerProc tick) {
    return platform::SetTimer(0, 0, elapseMs, std::move(tick));
}

bool SystemTimers::KillTimer(UINT_PTR id) {
    return platform::KillTimer(0, id);
}

std::shared_ptr<CTimer> CTimer::create(SystemTimers* timers) {
    return std::shared_ptr<CTimer>(new CTimer(timers ? timers : &platformTimers()));
}

CTimer::CTimer(SystemTimers* timers) : m_timers(timers) {}

// The table holds a reference to every running timer, so only a timer out of
// it gets here; a system timer it still owns (its thread's table went first)
// is killed.
CTimer::~CTimer() {
    if (m_id != 0)
        m_timers->KillTimer(m_id);
}

void CTimer::setInterval(qint32 New_Interval) {
    // Emptying the slot may drop the last reference to this timer.
    const std::shared_ptr<CTimer> keep = weak_from_this().lock();
    if (New_Interval > 0) {
        if (New_Interval == m_interval)
            return;
        if (m_interval != 0)
            stop();
        m_interval = New_Interval;
        if (!start())
            raiseLoomhookError(eeCantCreateTimer);
    } else if (m_interval > 0) {
        m_interval = 0;
        stop();
    }
}

void CTimer::PulseTimer() {
    Q_EMIT ThatTime();
}

int CTimer::slot() const {
    for (int i = 0; i < t_table.highWater; ++i) {
        if (t_table.timers[i].get() == this)
            return i + 1;
    }
    return 0;
}

qint16 CTimer::highWaterMark() {
    return t_table.highWater;
}

bool CTimer::start() {
    m_id = m_timers->SetTimer(static_cast<UINT>(m_interval),
                              [](HWND, UINT, UINT_PTR id, DWORD) { tick(id); });
    if (m_id == 0) {
        setInterval(0);
        return false;
    }
    for (int i = 0; i < SlotCount; ++i) {
        if (!t_table.timers[i]) {
            t_table.timers[i] = shared_from_this();
            t_table.highWater = qMax<qint16>(t_table.highWater, static_cast<qint16>(i + 1));
            return true;
        }
    }
    // No slot: no system timer may run without one.
    m_timers->KillTimer(m_id);
    m_id = 0;
    m_interval = 0;
    raiseLoomhookError(eeTooManyTimers);
}

void CTimer::stop() {
    for (int i = 0; i < t_table.highWater; ++i) {
        if (t_table.timers[i].get() == this) {
            m_timers->KillTimer(m_id);
            m_id = 0;
            t_table.timers[i].reset();
            return;
        }
    }
}

void CTimer::tick(UINT_PTR id) {
    for (int i = 0; i < t_table.highWater; ++i) {
        // The reference keeps the timer alive while a handler stops or drops it.
        const std::shared_ptr<CTimer> timer = t_table.timers[i];
        if (timer && timer->m_id == id) {
            timer->PulseTimer();
            return;
        }
    }
}

} // namespace loomhook
