// The frame's handlers against a real ngircd: registration with its one
// message of the day and the start-up script, a nick in use, WHOIS, pings,
// and a second client (a bare IRC control in the test) doing in channels
// what other users do.

#include "connection/ConnectionEvents.h"
#include "core/mod_kernel.h"
#include "core/mod_startup.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_list.h"

#include <QListWidget>

#include <QRegularExpression>
#include <QTcpServer>

namespace {

// Another user: a bare IRC control that logs in as the socket connects.
struct Other {
    explicit Other(QString n) : nick(std::move(n)) {
        yarv.setFloodControl(false);
        QObject::connect(&yarv, &platform::Yarv::SocketConnected, &yarv, [this] {
            yarv.Login(nick, nick, QString(), QStringLiteral("Real ") + nick);
        });
    }
    bool login(const NgircdServer& server) {
        QSignalSpy motd(&yarv, &platform::Yarv::MotdReceived);
        yarv.OpenConnection(server.host(), server.port());
        return motd.wait(5000);
    }
    QString nick;
    platform::Yarv yarv;
};

// Waits until the server has handled everything sent on `irc` before now.
bool sync(platform::Yarv& irc) {
    static int serial = 0;
    const QString token = QStringLiteral("sync%1").arg(++serial);
    bool answered = false;
    QObject context;
    QObject::connect(&irc, &platform::Yarv::ServerReply, &context,
                     [&](const QString&, const QString& command, const QString&, const QStringList&,
                         const QString& subject) {
                         // A PONG once registered, "not registered" before.
                         answered = answered || (command == u"PONG" && subject == token) ||
                                    command == u"451";
                     });
    irc.SendCommand(QStringLiteral("PING :") + token);
    return QTest::qWaitFor([&] { return answered; }, 5000);
}

} // namespace

class TestConnectionNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void registrationMotdWelcomeAndStartupScript();
    void nickInUseTakesTheAlternate();
    void bothNicksTakenIsReportedOnce();
    void whoisLines();
    void pingIsAnsweredWhenNotShown();
    void joinPartKickAndQuit();
    void nickChangeKeepsEachChannelsStatus();
    void compactModesFromAnOperator();
    void topicWithCodesAndNamesTwice();
    void listFillsTheChannelList();
    void localChannelIsAChannelLikeAnyOther();
    void usersQuitIsNotReconnected();
    void freshFolderShowsWhatTheServerSays();

private:
    QString nick(const char* base) const { return QLatin1String(base) + QString::number(m_serial); }
    QString chan(const char* base) const {
        return u'#' + QLatin1String(base) + QString::number(m_serial);
    }
    // The program connected and registered.
    bool connectClient();
    void type(const QString& text) {
        QString line = text;
        ParseLine(*m_c->p, line, QStringLiteral("Server"));
    }
    // Waits until the channel's window exists and shows `count` nicks.
    bool channelHas(const QString& channel, int count) {
        return QTest::qWaitFor(
            [&] {
                const frm_chan* c = m_c->channel(channel);
                return c && c->ListCount() == count;
            },
            5000);
    }

    NgircdServer m_server;
    std::unique_ptr<ClientFixture> m_c;
    int m_serial = 0;
};

