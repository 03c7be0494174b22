// The Yarv control against a real ngircd on 127.0.0.1: registration, the
// message of the day, two clients in one channel seeing each other's doings,
// the numerics in the places their readers look, PING, and how connections end.

#include "platform/irc/Yarv.h"
#include "tests/platform/irc/YarvEventLog.h"
#include "tests/support/NgircdServer.h"

#include <QRegularExpression>
#include <QtTest>

#include <memory>

using platform::Yarv;

namespace {

// One client as the frame runs it: it logs in when the socket connects.
struct Client {
    explicit Client(QString n) : nick(std::move(n)) {
        yarv.setFloodControl(false);
        QObject::connect(&yarv, &Yarv::SocketConnected, &yarv, [this] {
            yarv.Login(nick, nick, QString(), QStringLiteral("Real ") + nick);
        });
    }
    QString mask() const {
        return nick + QStringLiteral("!~") + nick + QStringLiteral("@127.0.0.1");
    }

    QString nick;
    Yarv yarv;
    YarvEventLog log{&yarv};
};

// True when some entry of the event matches the pattern as a whole.
bool hasMatch(const YarvEventLog& log, const QString& event, const QString& pattern) {
    const QRegularExpression re(QRegularExpression::anchoredPattern(pattern));
    for (const QString& e : log.of(event)) {
        if (re.match(e).hasMatch())
            return true;
    }
    return false;
}

} // namespace

class TestYarvNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void registrationGivesWelcomeAndMotdOnce();
    void missingMotdGivesItsReplyOnce();
    void joinNamesTopicAndModes();
    void messagesNoticesAndCtcp();
    void nickInviteKickPartAndQuit();
    void isonReply();
    void whoisAwayAndNoSuchNickNumerics();
    void whoReplyWithoutHopCount();
    void listReplies();
    void nickInUse();
    void pingIsRaisedAndOnlyTheFrameAnswers();
    void closeConnectionGivesOneDisconnected();

private:
    // A logged-in client with a nick of its own in this run.
    std::unique_ptr<Client> login(const QString& base, NgircdServer* server = nullptr);
    // Waits until everything the server sent the client before now has arrived.
    bool sync(Client& c);
    // A channel name of its own in this run.
    QString channel(const QString& base) { return QStringLiteral("#%1%2").arg(base).arg(m_serial); }
    // Both clients in a fresh channel, alice as its operator; returns its name.
    QString joinBoth(Client& alice, Client& bob);

    NgircdServer m_server;
    int m_serial = 0;
    int m_syncs = 0;
};

void TestYarvNgircd::initTestCase() {
    NgircdServer::Options options;
    options.motd =
        QStringList{QStringLiteral("First line of the day"), QStringLiteral("Second line")};
    QVERIFY2(m_server.start(options), qPrintable(m_server.error()));
}

std::unique_ptr<Client> TestYarvNgircd::login(const QString& base, NgircdServer* server) {
    if (!server)
        server = &m_server;
    auto c = std::make_unique<Client>(base + QString::number(m_serial));
    c->yarv.OpenConnection(server->host(), server->port());
    const bool registered =
        QTest::qWaitFor([&] { return c->log.count(QStringLiteral("MotdReceived")) == 1; }, 5000);
    if (!registered)
        qWarning() << "no login for" << c->nick << c->log.entries << server->output();
    return registered ? std::move(c) : nullptr;
}

bool TestYarvNgircd::sync(Client& c) {
    const QString token = QStringLiteral("sync%1").arg(++m_syncs);
    c.yarv.SendCommand(QStringLiteral("PING :") + token);
    const QString pong =
        QStringLiteral("ServerReply(irc.parlone.test|PONG|irc.parlone.test|[]|%1)").arg(token);
    return QTest::qWaitFor([&] { return c.log.contains(pong); }, 5000);
}

QString TestYarvNgircd::joinBoth(Client& alice, Client& bob) {
    const QString chan = channel(QStringLiteral("parlone"));
    alice.yarv.SendCommand(QStringLiteral("JOIN ") + chan);
    if (!QTest::qWaitFor([&] { return alice.log.count(QStringLiteral("NamesReply")) == 1; }, 5000))
        return {};
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + chan);
    if (!QTest::qWaitFor([&] { return alice.log.count(QStringLiteral("UserJoined")) == 2; }, 5000))
        return {};
    if (!sync(bob))
        return {};
    alice.log.clear();
    bob.log.clear();
    return chan;
}

