// A real IRC server asks the frame's ident server: ngircd looks up the ident
// of every client on port 113 of its address, and registers the client under
// the user name the answer gives. Port 113 takes root (or the right to bind
// low ports) and no other ident server on it; where that is not so, the test
// skips.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QTcpSocket>

class TestIdentNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void serverRegistersTheIdentAnswer();
};

void TestIdentNgircd::serverRegistersTheIdentAnswer() {
    TempProgramFolder folder;
    Program p(folder.path());
    p.identPort = 113;
    Ostrane& ident = *p.mainFrame().Ostrane1;
    if (!ident.isListening())
        QSKIP("port 113 cannot be bound here: it takes root or the right to bind low ports, "
              "and no other ident server on it");
    ident.setUserID(QStringLiteral("identuser"));

    NgircdServer server;
    NgircdServer::Options options;
    options.identLookups = true;
    QVERIFY2(server.start(options), qPrintable(server.error()));

    // The client calls itself something else; the server believes the ident
    // answer, and marks nothing with "~".
    QTcpSocket irc;
    QByteArray received;
    connect(&irc, &QTcpSocket::readyRead, [&] { received += irc.readAll(); });
    irc.connectToHost(server.host(), server.port());
    QVERIFY(QTest::qWaitFor([&] { return irc.state() == QAbstractSocket::ConnectedState; }));
    irc.write("NICK identtest\r\nUSER plainuser 0 * :Ident test\r\n");
    QVERIFY2(QTest::qWaitFor([&] { return received.contains(" 001 identtest "); }, 20000),
             received.constData());
    irc.write("WHOIS identtest\r\n");
    QVERIFY2(QTest::qWaitFor([&] { return received.contains(" 318 "); }, 10000),
             received.constData());

    QByteArray user;
    for (const QByteArray& line : received.split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() > 4 && words.at(1) == "311")
            user = words.at(4);
    }
    QCOMPARE(user, QByteArray("identuser"));
}

PARLONE_TEST_MAIN(TestIdentNgircd)
#include "tst_ident_ngircd.moc"
