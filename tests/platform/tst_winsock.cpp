// The socket control and its control arrays over real loopback sockets: a
// listener accepts on another element, bytes go both ways, the peer's close
// is announced after its last bytes, an unaccepted request is refused, and
// the array keeps its gaps.

#include "platform/winsock/WinsockArray.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

using namespace platform;

class TestWinsock : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void acceptOnAnotherElement();
    void closeComesAfterTheLastBytes();
    void unacceptedRequestIsRefused();
    void connectFailureIsAnError_data();
    void connectFailureIsAnError();
    void arrayLoadsAboveTheHighestAndKeepsGaps();
    void elementUnloadedInItsOwnEvent();
};

void TestWinsock::acceptOnAnotherElement() {
    WinsockArray sockets;
    sockets.Load(0);
    Winsock* listener = sockets.Load(1);
    listener->setLocalPort(0);
    QVERIFY(listener->Listen());
    QCOMPARE(listener->State(), int(Winsock::sckListening));
    QVERIFY(listener->LocalPort() > 0);
    // Element 1 hands the request to element 2, as a chat's listener does to
    // a new connection.
    QList<int> requestsOn;
    connect(&sockets, &WinsockArray::ConnectionRequest, this, [&](int index, qintptr request) {
        requestsOn << index;
        sockets.Load(2);
        QVERIFY(sockets[2]->Accept(request));
        sockets[index]->Close();
    });
    QSignalSpy arrivals(&sockets, &WinsockArray::DataArrival);

    Winsock client;
    QSignalSpy connected(&client, &Winsock::Connected);
    client.Connect(QStringLiteral("127.0.0.1"), listener->LocalPort());
    QVERIFY(connected.wait(5000));
    QTRY_COMPARE_WITH_TIMEOUT(requestsOn, QList<int>{1}, 5000);
    QCOMPARE(sockets[1]->State(), int(Winsock::sckClosed));
    QCOMPARE(sockets[2]->State(), int(Winsock::sckConnected));
    QCOMPARE(sockets[2]->LocalIP(), QStringLiteral("127.0.0.1"));

    client.SendData("hello\r\n");
    QTRY_VERIFY_WITH_TIMEOUT(!arrivals.isEmpty(), 5000);
    QCOMPARE(arrivals.first().at(0).toInt(), 2);
    QTRY_COMPARE_WITH_TIMEOUT(sockets[2]->BytesReceived(), qint64(7), 5000);
    QCOMPARE(sockets[2]->GetData(), QByteArray("hello\r\n"));
    QCOMPARE(sockets[2]->BytesReceived(), qint64(0));

    QSignalSpy back(&client, &Winsock::DataArrival);
    sockets[2]->SendData("there");
    QVERIFY(back.wait(5000));
    QCOMPARE(client.GetData(), QByteArray("there"));
}

void TestWinsock::closeComesAfterTheLastBytes() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost));
    Winsock socket;
    QSignalSpy connected(&socket, &Winsock::Connected);
    socket.Connect(QStringLiteral("127.0.0.1"), server.serverPort());
    QVERIFY(server.waitForNewConnection(5000));
    QTcpSocket* peer = server.nextPendingConnection();
    QVERIFY(connected.wait(5000));

    QStringList events;
    connect(&socket, &Winsock::DataArrival, this,
            [&] { events << QStringLiteral("data ") + QString::fromLatin1(socket.GetData()); });
    connect(&socket, &Winsock::Closed, this, [&] { events << QStringLiteral("close"); });
    connect(&socket, &Winsock::Error, this, [&] { events << QStringLiteral("error"); });
    peer->write("bye");
    peer->disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(events.contains(QStringLiteral("close")), 5000);
    QCOMPARE(events.join(u'|'), QStringLiteral("data bye|close"));
    // A send after the peer left goes nowhere and fails quietly.
    socket.SendData("late");
}

void TestWinsock::unacceptedRequestIsRefused() {
    Winsock listener;
    QVERIFY(listener.Listen());
    QSignalSpy requests(&listener, &Winsock::ConnectionRequest);
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, listener.LocalPort());
    QVERIFY(requests.wait(5000));
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 5000);
    // The request is gone: a late accept takes nothing.
    Winsock late;
    QVERIFY(!late.Accept(requests.first().at(0).value<qintptr>()));
    QCOMPARE(listener.State(), int(Winsock::sckListening));
}

void TestWinsock::connectFailureIsAnError_data() {
    QTest::addColumn<int>("port");
    // A port nobody listens on: a free one, found by listening and closing.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int freePort = probe.serverPort();
    probe.close();
    QTest::newRow("refused") << freePort;
    QTest::newRow("port 0") << 0;
    QTest::newRow("port 70000") << 70000;
}

void TestWinsock::connectFailureIsAnError() {
    QFETCH(int, port);
    Winsock socket;
    QSignalSpy errors(&socket, &Winsock::Error);
    QSignalSpy connected(&socket, &Winsock::Connected);
    socket.Connect(QStringLiteral("127.0.0.1"), port);
    // Raised from the event loop, never inside the call.
    QCOMPARE(errors.count(), 0);
    QVERIFY(errors.wait(5000));
    QCOMPARE(errors.count(), 1);
    QCOMPARE(connected.count(), 0);
    QCOMPARE(socket.State(), int(Winsock::sckClosed));
}

void TestWinsock::arrayLoadsAboveTheHighestAndKeepsGaps() {
    WinsockArray sockets;
    QCOMPARE(sockets.UBound(), -1);
    QCOMPARE(sockets.LoadNext(), 0);
    QCOMPARE(sockets.LoadNext(), 1);
    QCOMPARE(sockets.LoadNext(), 2);
    QVERIFY(sockets.Load(1) == nullptr); // loaded already
    sockets.Unload(1);
    QVERIFY(sockets[1] == nullptr);
    QCOMPARE(sockets.indexes(), (QList<int>{0, 2}));
    QCOMPARE(sockets.Count(), 2);
    // Never reused below the highest: the next goes above it.
    QCOMPARE(sockets.LoadNext(), 3);
    sockets.Unload(3);
    sockets.Unload(2);
    QCOMPARE(sockets.LoadNext(), 1);
    sockets.Unload(7); // not loaded: nothing
    QVERIFY(sockets[-1] == nullptr);
    QCOMPARE(sockets.indexOf(sockets[1]), 1);
}

void TestWinsock::elementUnloadedInItsOwnEvent() {
    WinsockArray sockets;
    const int index = sockets.LoadNext();
    QVERIFY(sockets[index]->Listen());
    const int port = sockets[index]->LocalPort();
    connect(&sockets, &WinsockArray::ConnectionRequest, this,
            [&](int i, qintptr) { sockets.Unload(i); });
    QTcpSocket client;
    client.connectToHost(QHostAddress::LocalHost, port);
    QTRY_VERIFY_WITH_TIMEOUT(!sockets.isLoaded(index), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(client.state(), QAbstractSocket::UnconnectedState, 5000);
    // The port is free again.
    QTcpServer again;
    QVERIFY(again.listen(QHostAddress::AnyIPv4, quint16(port)));
}

QTEST_GUILESS_MAIN(TestWinsock)
#include "tst_winsock.moc"