void TestYarvNgircd::registrationGivesWelcomeAndMotdOnce() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    QVERIFY(alice);
    QVERIFY(sync(*alice));
    const YarvEventLog& log = alice->log;
    QCOMPARE(log.entries.first(), QStringLiteral("SocketConnected()"));
    QCOMPARE(log.of(QStringLiteral("Welcome")),
             QStringList{QStringLiteral("Welcome(irc.parlone.test|Welcome to the Internet Relay "
                                        "Network %1)")
                             .arg(alice->mask())});
    QCOMPARE(log.of(QStringLiteral("MotdReceived")),
             QStringList{QStringLiteral(
                 "MotdReceived(irc.parlone.test|- First line of the day\r\n- Second line)")});
    QVERIFY(log.entries.indexOf(log.of(QStringLiteral("Welcome")).first()) <
            log.entries.indexOf(log.of(QStringLiteral("MotdReceived")).first()));
    // The rest of the burst are generic replies; the MOTD's own lines are not.
    QVERIFY(hasMatch(log, QStringLiteral("ServerReply"),
                     QStringLiteral("ServerReply\\(irc.parlone.test\\|005\\|%1\\|\\[RFC2812,.*\\]"
                                    "\\|are supported on this server\\)")
                         .arg(alice->nick)));
    QVERIFY(!hasMatch(log, QStringLiteral("ServerReply"),
                      QStringLiteral("ServerReply\\([^|]*\\|(001|372|375|376)\\|.*")));
    QCOMPARE(alice->yarv.CurrentNick(), alice->nick);
    QVERIFY(alice->yarv.IsConnected());
    QCOMPARE(alice->yarv.LocalAddress(), QStringLiteral("127.0.0.1"));
    // The server's own MOTD command sends it again: once more, not twice more.
    alice->yarv.SendCommand(QStringLiteral("MOTD"));
    QVERIFY(sync(*alice));
    QCOMPARE(log.count(QStringLiteral("MotdReceived")), 2);
}

void TestYarvNgircd::missingMotdGivesItsReplyOnce() {
    ++m_serial;
    NgircdServer bare;
    NgircdServer::Options options;
    options.motd.clear();
    QVERIFY2(bare.start(options), qPrintable(bare.error()));
    auto alice = login(QStringLiteral("alice"), &bare);
    QVERIFY(alice);
    QVERIFY(sync(*alice));
    QCOMPARE(alice->log.of(QStringLiteral("MotdReceived")),
             QStringList{QStringLiteral("MotdReceived(irc.parlone.test|MOTD file is missing)")});
    QVERIFY(!hasMatch(alice->log, QStringLiteral("ServerReply"), QStringLiteral(".*\\|422\\|.*")));
}

