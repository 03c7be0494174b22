// The Yarv control against a scripted loopback peer: exactly what it puts on
// the wire, its flood control, lines no real server sends, and how every way a
// connection ends is reported.

#include "platform/com/ComError.h"
#include "platform/irc/Yarv.h"
#include "tests/platform/irc/YarvEventLog.h"
#include "tests/support/IrcScriptedPeer.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <stdexcept>

using platform::Yarv;

namespace {

// Opens the connection and waits until both ends see it.
bool connectTo(Yarv& yarv, IrcScriptedPeer& peer) {
    QSignalSpy connected(&yarv, &Yarv::SocketConnected);
    yarv.OpenConnection(peer.host(), peer.port());
    return connected.wait(5000) && peer.waitForClient();
}

// A loopback port on which nothing listens.
quint16 closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

} // namespace

class TestYarvPeer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sendsWithoutConnectionDoNothing();
    void sentLinesOnTheWire_data();
    void sentLinesOnTheWire();
    void floodControlHoldsBurstAndLetsPongAndQuitFirst();
    void closeConnectionStillSendsHeldQuit();
    void onlyTheLatestPongWaits();
    void fullQueueRefusesTheLineAndKeepsWhatWaits_data();
    void fullQueueRefusesTheLineAndKeepsWhatWaits();
    void incomingLinesRaiseTheirEvents();
    void statusMessagesReachTheirChannel();
    void closeByServerGivesOneDisconnected();
    void closeConnectionGivesOneDisconnectedAtOnce();
    void openWhileConnectedClosesFirst();
    void socketFailureGivesSocketErrorThenDisconnected_data();
    void socketFailureGivesSocketErrorThenDisconnected();
    void failedConnectGivesOnlySocketError_data();
    void failedConnectGivesOnlySocketError();
    void handlerClosingMidReadStopsTheEvents();
    void handlerWaitingInANestedLoopLeavesTheLinesFlowing();
    void throwingHandlerLeavesTheControlRunning_data();
    void throwingHandlerLeavesTheControlRunning();
};

void TestYarvPeer::sendsWithoutConnectionDoNothing() {
    Yarv yarv;
    YarvEventLog log(&yarv);
    yarv.SendCommand(QStringLiteral("JOIN #a"));
    yarv.SendRaw(QStringLiteral("QUIT :x\r\n"));
    yarv.SendPrivmsg(QStringLiteral("#a"), QStringLiteral("hi"));
    yarv.SendCTCP(QStringLiteral("bob"), QStringLiteral("VERSION"), QString());
    yarv.SendCTCPReply(QStringLiteral("bob"), QStringLiteral("PING"), QStringLiteral("1"));
    yarv.Pong(QStringLiteral("irc.test"));
    yarv.Login(QStringLiteral("alice"), QStringLiteral("al"), QString(), QStringLiteral("A"));
    yarv.CloseConnection();
    QVERIFY(!yarv.IsConnected());
    QCOMPARE(yarv.CurrentNick(), QString());
    QCOMPARE(yarv.LocalAddress(), QString());
    QCOMPARE(log.entries, QStringList());

    // Nor does a send while the connection is still being made.
    IrcScriptedPeer peer;
    yarv.OpenConnection(peer.host(), peer.port());
    yarv.SendCommand(QStringLiteral("EARLY"));
    QTRY_COMPARE(log.count(QStringLiteral("SocketConnected")), 1);
    yarv.SendCommand(QStringLiteral("LATER"));
    QVERIFY(peer.waitForLines(1));
    QCOMPARE(peer.lines(), QByteArrayList{"LATER"});
}

