// The ident control: serving clients over real loopback sockets on free
// ports, a Listen that stays silent when it cannot listen, its property bag,
// Automatic, and the about box.

#include "ident/Ostrane.h"
#include "platform/com/PropertyBag.h"
#include "tests/ident/IdentClient.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTimer>

#include <memory>
#include <vector>

using platform::PropertyBag;

namespace {

// The login name as the file system knows it: the owner of a file this
// process creates.
QString loginNameOfOwner() {
    QTemporaryFile file;
    return file.open() ? QFileInfo(file.fileName()).owner() : QString();
}

QStringList notifications(const QSignalSpy& spy) {
    QStringList keys;
    for (const QList<QVariant>& args : spy)
        keys << args.at(0).toString();
    return keys;
}

// A control listening on a free port, answering as "tester".
struct ListeningControl {
    ListeningControl() {
        ident.setUserID(QStringLiteral("tester"));
        port = freePort();
        ident.setLocalPort(port);
        ident.Listen();
    }
    Ostrane ident;
    quint16 port = 0;
};

// Every property off its default.
void giveEveryPropertyAValue(Ostrane& ident) {
    ident.setLocalHostName(QStringLiteral("host"));
    ident.setUserID(QStringLiteral("someone"));
    ident.setRemotePort(7);
    ident.setLocalPort(5);
    ident.setRemoteHost(QStringLiteral("remote"));
    ident.setSystem(QStringLiteral("VMS"));
    ident.setAutomatic(false);
}

const QByteArray TesterReply = "1, 2 : USERID : UNIX : tester\n";

} // namespace

class TestOstrane : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void serving_data();
    void serving();
    void idleClientNeitherBlocksNorStays();
    void tricklingClientIsClosedAtItsLimit();
    void failedAcceptLeavesTheListenerListening();
    void clientsBeyondTheLimitAreClosed();
    void listenStaysSilent_data();
    void listenStaysSilent();
    void addressesBeforeAnyClient();
    void newControlStoresNoKey();
    void emptyBagLoadsDefaults();
    void bagRoundTrip();
    void automatic_data();
    void automatic();
    void everyWriteNotifiesItsKey();
    void aboutBox_data();
    void aboutBox();
};

void TestOstrane::initTestCase() {
    // The login name never comes from the environment.
    qputenv("USER", "not-the-user");
    qputenv("LOGNAME", "not-the-user");
    QVERIFY(!loginNameOfOwner().isEmpty());
}

// Each client writes its pieces, one after the other, and gets what the
// control sends before it closes; a second client is served after it, on the
// same port.
void TestOstrane::serving_data() {
    QTest::addColumn<QList<QByteArray>>("pieces");
    QTest::addColumn<QByteArray>("expected");

    const QByteArray reply = "6193, 23 : USERID : UNIX : tester\n";
    QTest::newRow("one reply line, then the close") << QList<QByteArray>{"6193, 23\r\n"} << reply;
    QTest::newRow("a query split over two writes gets one reply")
        << QList<QByteArray>{"6193, ", "23\r\n"} << reply;
    QTest::newRow("the CR and the LF in separate writes")
        << QList<QByteArray>{"6193, 23\r", "\n"} << reply;
    QTest::newRow("only the first line is answered")
        << QList<QByteArray>{"6193, 23\n1, 2\n"} << reply;
    QTest::newRow("a malformed query gets the error form")
        << QList<QByteArray>{"GET / HTTP/1.0\r\n"}
        << QByteArray("GET / HTTP/1.0 : ERROR : INVALID-PORT\n");
    QTest::newRow("a line of 1,000 bytes is answered")
        << QList<QByteArray>{QByteArray(1000, 'x') + "\r\n"}
        << QByteArray(1000, 'x') + " : ERROR : INVALID-PORT\n";
    QTest::newRow("a line of 1,001 bytes is closed")
        << QList<QByteArray>{QByteArray(1001, 'x') + "\n"} << QByteArray();
    QTest::newRow("2,000 bytes without LF are closed")
        << QList<QByteArray>{QByteArray(2000, 'x')} << QByteArray();
    QTest::newRow("an overlong line in pieces is closed")
        << QList<QByteArray>{QByteArray(600, '1'), QByteArray(600, '1')} << QByteArray();
}

