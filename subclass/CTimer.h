#pragma once
// Loomhook's interval timers: a timer without a window that raises ThatTime on
// every tick once its Interval is set. The running timers of a thread share one
// table of 100 slots, and the table holds a reference to each, so a running
// timer lives on after its client lets go of it, until its Interval is set to
// 0 (by the client or by a ThatTime handler).

#include "loomhook_export.h"
#include "platform/window/Timer.h"

#include <QObject>
#include <QVariant>

#include <memory>

namespace loomhook {

// Error codes raised by CTimer; the raised number is 0x80040000 Or the code.
enum EErrorTimer : qint32 {
    eeBaseTimer = 13650,
    eeTooManyTimers = 13651,
    eeCantCreateTimer = 13652,
};

// The system timers a CTimer runs on: by default the platform's window-less
// timers on the thread's event loop. Tests put in their own, to make a start
// fail and to see which system timers run.
class LOOMHOOK_EXPORT SystemTimers {
public:
    virtual ~SystemTimers();
    // Starts a timer that calls `tick` every `elapseMs` milliseconds; its id,
    // or 0 when no timer can be started.
    virtual platform::UINT_PTR SetTimer(platform::UINT elapseMs, platform::TimerProc tick);
    virtual bool KillTimer(platform::UINT_PTR id);
};

class LOOMHOOK_EXPORT CTimer : public QObject, public std::enable_shared_from_this<CTimer> {
    Q_OBJECT
public:
    // A stopped timer. `timers` (not owned) must outlive every system timer
    // it starts; none is the platform's.
    static std::shared_ptr<CTimer> create(SystemTimers* timers = nullptr);
    ~CTimer() override;
    CTimer(const CTimer&) = delete;
    CTimer& operator=(const CTimer&) = delete;

    // For the client's own use; the library never reads it.
    QVariant Item;

    // Milliseconds between ticks; 0 while stopped.
    qint32 Interval() const { return m_interval; }
    // A positive value starts the timer, or restarts it when it differs from
    // the interval now (the same value keeps a running timer's phase); 0 or
    // less stops it. Raises platform::ComError 13651 when the thread already
    // runs 100 timers and 13652 when no system timer can be created; the
    // timer is stopped after either.
    void setInterval(qint32 New_Interval);
    // Raises ThatTime at once, whether the timer runs or not.
    void PulseTimer();

    // The timer's slot in its thread's table, 1 to 100; 0 while stopped.
    int slot() const;
    // The highest slot ever filled in this thread's table; never lowered.
    static qint16 highWaterMark();

Q_SIGNALS:
    void ThatTime();

private:
    explicit CTimer(SystemTimers* timers);

    bool start();
    void stop();
    static void tick(platform::UINT_PTR id);

    SystemTimers* m_timers;
    qint32 m_interval = 0;
    platform::UINT_PTR m_id = 0;
};

} // namespace loomhook
