// The frame's connection timer and its own system-menu items: the
// connection panel and the server window's caption follow the connection
// flag only when it changes; "Always on top" and "Minimise to tray" toggle
// their check mark, setting and setup box together.

#include "config/frm_setup.h"
#include "connection/ConnectionTimer.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "platform/window/ImageList.h"
#include "platform/window/SystemMenu.h"
#include "sysmenu/Sysdeck.h"
#include "tests/support/FakeNotifyArea.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_server.h"

#include <QCheckBox>

using namespace platform;

class TestConnectionTimer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void panelAndCaptionFollowTheFlagOnlyWhenItChanges();
    void aTickNeverMakesTheServerWindow();
    void theProgramsTimerRunsByItself();
    void itemsToggleTheirSettingAndBox_data();
    void itemsToggleTheirSettingAndBox();
    void minimiseToTrayItemSendsTheNextMinimiseToTheTray();

private:
    frm_main& frame() { return m_w.p->mainFrame(); }
    int panelPicture() {
        return frame().il.indexOfHandle(IconHandle(frame().StatusBar1->Panel(1)->Picture()));
    }

    WindowFixture m_w;
};

void TestConnectionTimer::init() {
    m_w.start();
    m_w.p->settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("irc.example.org"));
}

void TestConnectionTimer::cleanup() {
    m_w.stop();
}

void TestConnectionTimer::panelAndCaptionFollowTheFlagOnlyWhenItChanges() {
    frm_server& server = m_w.p->serverWindow();
    server.setCaption(QStringLiteral("Server"));
    QVERIFY(m_w.irc().IsConnected());
    const QString connected = QStringLiteral("Connected to: irc.example.org as me");

    frame().Timer1->Timer1_Timer();
    QCOMPARE(panelPicture(), 2);
    QCOMPARE(frame().StatusBar1->Panel(1)->ToolTipText(), connected);
    QCOMPARE(server.Caption(), connected);

    // While the flag stays, what another handler wrote stays.
    server.setCaption(QStringLiteral("Connected to: srv as me"));
    frame().StatusBar1->Panel(1)->setToolTipText(QStringLiteral("elsewhere"));
    frame().Timer1->Timer1_Timer();
    QCOMPARE(server.Caption(), QStringLiteral("Connected to: srv as me"));
    QCOMPARE(frame().StatusBar1->Panel(1)->ToolTipText(), QStringLiteral("elsewhere"));

    m_w.peer->closeClient();
    QVERIFY(QTest::qWaitFor([&] { return !m_w.irc().IsConnected(); }, 5000));
    frame().Timer1->Timer1_Timer();
    QCOMPARE(panelPicture(), 3);
    QCOMPARE(frame().StatusBar1->Panel(1)->ToolTipText(), QStringLiteral("Disconnected"));
    QCOMPARE(server.Caption(), QStringLiteral("Disconnected"));
}

void TestConnectionTimer::aTickNeverMakesTheServerWindow() {
    QVERIFY(!m_w.p->hasServerWindow());
    frame().Timer1->Timer1_Timer();
    QVERIFY(!m_w.p->hasServerWindow());
    QCOMPARE(panelPicture(), 2);
}

void TestConnectionTimer::theProgramsTimerRunsByItself() {
    QVERIFY(!frame().Timer1->isRunning());
    TempProgramFolder folder;
    Program program(folder.path());
    program.connectionTimer = true;
    QVERIFY(program.mainFrame().Timer1->isRunning());
}

void TestConnectionTimer::itemsToggleTheirSettingAndBox_data() {
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("on");
    QTest::addColumn<QString>("off");
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("movesTheFrame");

    QTest::newRow("Always on top") << 100 << "MAINFORM_ONTOP"
                                   << "TRUE"
                                   << "FALSE"
                                   << "Check1" << true;
    QTest::newRow("Minimise to tray") << 111 << "USE_TRAY"
                                      << "1"
                                      << "0"
                                      << "chk_use_tray" << false;
}

void TestConnectionTimer::itemsToggleTheirSettingAndBox() {
    QFETCH(int, item);
    QFETCH(QString, key);
    QFETCH(QString, on);
    QFETCH(QString, off);
    QFETCH(QString, box);
    QFETCH(bool, movesTheFrame);
    Program& p = *m_w.p;
    const QCheckBox* setupBox = p.setupDialog().checkBox(box);
    QVERIFY(setupBox);
    const auto onTop = [&] { return bool(frame().windowFlags() & Qt::WindowStaysOnTopHint); };

    for (const bool ticked : {true, false}) {
        SendMessageA(frame().hwnd(), WM_SYSCOMMAND, WPARAM(item), 0);
        QCOMPARE(frame().Sysdeck1->GetSysMenuCheck(qint16(item)), ticked);
        QCOMPARE(p.settings.value(key), ticked ? on : off);
        QCOMPARE(setupBox->isChecked(), ticked);
        QCOMPARE(onTop(), movesTheFrame && ticked);
    }
    // Another identifier of the frame's menu changes nothing.
    SendMessageA(frame().hwnd(), WM_SYSCOMMAND, 101, 0);
    QCOMPARE(p.settings.value(key), off);
}

void TestConnectionTimer::minimiseToTrayItemSendsTheNextMinimiseToTheTray() {
    FakeNotifyArea area;
    SendMessageA(frame().hwnd(), WM_SYSCOMMAND, 111, 0);
    QCOMPARE(m_w.p->settings.value(QStringLiteral("USE_TRAY")), QStringLiteral("1"));
    frame().setWindowState(Form::vbMinimized);
    QVERIFY(QTest::qWaitFor([&] { return !frame().isVisible(); }, 2000));
    QVERIFY(area.shown);
}

PARLONE_TEST_MAIN(TestConnectionTimer)
#include "tst_connectiontimer.moc"
