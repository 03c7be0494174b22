// The window table: handles, properties, procedures, messages and timers.

#include "platform/window/Timer.h"
#include "platform/window/Window.h"
#include "tests/support/TestMain.h"

#include <QWidget>

using namespace platform;

class TestWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void handlesAndOwnership();
    void propertiesAre64Bit();
    void proceduresChainAndRestore();
    void destroyedWidgetLeavesTable();
    void timersTickAndStop();
    void windowTimersKeepTheirId();
};

void TestWindow::handlesAndOwnership() {
    QWidget a, b;
    const HWND ha = CreatePlatformWindow(&a);
    const HWND hb = CreatePlatformWindow(&b);
    QVERIFY(ha != 0 && hb != 0 && ha != hb);
    QCOMPARE(CreatePlatformWindow(&a), ha); // one handle per widget
    QCOMPARE(HandleOfWidget(&a), ha);
    QCOMPARE(WidgetFromHandle(hb), &b);
    QVERIFY(IsWindow(ha));
    QVERIFY(!IsWindow(0));
    QVERIFY(!IsWindow(-5));

    DWORD pid = 0;
    GetWindowThreadProcessId(ha, &pid);
    QCOMPARE(pid, GetCurrentProcessId());
    const HWND foreign = RegisterForeignWindow(GetCurrentProcessId() + 1);
    GetWindowThreadProcessId(foreign, &pid);
    QCOMPARE(pid, GetCurrentProcessId() + 1);
    DestroyPlatformWindow(foreign);
    QVERIFY(!IsWindow(foreign));
    // Handles are never reused within a run.
    QVERIFY(RegisterForeignWindow(1) > foreign);
}

void TestWindow::propertiesAre64Bit() {
    QWidget w;
    const HWND h = CreatePlatformWindow(&w);
    const qint64 big = (qint64(1) << 40) + 7;
    QVERIFY(SetPropA(h, QStringLiteral("66#276#1"), big));
    QCOMPARE(GetPropA(h, QStringLiteral("66#276#1")), big);
    QVERIFY(!HasPropA(h, QStringLiteral("absent")));
    QCOMPARE(GetPropA(h, QStringLiteral("absent")), 0);
    QCOMPARE(EnumPropNames(h), QStringList{QStringLiteral("66#276#1")});
    QCOMPARE(RemovePropA(h, QStringLiteral("66#276#1")), big);
    QVERIFY(EnumPropNames(h).isEmpty());
    QVERIFY(!SetPropA(0, QStringLiteral("x"), 1));
}

void TestWindow::proceduresChainAndRestore() {
    QWidget w;
    QStringList seen;
    const HWND h = CreatePlatformWindow(&w, [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
        seen << QStringLiteral("default %1").arg(msg);
        return 10;
    });
    QCOMPARE(SendMessageA(h, WM_VSCROLL, 0, 0), 10);

    WNDPROC previous = 0;
    const WNDPROC hook = RegisterWindowProc([&](HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        seen << QStringLiteral("hook %1").arg(msg);
        return CallWindowProcA(previous, hwnd, msg, wp, lp) + 1;
    });
    previous = SetWindowLongA(h, GWL_WNDPROC, hook);
    QVERIFY(previous != 0);
    QCOMPARE(GetWindowLongA(h, GWL_WNDPROC), hook);
    QCOMPARE(SendMessageA(h, WM_HSCROLL, 1, 2), 11);
    QCOMPARE(DefWindowProcA(h, WM_HSCROLL, 0, 0), 10); // the own handling, past the hook
    QCOMPARE(SetWindowLongA(h, GWL_WNDPROC, 0), 0);    // no procedure 0
    QCOMPARE(SetWindowLongA(h, GWL_WNDPROC, previous), hook);
    QCOMPARE(SendMessageA(h, WM_HSCROLL, 0, 0), 10);
    QCOMPARE(seen, (QStringList{QStringLiteral("default 277"), QStringLiteral("hook 276"),
                                QStringLiteral("default 276"), QStringLiteral("default 276"),
                                QStringLiteral("default 276")}));
    UnregisterWindowProc(hook);
    QCOMPARE(CallWindowProcA(hook, h, 1, 0, 0), 0);
    QCOMPARE(SendMessageA(0, 1, 0, 0), 0);
}

void TestWindow::destroyedWidgetLeavesTable() {
    HWND h = 0;
    {
        QWidget w;
        h = CreatePlatformWindow(&w);
        SetPropA(h, QStringLiteral("C%1").arg(h), 3);
    }
    QVERIFY(!IsWindow(h));
    QCOMPARE(GetPropA(h, QStringLiteral("C%1").arg(h)), 0);
    QCOMPARE(WidgetFromHandle(h), nullptr);
}

void TestWindow::timersTickAndStop() {
    int ticks = 0;
    UINT_PTR seenId = 0;
    const UINT_PTR id = SetTimer(0, 0, 5, [&](HWND, UINT msg, UINT_PTR tid, DWORD) {
        QCOMPARE(msg, WM_TIMER);
        seenId = tid;
        if (++ticks == 3)
            KillTimer(0, tid); // a timer may stop itself from its own tick
    });
    QVERIFY(id != 0);
    QTRY_COMPARE_WITH_TIMEOUT(ticks, 3, 5000);
    QCOMPARE(seenId, id);
    QTest::qWait(30);
    QCOMPARE(ticks, 3);
    QVERIFY(!KillTimer(0, id));
    QCOMPARE(SetTimer(12345678, 1, 5, {}), 0u); // no such window
}

void TestWindow::windowTimersKeepTheirId() {
    QWidget w;
    const HWND h = CreatePlatformWindow(&w);
    QList<UINT_PTR> seen;
    QVERIFY(SetTimer(h, 0, 5, [&](HWND, UINT, UINT_PTR id, DWORD) { seen << id; }) != 0);
    QVERIFY(SetTimer(h, 7, 5, [&](HWND, UINT, UINT_PTR id, DWORD) {
                seen << id;
                throw std::runtime_error("a failing tick stays inside the timer");
            }) != 0);
    QTRY_VERIFY(seen.contains(0) && seen.contains(7));
    QVERIFY(KillTimer(h, 0));
    QVERIFY(KillTimer(h, 7));
    QVERIFY(!KillTimer(h, 0));
    seen.clear();
    QTest::qWait(30);
    QVERIFY(seen.isEmpty());
}

PARLONE_TEST_MAIN(TestWindow)
#include "tst_window.moc"