// A channel of the server's other kind, "&" (local to the server).
void TestConnectionNgircd::localChannelIsAChannelLikeAnyOther() {
    const QString c = u'&' + QStringLiteral("loc") + QString::number(m_serial);
    QVERIFY(connectClient());
    type(QStringLiteral("/join ") + c);
    QVERIFY(channelHas(c, 1));

    Other bob(nick("bob"));
    QVERIFY(bob.login(m_server));
    QSignalSpy said(&bob.yarv, &platform::Yarv::ChannelMessage);
    QSignalSpy acted(&bob.yarv, &platform::Yarv::CtcpRequest);
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + c);
    QVERIFY(channelHas(c, 2));

    // Typed in the channel's own window.
    QString me = QStringLiteral("/me waves");
    ParseLine(*m_c->p, me, c);
    QString say = QStringLiteral("//say in $CHAN");
    ParseLine(*m_c->p, say, c);
    QVERIFY(QTest::qWaitFor([&] { return !said.isEmpty() && !acted.isEmpty(); }, 5000));
    QCOMPARE(said.constFirst().at(1).toString(), c);
    QCOMPARE(said.constFirst().at(2).toString(), QStringLiteral("in ") + c);
    QCOMPARE(acted.constFirst().at(1).toString(), c);
    QCOMPARE(acted.constFirst().at(2).toString(), QStringLiteral("ACTION"));

    const QString renamed = nick("rob");
    bob.yarv.SendCommand(QStringLiteral("NICK ") + renamed);
    QVERIFY(QTest::qWaitFor([&] { return m_c->channel(c)->IsONChan(renamed); }, 5000));
    QVERIFY(!m_c->channel(c)->IsONChan(bob.nick));
    bob.yarv.SendCommand(QStringLiteral("QUIT :bye"));
    QVERIFY(channelHas(c, 1));
    QCOMPARE(m_c->channel(c)->Caption(), c + QStringLiteral(" [1] "));
    QVERIFY(m_c->channelLines(c).constLast().startsWith(QStringLiteral("** ") + renamed +
                                                        QStringLiteral(" has quit (")));
}

void TestConnectionNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestConnectionNgircd::init() {
    ++m_serial;
    m_c = std::make_unique<ClientFixture>(m_server.host(), m_server.port(), nick("me"));
    m_c->set("SHOW_SERVERPING", QStringLiteral("0"));
    m_c->set("SHOW_IRCMESSAGES", QStringLiteral("0"));
}

void TestConnectionNgircd::cleanup() {
    m_c.reset();
}

bool TestConnectionNgircd::connectClient() {
    QSignalSpy motd(&m_c->irc(), &platform::Yarv::MotdReceived);
    return m_c->connect() && motd.wait(5000) && m_c->p->ServerConnected;
}

void TestConnectionNgircd::registrationMotdWelcomeAndStartupScript() {
    const QString start = chan("start");
    m_c->folder.write(QStringLiteral("cmd/startup.ini"), ("JOIN " + start + "\r\n").toUtf8());
    m_c->set("USE_STARTUPINI", QStringLiteral("1"));
    QVERIFY(connectClient());
    QVERIFY(channelHas(start, 1));
    QVERIFY(sync(m_c->irc()));
    const QStringList lines = m_c->serverLines();
    const QString me = nick("me");
    QCOMPARE(lines.count(QStringLiteral("Message of the day from irc.parlone.test")), 1);
    QCOMPARE(lines.count(QStringLiteral("- Welcome to the Parlone test server")), 1);
    QCOMPARE(lines.count(QStringLiteral("irc.parlone.test - Welcome to the Internet Relay Network "
                                        "%1!~parlone@127.0.0.1")
                             .arg(me)),
             1);
    QVERIFY(!lines.join(u'\n').contains(QStringLiteral("You are now known as")));
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: 127.0.0.1 as ") + me);
    QCOMPARE(m_c->setting("PROFILE_NICKNAME"), me);
    QCOMPARE(m_c->panels(), (QStringList{"Server", start}));
}

void TestConnectionNgircd::nickInUseTakesTheAlternate() {
    Other holder(nick("me"));
    QVERIFY(holder.login(m_server));
    ScriptedAnswerer answers;
    QVERIFY(connectClient());
    const QString alternate = nick("me") + u'_';
    QCOMPARE(m_c->irc().CurrentNick(), alternate);
    QCOMPARE(m_c->setting("PROFILE_NICKNAME"), alternate);
    const QStringList lines = m_c->serverLines();
    QCOMPARE(lines.count(QStringLiteral("Nick in use, trying ") + alternate), 1);
    QCOMPARE(lines.count(QStringLiteral("You are now known as ") + alternate), 1);
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: 127.0.0.1 as ") + alternate);
    QVERIFY(answers.requests().isEmpty());
}