void TestYarvPeer::sentLinesOnTheWire_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("wire");
    const QString euros(600, QChar(0x20ac));
    // PRIVMSG #a : is 12 bytes; 166 euros (498 bytes) fit in the 510.
    const QByteArray cut = "PRIVMSG #a :" + QString(166, QChar(0x20ac)).toUtf8() + "\r\n";
    QTest::newRow("command") << "SendCommand" << QStringList{"JOIN #a"}
                             << QByteArray("JOIN #a\r\n");
    QTest::newRow("command with CR LF inside")
        << "SendCommand" << QStringList{"PRIVMSG #a :x\r\nQUIT :injected"}
        << QByteArray("PRIVMSG #a :xQUIT :injected\r\n");
    QTest::newRow("command with NUL")
        << "SendCommand" << QStringList{QStringLiteral("JOIN #a") + QChar(0) + "b"}
        << QByteArray("JOIN #ab\r\n");
    QTest::newRow("raw keeps one CR LF")
        << "SendRaw" << QStringList{"QUIT :bye\r\n"} << QByteArray("QUIT :bye\r\n");
    QTest::newRow("raw joins a second line")
        << "SendRaw" << QStringList{"PRIVMSG #a :x\r\nKICK #a bob\r\n"}
        << QByteArray("PRIVMSG #a :xKICK #a bob\r\n");
    QTest::newRow("privmsg") << "SendPrivmsg" << QStringList{"#a", "hello there"}
                             << QByteArray("PRIVMSG #a :hello there\r\n");
    QTest::newRow("privmsg text cannot inject")
        << "SendPrivmsg" << QStringList{"#a", "hi\r\nMODE #a +o eve"}
        << QByteArray("PRIVMSG #a :hiMODE #a +o eve\r\n");
    QTest::newRow("privmsg target cannot shift params")
        << "SendPrivmsg" << QStringList{"#a :x\nJOIN", "hi"}
        << QByteArray("PRIVMSG #a:xJOIN :hi\r\n");
    QTest::newRow("privmsg cut on a character") << "SendPrivmsg" << QStringList{"#a", euros} << cut;
    QTest::newRow("ctcp") << "SendCTCP" << QStringList{"bob", "VERSION", ""}
                          << QByteArray("PRIVMSG bob :\x01VERSION\x01\r\n");
    QTest::newRow("ctcp command ending in a blank")
        << "SendCTCP" << QStringList{"bob", "DCC SEND ", "f.txt 2130706433 5000 42"}
        << QByteArray("PRIVMSG bob :\x01"
                      "DCC SEND f.txt 2130706433 5000 42\x01\r\n");
    QTest::newRow("ctcp reply") << "SendCTCPReply" << QStringList{"bob", "PING", "123"}
                                << QByteArray("NOTICE bob :\x01PING 123\x01\r\n");
    QTest::newRow("pong") << "Pong" << QStringList{"irc.test"} << QByteArray("PONG :irc.test\r\n");
    QTest::newRow("login") << "Login" << QStringList{"alice", "al", "", "Alice A."}
                           << QByteArray("NICK alice\r\nUSER al 0 * :Alice A.\r\n");
    QTest::newRow("login without user name")
        << "Login" << QStringList{"alice", "", "", "Alice"}
        << QByteArray("NICK alice\r\nUSER alice 0 * :Alice\r\n");
    QTest::newRow("login words cannot shift params")
        << "Login" << QStringList{"al ice", "a l", "", "A\r\nB"}
        << QByteArray("NICK alice\r\nUSER al 0 * :AB\r\n");
}

void TestYarvPeer::sentLinesOnTheWire() {
    QFETCH(QString, member);
    QFETCH(QStringList, args);
    QFETCH(QByteArray, wire);
    IrcScriptedPeer peer;
    Yarv yarv;
    yarv.setFloodControl(false);
    QVERIFY(connectTo(yarv, peer));
    if (member == u"SendCommand")
        yarv.SendCommand(args[0]);
    else if (member == u"SendRaw")
        yarv.SendRaw(args[0]);
    else if (member == u"SendPrivmsg")
        yarv.SendPrivmsg(args[0], args[1]);
    else if (member == u"SendCTCP")
        yarv.SendCTCP(args[0], args[1], args[2]);
    else if (member == u"SendCTCPReply")
        yarv.SendCTCPReply(args[0], args[1], args[2]);
    else if (member == u"Pong")
        yarv.Pong(args[0]);
    else if (member == u"Login")
        yarv.Login(args[0], args[1], args[2], args[3]);
    QVERIFY(peer.waitForLines(int(wire.count("\r\n"))));
    QCOMPARE(peer.received(), wire);
}

