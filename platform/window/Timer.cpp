#include "platform/window/Timer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QTimer>

#include <memory>

namespace platform {
namespace {

struct TimerKey {
    HWND hwnd;
    UINT_PTR id;
    bool operator==(const TimerKey&) const = default;
};

size_t qHash(const TimerKey& k, size_t seed = 0) {
    return ::qHash(k.hwnd, seed) ^ ::qHash(k.id, seed);
}

struct Timers {
    UINT_PTR nextId = 1;
    QHash<TimerKey, std::shared_ptr<QTimer>> running;
};

Timers& timers() {
    static Timers t;
    static const bool cleanupRegistered = [] {
        // Stop every timer while the application object still exists.
        qAddPostRoutine([] { timers().running.clear(); });
        return true;
    }();
    Q_UNUSED(cleanupRegistered);
    return t;
}

} // namespace

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TimerProc proc) {
    if (hwnd != 0 && !IsWindow(hwnd))
        return 0;
    Timers& t = timers();
    if (hwnd == 0)
        id = t.nextId++;
    const TimerKey key{hwnd, id};
    auto timer = std::make_shared<QTimer>();
    timer->setInterval(static_cast<int>(qMin<UINT>(elapseMs, INT_MAX)));
    QObject::connect(timer.get(), &QTimer::timeout, [key, proc] {
        // Keep the timer alive while its callback runs, even if it kills itself.
        auto self = timers().running.value(key);
        if (!self)
            return;
        if (key.hwnd != 0 && !IsWindow(key.hwnd)) {
            KillTimer(key.hwnd, key.id);
            return;
        }
        if (!proc)
            return;
        try {
            proc(key.hwnd, WM_TIMER, key.id,
                 static_cast<DWORD>(QDateTime::currentMSecsSinceEpoch() & 0xFFFFFFFF));
        } catch (const std::exception& e) {
            qWarning("timer %llu: %s", static_cast<unsigned long long>(key.id), e.what());
        } catch (...) {
            qWarning("timer %llu failed", static_cast<unsigned long long>(key.id));
        }
    });
    t.running.insert(key, timer);
    timer->start();
    return hwnd == 0 ? id : (id == 0 ? 1 : id);
}

bool KillTimer(HWND hwnd, UINT_PTR id) {
    auto timer = timers().running.take(TimerKey{hwnd, id});
    if (!timer)
        return false;
    timer->stop();
    return true;
}

} // namespace platform
