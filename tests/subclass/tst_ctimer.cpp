// Interval timers: starting, restarting and stopping, the per-thread table of
// 100 slots with its high-water mark, the two errors, and ticks.
//
// Most cases are scripts run on a thread of their own, so each starts with an
// empty table, against system timers the script controls. The steps:
//   A=v         sets timer A's Interval (A is created on first use); a raised
//               error logs "error <number> <source>: <description>"
//   A?          logs "A <interval> slot <slot>"
//   mark        logs the table's high-water mark
//   running     logs how many system timers run
//   fill N      starts N more timers (interval 10), quietly
//   fail        the next system timer cannot be created
//   tick N      the system delivers a tick of timer id N (also a stale one)
//   pulse A     calls A's PulseTimer
//   drop A      the script lets go of A
//   A alive?    logs "A alive" or "A gone"
//   A stops     A sets its own Interval to 0 on its next ThatTime, then
//               logs "A stopped at <interval>"
// The system timers log "set <id> <ms>" and "kill <id>"; ids count from 1.
// Timers log "A tick" on ThatTime.

#include "platform/com/ComError.h"
#include "subclass/CTimer.h"
#include "tests/support/TestMain.h"

#include <QThread>

#include <map>
#include <memory>
#include <set>

using namespace loomhook;
using platform::ComError;
using platform::TimerProc;
using platform::UINT;
using platform::UINT_PTR;

namespace {

class ScriptedTimers : public SystemTimers {
public:
    explicit ScriptedTimers(QStringList& log) : m_log(log) {}

    UINT_PTR SetTimer(UINT elapseMs, TimerProc tick) override {
        if (std::exchange(failNext, false)) {
            log(QStringLiteral("set failed"));
            return 0;
        }
        const UINT_PTR id = m_nextId++;
        log(QStringLiteral("set %1 %2").arg(id).arg(elapseMs));
        m_running.insert(id);
        m_proc = std::move(tick);
        return id;
    }
    bool KillTimer(UINT_PTR id) override {
        const bool found = m_running.erase(id) == 1;
        log(found ? QStringLiteral("kill %1").arg(id) : QStringLiteral("kill %1 unknown").arg(id));
        return found;
    }

    // A tick as the system delivers it; a timer killed meanwhile may still
    // have one queued, so any id is delivered.
    void tick(UINT_PTR id) {
        const TimerProc proc = m_proc; // a handler may start another timer
        if (proc)
            proc(0, platform::WM_TIMER, id, 0);
    }
    qsizetype running() const { return static_cast<qsizetype>(m_running.size()); }

    bool failNext = false;
    bool quiet = false;

private:
    void log(const QString& line) {
        if (!quiet)
            m_log << line;
    }

    QStringList& m_log;
    UINT_PTR m_nextId = 1;
    std::set<UINT_PTR> m_running;
    TimerProc m_proc;
};

class Script {
public:
    Script() : m_system(log) {}
    ~Script() {
        // Empty the thread's table before the thread ends.
        m_system.quiet = true;
        for (auto& [name, weak] : m_seen) {
            if (const auto timer = weak.lock())
                timer->setInterval(0);
        }
    }
    Script(const Script&) = delete;
    Script& operator=(const Script&) = delete;

    void run(const QString& step);
    QStringList log;

private:
    CTimer& timer(const QString& name);