void TestYarvPeer::floodControlHoldsBurstAndLetsPongAndQuitFirst() {
    IrcScriptedPeer peer;
    Yarv yarv;
    QVERIFY(yarv.floodControl());
    QVERIFY(connectTo(yarv, peer));
    for (int i = 1; i <= 7; ++i)
        yarv.SendPrivmsg(QStringLiteral("#a"), QString::number(i));
    yarv.Pong(QStringLiteral("irc.test"));
    yarv.SendRaw(QStringLiteral("QUIT :bye\r\n"));
    // Five go at once; the next line the server sees, a refill later, is the PONG.
    QVERIFY(peer.waitForLines(6, 10000));
    QCOMPARE(peer.lines(), (QByteArrayList{"PRIVMSG #a :1", "PRIVMSG #a :2", "PRIVMSG #a :3",
                                           "PRIVMSG #a :4", "PRIVMSG #a :5", "PONG :irc.test"}));
    // Switched off, the held lines go at once, the QUIT first.
    yarv.setFloodControl(false);
    QVERIFY(peer.waitForLines(9));
    QCOMPARE(peer.lines().mid(6), (QByteArrayList{"QUIT :bye", "PRIVMSG #a :6", "PRIVMSG #a :7"}));
}

void TestYarvPeer::closeConnectionStillSendsHeldQuit() {
    IrcScriptedPeer peer;
    Yarv yarv;
    QVERIFY(connectTo(yarv, peer));
    for (int i = 1; i <= 6; ++i)
        yarv.SendPrivmsg(QStringLiteral("#a"), QString::number(i));
    yarv.SendRaw(QStringLiteral("QUIT :bye\r\n"));
    yarv.CloseConnection();
    QTRY_VERIFY(!peer.hasClient());
    QTRY_COMPARE(peer.lines().size(), 6);
    QCOMPARE(peer.lines().last(), QByteArray("QUIT :bye"));
}

// A server that pings faster than flood control lets the answers out: only
// the answer to its latest ping waits, however many came.
void TestYarvPeer::onlyTheLatestPongWaits() {
    IrcScriptedPeer peer;
    Yarv yarv;
    QVERIFY(connectTo(yarv, peer));
    int pings = 0;
    connect(&yarv, &Yarv::ServerPing, &yarv, [&](const QString& server) {
        ++pings;
        yarv.Pong(server);
    });
    QSignalSpy refused(&yarv, &Yarv::lineRefused);
    constexpr int Count = 20000;
    QByteArray burst;
    for (int i = 1; i <= Count; ++i)
        burst += "PING :" + QByteArray::number(i) + "\r\n";
    peer.send(burst);
    QTRY_COMPARE_WITH_TIMEOUT(pings, Count, 30000);
    yarv.setFloodControl(false);
    const QByteArray last = "PONG :" + QByteArray::number(Count);
    QTRY_VERIFY(!peer.lines().isEmpty() && peer.lines().constLast() == last);
    const QByteArrayList sent = peer.lines();
    // The burst went at once; after it one PONG a refill at most, then the
    // one still waiting.
    QCOMPARE(sent.mid(0, 5),
             (QByteArrayList{"PONG :1", "PONG :2", "PONG :3", "PONG :4", "PONG :5"}));
    QVERIFY2(sent.size() < 50, QByteArray::number(sent.size()).constData());
    QCOMPARE(refused.count(), 0);
}

void TestYarvPeer::fullQueueRefusesTheLineAndKeepsWhatWaits_data() {
    QTest::addColumn<int>("textBytes"); // of each PRIVMSG's text
    QTest::addColumn<int>("fitting");   // lines that wait before the queue is full
    // PRIVMSG #a : is 12 bytes, CR LF 2 more.
    QTest::newRow("1,000 lines") << 10 << Yarv::MaxQueuedLines;
    QTest::newRow("256 KiB") << 498 << int(Yarv::MaxQueuedBytes / 512);
}

