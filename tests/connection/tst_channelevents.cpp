// The channel events against a scripted server, for what a real server will
// not send on demand: an empty quit reason, a second own JOIN for an open
// channel, every kind of mode string, status prefixes beyond "@" and "+",
// names lists that start afresh, a topic with colour codes, a user mode set
// by the server.

#include "connection/ChannelEvents.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/TestMain.h"

class TestChannelEvents : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void ownJoinOpensOneWindowAndJoiningAgainKeepsIt();
    void namesListsStartAfresh_data();
    void namesListsStartAfresh();
    void modeStrings_data();
    void modeStrings();
    void statusSymbolsAreTheServers_data();
    void statusSymbolsAreTheServers();
    void userModeTouchesNoWindow_data();
    void userModeTouchesNoWindow();
    void quitWithoutReason();
    void channelDescriptions();
    void topicStripsCodesInTheCaptionOnly();
    void kickedByAnother();

private:
    // Sends server lines and waits until the client has read them all.
    void serverSays(const QByteArrayList& lines);
    // Joins #c with the given names.
    void joinWith(const QByteArray& names);

    std::unique_ptr<IrcScriptedPeer> m_peer;
    std::unique_ptr<ClientFixture> m_c;
};

void TestChannelEvents::init() {
    m_peer = std::make_unique<IrcScriptedPeer>();
    m_c =
        std::make_unique<ClientFixture>(m_peer->host(), m_peer->port(), QStringLiteral("parlone"));
    m_c->set("SHOW_SERVERPING", QStringLiteral("0"));
    m_c->set("SHOW_IRCMESSAGES", QStringLiteral("0"));
    QVERIFY(m_c->connect());
    QVERIFY(m_peer->waitForClient());
    QVERIFY(m_peer->waitForLines(2));
    serverSays({":srv 001 parlone :Welcome"});
}

void TestChannelEvents::cleanup() {
    m_c.reset();
    m_peer.reset();
}

void TestChannelEvents::serverSays(const QByteArrayList& lines) {
    m_c->serverSays(*m_peer, lines);
}

void TestChannelEvents::joinWith(const QByteArray& names) {
    serverSays({":parlone!u@h JOIN #c", ":srv 353 parlone = #c :" + names,
                ":srv 366 parlone #c :End of NAMES list"});
}

void TestChannelEvents::ownJoinOpensOneWindowAndJoiningAgainKeepsIt() {
    serverSays({":parlone!u@h JOIN #c"});
    QPointer<frm_chan> chan = m_c->channel(QStringLiteral("#c"));
    QVERIFY(chan);
    QCOMPARE(chan->Caption(), QStringLiteral("#c [0] "));
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")), QStringList{"** Now talking in #c"});
    QCOMPARE(m_c->panels(), (QStringList{"Server", "#c"}));
    QVERIFY(m_c->panelShows(2, 1));

    serverSays({":srv 353 parlone = #c :@parlone bob ~own &adm %half +v",
                ":srv 366 parlone #c :End of NAMES list"});
    QCOMPARE(chan->Caption(), QStringLiteral("#c [6] "));
    const struct {
        const char* nick;
        const char* status;
    } statuses[] = {{"PARLONE", "@"}, {"bob", ""},   {"own", "~"},
                    {"adm", "&"},     {"half", "%"}, {"V", "+"}};
    for (const auto& [nick, status] : statuses)
        QCOMPARE(chan->UserChanStat(QLatin1String(nick)), QLatin1String(status));

    // Joined again while the window is open: the same window, no new panel,
    // and the names that follow make the list afresh; the old topic goes.
    serverSays({":srv 332 parlone #c :old topic"});
    QCOMPARE(chan->Caption(), QStringLiteral("#c [6] old topic"));
    serverSays({":parlone!u@h JOIN #C", ":srv 353 parlone = #c :@parlone bob",
                ":srv 366 parlone #c :End of NAMES list"});
    QCOMPARE(m_c->channel(QStringLiteral("#c")), chan.data());
    QCOMPARE(m_c->channelWindowCount(), 1);
    QCOMPARE(m_c->panels(), (QStringList{"Server", "#c"}));
    QCOMPARE(chan->ListCount(), 2);
    QCOMPARE(chan->Caption(), QStringLiteral("#c [2] "));
}

void TestChannelEvents::namesListsStartAfresh_data() {
    QTest::addColumn<QByteArray>("channel");
    QTest::newRow("lower case") << QByteArray("#c");
    // The end of a list names the channel as the server spells it.
    QTest::newRow("capitals") << QByteArray("#Chan");
}