void TestConnectionNgircd::bothNicksTakenIsReportedOnce() {
    Other first(nick("me"));
    Other second(nick("me") + u'_');
    QVERIFY(first.login(m_server) && second.login(m_server));
    ScriptedAnswerer answers;
    QVERIFY(m_c->connect());
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 1, 5000);
    QVERIFY(sync(m_c->irc()));
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().constFirst().prompt, QStringLiteral("Nick in use"));
    QCOMPARE(m_c->serverLines().filter(QStringLiteral("Nick in use, trying")).size(), 1);
    QVERIFY(!m_c->p->ServerConnected);
}

void TestConnectionNgircd::whoisLines() {
    Other bob(nick("bob"));
    QVERIFY(bob.login(m_server));
    const QString channel = chan("who");
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + channel);
    QVERIFY(sync(bob.yarv));
    QVERIFY(connectClient());
    m_c->markServerLines();
    type(QStringLiteral("/whois ") + bob.nick);
    QVERIFY(QTest::qWaitFor(
        [&] {
            return m_c->newServerLines().contains(u"-"_qs) && m_c->newServerLines().size() > 2 &&
                   m_c->newServerLines().constLast() == u"-";
        },
        5000));
    const QStringList lines = m_c->newServerLines();
    const QString b = bob.nick;
    QCOMPARE(lines.size(), 7);
    QCOMPARE(lines.mid(0, 4), (QStringList{"-", b + " is ~" + b + "@127.0.0.1 :Real " + b,
                                           b + " is on irc.parlone.test Parlone test server",
                                           b + " is on @" + channel}));
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(
                                    b + " has been idle \\d+ mins and \\d+ secs, signed on \\d+"))
                 .match(lines.at(4))
                 .hasMatch(),
             qPrintable(lines.at(4)));
    QCOMPARE(lines.mid(5), (QStringList{"End of WHOIS list", "-"}));
}

void TestConnectionNgircd::pingIsAnsweredWhenNotShown() {
    NgircdServer pinging;
    NgircdServer::Options options;
    options.pingTimeout = 5; // the least ngircd takes
    options.pongTimeout = 5;
    QVERIFY2(pinging.start(options), qPrintable(pinging.error()));
    m_c->set("SERVER_PORT", QString::number(pinging.port()));
    QVERIFY(connectClient());
    QSignalSpy pings(&m_c->irc(), &platform::Yarv::ServerPing);
    QSignalSpy closed(&m_c->irc(), &platform::Yarv::Disconnected);
    // A second ping comes only when the first was answered in time.
    QVERIFY(QTest::qWaitFor([&] { return pings.count() >= 2 || closed.count() > 0; }, 30000));
    QCOMPARE(closed.count(), 0);
    QVERIFY(m_c->serverLines().filter(QStringLiteral("Server ping")).isEmpty());
}