void TestOstrane::serving() {
    QFETCH(QList<QByteArray>, pieces);
    QFETCH(QByteArray, expected);

    ListeningControl control;
    QVERIFY(control.ident.isListening());
    IdentClient client(control.port);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        QVERIFY(client.send(pieces.at(i)));
        if (i + 1 < pieces.size()) {
            // Gives the piece time to arrive alone; nothing is answered yet.
            QTest::qWait(50);
            QCOMPARE(client.received, QByteArray());
            QVERIFY(!client.closed);
        }
    }
    QVERIFY(client.waitClosed());
    QCOMPARE(client.received, expected);
    QCOMPARE(control.ident.RemoteHostIP(), QStringLiteral("127.0.0.1"));

    IdentClient next(control.port);
    QVERIFY(next.send("1, 2\r\n"));
    QVERIFY(next.waitClosed());
    QCOMPARE(next.received, TesterReply);
    // The listener stays where it was configured.
    QCOMPARE(control.ident.listeningPort(), control.port);
    QCOMPARE(control.ident.LocalPort(), qint32(control.port));
}

void TestOstrane::idleClientNeitherBlocksNorStays() {
    ListeningControl control;
    IdentClient idle(control.port);
    QVERIFY(idle.send(QByteArray("6193,"))); // and nothing more

    IdentClient served(control.port);
    QVERIFY(served.send("1, 2\r\n"));
    QVERIFY(served.waitClosed());
    QCOMPARE(served.received, TesterReply);
    QVERIFY(!idle.closed); // its 30 seconds are far from over

    // A connection accepted with a short idle time is closed after it.
    control.ident.setQueryTimeout(50);
    IdentClient silent(control.port);
    QVERIFY(silent.waitClosed());
    QCOMPARE(silent.received, QByteArray());
    QVERIFY(!idle.closed);
}

// The limit counts from the connection: a byte now and then does not extend it.
void TestOstrane::tricklingClientIsClosedAtItsLimit() {
    ListeningControl control;
    control.ident.setQueryTimeout(600);
    QElapsedTimer since;
    since.start();
    IdentClient trickling(control.port);
    QTimer drip;
    QObject::connect(&drip, &QTimer::timeout, [&trickling] {
        if (trickling.socket.state() == QAbstractSocket::ConnectedState)
            trickling.socket.write("6");
    });
    drip.start(100);

    IdentClient served(control.port);
    QVERIFY(served.send("1, 2\r\n"));
    QVERIFY(served.waitClosed());
    QCOMPARE(served.received, TesterReply);

    QVERIFY(QTest::qWaitFor([&trickling] { return trickling.closed; }, 3000));
    QVERIFY2(since.elapsed() >= 500, qPrintable(QString::number(since.elapsed())));
    QCOMPARE(trickling.received, QByteArray());
}

// A failed accept makes the listener pause; it takes up again by itself.
void TestOstrane::failedAcceptLeavesTheListenerListening() {
    ListeningControl control;
    control.ident.setAcceptRetryDelay(50);
    auto* listener = control.ident.findChild<QTcpServer*>();
    QVERIFY(listener);
    // As the listener does when accept fails (no file handle left).
    listener->pauseAccepting();
    emit listener->acceptError(QAbstractSocket::SocketResourceError);
    IdentClient served(control.port);
    QVERIFY(served.send("1, 2\r\n"));
    QVERIFY(served.waitClosed());
    QCOMPARE(served.received, TesterReply);
    QVERIFY(listener->isListening());
}

// Clients that never finish their query hold at most MaxConnections
// connections; one more is closed at once, and when one leaves, the next
// client is served again.
void TestOstrane::clientsBeyondTheLimitAreClosed() {
    ListeningControl control;
    std::vector<std::unique_ptr<IdentClient>> silent;
    for (int i = 0; i < Ostrane::MaxConnections; ++i) {
        silent.push_back(std::make_unique<IdentClient>(control.port));
        QVERIFY(silent.back()->send("6193,"));
    }
    QTRY_COMPARE(control.ident.connectionCount(), Ostrane::MaxConnections);

    IdentClient refused(control.port);
    QVERIFY(refused.waitClosed());
    QCOMPARE(refused.received, QByteArray());
    for (const auto& client : silent)
        QVERIFY(!client->closed);

    silent.front()->socket.disconnectFromHost();
    QTRY_COMPARE(control.ident.connectionCount(), Ostrane::MaxConnections - 1);
    IdentClient served(control.port);
    QVERIFY(served.send("1, 2\r\n"));
    QVERIFY(served.waitClosed());
    QCOMPARE(served.received, TesterReply);
}