void TestYarvPeer::fullQueueRefusesTheLineAndKeepsWhatWaits() {
    QFETCH(int, textBytes);
    QFETCH(int, fitting);
    IrcScriptedPeer peer;
    Yarv yarv;
    QVERIFY(yarv.floodControl());
    QVERIFY(connectTo(yarv, peer));
    QSignalSpy refused(&yarv, &Yarv::lineRefused);
    const auto text = [textBytes](int i) {
        const QString number = QString::number(i);
        return number + QString(textBytes - number.size(), u'x');
    };
    // The burst goes out; the rest waits until the queue is full.
    const int accepted = Yarv::FloodBurst + fitting;
    for (int i = 1; i <= accepted; ++i)
        yarv.SendPrivmsg(QStringLiteral("#a"), text(i));
    QCOMPARE(refused.count(), 0);
    yarv.SendPrivmsg(QStringLiteral("#a"), text(accepted + 1));
    QCOMPARE(refused.count(), 1);
    // PONG and QUIT are still taken, and go first.
    yarv.Pong(QStringLiteral("irc.test"));
    yarv.SendRaw(QStringLiteral("QUIT :bye\r\n"));
    QCOMPARE(refused.count(), 1);

    yarv.setFloodControl(false);
    QVERIFY(peer.waitForLines(accepted + 2, 10000));
    QByteArrayList expected;
    for (int i = 1; i <= Yarv::FloodBurst; ++i)
        expected << "PRIVMSG #a :" + text(i).toLatin1();
    expected << "PONG :irc.test"
             << "QUIT :bye";
    for (int i = Yarv::FloodBurst + 1; i <= accepted; ++i)
        expected << "PRIVMSG #a :" + text(i).toLatin1();
    QCOMPARE(peer.lines(), expected);
    // Emptied, the queue takes lines again.
    yarv.setFloodControl(true);
    yarv.SendPrivmsg(QStringLiteral("#a"), QStringLiteral("again"));
    QVERIFY(peer.waitForLines(accepted + 3));
    QCOMPARE(peer.lines().constLast(), QByteArray("PRIVMSG #a :again"));
    QCOMPARE(refused.count(), 1);
}

void TestYarvPeer::incomingLinesRaiseTheirEvents() {
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    QVERIFY(yarv.IsConnected());
    QCOMPARE(yarv.LocalAddress(), QStringLiteral("127.0.0.1"));
    const QByteArray bob = ":bob!~b@host.test";
    peer.send("NOTICE * :*** Checking you out\r\n"
              ":bob!~b@host.test NOTICE alice :before welcome\r\n"
              ":irc.test 001 alice :Welcome alice\n" // LF alone ends a line too
              "@time=2024-01-01T00:00:00Z;msgid=a\\sb " +
              bob +
              " PRIVMSG #c :tagged\r\n"
              ":irc.test NOTICE alice :*** from the server\r\n" +
              bob + " NOTICE alice :from bob\r\n" + bob + " PRIVMSG #c :caf\xe9 in latin-1\r\n" +
              bob + " PRIVMSG #c :caf\xc3\xa9 in utf-8\r\n" +
              // Dropped: no text, nothing to parse, a NUL, far too long.
              bob +
              " PRIVMSG #c\r\n"
              ":\r\n" +
              bob + " PRIVMSG #c :a\0b\r\n" + bob + " PRIVMSG #c :" + QByteArray(10000, 'x') +
              "\r\n"
              "PING :irc.test\r\n"
              ":irc.test PONG irc.test :end\r\n");
    QTRY_COMPARE(log.count(QStringLiteral("ServerReply")), 1);
    QCOMPARE(log.entries,
             (QStringList{"SocketConnected()", "ServerNotice(*** Checking you out)",
                          "ServerNotice(before welcome)", "Welcome(irc.test|Welcome alice)",
                          "ChannelMessage(bob!~b@host.test|#c|tagged)",
                          "ServerNotice(*** from the server)",
                          "NoticeReceived(bob!~b@host.test|alice|from bob)",
                          "ChannelMessage(bob!~b@host.test|#c|café in latin-1)",
                          "ChannelMessage(bob!~b@host.test|#c|café in utf-8)",
                          "ServerPing(irc.test)", "ServerReply(irc.test|PONG|irc.test|[]|end)"}));
    QCOMPARE(yarv.CurrentNick(), QStringLiteral("alice"));
    QCOMPARE(peer.lines(), QByteArrayList()); // it answered nothing by itself
}

