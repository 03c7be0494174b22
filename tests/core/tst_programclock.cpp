// The clock's time of day, read with a zone offset it looks up once a minute,
// against the C library's own local time.

#include "core/ProgramClock.h"

#include <QtTest>

#include <cstdlib>

class TestProgramClock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void timeIsTheLocalTime_data();
    void timeIsTheLocalTime();
    void fixedMoment();
    void cleanupTestCase() { qunsetenv("TZ"); }
};

void TestProgramClock::timeIsTheLocalTime_data() {
    QTest::addColumn<QByteArray>("zone");
    // Zones east and west of UTC, one off by half an hour.
    QTest::newRow("utc") << QByteArray("UTC0");
    QTest::newRow("east, half hour") << QByteArray("<+0530>-5:30");
    QTest::newRow("west") << QByteArray("<-10>10");
    QTest::newRow("far east") << QByteArray("<+14>-14");
}

void TestProgramClock::timeIsTheLocalTime() {
    QFETCH(QByteArray, zone);
    qputenv("TZ", zone);
    const ProgramClock clock;
    for (int read = 0; read < 2; ++read) { // the looked-up offset, then the kept one
        const QTime before = QDateTime::currentDateTime().time();
        const QTime t = clock.time();
        // Seconds from the library's reading to the clock's, across midnight too.
        const int apart = (before.secsTo(t) + 86400) % 86400;
        QVERIFY2(apart <= 1, qPrintable(before.toString() + QStringLiteral(" vs ") + t.toString()));
    }
}

void TestProgramClock::fixedMoment() {
    ProgramClock clock;
    clock.setFixed(QDateTime(QDate(2026, 12, 10), QTime(23, 59, 30)));
    QCOMPARE(clock.time(), QTime(23, 59, 30));
    clock.clearFixed();
    QVERIFY((QTime::currentTime().secsTo(clock.time()) + 86400) % 86400 <= 1);
}

QTEST_GUILESS_MAIN(TestProgramClock)
#include "tst_programclock.moc"