void TestChannelEvents::namesListsStartAfresh() {
    QFETCH(QByteArray, channel);
    serverSays({":parlone!u@h JOIN " + channel, ":srv 353 parlone = " + channel + " :@parlone bob",
                ":srv 366 parlone " + channel + " :End of NAMES list"});
    frm_chan* chan = m_c->channel(QString::fromLatin1(channel));
    QVERIFY(chan);
    // One list in two replies, asked for again twice.
    for (int i = 0; i < 3; ++i) {
        serverSays({":srv 353 parlone = " + channel + " :@parlone bob",
                    ":srv 353 parlone = " + channel + " :ann +cid",
                    ":srv 366 parlone " + channel + " :End of NAMES list"});
        QCOMPARE(chan->ListCount(), 4);
        QCOMPARE(chan->Caption(), QString::fromLatin1(channel) + QStringLiteral(" [4] "));
    }
    // The names of a channel without a window are only shown.
    m_c->markServerLines();
    serverSays({":srv 353 parlone = #other :x y", ":srv 366 parlone #other :End of NAMES list"});
    QCOMPARE(m_c->newServerLines(), QStringList{"Names/#other: x y"});
    QCOMPARE(m_c->channelWindowCount(), 1);
}

void TestChannelEvents::modeStrings_data() {
    QTest::addColumn<QByteArray>("features");
    QTest::addColumn<QByteArray>("modes");
    QTest::addColumn<QStringList>("entries");
    const QByteArray none;
    const QByteArray ownModes = ":srv 005 parlone CHANMODES=beI,k,jl,imnt PREFIX=(ov)@+ :are "
                                "supported by this server";
    QTest::newRow("limit and op") << none << QByteArray("+lo 10 bob")
                                  << QStringList{"+cid", "@bob", "ann"};
    QTest::newRow("ban and op") << none << QByteArray("+bo m!*@* bob")
                                << QStringList{"+cid", "@bob", "ann"};
    QTest::newRow("key") << none << QByteArray("+k bob") << QStringList{"+cid", "ann", "bob"};
    QTest::newRow("flags") << none << QByteArray("+nt") << QStringList{"+cid", "ann", "bob"};
    QTest::newRow("op and voice") << none << QByteArray("+ov ann bob")
                                  << QStringList{"+bob", "+cid", "@ann"};
    QTest::newRow("two ops") << none << QByteArray("+oo ann bob")
                             << QStringList{"+cid", "@ann", "@bob"};
    QTest::newRow("signs mixed") << none << QByteArray("+o-v+o ann cid bob")
                                 << QStringList{"@ann", "@bob", "cid"};
    QTest::newRow("limit cleared")
        << none << QByteArray("-l+o bob") << QStringList{"+cid", "@bob", "ann"};
    QTest::newRow("owner mode") << none << QByteArray("+qo ann bob")
                                << QStringList{"+cid", "@bob", "ann"};
    QTest::newRow("missing argument")
        << none << QByteArray("+ov ann") << QStringList{"+cid", "@ann", "bob"};
    QTest::newRow("server's own mode")
        << ownModes << QByteArray("+jo 3:5 bob") << QStringList{"+cid", "@bob", "ann"};
    QTest::newRow("unknown mode") << none << QByteArray("+jo 3:5 bob")
                                  << QStringList{"+cid", "ann", "bob"};
    // Empty or broken values leave the usual ones in force.
    QTest::newRow("empty values")
        << QByteArray(":srv 005 parlone CHANMODES= PREFIX=() :are supported by this server")
        << QByteArray("+bo m!*@* bob") << QStringList{"+cid", "@bob", "ann"};
    QTest::newRow("broken values")
        << QByteArray(":srv 005 parlone CHANMODES=b PREFIX=(ov)@ :are supported by this server")
        << QByteArray("+bo m!*@* bob") << QStringList{"+cid", "@bob", "ann"};
}