// Messages to a channel's operators or voiced members: a real server does not
// send them to a client that holds no such status, so they are scripted here.
void TestYarvPeer::statusMessagesReachTheirChannel() {
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    peer.send(":irc.test 001 alice :Welcome alice\r\n"
              ":irc.test 005 alice PREFIX=(ov)@+ STATUSMSG=@+ CHANTYPES=#+ :are supported by "
              "this server\r\n"
              ":bob!~b@h PRIVMSG @#c :ops only\r\n"
              ":bob!~b@h PRIVMSG +#c :\x01"
              "ACTION waves\x01\r\n"
              ":bob!~b@h NOTICE @#c :op notice\r\n"
              ":bob!~b@h PRIVMSG +c :plain\r\n"
              "PING :end\r\n");
    QTRY_COMPARE(log.count(QStringLiteral("ServerPing")), 1);
    QCOMPARE(log.entries.mid(2),
             (QStringList{
                 "ServerReply(irc.test|005|alice|[PREFIX=(ov)@+,STATUSMSG=@+,CHANTYPES=#+]|"
                 "are supported by this server)",
                 "ChannelMessage(bob!~b@h|#c|ops only)", "CtcpRequest(bob!~b@h|#c|ACTION|waves)",
                 "NoticeReceived(bob!~b@h|#c|op notice)", "ChannelMessage(bob!~b@h|+c|plain)",
                 "ServerPing(end)"}));
}

void TestYarvPeer::closeByServerGivesOneDisconnected() {
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    peer.sendLine("ERROR :Closing link: alice[127.0.0.1] (Quit)");
    peer.closeClient();
    QTRY_COMPARE(log.count(QStringLiteral("Disconnected")), 1);
    QVERIFY(!yarv.IsConnected());
    QCOMPARE(log.entries,
             (QStringList{"SocketConnected()", "ServerError(Closing link: alice[127.0.0.1] (Quit))",
                          "Disconnected()"}));
    // Nothing more of the old connection arrives while a new one is made.
    QVERIFY(connectTo(yarv, peer));
    QCOMPARE(log.count(QStringLiteral("Disconnected")), 1);
    QCOMPARE(log.count(QStringLiteral("SocketError")), 0);
}

void TestYarvPeer::closeConnectionGivesOneDisconnectedAtOnce() {
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    yarv.CloseConnection();
    QCOMPARE(log.entries, (QStringList{"SocketConnected()", "Disconnected()"}));
    QVERIFY(!yarv.IsConnected());
    QCOMPARE(yarv.LocalAddress(), QString());
    yarv.CloseConnection();
    QTRY_VERIFY(!peer.hasClient());
    QVERIFY(connectTo(yarv, peer));
    QCOMPARE(log.entries,
             (QStringList{"SocketConnected()", "Disconnected()", "SocketConnected()"}));
}

void TestYarvPeer::openWhileConnectedClosesFirst() {
    IrcScriptedPeer first;
    IrcScriptedPeer second;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, first));
    QVERIFY(connectTo(yarv, second));
    QCOMPARE(log.entries,
             (QStringList{"SocketConnected()", "Disconnected()", "SocketConnected()"}));
    QTRY_VERIFY(!first.hasClient());
    yarv.SendCommand(QStringLiteral("WHERE"));
    QVERIFY(second.waitForLines(1));
}

void TestYarvPeer::socketFailureGivesSocketErrorThenDisconnected_data() {
    QTest::addColumn<bool>("handlerCloses");
    QTest::newRow("handler leaves it") << false;
    QTest::newRow("handler closes, as the frame does") << true;
}

