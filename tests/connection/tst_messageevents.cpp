// A private message while the frame is minimised into the tray in buddy
// mode rebuilds the tray's tip, which then counts the query's new line.

#include "connection/MessageEvents.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/FakeNotifyArea.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

using namespace platform;

class TestMessageEvents : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void buddyModeRebuildsTheTrayTip_data();
    void buddyModeRebuildsTheTrayTip();

private:
    TempProgramFolder m_folder;
};

void TestMessageEvents::buddyModeRebuildsTheTrayTip_data() {
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<QString>("useBuddy");
    QTest::addColumn<QString>("tip"); // "": the tray is left alone

    const QString tip = QStringLiteral("Status: Connected\r\nMessages: 1  bob 1\r\nOnline: None");
    QTest::newRow("buddy mode") << true << "1" << tip;
    QTest::newRow("buddy mode off") << true << "0"
                                    << "";
    QTest::newRow("buddy mode other than 1") << true << "2"
                                             << "";
    QTest::newRow("frame not minimised") << false << "1"
                                         << "";
}

void TestMessageEvents::buddyModeRebuildsTheTrayTip() {
    QFETCH(bool, minimised);
    QFETCH(QString, useBuddy);
    QFETCH(QString, tip);
    FakeNotifyArea area;
    Program p(m_folder.path());
    p.serverWindow().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.mainFrame()));
    p.ServerConnected = true;
    p.settings.setValue(QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    if (minimised)
        p.mainFrame().setWindowState(Form::vbMinimized);
    p.settings.setValue(QStringLiteral("USE_BUDDY"), useBuddy);
    area.calls.clear();

    p.mainFrame().messageEvents->Yarv1_PrivateMessage(QStringLiteral("bob!u@host"),
                                                      QStringLiteral("hi"));

    if (tip.isEmpty()) {
        QCOMPARE(area.calls.size(), 0);
        return;
    }
    QVERIFY(!area.calls.isEmpty());
    QCOMPARE(area.calls.constLast().data.szTip, tip.leftJustified(NotifyTipLength, u' ', true));
}

PARLONE_TEST_MAIN(TestMessageEvents)
#include "tst_messageevents.moc"
