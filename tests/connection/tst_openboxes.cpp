// The connection goes on while a box is open: the nick in use box a server
// line raises does not wait and opens once, and while a modal prompt waits
// (one the welcome's start-up script raises, one a typed command raises) the
// socket is read, pings are answered, channel lines are shown and the end of
// the connection is reported in order.

#include "core/mod_kernel.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"

#include <QTimer>

class TestOpenBoxes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void nickInUseBoxLeavesTheConnectionRunning();
    void connectionRunsWhileAModalPromptWaits_data();
    void connectionRunsWhileAModalPromptWaits();

private:
    // Sends `count` pings `gapMs` apart and checks each is answered before the next.
    void pingsAreAnswered(int count, int gapMs);
    void welcome();
    qsizetype nickInUseBoxes(const ScriptedAnswerer& answers) const;

    std::unique_ptr<IrcScriptedPeer> m_peer;
    std::unique_ptr<ClientFixture> m_c;
    int m_pings = 0;
};

void TestOpenBoxes::init() {
    m_peer = std::make_unique<IrcScriptedPeer>();
    m_c =
        std::make_unique<ClientFixture>(m_peer->host(), m_peer->port(), QStringLiteral("parlone"));
    m_c->set("SHOW_SERVERPING", QStringLiteral("0"));
    QVERIFY(m_c->connect());
    QVERIFY(m_peer->waitForClient());
    QVERIFY(m_peer->waitForLines(2));
}

void TestOpenBoxes::cleanup() {
    m_c.reset();
    m_peer.reset();
}

void TestOpenBoxes::pingsAreAnswered(int count, int gapMs) {
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            QTest::qWait(gapMs);
        const QByteArray token = "open" + QByteArray::number(++m_pings);
        m_peer->sendLine("PING :" + token);
        QTRY_VERIFY_WITH_TIMEOUT(m_peer->lines().contains("PONG :" + token), 5000);
    }
}

void TestOpenBoxes::welcome() {
    m_c->serverSays(*m_peer, {":srv 001 parlone :Welcome", ":parlone!u@h JOIN #c"});
    QVERIFY(m_c->channel(QStringLiteral("#c")));
}

qsizetype TestOpenBoxes::nickInUseBoxes(const ScriptedAnswerer& answers) const {
    return std::count_if(
        answers.requests().cbegin(), answers.requests().cend(),
        [](const platform::DialogRequest& r) { return r.prompt == u"Nick in use"; });
}

void TestOpenBoxes::nickInUseBoxLeavesTheConnectionRunning() {
    ScriptedAnswerer answers;
    answers.hold();
    welcome();
    m_peer->sendLine(":srv 433 parlone bob :Nickname is already in use");
    QTRY_COMPARE_WITH_TIMEOUT(answers.pendingCount(), qsizetype(1), 5000);
    pingsAreAnswered(3, 1000);
    m_c->serverSays(*m_peer, {":ann!a@h PRIVMSG #c :said meanwhile",
                              ":srv 433 parlone bob :Nickname is already in use"});
    QVERIFY(m_c->channelLines(QStringLiteral("#c")).constLast().contains(u"said meanwhile"));
    // The box is still open, and a second nick in use opened no other.
    QCOMPARE(answers.pendingCount(), qsizetype(1));
    QCOMPARE(nickInUseBoxes(answers), 1);

    // Once it is closed, the next one opens.
    QVERIFY(answers.answerPending(platform::vbOK));
    QTRY_VERIFY_WITH_TIMEOUT(!m_c->p->serverBoxOpen, 5000);
    m_c->serverSays(*m_peer, {":srv 433 parlone bob :Nickname is already in use"});
    QCOMPARE(nickInUseBoxes(answers), 2);
}

void TestOpenBoxes::connectionRunsWhileAModalPromptWaits_data() {
    QTest::addColumn<bool>("fromStartupScript");
    // A ping in the welcome's own write: nothing more comes from the socket
    // to raise it while the prompt waits.
    QTest::addColumn<bool>("pingWithTheWelcome");
    QTest::newRow("start-up script prompt, raised by the welcome") << true << false;
    QTest::newRow("start-up script prompt, a ping in the welcome's write") << true << true;
    QTest::newRow("typed command's prompt") << false << false;
}

void TestOpenBoxes::connectionRunsWhileAModalPromptWaits() {
    QFETCH(bool, fromStartupScript);
    QFETCH(bool, pingWithTheWelcome);
    ScriptedAnswerer answers;
    answers.hold();
    answers.queueInput(QStringLiteral("#late"));
    bool checked = false;
    answers.setWhileOpen([&] {
        if (pingWithTheWelcome)
            QTRY_VERIFY_WITH_TIMEOUT(m_peer->lines().contains("PONG :together"), 5000);
        pingsAreAnswered(3, 300);
        // A nick in use meanwhile: its box opens without waiting, beside the prompt.
        m_c->serverSays(*m_peer, {":ann!a@h PRIVMSG #c :said meanwhile",
                                  ":srv 433 parlone bob :Nickname is already in use"});
        QVERIFY(m_c->channelLines(QStringLiteral("#c")).constLast().contains(u"said meanwhile"));
        QCOMPARE(answers.pendingCount(), qsizetype(1));
        // The server ends the link: its ERROR comes before the end.
        m_c->markServerLines();
        m_peer->sendLine("ERROR :Closing link: parlone (Ping timeout)");
        m_peer->closeClient();
        QTRY_VERIFY_WITH_TIMEOUT(!m_c->irc().IsConnected(), 5000);
        const QStringList lines = m_c->newServerLines();
        const qsizetype error =
            lines.indexOf(u"Server Error: Closing link: parlone (Ping timeout)");
        QVERIFY2(error >= 0, qPrintable(lines.join(u'|')));
        QVERIFY2(lines.indexOf(u"Disconnected!") > error, qPrintable(lines.join(u'|')));
        checked = true;
    });

    if (fromStartupScript) {
        m_c->folder.write(QStringLiteral("cmd/startup.ini"), "JOIN #c\r\nJOIN $?=Channel\r\n");
        m_c->set("USE_STARTUPINI", QStringLiteral("1"));
        if (pingWithTheWelcome) {
            m_peer->send(":srv 001 parlone :Welcome\r\nPING :together\r\n:parlone!u@h JOIN #c\r\n");
        } else {
            m_peer->sendLine(":srv 001 parlone :Welcome");
            m_peer->sendLine(":parlone!u@h JOIN #c");
        }
    } else {
        welcome();
        // Typed in the server window, as a key press runs it: from the event loop.
        QTimer::singleShot(0, &m_c->p->mainFrame(), [this] {
            QString line = QStringLiteral("//join $?=Channel");
            ParseLine(*m_c->p, line);
        });
    }
    QTRY_VERIFY_WITH_TIMEOUT(checked, 20000);
    QVERIFY(answers.requests().constFirst().kind == platform::DialogRequest::InputBox);
    // The answer came after the link was gone: nothing was sent with it.
    QVERIFY(!m_peer->lines().contains("JOIN #late"));
}

PARLONE_TEST_MAIN(TestOpenBoxes)
#include "tst_openboxes.moc"