void TestYarvNgircd::joinNamesTopicAndModes() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = channel(QStringLiteral("topic"));
    alice->yarv.SendCommand(QStringLiteral("JOIN ") + chan);
    alice->yarv.SendCommand(QStringLiteral("TOPIC %1 :Hello topic").arg(chan));
    alice->yarv.SendCommand(QStringLiteral("MODE %1 +nt").arg(chan));
    alice->yarv.SendCommand(QStringLiteral("MODE ") + chan);
    alice->yarv.SendCommand(QStringLiteral("MODE %1 +i").arg(alice->nick));
    alice->yarv.SendCommand(QStringLiteral("MODE ") + alice->nick);
    QVERIFY(sync(*alice));
    const QString a = alice->mask();
    const QString an = alice->nick;
    QCOMPARE(alice->log.of(QStringLiteral("UserJoined")),
             QStringList{QStringLiteral("UserJoined(%1|%2)").arg(a, chan)});
    QCOMPARE(alice->log.of(QStringLiteral("NamesReply")),
             QStringList{QStringLiteral("NamesReply(%1|@%2)").arg(chan, an)});
    QCOMPARE(alice->log.of(QStringLiteral("TopicChanged")),
             QStringList{QStringLiteral("TopicChanged(%1|%2|Hello topic)").arg(a, chan)});
    QCOMPARE(alice->log.of(QStringLiteral("ModeChanged")),
             (QStringList{QStringLiteral("ModeChanged(%1|%2|+nt)").arg(a, chan),
                          QStringLiteral("ModeChanged(%1|%2|+i)").arg(a, an)}));
    QCOMPARE(alice->log.of(QStringLiteral("ChannelModeReply")),
             QStringList{QStringLiteral("ChannelModeReply(%1|+nt)").arg(chan)});
    QCOMPARE(alice->log.of(QStringLiteral("UserModeReply")),
             QStringList{QStringLiteral("UserModeReply(+i)")});

    bob->yarv.SendCommand(QStringLiteral("JOIN ") + chan);
    QVERIFY(sync(*bob));
    const QString b = bob->mask();
    const QString bn = bob->nick;
    QCOMPARE(bob->log.of(QStringLiteral("UserJoined")),
             QStringList{QStringLiteral("UserJoined(%1|%2)").arg(b, chan)});
    QCOMPARE(bob->log.of(QStringLiteral("TopicReply")),
             QStringList{QStringLiteral("TopicReply(%1|Hello topic)").arg(chan)});
    QVERIFY(hasMatch(bob->log, QStringLiteral("TopicSetByReply"),
                     QStringLiteral("TopicSetByReply\\(%1\\|%2\\|\\d+\\)")
                         .arg(QRegularExpression::escape(chan), an)));
    QCOMPARE(bob->log.of(QStringLiteral("NamesReply")),
             QStringList{QStringLiteral("NamesReply(%1|%2 @%3)").arg(chan, bn, an)});
    QTRY_COMPARE(alice->log.of(QStringLiteral("UserJoined")).value(1),
                 QStringLiteral("UserJoined(%1|%2)").arg(b, chan));

    // Two modes in one compact word, with their arguments after it.
    alice->yarv.SendCommand(QStringLiteral("MODE %1 +ov %2 %2").arg(chan, bn));
    const QString compact = QStringLiteral("ModeChanged(%1|%2|+ov %3 %3)").arg(a, chan, bn);
    QTRY_COMPARE(bob->log.of(QStringLiteral("ModeChanged")), QStringList{compact});
    QTRY_COMPARE(alice->log.of(QStringLiteral("ModeChanged")).value(2), compact);
}

void TestYarvNgircd::messagesNoticesAndCtcp() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = joinBoth(*alice, *bob);
    QVERIFY(!chan.isEmpty());
    const QString a = alice->mask();
    const QString b = bob->mask();
    const QString an = alice->nick;
    const QString bn = bob->nick;

    alice->yarv.SendPrivmsg(chan, QStringLiteral("hello channel, ünïcode"));
    alice->yarv.SendCommand(QStringLiteral("NOTICE %1 :channel notice").arg(chan));
    alice->yarv.SendCTCP(chan, QStringLiteral("ACTION"), QStringLiteral("waves"));
    alice->yarv.SendCTCP(bn, QStringLiteral("VERSION"), QString());
    alice->yarv.SendCTCP(bn, QStringLiteral("DCC SEND "),
                         QStringLiteral("notes.txt 2130706433 5000 42"));
    alice->yarv.SendPrivmsg(bn, QStringLiteral("psst"));
    alice->yarv.SendCommand(QStringLiteral("NOTICE %1 :user notice").arg(bn));
    QVERIFY(sync(*alice));
    QTRY_COMPARE(bob->log.count(QStringLiteral("NoticeReceived")), 2);
    QCOMPARE(
        bob->log.entries,
        (QStringList{
            QStringLiteral("ChannelMessage(%1|%2|hello channel, ünïcode)").arg(a, chan),
            QStringLiteral("NoticeReceived(%1|%2|channel notice)").arg(a, chan),
            QStringLiteral("CtcpRequest(%1|%2|ACTION|waves)").arg(a, chan),
            QStringLiteral("CtcpRequest(%1|%2|VERSION|)").arg(a, bn),
            QStringLiteral("CtcpRequest(%1|%2|DCC|SEND notes.txt 2130706433 5000 42)").arg(a, bn),
            QStringLiteral("PrivateMessage(%1|psst)").arg(a),
            QStringLiteral("NoticeReceived(%1|%2|user notice)").arg(a, bn)}));

    bob->yarv.SendCTCPReply(an, QStringLiteral("VERSION"), QStringLiteral("Parlone v0.1"));
    QTRY_COMPARE(alice->log.of(QStringLiteral("CtcpReply")),
                 QStringList{QStringLiteral("CtcpReply(%1|%2|VERSION|Parlone v0.1)").arg(bn, an)});
    // Nothing of its own came back to the sender but the server's PONG.
    QCOMPARE(alice->log.count(QStringLiteral("ChannelMessage")), 0);
    Q_UNUSED(b)
}

