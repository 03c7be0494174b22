// Neither alert tile takes the keyboard focus: a tile shown while another
// window has the focus leaves it there. Offscreen, every shown window is
// activated, so this runs on a real X server: an Xvfb of its own on a free
// display, started here and stopped by its process id.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/TempProgramFolder.h"
#include "windows/frmMain.h"
#include "windows/frm_note.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cstdio>

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

// The test runs in a child of this process, on the display of an Xvfb that
// this process starts first and stops by its process id afterwards.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("PARLONE_TILEFOCUS_DISPLAY")) {
        qputenv("DISPLAY", qgetenv("PARLONE_TILEFOCUS_DISPLAY"));
        qputenv("QT_QPA_PLATFORM", "xcb");
        QApplication app(argc, argv);
        TestTileFocus test;
        return QTest::qExec(&test, argc, argv);
    }

    QCoreApplication app(argc, argv);
    // Xvfb picks a free display and writes its number once it accepts
    // clients.
    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"),
               {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                QStringLiteral("tcp")});
    QByteArray display;
    if (xvfb.waitForStarted(5000)) {
        const QDeadlineTimer deadline(10000);
        // A loaded machine may take a while to bring the server up.
        while (!display.contains('\n') && !deadline.hasExpired() &&
               xvfb.state() == QProcess::Running) {
            xvfb.waitForReadyRead(500);
            display += xvfb.readAllStandardOutput();
        }
    }
    display = display.trimmed();
    const auto stop = [&xvfb] {
        xvfb.terminate();
        if (!xvfb.waitForFinished(5000)) {
            xvfb.kill();
            xvfb.waitForFinished(5000);
        }
    };
    if (display.isEmpty()) {
        std::fprintf(stderr, "tst_tilefocus: Xvfb gave no display (is xvfb installed?)\n");
        stop();
        return 1;
    }

    QProcess test;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PARLONE_TILEFOCUS_DISPLAY"),
                       u':' + QString::fromLatin1(display));
    // The X platform talks to D-Bus, whose library keeps a buffer for the
    // process's life; the leak checker of sanitizer builds is told so.
    QTemporaryDir scratch;
    QFile suppressions(scratch.filePath(QStringLiteral("lsan.supp")));
    if (suppressions.open(QIODevice::WriteOnly)) {
        suppressions.write("leak:libdbus-1.so\n");
        suppressions.close();
        const QString options = environment.value(QStringLiteral("LSAN_OPTIONS"));
        environment.insert(QStringLiteral("LSAN_OPTIONS"),
                           (options.isEmpty() ? QString() : options + u':') +
                               QStringLiteral("suppressions=") + suppressions.fileName());
    }
    test.setProcessEnvironment(environment);
    test.setProcessChannelMode(QProcess::ForwardedChannels);
    test.start(QCoreApplication::applicationFilePath(), QCoreApplication::arguments().mid(1));
    const bool finished = test.waitForStarted(5000) && test.waitForFinished(100000);
    if (!finished)
        test.kill();
    stop();
    return finished && test.exitStatus() == QProcess::NormalExit ? test.exitCode() : 1;
}

#include "tst_tilefocus.moc"