// A names entry's leading status symbols are those of the server's PREFIX
// (the usual ones until it says, and after a broken one), also when it
// says so only after the join; everything else belongs to the nick, which
// every later event names.
void TestChannelEvents::statusSymbolsAreTheServers_data() {
    QTest::addColumn<QByteArray>("features");
    QTest::addColumn<bool>("afterTheJoin");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("status");
    const QList<QPair<const char*, QByteArray>> servers{
        {"usual", QByteArray()},
        {"all five", ":srv 005 parlone PREFIX=(qaohv)~&@%+ :are supported by this server"},
        {"two", ":srv 005 parlone PREFIX=(ov)@+ :are supported by this server"},
        {"broken", ":srv 005 parlone PREFIX=(ov)@ :are supported by this server"},
    };
    for (const auto& named : servers) {
        const char* server = named.first;
        const QByteArray features = named.second;
        const bool two = QByteArrayView(server) == "two";
        for (const bool after : {false, true}) {
            // Only a PREFIX unlike the usual one changes what the join read.
            if (after && !two)
                continue;
            const auto row = [&](const char* entry, const char* nick, const char* status) {
                QTest::addRow("%s%s: %s", server, after ? ", after the join" : "", entry)
                    << features << after << QByteArray(entry) << QString::fromLatin1(nick)
                    << QString::fromLatin1(status);
            };
            row("^kim", "^kim", "");
            row("[x]", "[x]", "");
            row("{y}", "{y}", "");
            row("`z", "`z", "");
            row("\\w", "\\w", "");
            row("@op", "op", "@");
            if (two)
                row("%half", "%half", "");
            else
                row("%half", "half", "%");
        }
    }
}

void TestChannelEvents::statusSymbolsAreTheServers() {
    QFETCH(QByteArray, features);
    QFETCH(bool, afterTheJoin);
    QFETCH(QByteArray, entry);
    QFETCH(QString, nick);
    QFETCH(QString, status);
    if (!features.isEmpty() && !afterTheJoin)
        serverSays({features});
    joinWith("zed " + entry);
    if (afterTheJoin)
        serverSays({features});
    frm_chan* chan = m_c->channel(QStringLiteral("#c"));
    QVERIFY(chan);
    QVERIFY(chan->IsONChan(nick));
    QCOMPARE(chan->UserChanStat(nick), status);

    const QByteArray n = nick.toLatin1();
    serverSays({":op!o@h MODE #c +o " + n});
    QCOMPARE(chan->UserChanStat(nick), QStringLiteral("@"));
    serverSays({":" + n + "!u@h NICK renamed"});
    QVERIFY(!chan->IsONChan(nick));
    QCOMPARE(chan->UserChanStat(QStringLiteral("renamed")), QStringLiteral("@"));
    serverSays({":renamed!u@h PART #c"});
    QVERIFY(!chan->IsONChan(QStringLiteral("renamed")));
    serverSays({":" + n + "!u@h JOIN #c"});
    QVERIFY(chan->IsONChan(nick));
    serverSays({":" + n + "!u@h QUIT :gone"});
    QVERIFY(!chan->IsONChan(nick));
    QCOMPARE(chan->ListCount(), 1);
    QCOMPARE(chan->Caption(), QStringLiteral("#c [1] "));
}

void TestChannelEvents::modeStrings() {
    QFETCH(QByteArray, features);
    QFETCH(QByteArray, modes);
    QFETCH(QStringList, entries);
    if (!features.isEmpty())
        serverSays({features});
    joinWith("ann bob +cid");
    frm_chan* chan = m_c->channel(QStringLiteral("#c"));
    QVERIFY(chan);
    m_c->markServerLines();
    serverSays({":op!o@h MODE #c " + modes});
    QCOMPARE(chan->ListCount(), 3);
    QCOMPARE(QStringList({chan->List(0), chan->List(1), chan->List(2)}), entries);
    const QString shown = QString::fromLatin1(modes);
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")).constLast(),
             QStringLiteral("** op sets mode: ") + shown);
    QCOMPARE(m_c->newServerLines(), QStringList{"-#- |op!o@h/#c| mode: " + shown});
}

void TestChannelEvents::userModeTouchesNoWindow_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("shown");
    QTest::newRow("set by the server")
        << QByteArray(":srv MODE parlone :+i") << "-#- |srv/parlone| mode: +i";
    QTest::newRow("set by the user")
        << QByteArray(":parlone!u@h MODE parlone :+w") << "-#- |parlone!u@h/parlone| mode: +w";
    QTest::newRow("nick like a channel's member")
        << QByteArray(":srv MODE bob :+o") << "-#- |srv/bob| mode: +o";
}

void TestChannelEvents::userModeTouchesNoWindow() {
    QFETCH(QByteArray, line);
    QFETCH(QString, shown);
    joinWith("parlone bob");
    const QStringList before = m_c->channelLines(QStringLiteral("#c"));
    m_c->markServerLines();
    serverSays({line});
    const QString modes = QString::fromLatin1(line.mid(line.lastIndexOf(':') + 1));
    QCOMPARE(m_c->newServerLines(), (QStringList{shown, "** User mode: " + modes}));
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")), before);
    QCOMPARE(m_c->channel(QStringLiteral("#c"))->UserChanStat(QStringLiteral("bob")), QString());
}