void TestYarvNgircd::nickInviteKickPartAndQuit() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = joinBoth(*alice, *bob);
    QVERIFY(!chan.isEmpty());
    const QString a = alice->mask();
    const QString an = alice->nick;
    const QString oldBob = bob->mask();

    // INVITE: the target is the inviter's nick, the subject the channel.
    const QString other = channel(QStringLiteral("other"));
    alice->yarv.SendCommand(QStringLiteral("JOIN ") + other);
    alice->yarv.SendCommand(QStringLiteral("INVITE %1 %2").arg(bob->nick, other));
    QTRY_VERIFY(
        !bob->log.find(QStringLiteral("ServerReply"), QStringLiteral("|INVITE|")).isEmpty());
    QCOMPARE(bob->log.find(QStringLiteral("ServerReply"), QStringLiteral("|INVITE|")),
             QStringLiteral("ServerReply(%1|INVITE|%2|[]|%3)").arg(a, an, other));

    const QString newNick = QStringLiteral("bobby%1").arg(m_serial);
    bob->yarv.SendCommand(QStringLiteral("NICK ") + newNick);
    const QString nickLine = QStringLiteral("NickChanged(%1|%2)").arg(oldBob, newNick);
    QTRY_COMPARE(bob->log.of(QStringLiteral("NickChanged")), QStringList{nickLine});
    QTRY_COMPARE(alice->log.of(QStringLiteral("NickChanged")), QStringList{nickLine});
    QCOMPARE(bob->yarv.CurrentNick(), newNick);
    const QString b = newNick + QStringLiteral("!~") + bob->nick + QStringLiteral("@127.0.0.1");

    alice->yarv.SendCommand(QStringLiteral("KICK %1 %2 :out you go").arg(chan, newNick));
    const QString kick = QStringLiteral("UserKicked(%1|%2|%3|out you go)").arg(a, chan, newNick);
    QTRY_COMPARE(bob->log.of(QStringLiteral("UserKicked")), QStringList{kick});
    QTRY_COMPARE(alice->log.of(QStringLiteral("UserKicked")), QStringList{kick});

    bob->yarv.SendCommand(QStringLiteral("JOIN ") + chan);
    bob->yarv.SendCommand(QStringLiteral("PART %1 :leaving now").arg(chan));
    const QString part = QStringLiteral("UserParted(%1|%2)").arg(b, chan);
    QTRY_COMPARE(bob->log.of(QStringLiteral("UserParted")), QStringList{part});
    QTRY_COMPARE(alice->log.of(QStringLiteral("UserParted")), QStringList{part});

    // QUIT as the quit command sends it: the server answers ERROR and closes.
    bob->yarv.SendCommand(QStringLiteral("JOIN ") + chan);
    QTRY_COMPARE(alice->log.count(QStringLiteral("UserJoined")), 2);
    bob->log.clear();
    bob->yarv.SendRaw(QStringLiteral("QUIT :see you\r\n"));
    QTRY_COMPARE(bob->log.count(QStringLiteral("Disconnected")), 1);
    QVERIFY(!bob->yarv.IsConnected());
    QCOMPARE(bob->log.of(QStringLiteral("ServerError")),
             QStringList{QStringLiteral("ServerError(\"see you\")")});
    QCOMPARE(bob->log.entries.last(), QStringLiteral("Disconnected()"));
    QVERIFY(bob->log.entries.indexOf(bob->log.of(QStringLiteral("ServerError")).first()) ==
            bob->log.entries.size() - 2);
    // ngircd says goodbye with a notice of its own first.
    QVERIFY(hasMatch(bob->log, QStringLiteral("ServerNotice"),
                     QStringLiteral("ServerNotice\\(Connection statistics: .*\\)")));
    QCOMPARE(bob->log.count(QStringLiteral("SocketError")), 0);
    QTRY_COMPARE(alice->log.of(QStringLiteral("UserQuit")),
                 QStringList{QStringLiteral("UserQuit(%1|\"see you\")").arg(b)});

    // Still one Disconnected once the same control has logged in again.
    bob->yarv.OpenConnection(m_server.host(), m_server.port());
    QTRY_COMPARE(bob->log.count(QStringLiteral("MotdReceived")), 1);
    QCOMPARE(bob->log.count(QStringLiteral("Disconnected")), 1);
}

