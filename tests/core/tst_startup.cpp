// Start-up in a temporary program folder, offscreen.

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/mod_startup.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QTabWidget>
#include <QTextEdit>

namespace {

const QByteArray kServers = "\"irc.one.example\x15"
                            "6667\x15One\x15OneNet\"\r\n"
                            "\"Irc.Two.Example\x15"
                            "7000\x15Two\x15TwoNet\"\r\n"
                            "\"\"\r\n";

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyFolder();
    void serverUrlSelectsEntryIgnoringCase();
    void unknownServerUrlSelectsNothing();
    void startupScriptIsLoadedNotRewritten();
    void missingStartupScriptIsCreatedByFirstEdit();
    void setupShownAndFrameMinimised();
};

void TestStartup::emptyFolder() {
    TempProgramFolder folder;
    Program p(folder.path());
    Main(p);

    QVERIFY(QFileInfo(folder.file(QStringLiteral("logs"))).isDir());
    QVERIFY(QFileInfo(folder.file(QStringLiteral("cmd"))).isDir());
    QCOMPARE(p.palette.GetColor(QStringLiteral("1")), 10 + 256 * 10 + 65536 * 10);
    QCOMPARE(p.palette.GetColor(QStringLiteral("LGREY")), 212 + 256 * 208 + 65536 * 200);

    frm_main& frame = p.mainFrame();
    QVERIFY(frame.isVisible());
    QCOMPARE(frame.Caption(), QStringLiteral("Parlone"));
    QCOMPARE(frame.StatusBar1->Count(), 1);
    QCOMPARE(frame.StatusBar1->Panel(1)->Text(), QStringLiteral("Server"));

    frm_server& server = p.serverWindow();
    QVERIFY(server.Visible());
    QCOMPARE(server.Tag(), QStringLiteral("Server"));
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.mdiArea()->subWindowList().constFirst()->widget(), &server);

    frm_chan& chan = p.defaultChannel();
    QVERIFY(!chan.isVisible());
    QVERIFY(p.forms().contains(&chan));
    QVERIFY(!p.setupDialog().isVisible());
    QCOMPARE(frame.WindowState(), int(Form::vbNormal));
}

void TestStartup::serverUrlSelectsEntryIgnoringCase() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("servers.ini"), kServers);
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("IRC.two.EXAMPLE"));
    Main(p);

    frm_setup& setup = p.setupDialog();
    QCOMPARE(setup.List1->count(), 2);
    QCOMPARE(setup.List1->itemText(0), QStringLiteral("One"));
    QCOMPARE(setup.List1->currentIndex(), 1);
    QCOMPARE(setup.SSTab1->currentIndex(), 0);
    // List1_Click copied the entry, with the list's own spelling.
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_URL")), QStringLiteral("Irc.Two.Example"));
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_PORT")), QStringLiteral("7000"));
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_STYLE")), QStringLiteral("TwoNet"));
    QCOMPARE(setup.txt_si_name->text(), QStringLiteral("Two"));
    QCOMPARE(setup.txt_si_url->text(), QStringLiteral("Irc.Two.Example"));
}

void TestStartup::unknownServerUrlSelectsNothing() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("servers.ini"), kServers);
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("irc.three.example"));
    p.setupDialog().SSTab1->setCurrentIndex(2);
    Main(p);
    QCOMPARE(p.setupDialog().List1->currentIndex(), -1);
    QCOMPARE(p.setupDialog().SSTab1->currentIndex(), 2);
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_PORT")), QString());
}

void TestStartup::startupScriptIsLoadedNotRewritten() {
    TempProgramFolder folder;
    // Latin-1 bytes and LF line ends: loading must not write the file back.
    const QByteArray script = "/join #caf\xe9\n/echo hi\n";
    folder.write(QStringLiteral("cmd/startup.ini"), script);
    folder.write(QStringLiteral("one.app"), "");
    folder.write(QStringLiteral("Two.APP"), "");
    folder.write(QStringLiteral("three.txt"), "");
    Program p(folder.path());
    Main(p);

    frm_setup& setup = p.setupDialog();
    QCOMPARE(setup.start_command->toPlainText(), QStringLiteral("/join #caf\u00e9\n/echo hi\n"));
    QVERIFY(!setup.start_command->isReadOnly());
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), script);
    QCOMPARE(setup.cb_app->count(), 2);
    QCOMPARE(setup.cb_app->itemText(0), QStringLiteral("one"));
    QCOMPARE(setup.cb_app->itemText(1), QStringLiteral("Two"));

    setup.start_command->setPlainText(QStringLiteral("/join #new"));
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #new"));
}

void TestStartup::missingStartupScriptIsCreatedByFirstEdit() {
    TempProgramFolder folder;
    Program p(folder.path());
    Main(p);
    frm_setup& setup = p.setupDialog();
    QVERIFY(setup.start_command->toPlainText().isEmpty());
    QVERIFY(!setup.start_command->isReadOnly());
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("cmd/startup.ini"))));
    setup.start_command->setPlainText(QStringLiteral("/join #parlone"));
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #parlone"));
}

void TestStartup::setupShownAndFrameMinimised() {
    TempProgramFolder folder;
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("SHOW_SETUP"), QStringLiteral("1"));
    p.settings.setValue(QStringLiteral("USE_MINISTART"), QStringLiteral("1"));
    Main(p);
    QVERIFY(p.setupDialog().isVisible());
    QCOMPARE(p.mainFrame().WindowState(), int(Form::vbMinimized));

    // Only the exact text "1" switches a start-up flag on.
    TempProgramFolder other;
    Program q(other.path());
    q.settings.setValue(QStringLiteral("SHOW_SETUP"), QStringLiteral("1 "));
    q.settings.setValue(QStringLiteral("USE_MINISTART"), QStringLiteral("TRUE"));
    Main(q);
    QVERIFY(!q.setupDialog().isVisible());
    QCOMPARE(q.mainFrame().WindowState(), int(Form::vbNormal));
}

PARLONE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