    ScriptedTimers m_system;
    std::map<QString, std::shared_ptr<CTimer>> m_held;
    std::map<QString, std::weak_ptr<CTimer>> m_seen;
    int m_filled = 0;
};

CTimer& Script::timer(const QString& name) {
    auto& held = m_held[name];
    if (!held) {
        held = CTimer::create(&m_system);
        m_seen[name] = held;
        CTimer* raw = held.get();
        QObject::connect(raw, &CTimer::ThatTime, [this, name, raw] {
            log << name + QStringLiteral(" tick");
            if (raw->Item.toString() == QLatin1String("stops")) {
                raw->setInterval(0);
                // The handler still holds its timer after stopping it.
                log << QStringLiteral("%1 stopped at %2").arg(name).arg(raw->Interval());
            }
        });
    }
    return *held;
}

void Script::run(const QString& step) {
    const QStringList w = step.split(QLatin1Char(' '));
    if (step.contains(QLatin1Char('='))) {
        const QStringList parts = step.split(QLatin1Char('='));
        try {
            timer(parts.at(0)).setInterval(parts.at(1).toInt());
        } catch (const ComError& e) {
            log << QStringLiteral("error 0x%1 %2: %3")
                       .arg(e.number(), 0, 16)
                       .arg(e.source(), e.description());
        }
    } else if (step.endsWith(QLatin1Char('?')) && w.size() == 1) {
        const CTimer& t = timer(step.chopped(1));
        log << QStringLiteral("%1 %2 slot %3").arg(step.chopped(1)).arg(t.Interval()).arg(t.slot());
    } else if (w.at(0) == QLatin1String("mark")) {
        log << QStringLiteral("mark %1").arg(CTimer::highWaterMark());
    } else if (w.at(0) == QLatin1String("running")) {
        log << QStringLiteral("running %1").arg(m_system.running());
    } else if (w.at(0) == QLatin1String("fill")) {
        m_system.quiet = true;
        for (int i = 0; i < w.at(1).toInt(); ++i)
            timer(QStringLiteral("F%1").arg(++m_filled)).setInterval(10);
        m_system.quiet = false;
    } else if (w.at(0) == QLatin1String("fail")) {
        m_system.failNext = true;
    } else if (w.at(0) == QLatin1String("tick")) {
        m_system.tick(w.at(1).toULongLong());
    } else if (w.at(0) == QLatin1String("pulse")) {
        timer(w.at(1)).PulseTimer();
    } else if (w.at(0) == QLatin1String("drop")) {
        m_held.erase(w.at(1));
    } else if (w.size() == 2 && w.at(1) == QLatin1String("alive?")) {
        log << w.at(0) +
                   (m_seen[w.at(0)].expired() ? QStringLiteral(" gone") : QStringLiteral(" alive"));
    } else if (w.size() == 2 && w.at(1) == QLatin1String("stops")) {
        timer(w.at(0)).Item = QStringLiteral("stops");
    } else {
        log << QStringLiteral("bad step ") + step;
    }
}

// Runs the script on a fresh thread, which has an empty timer table.
QStringList runOnFreshThread(const QStringList& steps) {
    QStringList log;
    std::unique_ptr<QThread> thread(QThread::create([&log, &steps] {
        Script script;
        for (const QString& step : steps)
            script.run(step);
        log = script.log;
    }));
    thread->start();
    thread->wait();
    return log;
}

} // namespace

class TestCTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scripts_data();
    void scripts();
    void platformTimerTicksAndStopsItself();
};

