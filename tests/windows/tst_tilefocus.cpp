// Neither alert tile takes the keyboard focus: a tile shown while another
// window has the focus leaves it there. Offscreen, every shown window is
// activated, so this runs on a real X server: an Xvfb of its own.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/XvfbSession.h"
#include "windows/frmMain.h"
#include "windows/frm_note.h"

#include <QApplication>
#include <QLineEdit>
#include <QtTest>

class TestTileFocus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void tileLeavesTheFocus_data();
    void tileLeavesTheFocus();
};

void TestTileFocus::tileLeavesTheFocus_data() {
    QTest::addColumn<QString>("tile");
    QTest::newRow("note tile") << "0";
    QTest::newRow("toast") << "1";
}

void TestTileFocus::tileLeavesTheFocus() {
    QFETCH(QString, tile);
    TempProgramFolder folder;
    Program p(folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    p.ServerConnected = true;
    p.mainFrame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&p.mainFrame()));
    p.mainFrame().setWindowState(Form::vbMinimized);
    QTRY_COMPARE(p.mainFrame().WindowState(), int(Form::vbMinimized));

    // Where the user is typing.
    QLineEdit typing;
    typing.show();
    typing.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&typing));
    QTRY_COMPARE(QApplication::focusWidget(), &typing);

    QWidget* shown = nullptr;
    if (tile == u"0") {
        frm_note& note = p.noteTile();
        note.go(QStringLiteral("Message from: bob - hi"), 1, 0);
        shown = &note;
    } else {
        frmMain& toast = p.toast();
        toast.go(QStringLiteral("<bob> hi"), QStringLiteral("MESSAGE"));
        shown = &toast;
    }
    QVERIFY(QTest::qWaitForWindowExposed(shown));
    QTest::qWait(300);
    QCOMPARE(QApplication::activeWindow(), &typing);
    QCOMPARE(QApplication::focusWidget(), &typing);
}

PARLONE_XVFB_TEST_MAIN(TestTileFocus, XvfbSession::WindowManager::None)

#include "tst_tilefocus.moc"