void TestConnectionNgircd::joinPartKickAndQuit() {
    const QString c = chan("c");
    QVERIFY(connectClient());
    m_c->set("USE_AUTOREJOIN", QStringLiteral("1"));
    type(QStringLiteral("/join ") + c);
    QVERIFY(channelHas(c, 1));
    QCOMPARE(m_c->channel(c)->Caption(), c + QStringLiteral(" [1] "));
    QCOMPARE(m_c->channelLines(c).constFirst(), QStringLiteral("** Now talking in ") + c);

    Other bob(nick("bob"));
    QVERIFY(bob.login(m_server));
    const QString b = bob.nick;
    const QString host = QStringLiteral(" (~") + b + QStringLiteral("@127.0.0.1)");
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + c);
    QVERIFY(channelHas(c, 2));
    QCOMPARE(m_c->channelLines(c).constLast(), "** " + b + host + " has joined " + c);
    QCOMPARE(m_c->channel(c)->Caption(), c + QStringLiteral(" [2] "));

    bob.yarv.SendCommand(QStringLiteral("PART ") + c);
    QVERIFY(channelHas(c, 1));
    QCOMPARE(m_c->channelLines(c).constLast(), "** " + b + host + " has parted " + c);
    QCOMPARE(m_c->channel(c)->Caption(), c + QStringLiteral(" [1] "));

    // The user kicks another, then themselves, and comes back.
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + c);
    QVERIFY(channelHas(c, 2));
    type(QStringLiteral("/kick %1 %2 out you go").arg(c, b));
    QVERIFY(channelHas(c, 1));
    QCOMPARE(m_c->channelLines(c).constLast(),
             "** " + b + " was kicked by " + nick("me") + " (out you go)");
    QCOMPARE(m_c->channel(c)->Caption(), c + QStringLiteral(" [1] "));
    QPointer<frm_chan> before = m_c->channel(c);
    m_c->markServerLines();
    type(QStringLiteral("/kick %1 %2 self").arg(c, nick("me")));
    QVERIFY(QTest::qWaitFor([&] { return !before; }, 5000));
    QVERIFY(channelHas(c, 1)); // rejoined
    QCOMPARE(m_c->newServerLines().mid(0, 2),
             (QStringList{"-#- You were kicked from " + c + " by yourself (self)",
                          "Attempting rejoin..."}));
    QCOMPARE(m_c->panels(), (QStringList{"Server", c}));

    // Another user quits with a reason.
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + c);
    QVERIFY(channelHas(c, 2));
    m_c->markServerLines();
    bob.yarv.SendCommand(QStringLiteral("QUIT :gone fishing"));
    QVERIFY(channelHas(c, 1));
    // The server quotes the reason it passes on.
    QCOMPARE(m_c->channelLines(c).constLast(), "** " + b + " has quit (\"gone fishing\")");
    QCOMPARE(m_c->newServerLines(),
             QStringList{"-#- |" + b + "!~" + b + "@127.0.0.1| has quit (\"gone fishing\")."});
    QCOMPARE(m_c->channel(c)->Caption(), c + QStringLiteral(" [1] "));
}

void TestConnectionNgircd::nickChangeKeepsEachChannelsStatus() {
    const QString a = chan("a");
    const QString v = chan("v");
    Other bob(nick("bob"));
    QVERIFY(bob.login(m_server));
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + a); // bob is the operator of #a
    QVERIFY(sync(bob.yarv));
    QVERIFY(connectClient());
    type(QStringLiteral("/join ") + a);
    QVERIFY(channelHas(a, 2));
    type(QStringLiteral("/join ") + v);
    QVERIFY(channelHas(v, 1));
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + v);
    QVERIFY(channelHas(v, 2));
    type(QStringLiteral("/mode %1 +v %2").arg(v, bob.nick));
    QVERIFY(QTest::qWaitFor([&] { return m_c->channel(v)->UserChanStat(bob.nick) == u"+"; }, 5000));

    const QString renamed = nick("bobby");
    bob.yarv.SendCommand(QStringLiteral("NICK ") + renamed);
    QVERIFY(QTest::qWaitFor([&] { return m_c->channel(v)->IsONChan(renamed); }, 5000));
    QCOMPARE(m_c->channel(a)->UserChanStat(renamed), QStringLiteral("@"));
    QCOMPARE(m_c->channel(v)->UserChanStat(renamed), QStringLiteral("+"));
    QVERIFY(!m_c->channel(a)->IsONChan(bob.nick));
    QCOMPARE(m_c->channelLines(a).constLast(), "** " + bob.nick + " is now know as @" + renamed);
    QCOMPARE(m_c->channelLines(v).constLast(), "** " + bob.nick + " is now know as +" + renamed);

    // The user's own change, while operator of #v: stored bare.
    const QString mine = nick("mine");
    m_c->markServerLines();
    type(QStringLiteral("/nick ") + mine);
    QVERIFY(QTest::qWaitFor([&] { return m_c->setting("PROFILE_NICKNAME") == mine; }, 5000));
    QCOMPARE(m_c->channel(v)->UserChanStat(mine), QStringLiteral("@"));
    QCOMPARE(m_c->channel(a)->UserChanStat(mine), QString());
    QCOMPARE(m_c->newServerLines(), QStringList{"- You are now known as " + mine});
    QCOMPARE(m_c->serverCaption(), QStringLiteral("Connected to: 127.0.0.1 as ") + mine);
    QCOMPARE(m_c->panelTip(), QStringLiteral("Connected to: 127.0.0.1 as ") + mine);
}

