// "Connect to the selected server!" connects to the entry picked in the
// server list, against a real ngircd.

#include "config/frm_setup.h"
#include "config/mod_servers.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QComboBox>
#include <QPushButton>
#include <QSignalSpy>

class TestSetupConnect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectsToTheSelectedServer();
};

void TestSetupConnect::connectsToTheSelectedServer() {
    NgircdServer server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    TempProgramFolder folder;
    const QChar sep(21);
    // The second entry is the test server; the first points nowhere.
    const QString entries[] = {
        QStringList{"irc.invalid", "6667", "Nowhere", "None"}.join(sep),
        QStringList{server.host(), QString::number(server.port()), "Test server", "Test"}.join(sep),
    };
    folder.write(
        QStringLiteral("servers.ini"),
        QStringLiteral("\"%1\"\r\n\"%2\"\r\n\"\"\r\n").arg(entries[0], entries[1]).toUtf8());
    Program p(folder.path());
    Settings& s = p.settings;
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("parlone"));
    s.setValue(QStringLiteral("PROFILE_ALTERNATE"), QStringLiteral("parlone_"));
    s.setValue(QStringLiteral("PROFILE_USERNAME"), QStringLiteral("parlone"));
    s.setValue(QStringLiteral("PROFILE_EMAIL"), QStringLiteral("me@example.org"));
    s.setValue(QStringLiteral("PROFILE_REALNAME"), QStringLiteral("Parlone User"));
    p.serverWindow().Show();
    LoadServers(p);

    frm_setup& setup = p.setupDialog();
    setup.Show();
    setup.List1->setCurrentIndex(1);
    QCOMPARE(s.value(u"SERVER_URL"), server.host());
    platform::Yarv& irc = *p.mainFrame().Yarv1;
    QSignalSpy opened(&irc, &platform::Yarv::SocketConnected);
    setup.Command2->click();
    QVERIFY(!setup.isVisible());
    QVERIFY(opened.wait(5000));
    QVERIFY(irc.IsConnected());
    irc.CloseConnection();
}

PARLONE_TEST_MAIN(TestSetupConnect)
#include "tst_setup_connect.moc"