void TestChannelEvents::quitWithoutReason() {
    joinWith("parlone bob ann");
    serverSays({":parlone!u@h JOIN #d", ":srv 353 parlone = #d :parlone bob",
                ":srv 366 parlone #d :End of NAMES list"});
    m_c->markServerLines();
    serverSays({":bob!b@h QUIT :"});
    QCOMPARE(m_c->newServerLines(), QStringList{"-#- |bob!b@h| has quit ()."});
    for (const char* tag : {"#c", "#d"}) {
        const QString channel = QLatin1String(tag);
        QCOMPARE(m_c->channelLines(channel).constLast(),
                 QStringLiteral("** bob has quit (exited without reason)"));
        QVERIFY(!m_c->channel(channel)->IsONChan(QStringLiteral("bob")));
    }
    QCOMPARE(m_c->channel(QStringLiteral("#c"))->Caption(), QStringLiteral("#c [2] "));
    QCOMPARE(m_c->channel(QStringLiteral("#d"))->Caption(), QStringLiteral("#d [1] "));
}

void TestChannelEvents::channelDescriptions() {
    joinWith("parlone");
    m_c->markServerLines();
    serverSays({":srv 324 parlone #c +nt", ":srv 333 parlone #c bob 1700000000",
                ":srv 221 parlone +iw", ":srv 324 parlone #nowindow +n"});
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")).mid(1),
             (QStringList{"** #c mode: +nt", "** Topic set 1700000000 by bob"}));
    QCOMPARE(m_c->newServerLines(), QStringList{"** parlone sets mode: +iw"});
    // Without SHOW_CHANNELMODE the channel's modes are not shown.
    m_c->set("SHOW_CHANNELMODE", QStringLiteral("0"));
    serverSays({":srv 324 parlone #c +s"});
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")).size(), 3);
}

void TestChannelEvents::topicStripsCodesInTheCaptionOnly() {
    joinWith("parlone bob");
    frm_chan* chan = m_c->channel(QStringLiteral("#c"));
    QVERIFY(chan);
    serverSays({":srv 332 parlone #c :\x03"
                "04red\x03 news [old] x"});
    QCOMPARE(chan->Caption(), QStringLiteral("#c [2] red news [old] x"));
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")).constLast(),
             QStringLiteral("#c topic is: red news [old] x"));
    // The line keeps the colour: "red" is drawn in palette colour 4.
    absRichEdit& console = *chan->console;
    console.setSelStart(static_cast<qint32>(console.Text().lastIndexOf(u"red")));
    console.setSelLength(3);
    QCOMPARE(console.SelColor(), m_c->p->palette.color(4));

    // A count update keeps the topic, "]" and all.
    serverSays({":ann!a@h JOIN #c"});
    QCOMPARE(chan->Caption(), QStringLiteral("#c [3] red news [old] x"));
    // A changed topic loses its codes in the caption too; its line keeps them.
    serverSays({":bob!b@h TOPIC #c :\x02"
                "bold\x02 \x03"
                "12blue"});
    QCOMPARE(chan->Caption(), QStringLiteral("#c [3] bold blue"));
    QCOMPARE(m_c->channelLines(QStringLiteral("#c")).constLast(),
             QStringLiteral("** bob changes topic to: bold blue"));
    console.setSelStart(static_cast<qint32>(console.Text().lastIndexOf(u"bold")));
    console.setSelLength(4);
    QVERIFY(console.SelBold());
    console.setSelStart(static_cast<qint32>(console.Text().lastIndexOf(u"blue")));
    console.setSelLength(4);
    QCOMPARE(console.SelColor(), m_c->p->palette.color(12));
}

void TestChannelEvents::kickedByAnother() {
    joinWith("parlone @bob ann");
    m_c->markServerLines();
    serverSays({":bob!b@h KICK #c ann :flood", ":bob!b@h KICK #c parlone :bye"});
    QCOMPARE(m_c->channelWindowCount(), 0);
    QCOMPARE(m_c->panels(), QStringList{"Server"});
    QCOMPARE(m_c->newServerLines(), QStringList{"-#- You were kicked from #c by bob (bye)"});
    // USE_AUTOREJOIN is not "1": no rejoin.
    QVERIFY(!m_peer->lines().contains("JOIN #c"));
}

PARLONE_TEST_MAIN(TestChannelEvents)
#include "tst_channelevents.moc"