void TestYarvPeer::socketFailureGivesSocketErrorThenDisconnected() {
    QFETCH(bool, handlerCloses);
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    if (handlerCloses)
        connect(&yarv, &Yarv::SocketError, &yarv, [&yarv] { yarv.CloseConnection(); });
    // A failure of the open connection, as the socket reports it.
    auto* socket = yarv.findChild<QTcpSocket*>();
    QVERIFY(socket);
    emit socket->errorOccurred(QAbstractSocket::NetworkError);
    QTRY_COMPARE(log.entries.size(), 3);
    QVERIFY(log.entries[1].startsWith(u"SocketError(10050|"));
    QCOMPARE(log.entries[2], QStringLiteral("Disconnected()"));
    QVERIFY(!yarv.IsConnected());
    QTRY_VERIFY(!peer.hasClient());
    QVERIFY(connectTo(yarv, peer));
    QCOMPARE(log.count(QStringLiteral("Disconnected")), 1);
}

void TestYarvPeer::failedConnectGivesOnlySocketError_data() {
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("number");
    QTest::newRow("refused") << int(closedPort()) << 10061;
    QTest::newRow("port 0") << 0 << 10049;
    QTest::newRow("port too large") << 70000 << 10049;
}

void TestYarvPeer::failedConnectGivesOnlySocketError() {
    QFETCH(int, port);
    QFETCH(int, number);
    Yarv yarv;
    YarvEventLog log(&yarv);
    // The frame's handler closes the control on a socket error.
    connect(&yarv, &Yarv::SocketError, &yarv, [&yarv] { yarv.CloseConnection(); });
    yarv.OpenConnection(QStringLiteral("127.0.0.1"), port);
    QTRY_COMPARE(log.count(QStringLiteral("SocketError")), 1);
    // Number, description, code (the number again), source, no help file or context.
    const QString error = log.entries[0];
    QVERIFY2(error.startsWith(QStringLiteral("SocketError(%1|").arg(number)), qPrintable(error));
    QVERIFY2(error.endsWith(QStringLiteral("|%1|Yarv||0|false)").arg(number)), qPrintable(error));
    QVERIFY2(error.size() > QStringLiteral("SocketError(%1||%1|Yarv||0|false)").arg(number).size(),
             "the description is empty");
    QVERIFY(!yarv.IsConnected());
    IrcScriptedPeer peer;
    QVERIFY(connectTo(yarv, peer));
    QCOMPARE(log.entries.size(), 2);
    QCOMPARE(log.entries[1], QStringLiteral("SocketConnected()"));
}

void TestYarvPeer::handlerClosingMidReadStopsTheEvents() {
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    connect(&yarv, &Yarv::ChannelMessage, &yarv, [&yarv] { yarv.CloseConnection(); });
    peer.send(":bob!~b@h PRIVMSG #c :one\r\n:bob!~b@h PRIVMSG #c :two\r\n"
              ":bob!~b@h PRIVMSG #c :three\r\n");
    QTRY_COMPARE(log.count(QStringLiteral("Disconnected")), 1);
    QCOMPARE(log.entries, (QStringList{"SocketConnected()", "ChannelMessage(bob!~b@h|#c|one)",
                                       "Disconnected()"}));
}

void TestYarvPeer::handlerWaitingInANestedLoopLeavesTheLinesFlowing() {
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv);
    QVERIFY(connectTo(yarv, peer));
    connect(&yarv, &Yarv::ServerPing, &yarv, [&yarv](const QString& server) { yarv.Pong(server); });
    connect(&yarv, &Yarv::ChannelMessage, &yarv,
            [&](const QString&, const QString&, const QString& text) {
                if (text != u"one")
                    return;
                // As a modal box waits: the next lines only come now, and they
                // are read and raised while this handler has not returned.
                peer.send(":bob!~b@h PRIVMSG #c :two\r\nPING :now\r\n");
                QTRY_VERIFY_WITH_TIMEOUT(peer.lines().contains("PONG :now"), 5000);
                peer.send("ERROR :Closing link\r\n");
                peer.closeClient();
                QTRY_COMPARE_WITH_TIMEOUT(log.count(QStringLiteral("Disconnected")), 1, 5000);
                log.entries.append(QStringLiteral("one handled"));
            });
    peer.send(":bob!~b@h PRIVMSG #c :one\r\n");
    QTRY_VERIFY(log.entries.contains(u"one handled"));
    QCOMPARE(log.entries,
             (QStringList{"SocketConnected()", "ChannelMessage(bob!~b@h|#c|one)",
                          "ChannelMessage(bob!~b@h|#c|two)", "ServerPing(now)",
                          "ServerError(Closing link)", "Disconnected()", "one handled"}));
}