void TestCTimer::scripts_data() {
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("expected");

    const QString tooMany = QStringLiteral(
        "error 0x80043553 Loomhook.WindowProc: No more than 10 timers allowed per class");
    const QString cantCreate =
        QStringLiteral("error 0x80043554 Loomhook.WindowProc: Can't create system timer");

    QTest::newRow("the same interval keeps the system timer")
        << QStringList{"A=100", "A=100", "A?"} << QStringList{"set 1 100", "A 100 slot 1"};
    QTest::newRow("a new interval restarts it")
        << QStringList{"A=100", "A=250", "A?"}
        << QStringList{"set 1 100", "kill 1", "set 2 250", "A 250 slot 1"};
    QTest::newRow("a restarted timer takes the first free slot")
        << QStringList{"A=10", "B=10", "A=0", "B=20", "B?", "mark"}
        << QStringList{"set 1 10", "set 2 10",    "kill 1", "kill 2",
                       "set 3 20", "B 20 slot 1", "mark 2"};
    QTest::newRow("a negative interval stops, and is never stored")
        << QStringList{"A=100", "A=-5", "A?", "A=-5", "A?", "running"}
        << QStringList{"set 1 100", "kill 1", "A 0 slot 0", "A 0 slot 0", "running 0"};
    QTest::newRow("0 on a stopped timer does nothing")
        << QStringList{"A=0", "A?", "mark"} << QStringList{"A 0 slot 0", "mark 0"};
    QTest::newRow("the 100th timer starts, the 101st raises and runs nothing")
        << QStringList{"fill 99", "A=10", "A?", "B=10", "B?", "running", "mark"}
        << QStringList{"set 100 10", "A 10 slot 100", "set 101 10",  "kill 101",
                       tooMany,      "B 0 slot 0",    "running 100", "mark 100"};
    QTest::newRow("a full table has room again once a timer stops")
        << QStringList{"fill 100", "A=10", "F7=0", "A=10", "A?"}
        << QStringList{"set 101 10", "kill 101", tooMany, "kill 7", "set 102 10", "A 10 slot 7"};
    QTest::newRow("stopped slots are reused, the high-water mark stays")
        << QStringList{"A=10", "B=10", "C=10", "A=0", "B=0", "C=0", "mark", "D=10", "D?", "mark"}
        << QStringList{"set 1 10", "set 2 10", "set 3 10", "kill 1",      "kill 2",
                       "kill 3",   "mark 3",   "set 4 10", "D 10 slot 1", "mark 3"};
    QTest::newRow("a system timer that cannot be created raises 13652")
        << QStringList{"fail", "A=100", "A?", "running", "mark", "A=100", "A?"}
        << QStringList{"set failed", cantCreate,  "A 0 slot 0",  "running 0",
                       "mark 0",     "set 1 100", "A 100 slot 1"};
    QTest::newRow("PulseTimer raises ThatTime once, running or not")
        << QStringList{"pulse A", "A=100", "pulse A", "A?"}
        << QStringList{"A tick", "set 1 100", "A tick", "A 100 slot 1"};
    QTest::newRow("each tick reaches its own timer; a stale one is dropped")
        << QStringList{"A=100", "B=200", "tick 2", "tick 1", "A=0", "tick 1", "tick 9"}
        << QStringList{"set 1 100", "set 2 200", "B tick", "A tick", "kill 1"};
    QTest::newRow("a dropped running timer lives on and ticks")
        << QStringList{"A=100", "drop A", "A alive?", "tick 1"}
        << QStringList{"set 1 100", "A alive", "A tick"};
    QTest::newRow("a dropped timer that stops itself in its tick goes")
        << QStringList{"A=100", "A stops", "drop A", "tick 1", "A alive?", "running"}
        << QStringList{"set 1 100", "A tick", "kill 1", "A stopped at 0", "A gone", "running 0"};
}

void TestCTimer::scripts() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, expected);
    QCOMPARE(runOnFreshThread(steps), expected);
}

// On the platform's own timers: ticks arrive through the event loop, and a
// timer the client has let go of stops itself from its handler.
void TestCTimer::platformTimerTicksAndStopsItself() {
    std::weak_ptr<CTimer> weak;
    int ticks = 0;
    {
        const std::shared_ptr<CTimer> timer = CTimer::create();
        weak = timer;
        CTimer* raw = timer.get();
        connect(raw, &CTimer::ThatTime, [raw, &ticks] {
            ++ticks;
            raw->setInterval(0);
        });
        timer->setInterval(1);
        QVERIFY(timer->slot() > 0);
    }
    QVERIFY(!weak.expired()); // the table holds it while it runs
    QTRY_VERIFY(weak.expired());
    QCOMPARE(ticks, 1);
}

PARLONE_TEST_MAIN(TestCTimer)
#include "tst_ctimer.moc"
