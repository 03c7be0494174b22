// The frame's ident server: it listens from load on the port the program
// gives, answering with the defaults, and not at all when none is given.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/ident/IdentClient.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QTemporaryFile>

class TestFrameIdent : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listensOnTheProgramsPort_data();
    void listensOnTheProgramsPort();
};

void TestFrameIdent::listensOnTheProgramsPort_data() {
    QTest::addColumn<bool>("portGiven");
    QTest::newRow("no port given, no listener") << false;
    QTest::newRow("a free port given") << true;
}

void TestFrameIdent::listensOnTheProgramsPort() {
    QFETCH(bool, portGiven);
    TempProgramFolder folder;
    Program p(folder.path());
    const quint16 port = portGiven ? freePort() : 0;
    if (portGiven)
        p.identPort = port;
    const Ostrane& ident = *p.mainFrame().Ostrane1;
    QCOMPARE(ident.isListening(), portGiven);
    if (!portGiven)
        return;
    QCOMPARE(ident.listeningPort(), port);

    QTemporaryFile owned; // its owner is the user the program runs as
    QVERIFY(owned.open());
    IdentClient client(port);
    QVERIFY(client.send("6193, 23\r\n"));
    QVERIFY(client.waitClosed());
    QCOMPARE(client.received,
             "6193, 23 : USERID : UNIX : " + QFileInfo(owned.fileName()).owner().toUtf8() + '\n');
}

PARLONE_TEST_MAIN(TestFrameIdent)
#include "tst_frameident.moc"
