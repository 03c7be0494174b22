// The connection's own events against a scripted server: login, the welcome
// and the message of the day, pings, notices, errors with the reconnect and
// its growing wait, socket errors and the end of the connection.

#include "connection/ConnectionEvents.h"
#include "core/mod_kernel.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/TestMain.h"

#include <QTcpServer>

class TestConnectionEvents : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void logsInAndIsWelcomed();
    void acceptedNick_data();
    void acceptedNick();
    void motdBeforeTheWelcomeKeepsTheNick();
    void pingIsAlwaysAnswered_data();
    void pingIsAlwaysAnswered();
    void serverNotice();
    void reconnectWaitsLongerAfterEachError();
    void reconnectSettings_data();
    void reconnectSettings();
    void usersConnectOrDisconnectCancelsTheReconnect_data();
    void usersConnectOrDisconnectCancelsTheReconnect();
    void usersQuitIsNotReconnected();
    void socketErrorLeavesTheFlag();
    void serverClosesTheConnection();

private:
    ConnectionEvents& events() { return *m_c->p->mainFrame().connectionEvents; }
    // Connects to the peer and waits for the login.
    bool connectToPeer();
    void registerAs(const QByteArray& nick);

    std::unique_ptr<IrcScriptedPeer> m_peer;
    std::unique_ptr<ClientFixture> m_c;
};

void TestConnectionEvents::init() {
    m_peer = std::make_unique<IrcScriptedPeer>();
    m_c =
        std::make_unique<ClientFixture>(m_peer->host(), m_peer->port(), QStringLiteral("parlone"));
}

void TestConnectionEvents::cleanup() {
    m_c.reset();
    m_peer.reset();
}

bool TestConnectionEvents::connectToPeer() {
    return m_c->connect() && m_peer->waitForClient() && m_peer->waitForLines(2);
}

void TestConnectionEvents::registerAs(const QByteArray& nick) {
    QSignalSpy motd(&m_c->irc(), &platform::Yarv::MotdReceived);
    m_peer->sendLine(":srv 001 " + nick + " :Welcome to the network " + nick);
    m_peer->sendLine(":srv 375 " + nick + " :- srv Message of the day -");
    m_peer->sendLine(":srv 372 " + nick + " :- Be nice");
    m_peer->sendLine(":srv 376 " + nick + " :End of MOTD command");
    QVERIFY(motd.wait(5000));
}

void TestConnectionEvents::logsInAndIsWelcomed() {
    m_c->folder.write(QStringLiteral("cmd/startup.ini"), "JOIN #start\r\n");
    m_c->set("USE_STARTUPINI", QStringLiteral("1"));
    QVERIFY(connectToPeer());
    QCOMPARE(m_peer->lines(), (QByteArrayList{"NICK parlone", "USER parlone 0 * :Parlone User"}));
    QVERIFY(!m_c->p->ServerConnected);
    QCOMPARE(m_c->connectItem(), QStringLiteral("&Connect"));

    QSignalSpy welcome(&m_c->irc(), &platform::Yarv::Welcome);
    m_c->markServerLines();
    m_peer->sendLine(":srv 001 parlone :Welcome to the network parlone");
    QVERIFY(welcome.wait(5000));
    QVERIFY(m_c->p->ServerConnected);
    // The welcome names the server that sent it.
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: srv as parlone"));
    QCOMPARE(m_c->panelTip(), QStringLiteral("Connected to: srv as parlone"));
    QCOMPARE(m_c->newServerLines(),
             QStringList{QStringLiteral("srv - Welcome to the network parlone")});
    // The start-up script ran once welcomed.
    QVERIFY(m_peer->waitForLines(3));
    QCOMPARE(m_peer->lines().at(2), QByteArray("JOIN #start"));

    QSignalSpy motd(&m_c->irc(), &platform::Yarv::MotdReceived);
    m_c->markServerLines();
    m_peer->sendLine(":srv 375 parlone :- srv Message of the day -");
    m_peer->sendLine(":srv 372 parlone :- Be nice");
    m_peer->sendLine(":srv 376 parlone :End of MOTD command");
    QVERIFY(motd.wait(5000));
    QCOMPARE(m_c->newServerLines(), (QStringList{QStringLiteral("Message of the day from srv"),
                                                 QStringLiteral("- Be nice")}));
    QCOMPARE(m_c->connectItem(), QStringLiteral("&Disconnect"));
    // The message of the day names the profile's server.
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: 127.0.0.1 as parlone"));
    QCOMPARE(m_c->panelTip(), QStringLiteral("Connected to: 127.0.0.1 as parlone"));
}

void TestConnectionEvents::acceptedNick_data() {
    QTest::addColumn<QByteArray>("accepted");
    QTest::addColumn<QString>("nickAfter");
    QTest::addColumn<QStringList>("lines");
    const QStringList motd{QStringLiteral("Message of the day from srv"),
                           QStringLiteral("- Be nice")};
    QTest::newRow("another nick") << QByteArray("parl") << "parl"
                                  << motd +
                                         QStringList{QStringLiteral("You are now known as parl")};
    QTest::newRow("case alone") << QByteArray("PARLONE") << "parlone" << motd;
}