void TestConnectionNgircd::compactModesFromAnOperator() {
    const QString c = chan("m");
    QVERIFY(connectClient());
    type(QStringLiteral("/join ") + c);
    QVERIFY(channelHas(c, 1));
    Other bob(nick("bob"));
    Other cid(nick("cid"));
    QVERIFY(bob.login(m_server) && cid.login(m_server));
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + c);
    cid.yarv.SendCommand(QStringLiteral("JOIN ") + c);
    QVERIFY(channelHas(c, 3));
    frm_chan* window = m_c->channel(c);
    const auto statuses = [&] {
        return QStringList{window->UserChanStat(bob.nick), window->UserChanStat(cid.nick)};
    };
    const struct {
        const char* modes;
        QStringList after;
    } steps[] = {
        {"+ov", {"@", "+"}},
        {"-ov", {"", ""}},
        {"+oo", {"@", "@"}},
        {"-o+v", {"", "+"}},
    };
    for (const auto& step : steps) {
        type(QStringLiteral("/mode %1 %2 %3 %4")
                 .arg(c, QLatin1String(step.modes), bob.nick, cid.nick));
        QVERIFY2(QTest::qWaitFor([&] { return statuses() == step.after; }, 5000), step.modes);
    }
}

void TestConnectionNgircd::topicWithCodesAndNamesTwice() {
    // Capitals: the end of each names list names the channel so.
    const QString t = chan("Topic");
    Other bob(nick("bob"));
    QVERIFY(bob.login(m_server));
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + t);
    bob.yarv.SendCommand(QStringLiteral("TOPIC %1 :\x03"
                                        "04red\x03 [news]")
                             .arg(t));
    QVERIFY(sync(bob.yarv));
    QVERIFY(connectClient());
    type(QStringLiteral("/join ") + t);
    QVERIFY(channelHas(t, 2));
    QVERIFY(sync(m_c->irc()));
    frm_chan* window = m_c->channel(t);
    QCOMPARE(window->Caption(), t + QStringLiteral(" [2] red [news]"));
    QCOMPARE(m_c->channelLines(t).mid(1, 1), QStringList{t + " topic is: red [news]"});
    for (int i = 0; i < 2; ++i) {
        type(QStringLiteral("/names ") + t);
        QVERIFY(sync(m_c->irc()));
        QCOMPARE(window->ListCount(), 2);
        QCOMPARE(window->Caption(), t + QStringLiteral(" [2] red [news]"));
    }
    bob.yarv.SendCommand(QStringLiteral("TOPIC %1 :\x02"
                                        "bold\x02")
                             .arg(t));
    // The caption loses the codes of a changed topic too.
    QVERIFY(QTest::qWaitFor([&] { return window->Caption() == t + " [2] bold"; }, 5000));
}

