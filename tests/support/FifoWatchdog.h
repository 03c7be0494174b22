#pragma once
// A FIFO where a program file should be, and a guard for the tests that read
// or write one. Opening a FIFO waits for its other end, so code that opens it
// would hang the test for ever: when the code under test has not let go of
// it after ten seconds, the guard opens the other ends (a reader gets an
// empty file, a writer a reader that takes what it writes), the code goes on,
// and release() reports that it had to.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

class FifoWatchdog {
public:
    // Makes a FIFO at `path`; false when it could not.
    static bool make(const QString& path) {
        return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    }

    explicit FifoWatchdog(const QString& fifo)
        : m_name(QFile::encodeName(fifo)), m_thread([this] { watch(); }) {}
    ~FifoWatchdog() { release(); }
    FifoWatchdog(const FifoWatchdog&) = delete;
    FifoWatchdog& operator=(const FifoWatchdog&) = delete;

    // Ends the watch; true when the code under test was stuck on the FIFO
    // and had to be let go.
    bool release() {
        {
            const std::lock_guard lock(m_mutex);
            m_done = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
        return m_unblocked;
    }

private:
    void watch() {
        std::unique_lock lock(m_mutex);
        const auto done = [this] { return m_done; };
        if (m_wake.wait_for(lock, std::chrono::seconds(10), done))
            return;
        // Past the wait, the code under test is stuck. A writer that opens
        // and closes at once lets a waiting reader go on to an end of file
        // (until a reader waits, that open fails; retry). A reader lets a
        // waiting writer go on; it stays open to the end, so that the writes
        // find it there.
        m_unblocked = true;
        const int reader = ::open(m_name.constData(), O_RDONLY | O_NONBLOCK);
        while (!m_done) {
            const int fd = ::open(m_name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            m_wake.wait_for(lock, std::chrono::milliseconds(50), done);
        }
        if (reader >= 0)
            ::close(reader);
    }

    const QByteArray m_name;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_done = false;
    bool m_unblocked = false;
    std::thread m_thread;
};