void TestConnectionEvents::acceptedNick() {
    QFETCH(QByteArray, accepted);
    QFETCH(QString, nickAfter);
    QFETCH(QStringList, lines);
    QVERIFY(connectToPeer());
    QSignalSpy welcome(&m_c->irc(), &platform::Yarv::Welcome);
    m_peer->sendLine(":srv 001 " + accepted + " :Welcome");
    QVERIFY(welcome.wait(5000));
    m_c->markServerLines();
    registerAs(accepted);
    QCOMPARE(m_c->newServerLines().mid(1), lines); // after the second welcome
    QCOMPARE(m_c->setting("PROFILE_NICKNAME"), nickAfter);
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: 127.0.0.1 as ") + nickAfter);
    QCOMPARE(m_c->panelTip(), QStringLiteral("Connected to: 127.0.0.1 as ") + nickAfter);
}

void TestConnectionEvents::motdBeforeTheWelcomeKeepsTheNick() {
    QVERIFY(connectToPeer());
    QSignalSpy motd(&m_c->irc(), &platform::Yarv::MotdReceived);
    m_c->markServerLines();
    m_peer->sendLine(":srv 375 * :- srv Message of the day -");
    m_peer->sendLine(":srv 376 * :End of MOTD command");
    QVERIFY(motd.wait(5000));
    QCOMPARE(m_c->setting("PROFILE_NICKNAME"), QStringLiteral("parlone"));
    QVERIFY(!m_c->newServerLines().join(u'|').contains(u"known as"));
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: 127.0.0.1 as parlone"));
}

void TestConnectionEvents::pingIsAlwaysAnswered_data() {
    QTest::addColumn<QString>("show");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("shown") << "1" << QStringList{QStringLiteral("Server ping: srv.example")};
    QTest::newRow("hidden") << "0" << QStringList{};
}

void TestConnectionEvents::pingIsAlwaysAnswered() {
    QFETCH(QString, show);
    QFETCH(QStringList, lines);
    m_c->set("SHOW_SERVERPING", show);
    QVERIFY(connectToPeer());
    m_c->markServerLines();
    m_peer->sendLine("PING :srv.example");
    QVERIFY(m_peer->waitForLines(3));
    QCOMPARE(m_peer->lines().at(2), QByteArray("PONG :srv.example"));
    QCOMPARE(m_c->newServerLines(), lines);
}

void TestConnectionEvents::serverNotice() {
    QVERIFY(connectToPeer());
    m_c->markServerLines();
    QSignalSpy notice(&m_c->irc(), &platform::Yarv::ServerNotice);
    m_peer->sendLine(":srv NOTICE * :*** Looking up your hostname");
    QVERIFY(notice.wait(5000));
    QCOMPARE(m_c->newServerLines(), QStringList{QStringLiteral("*** Looking up your hostname")});
    m_c->set("SHOW_SERVERNOTICE", QStringLiteral("0"));
    m_peer->sendLine(":srv NOTICE * :*** Found your hostname");
    QVERIFY(notice.wait(5000));
    QCOMPARE(m_c->newServerLines().size(), 1);
}

void TestConnectionEvents::reconnectWaitsLongerAfterEachError() {
    m_c->set("USE_RECONNECT", QStringLiteral("1"));
    QVERIFY(connectToPeer());
    const auto errorAndReconnect = [this](int expectedDelay) {
        QSignalSpy error(&m_c->irc(), &platform::Yarv::ServerError);
        m_c->markServerLines();
        m_peer->sendLine("ERROR :Closing link (Too many connections)");
        QVERIFY(error.wait(5000));
        QVERIFY(events().reconnectPending());
        QCOMPARE(events().reconnectDelay(), expectedDelay);
        // Nothing is attempted before the wait is over.
        QCOMPARE(m_c->newServerLines(),
                 QStringList{QStringLiteral("Server Error: Closing link (Too many connections)")});
        QSignalSpy opened(&m_c->irc(), &platform::Yarv::SocketConnected);
        events().reconnect();
        QVERIFY(!events().reconnectPending());
        QCOMPARE(m_c->newServerLines().value(1), QStringLiteral("Attempting server reconnect"));
        QVERIFY(opened.wait(5000));
        QVERIFY(m_peer->waitForClient());
        QVERIFY(m_peer->waitForLines(2));
    };
    for (const int delay : {5000, 10000, 20000, 40000, 60000, 60000})
        errorAndReconnect(delay);
    // A welcome starts the waits again from the first.
    registerAs("parlone");
    errorAndReconnect(5000);
    errorAndReconnect(10000);
}