void TestConnectionNgircd::listFillsTheChannelList() {
    Other bob(nick("bob"));
    QVERIFY(bob.login(m_server));
    const QString listed = chan("listed");
    bob.yarv.SendCommand(QStringLiteral("JOIN ") + listed);
    bob.yarv.SendCommand(QStringLiteral("TOPIC %1 :\x03"
                                        "04red\x03 talk")
                             .arg(listed));
    QVERIFY(sync(bob.yarv));
    QVERIFY(connectClient());
    // The caption while the list comes in, read as its start arrives.
    QString listing;
    connect(&m_c->irc(), &platform::Yarv::ServerReply, this,
            [&](const QString&, const QString& command) {
                if (command == u"321")
                    listing = m_c->p->listWindow().Caption();
            });
    m_c->p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 3)));
    type(QStringLiteral("/list"));
    frm_list& list = m_c->p->listWindow();
    QVERIFY(QTest::qWaitFor(
        [&] { return list.Caption().startsWith(QStringLiteral("/LIST complete")); }, 5000));
    QCOMPARE(listing, QStringLiteral("Please wait. Listing!"));
    const QLocale locale;
    QCOMPARE(list.Caption(), QStringLiteral("/LIST complete as at: ") +
                                 locale.toString(QTime(7, 5, 3), QLocale::ShortFormat) + u' ' +
                                 locale.toString(QDate(2024, 3, 9), QLocale::ShortFormat));
    QVERIFY(!list.List1->isHidden());
    QVERIFY(
        !list.List1->findItems(listed + QStringLiteral(" 1 red talk"), Qt::MatchExactly).isEmpty());
}

// The server answers the user's own QUIT by closing the link; the program
// does not come back.
void TestConnectionNgircd::usersQuitIsNotReconnected() {
    m_c->set("USE_RECONNECT", QStringLiteral("1"));
    QVERIFY(connectClient());
    QSignalSpy closed(&m_c->irc(), &platform::Yarv::Disconnected);
    QSignalSpy error(&m_c->irc(), &platform::Yarv::ServerError);
    type(QStringLiteral("/quit see you"));
    QVERIFY(closed.wait(5000));
    QCOMPARE(error.size(), 1);
    QVERIFY(!m_c->p->mainFrame().connectionEvents->reconnectPending());
    QVERIFY(!m_c->serverLines().contains(QStringLiteral("Attempting server reconnect")));
}

// A first start in an empty folder: what the server says shows without any
// display switch set by hand, and so does a failed connect.
void TestConnectionNgircd::freshFolderShowsWhatTheServerSays() {
    TempProgramFolder folder;
    Program p(folder.path());
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    Main(p);
    const QString me = nick("fresh");
    const struct {
        const char* key;
        QString value;
    } profile[] = {
        {"SERVER_URL", m_server.host()},
        {"SERVER_PORT", QString::number(m_server.port())},
        {"PROFILE_NICKNAME", me},
        {"PROFILE_ALTERNATE", me + u'_'},
        {"PROFILE_USERNAME", QStringLiteral("parlone")},
        {"PROFILE_EMAIL", QStringLiteral("me@example.org")},
        {"PROFILE_REALNAME", QStringLiteral("Parlone User")},
    };
    for (const auto& [key, value] : profile)
        p.settings.setValue(QLatin1String(key), value);
    const auto serverLines = [&p] {
        return p.serverWindow().console->Text().split(QStringLiteral("\r\n"));
    };
    platform::Yarv& irc = *p.mainFrame().Yarv1;
    QSignalSpy motd(&irc, &platform::Yarv::MotdReceived);
    ConnectServer(p);
    QVERIFY(motd.wait(5000));
    QVERIFY(sync(irc));
    const QString welcome = QStringLiteral("irc.parlone.test - Welcome to the Internet Relay "
                                           "Network %1!~parlone@127.0.0.1")
                                .arg(me);
    QVERIFY2(serverLines().contains(welcome), qPrintable(serverLines().join(u'\n')));
    QVERIFY(serverLines().contains(QStringLiteral("- Welcome to the Parlone test server")));
    DisconnectServer(p);

    // A port nothing listens on.
    quint16 port = 0;
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
        port = closed.serverPort();
    }
    p.settings.setValue(QStringLiteral("SERVER_PORT"), QString::number(port));
    QSignalSpy failed(&irc, &platform::Yarv::SocketError);
    ConnectServer(p);
    QVERIFY(failed.wait(5000));
    QVERIFY2(serverLines().filter(QRegularExpression(QStringLiteral("^Error \\d+: "))).size() == 1,
             qPrintable(serverLines().join(u'\n')));
}

PARLONE_TEST_MAIN(TestConnectionNgircd)
#include "tst_connection_ngircd.moc"