void TestOstrane::listenStaysSilent_data() {
    QTest::addColumn<QString>("case_");
    QTest::newRow("a port another socket holds") << QStringLiteral("held");
    QTest::newRow("a port above 65535") << QStringLiteral("above");
    QTest::newRow("a negative port") << QStringLiteral("negative");
    QTest::newRow("listening already") << QStringLiteral("again");
}

void TestOstrane::listenStaysSilent() {
    QFETCH(QString, case_);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    QTcpServer holder; // held by this test, so binding fails for root too
    QVERIFY(holder.listen(QHostAddress::Any, 0));
    Ostrane ident;
    quint16 expectedPort = 0;
    if (case_ == u"held") {
        ident.setLocalPort(holder.serverPort());
    } else if (case_ == u"above") {
        // Cut to 16 bits it would be a free port.
        ident.setLocalPort(65536 + freePort());
    } else if (case_ == u"negative") {
        ident.setLocalPort(-1);
    } else {
        ident.setLocalPort(0);
        ident.Listen();
        expectedPort = ident.listeningPort();
        QVERIFY(expectedPort != 0);
        ident.setLocalPort(freePort());
    }
    ident.Listen();
    QCOMPARE(ident.isListening(), expectedPort != 0);
    QCOMPARE(ident.listeningPort(), expectedPort);
}

void TestOstrane::addressesBeforeAnyClient() {
    Ostrane ident;
    QCOMPARE(ident.RemoteHostIP(), QString());
    const QHostAddress local(ident.LocalIP());
    QCOMPARE(local.protocol(), QAbstractSocket::IPv4Protocol);
}

void TestOstrane::newControlStoresNoKey() {
    Ostrane ident;
    PropertyBag bag;
    ident.WriteProperties(bag);
    QCOMPARE(bag.names(), QStringList());

    Ostrane loaded;
    loaded.ReadProperties(bag);
    loaded.WriteProperties(bag);
    QCOMPARE(bag.names(), QStringList());
}

void TestOstrane::emptyBagLoadsDefaults() {
    Ostrane ident;
    giveEveryPropertyAValue(ident);

    QSignalSpy changes(&ident, &Ostrane::PropertyChanged);
    ident.ReadProperties(PropertyBag());
    QCOMPARE(ident.LocalPort(), 113);
    QCOMPARE(ident.RemotePort(), 0);
    QCOMPARE(ident.System(), QStringLiteral("UNIX"));
    QCOMPARE(ident.UserID().toString(), loginNameOfOwner());
    QCOMPARE(ident.Automatic(), true);
    QCOMPARE(ident.LocalHostName(), QString());
    QCOMPARE(ident.RemoteHost(), QString());
    QCOMPARE(notifications(changes), QStringList()); // loading notifies nothing
}

void TestOstrane::bagRoundTrip() {
    Ostrane ident;
    giveEveryPropertyAValue(ident);
    PropertyBag bag;
    ident.WriteProperties(bag);
    QStringList keys = bag.names();
    keys.sort();
    QCOMPARE(keys, (QStringList{"Automatic", "LocalHostName", "LocalPort", "RemoteHost",
                                "RemotePort", "System", "UserID"}));

    // Reading Automatic False takes the flag only: System and UserID stay
    // as saved.
    Ostrane loaded;
    loaded.ReadProperties(bag);
    QCOMPARE(loaded.LocalHostName(), QStringLiteral("host"));
    QCOMPARE(loaded.UserID().toString(), QStringLiteral("someone"));
    QCOMPARE(loaded.RemotePort(), 7);
    QCOMPARE(loaded.LocalPort(), 5);
    QCOMPARE(loaded.RemoteHost(), QStringLiteral("remote"));
    QCOMPARE(loaded.System(), QStringLiteral("VMS"));
    QCOMPARE(loaded.Automatic(), false);
}

void TestOstrane::automatic_data() {
    QTest::addColumn<bool>("value");
    QTest::addColumn<QStringList>("notified");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("user"); // "" stands for the login name

    QTest::newRow("True fills in both") << true << QStringList{"Automatic", "System", "UserID"}
                                        << QStringLiteral("UNIX") << QString();
    QTest::newRow("False leaves both")
        << false << QStringList{"Automatic"} << QStringLiteral("VMS") << QStringLiteral("someone");
}