void TestYarvPeer::throwingHandlerLeavesTheControlRunning_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("thrown");
    QTest::newRow("ChannelMessage, the program's error") << "ChannelMessage"
                                                         << "ComError";
    QTest::newRow("ChannelMessage, a standard exception") << "ChannelMessage"
                                                          << "std";
    QTest::newRow("ChannelMessage, anything else") << "ChannelMessage"
                                                   << "int";
    QTest::newRow("ServerPing") << "ServerPing"
                                << "ComError";
    QTest::newRow("SocketConnected") << "SocketConnected"
                                     << "ComError";
    QTest::newRow("SocketError") << "SocketError"
                                 << "std";
    QTest::newRow("Disconnected") << "Disconnected"
                                  << "int";
}

void TestYarvPeer::throwingHandlerLeavesTheControlRunning() {
    QFETCH(QString, event);
    QFETCH(QString, thrown);
    IrcScriptedPeer peer;
    Yarv yarv;
    YarvEventLog log(&yarv); // connected first, so it sees every event
    const auto fail = [thrown] {
        if (thrown == QLatin1String("ComError"))
            throw platform::ComError(5, QStringLiteral("handler"), QStringLiteral("refused"));
        if (thrown == QLatin1String("std"))
            throw std::runtime_error("refused");
        throw 42;
    };
    const QHash<QString, std::function<void()>> handlers = {
        {QStringLiteral("ChannelMessage"), [&] { connect(&yarv, &Yarv::ChannelMessage, fail); }},
        {QStringLiteral("ServerPing"), [&] { connect(&yarv, &Yarv::ServerPing, fail); }},
        {QStringLiteral("SocketConnected"), [&] { connect(&yarv, &Yarv::SocketConnected, fail); }},
        {QStringLiteral("SocketError"), [&] { connect(&yarv, &Yarv::SocketError, fail); }},
        {QStringLiteral("Disconnected"), [&] { connect(&yarv, &Yarv::Disconnected, fail); }},
    };
    handlers.value(event)();
    // The failure is reported, not lost without a word.
    QTest::ignoreMessage(
        QtWarningMsg,
        QRegularExpression(QStringLiteral("^Yarv: a handler of %1 failed").arg(event)));

    // Waiting on the log: a handler that throws ends the emission of its
    // signal, so a spy connected after it would never hear it.
    yarv.OpenConnection(peer.host(), peer.port());
    QTRY_COMPARE(log.count(QStringLiteral("SocketConnected")), 1);
    QVERIFY(peer.waitForClient());
    peer.send(":bob!~b@h PRIVMSG #c :one\r\nPING :irc.test\r\n:bob!~b@h PRIVMSG #c :two\r\n");
    QTRY_COMPARE(log.count(QStringLiteral("ChannelMessage")), 2);
    auto* socket = yarv.findChild<QTcpSocket*>();
    QVERIFY(socket);
    emit socket->errorOccurred(QAbstractSocket::NetworkError);
    QTRY_COMPARE(log.entries.size(), 6);
    QCOMPARE(log.entries.mid(0, 4),
             (QStringList{"SocketConnected()", "ChannelMessage(bob!~b@h|#c|one)",
                          "ServerPing(irc.test)", "ChannelMessage(bob!~b@h|#c|two)"}));
    QVERIFY(log.entries[4].startsWith(u"SocketError(10050|"));
    QCOMPARE(log.entries[5], QStringLiteral("Disconnected()"));
    QVERIFY(!yarv.IsConnected());
    // And it connects again.
    QTRY_VERIFY(!peer.hasClient());
    yarv.OpenConnection(peer.host(), peer.port());
    QTRY_COMPARE(log.count(QStringLiteral("SocketConnected")), 2);
    QVERIFY(yarv.IsConnected());
}

QTEST_GUILESS_MAIN(TestYarvPeer)
#include "tst_yarv_peer.moc"