void TestYarvNgircd::isonReply() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    alice->yarv.SendCommand(
        QStringLiteral("ISON %1 nobody%2 %3").arg(bob->nick).arg(m_serial).arg(alice->nick));
    QTRY_COMPARE(alice->log.of(QStringLiteral("IsonReply")),
                 QStringList{QStringLiteral("IsonReply(%1|%2 %1)").arg(alice->nick, bob->nick)});
}

void TestYarvNgircd::whoisAwayAndNoSuchNickNumerics() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = joinBoth(*alice, *bob);
    QVERIFY(!chan.isEmpty());
    const QString an = alice->nick;
    const QString bn = bob->nick;
    alice->yarv.SendCommand(QStringLiteral("AWAY :gone fishing"));
    QVERIFY(sync(*alice));
    bob->yarv.SendCommand(QStringLiteral("WHOIS ") + an);
    bob->yarv.SendPrivmsg(an, QStringLiteral("you there?"));
    bob->yarv.SendCommand(QStringLiteral("WHOIS nobody%1").arg(m_serial));
    QVERIFY(sync(*bob));
    alice->yarv.SendCommand(QStringLiteral("AWAY"));
    QVERIFY(sync(*alice));

    const QString s = QStringLiteral("irc.parlone.test");
    const auto reply = [&](const QString& cmd, const QString& target, const QString& params,
                           const QString& subject) {
        return QStringLiteral("ServerReply(%1|%2|%3|[%4]|%5)").arg(s, cmd, target, params, subject);
    };
    const QStringList& got = bob->log.entries;
    // Where the numeric handlers read them: first to third parameter, subject.
    for (const QString& expected :
         {reply("311", bn, QStringLiteral("%1,~%1,127.0.0.1,*").arg(an),
                QStringLiteral("Real ") + an),
          reply("312", bn, an + QStringLiteral(",") + s, QStringLiteral("Parlone test server")),
          reply("319", bn, an, QStringLiteral("@") + chan),
          reply("301", bn, an, QStringLiteral("gone fishing")),
          reply("318", bn, an, QStringLiteral("End of WHOIS list")),
          reply("401", bn, QStringLiteral("nobody%1").arg(m_serial),
                QStringLiteral("No such nick or channel name"))})
        QVERIFY2(got.contains(expected), qPrintable(expected + u'\n' + got.join(u'\n')));
    QVERIFY(hasMatch(bob->log, QStringLiteral("ServerReply"),
                     QStringLiteral("ServerReply\\(%1\\|317\\|%2\\|\\[%3,\\d+,\\d+\\]\\|seconds "
                                    "idle, signon time\\)")
                         .arg(QRegularExpression::escape(s), bn, an)));
    QVERIFY(alice->log.contains(
        reply("306", an, QString(), QStringLiteral("You have been marked as being away"))));
    QVERIFY(alice->log.contains(
        reply("305", an, QString(), QStringLiteral("You are no longer marked as being away"))));
}

void TestYarvNgircd::whoReplyWithoutHopCount() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = joinBoth(*alice, *bob);
    QVERIFY(!chan.isEmpty());
    bob->yarv.SendCommand(QStringLiteral("WHO ") + chan);
    QVERIFY(sync(*bob));
    const QString an = alice->nick;
    QVERIFY2(bob->log.of(QStringLiteral("WhoReply"))
                 .contains(QStringLiteral("WhoReply(%1|~%2|127.0.0.1|%2|irc.parlone.test|Real %2)")
                               .arg(chan, an)),
             qPrintable(bob->log.entries.join(u'\n')));
    QCOMPARE(bob->log.count(QStringLiteral("WhoReply")), 2);
    QCOMPARE(bob->log.find(QStringLiteral("ServerReply"), QStringLiteral("|315|")),
             QStringLiteral("ServerReply(irc.parlone.test|315|%1|[%2]|End of WHO list)")
                 .arg(bob->nick, chan));
}