void TestOstrane::automatic() {
    QFETCH(bool, value);
    QFETCH(QStringList, notified);
    QFETCH(QString, system);
    QFETCH(QString, user);

    Ostrane ident;
    ident.setSystem(QStringLiteral("VMS"));
    ident.setUserID(QStringLiteral("someone"));
    QSignalSpy changes(&ident, &Ostrane::PropertyChanged);
    ident.setAutomatic(value);
    QCOMPARE(notifications(changes), notified);
    QCOMPARE(ident.Automatic(), value);
    QCOMPARE(ident.System(), system);
    QCOMPARE(ident.UserID().toString(), user.isEmpty() ? loginNameOfOwner() : user);
}

void TestOstrane::everyWriteNotifiesItsKey() {
    Ostrane ident;
    QSignalSpy changes(&ident, &Ostrane::PropertyChanged);
    ident.setLocalHostName(QString());
    ident.setUserID(QStringLiteral("x"));
    ident.setRemotePort(1);
    ident.setLocalPort(2);
    ident.setRemoteHost(QString());
    ident.setSystem(QString());
    ident.Listen();
    QCOMPARE(notifications(changes), (QStringList{"LocalHostName", "UserID", "RemotePort",
                                                  "LocalPort", "RemoteHost", "System"}));
}

// The about box: its texts, and "System Info" starting the first of the
// system-information programs found on the path.
void TestOstrane::aboutBox_data() {
    QTest::addColumn<QStringList>("executables");
    QTest::addColumn<QStringList>("plainFiles");
    QTest::addColumn<bool>("starts");
    QTest::addColumn<QString>("started");
    QTest::addColumn<bool>("unavailable");

    QTest::newRow("the first program found is started")
        << QStringList{"kinfocenter", "hardinfo"} << QStringList() << true
        << QStringLiteral("hardinfo") << false;
    QTest::newRow("a file that cannot run is passed over")
        << QStringList{"kinfocenter"} << QStringList{"hardinfo"} << true
        << QStringLiteral("kinfocenter") << false;
    QTest::newRow("none on the path")
        << QStringList() << QStringList{"hardinfo"} << true << QString() << true;
    QTest::newRow("a program that cannot be started")
        << QStringList{"hardinfo"} << QStringList() << false << QStringLiteral("hardinfo") << true;
}

void TestOstrane::aboutBox() {
    QFETCH(QStringList, executables);
    QFETCH(QStringList, plainFiles);
    QFETCH(bool, starts);
    QFETCH(QString, started);
    QFETCH(bool, unavailable);

    QTemporaryDir bin;
    QVERIFY(bin.isValid());
    for (const QString& name : executables + plainFiles) {
        QFile file(bin.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n");
        file.close();
        if (executables.contains(name))
            QVERIFY(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
    }
    const QByteArray path = qgetenv("PATH");
    const auto restorePath = qScopeGuard([path] { qputenv("PATH", path); });
    qputenv("PATH", bin.path().toLocal8Bit());

    ScriptedAnswerer answers;
    Ostrane ident;
    QStringList launched;
    ident.setProgramLauncher([&launched, starts](const QString& program) {
        launched << program;
        return starts;
    });
    QStringList texts;
    bool ownerless = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        ownerless = box->parentWidget() == nullptr;
        texts << box->windowTitle();
        for (const char* name : {"lblTitle", "lblVersion"}) {
            const auto* label = box->findChild<QLabel*>(QLatin1String(name));
            texts << (label ? label->text() : QStringLiteral("no label ") + QLatin1String(name));
        }
        QPushButton* ok = box->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QPushButton* sysInfo = box->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
        if (!ok || !sysInfo) {
            box->reject();
            return;
        }
        texts << ok->text() << sysInfo->text();
        sysInfo->click();
        ok->click();
    });
    ident.ShowAboutBox();

    QVERIFY(ownerless);
    QCOMPARE(texts,
             (QStringList{"About Ostrane", "Ostrane", "Version 1.0.0", "OK", "&System Info..."}));
    QCOMPARE(launched, started.isEmpty() ? QStringList() : QStringList{bin.filePath(started)});
    QStringList said;
    for (const platform::DialogRequest& request : answers.requests())
        said << request.prompt;
    QCOMPARE(said, unavailable ? QStringList{"System Information Is Unavailable At This Time"}
                               : QStringList());
}

PARLONE_TEST_MAIN(TestOstrane)
#include "tst_ostrane.moc"