void TestConnectionEvents::reconnectSettings_data() {
    QTest::addColumn<QString>("reconnect");
    QTest::addColumn<QString>("showError");
    QTest::addColumn<bool>("pending");
    QTest::addColumn<QStringList>("lines");
    const QString error = QStringLiteral("Server Error: Closing link");
    QTest::newRow("reconnect off") << "0"
                                   << "1" << false << QStringList{error};
    QTest::newRow("error hidden") << "1"
                                  << "0" << true << QStringList{};
    QTest::newRow("both on") << "1"
                             << "1" << true << QStringList{error};
}

void TestConnectionEvents::reconnectSettings() {
    QFETCH(QString, reconnect);
    QFETCH(QString, showError);
    QFETCH(bool, pending);
    QFETCH(QStringList, lines);
    m_c->set("USE_RECONNECT", reconnect);
    m_c->set("SHOW_SERVERERROR", showError);
    QVERIFY(connectToPeer());
    m_c->markServerLines();
    QSignalSpy error(&m_c->irc(), &platform::Yarv::ServerError);
    m_peer->sendLine("ERROR :Closing link");
    QVERIFY(error.wait(5000));
    QCOMPARE(events().reconnectPending(), pending);
    QCOMPARE(m_c->newServerLines(), lines);
    QCOMPARE(m_c->connectItem(), QStringLiteral("&Connect"));
}

void TestConnectionEvents::usersConnectOrDisconnectCancelsTheReconnect_data() {
    QTest::addColumn<bool>("disconnect");
    QTest::newRow("connect") << false;
    QTest::newRow("disconnect") << true;
}

void TestConnectionEvents::usersConnectOrDisconnectCancelsTheReconnect() {
    QFETCH(bool, disconnect);
    m_c->set("USE_RECONNECT", QStringLiteral("1"));
    QVERIFY(connectToPeer());
    QSignalSpy error(&m_c->irc(), &platform::Yarv::ServerError);
    m_peer->sendLine("ERROR :Closing link");
    QVERIFY(error.wait(5000));
    QVERIFY(events().reconnectPending());
    if (disconnect)
        DisconnectServer(*m_c->p);
    else
        ConnectServer(*m_c->p);
    QVERIFY(!events().reconnectPending());
    if (!disconnect)
        return;
    // After the user's disconnect, no error brings the connection back.
    QVERIFY(connectToPeer());
    DisconnectServer(*m_c->p);
    events().Yarv1_ServerError(QStringLiteral("Closing link"));
    QVERIFY(!events().reconnectPending());
}

void TestConnectionEvents::usersQuitIsNotReconnected() {
    m_c->set("USE_RECONNECT", QStringLiteral("1"));
    QVERIFY(connectToPeer());
    QString line = QStringLiteral("/quit see you");
    ParseLine(*m_c->p, line, QStringLiteral("Server"));
    QVERIFY(m_peer->waitForLines(3));
    QCOMPARE(m_peer->lines().constLast(), QByteArray("QUIT :Exit: see you"));
    // The server answers a QUIT by closing the link.
    QSignalSpy error(&m_c->irc(), &platform::Yarv::ServerError);
    m_peer->sendLine("ERROR :Closing link");
    QVERIFY(error.wait(5000));
    QVERIFY(!events().reconnectPending());
}

void TestConnectionEvents::socketErrorLeavesTheFlag() {
    // A port nothing listens on.
    quint16 port = 0;
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        port = closed.serverPort();
    }
    m_c->set("SERVER_PORT", QString::number(port));
    m_c->p->ServerConnected = true;
    QSignalSpy failed(&m_c->irc(), &platform::Yarv::SocketError);
    m_c->markServerLines();
    ConnectServer(*m_c->p);
    QVERIFY(failed.wait(5000));
    const QStringList lines = m_c->newServerLines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.at(1), QStringLiteral("Error %1: [%2] ")
                              .arg(failed.constFirst().at(0).toInt())
                              .arg(failed.constFirst().at(1).toString()));
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Disconnected"));
    QCOMPARE(m_c->panelTip(), QStringLiteral("Disconnected"));
    QVERIFY(m_c->panelShows(1, 3));
    QCOMPARE(m_c->connectItem(), QStringLiteral("&Connect"));
    QVERIFY(m_c->p->ServerConnected);
    QVERIFY(!m_c->irc().IsConnected());
}

void TestConnectionEvents::serverClosesTheConnection() {
    QVERIFY(connectToPeer());
    registerAs("parlone");
    QVERIFY(m_c->p->ServerConnected);
    QCOMPARE(m_c->connectItem(), QStringLiteral("&Disconnect"));
    QSignalSpy closed(&m_c->irc(), &platform::Yarv::Disconnected);
    m_c->markServerLines();
    m_peer->closeClient();
    QVERIFY(closed.wait(5000));
    QVERIFY(!m_c->p->ServerConnected);
    QCOMPARE(m_c->newServerLines(), QStringList{QStringLiteral("Disconnected!")});
    QCOMPARE(m_c->connectItem(), QStringLiteral("&Connect"));
}

PARLONE_TEST_MAIN(TestConnectionEvents)
#include "tst_connectionevents.moc"