void TestYarvNgircd::listReplies() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = joinBoth(*alice, *bob);
    QVERIFY(!chan.isEmpty());
    alice->yarv.SendCommand(QStringLiteral("TOPIC %1 :listed topic").arg(chan));
    QTRY_COMPARE(bob->log.count(QStringLiteral("TopicChanged")), 1);
    bob->yarv.SendCommand(QStringLiteral("LIST"));
    QVERIFY(sync(*bob));
    const QString bn = bob->nick;
    QCOMPARE(bob->log.find(QStringLiteral("ServerReply"), QStringLiteral("|321|")),
             QStringLiteral("ServerReply(irc.parlone.test|321|%1|[Channel]|Users  Name)").arg(bn));
    QCOMPARE(
        bob->log.find(QStringLiteral("ServerReply"), QStringLiteral("|322|%1|[%2,").arg(bn, chan)),
        QStringLiteral("ServerReply(irc.parlone.test|322|%1|[%2,2]|listed topic)").arg(bn, chan));
    QCOMPARE(bob->log.find(QStringLiteral("ServerReply"), QStringLiteral("|323|")),
             QStringLiteral("ServerReply(irc.parlone.test|323|%1|[]|End of LIST)").arg(bn));
}

void TestYarvNgircd::nickInUse() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    QVERIFY(alice);
    Client twin(alice->nick);
    twin.yarv.OpenConnection(m_server.host(), m_server.port());
    const QString inUse =
        QStringLiteral("ServerReply(irc.parlone.test|433|*|[%1]|Nickname already in use)")
            .arg(alice->nick);
    QTRY_COMPARE(twin.log.of(QStringLiteral("ServerReply")), QStringList{inUse});
    QCOMPARE(twin.log.count(QStringLiteral("Welcome")), 0);
    QCOMPARE(twin.yarv.CurrentNick(), QString());
}

void TestYarvNgircd::pingIsRaisedAndOnlyTheFrameAnswers() {
    ++m_serial;
    NgircdServer pinging;
    NgircdServer::Options options;
    options.pingTimeout = 5; // the least ngircd takes
    options.pongTimeout = 5;
    QVERIFY2(pinging.start(options), qPrintable(pinging.error()));
    auto answering = login(QStringLiteral("pong"), &pinging);
    auto silent = login(QStringLiteral("mute"), &pinging);
    QVERIFY(answering && silent);
    Yarv* yarv = &answering->yarv;
    connect(yarv, &Yarv::ServerPing, yarv, [yarv](const QString& server) { yarv->Pong(server); });

    // The control raises the PING and sends nothing by itself: the client that
    // does not answer is dropped, the one whose frame answers is pinged again.
    QTRY_COMPARE_WITH_TIMEOUT(silent->log.count(QStringLiteral("Disconnected")), 1, 40000);
    QCOMPARE(silent->log.of(QStringLiteral("ServerPing")),
             QStringList{QStringLiteral("ServerPing(irc.parlone.test)")});
    QVERIFY(hasMatch(silent->log, QStringLiteral("ServerError"),
                     QStringLiteral("ServerError\\(Ping timeout.*\\)")));
    QTRY_VERIFY_WITH_TIMEOUT(answering->log.count(QStringLiteral("ServerPing")) >= 2, 40000);
    QVERIFY(answering->yarv.IsConnected());
    QCOMPARE(answering->log.count(QStringLiteral("ServerError")), 0);
    QCOMPARE(answering->log.count(QStringLiteral("Disconnected")), 0);
}

void TestYarvNgircd::closeConnectionGivesOneDisconnected() {
    ++m_serial;
    auto alice = login(QStringLiteral("alice"));
    auto bob = login(QStringLiteral("bob"));
    QVERIFY(alice && bob);
    const QString chan = joinBoth(*alice, *bob);
    QVERIFY(!chan.isEmpty());
    alice->yarv.CloseConnection();
    QCOMPARE(alice->log.entries, QStringList{QStringLiteral("Disconnected()")});
    QVERIFY(!alice->yarv.IsConnected());
    // The server saw the link go.
    QTRY_COMPARE(bob->log.count(QStringLiteral("UserQuit")), 1);
    QVERIFY(bob->log.of(QStringLiteral("UserQuit"))
                .first()
                .startsWith(QStringLiteral("UserQuit(%1|").arg(alice->mask())));
    alice->yarv.OpenConnection(m_server.host(), m_server.port());
    QTRY_COMPARE(alice->log.count(QStringLiteral("MotdReceived")), 1);
    QCOMPARE(alice->log.count(QStringLiteral("Disconnected")), 1);
}

QTEST_GUILESS_MAIN(TestYarvNgircd)
#include "tst_yarv_ngircd.moc"
