// DCC chats against peers on loopback sockets: lines as peers send them
// (whole, split, several at once, too long, actions), a peer that floods,
// two chats with one nick kept apart, a peer named like a window of the
// program, the peer's close or reset, typing afterwards, the chat window's
// own commands, its unread count and its log, the "ok" notice of a send
// beside the chat's questions, and an exit with chats open.

#include "connection/DccChatSockets.h"
#include "connection/DccFileTransfer.h"
#include "core/CommandWindow.h"
#include "core/ExitSequence.h"
#include "core/mod_kernel.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_dccChat.h"
#include "windows/frm_notify.h"

#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <sys/socket.h>

namespace {

// The other side of one chat: it listens, the client connects to it.
struct ChatPeer {
    QTcpServer server;
    QPointer<QTcpSocket> socket;
    QByteArray received;
};

// Runs `seen` on each event of `type` that `watched` gets.
class EventWatcher : public QObject {
public:
    EventWatcher(QObject* watched, QEvent::Type type, std::function<void()> seen)
        : m_type(type), m_seen(std::move(seen)) {
        watched->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type)
            m_seen();
        return false;
    }

private:
    QEvent::Type m_type;
    std::function<void()> m_seen;
};

// The peer ends the connection with a reset, not a close.
void reset(QTcpSocket& socket) {
    const linger now{1, 0};
    QVERIFY(::setsockopt(int(socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now) ==
            0);
    socket.abort();
}

} // namespace

class TestDccChat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void linesAsPeersSendThem_data();
    void linesAsPeersSendThem();
    void tooLongALineIsCut();
    void floodLeavesTheProgramFree_data();
    void floodLeavesTheProgramFree();
    void twoChatsWithOneNickApart();
    void peerNamedLikeAWindow();
    void peersCloseAsksOnce_data();
    void peersCloseAsksOnce();
    void okNoticeKeepsOutNoQuestion();
    void typedLines_data();
    void typedLines();
    void commandsRunInTheChat();
    void unreadCountAndLog();
    void listenerTakesOnePeer();
    void connectFailureLeavesNothing();
    void exitWithChatsOpenAsksNothing();

private:
    // A chat with `nick` whose peer is `peer`; nullptr on failure.
    frm_dccChat* openChat(const QString& nick, ChatPeer& peer);
    static QStringList linesOf(const frm_dccChat* chat) {
        return chat->console->Text().split(QStringLiteral("\r\n")).mid(1);
    }
    // The peer sends `bytes` and the chat has handled them once its window
    // shows `lastLine`.
    static bool peerSends(ChatPeer& peer, const QByteArrayList& packets);
    void type(frm_dccChat* chat, const QString& text) {
        chat->commandline->setText(text);
        QTest::keyClick(chat->commandline, Qt::Key_Return);
    }
    DccChatSockets& sockets() { return *m_c->p->mainFrame().dccChatSockets; }

    std::unique_ptr<IrcScriptedPeer> m_irc;
    std::unique_ptr<ClientFixture> m_c;
};

void TestDccChat::init() {
    m_irc = std::make_unique<IrcScriptedPeer>();
    m_c = std::make_unique<ClientFixture>(m_irc->host(), m_irc->port(), QStringLiteral("me"));
    m_c->set("SHOW_SERVERPING", QStringLiteral("0"));
    m_c->p->mainFrame().Show();
    QVERIFY(m_c->connect());
    QVERIFY(m_irc->waitForClient());
    QVERIFY(m_irc->waitForLines(2));
}

void TestDccChat::cleanup() {
    m_c.reset();
    m_irc.reset();
}

frm_dccChat* TestDccChat::openChat(const QString& nick, ChatPeer& peer) {
    if (!peer.server.listen(QHostAddress::LocalHost))
        return nullptr;
    const qsizetype before = DccChatWindows(*m_c->p).size();
    sockets().connectTo(nick, QStringLiteral("127.0.0.1"), peer.server.serverPort());
    if (!peer.server.waitForNewConnection(5000))
        return nullptr;
    peer.socket = peer.server.nextPendingConnection();
    QObject::connect(peer.socket, &QTcpSocket::readyRead, peer.socket,
                     [&peer] { peer.received += peer.socket->readAll(); });
    if (!QTest::qWaitFor([&] { return DccChatWindows(*m_c->p).size() > before; }, 5000))
        return nullptr;
    return DccChatWindows(*m_c->p).last();
}

bool TestDccChat::peerSends(ChatPeer& peer, const QByteArrayList& packets) {
    for (const QByteArray& packet : packets) {
        peer.socket->write(packet);
        if (!peer.socket->waitForBytesWritten(5000))
            return false;
        QTest::qWait(30);
    }
    return true;
}

void TestDccChat::linesAsPeersSendThem_data() {
    QTest::addColumn<QByteArrayList>("packets");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("word CR LF") << QByteArrayList{"word\r\n"} << QStringList{"<bob> word"};
    QTest::newRow("LF alone") << QByteArrayList{"word\n"} << QStringList{"<bob> word"};
    QTest::newRow("CR alone") << QByteArrayList{"word\r"} << QStringList{"<bob> word"};
    QTest::newRow("no line end") << QByteArrayList{"word"} << QStringList{};
    QTest::newRow("split over two packets")
        << QByteArrayList{"wo", "rd\r\n"} << QStringList{"<bob> word"};
    QTest::newRow("CR LF split") << QByteArrayList{"a\r", "\nb\r\n"}
                                 << QStringList{"<bob> a", "<bob> b"};
    QTest::newRow("two lines in one packet")
        << QByteArrayList{"one\r\ntwo\r\n"} << QStringList{"<bob> one", "<bob> two"};
    QTest::newRow("action") << QByteArrayList{"\x01"
                                              "ACTION waves\x01\r\n"}
                            << QStringList{"* bob waves"};
    QTest::newRow("action, any case, no closing") << QByteArrayList{"\x01"
                                                                    "action  waves \r\n"}
                                                  << QStringList{"* bob waves"};
    QTest::newRow("Latin-1") << QByteArrayList{"caf\xe9\n"} << QStringList{"<bob> caf\u00e9"};
    QTest::newRow("UTF-8") << QByteArrayList{"caf\xc3\xa9\n"} << QStringList{"<bob> caf\u00e9"};
}

void TestDccChat::linesAsPeersSendThem() {
    QFETCH(QByteArrayList, packets);
    QFETCH(QStringList, shown);
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    QVERIFY(peerSends(peer, packets + QByteArrayList{"\nend\n"}));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(chat).last(), QStringLiteral("<bob> end"), 5000);
    QStringList lines = linesOf(chat);
    QCOMPARE(lines.takeFirst(), QStringLiteral("DCC Connection Established"));
    lines.removeLast();
    // A line left without its end is ended by the marker's LF.
    if (packets == QByteArrayList{"word"})
        shown = QStringList{"<bob> word"};
    QCOMPARE(lines, shown);
}

void TestDccChat::tooLongALineIsCut() {
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    const QByteArray longLine(20 * 1024, 'x');
    QVERIFY(peerSends(peer, {longLine, "\nafter\n"}));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(chat).last(), QStringLiteral("<bob> after"), 5000);
    const QStringList lines = linesOf(chat);
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(1),
             QStringLiteral("<bob> ") + QString(DccChatSockets::ReceiveBufferBytes, u'x'));
}

void TestDccChat::floodLeavesTheProgramFree_data() {
    QTest::addColumn<int>("budgetMs");
    QTest::addColumn<bool>("closedByALine");
    // One line a turn: what else waits runs between two lines.
    QTest::newRow("one line a turn, closed from a call between lines") << 0 << false;
    QTest::newRow("unloaded by one of the lines of a turn") << 1000 << true;
}

void TestDccChat::floodLeavesTheProgramFree() {
    QFETCH(int, budgetMs);
    QFETCH(bool, closedByALine);
    constexpr int Lines = 200000;
    constexpr int CloseAt = 1000;
    sockets().setShowBudget(budgetMs);
    // The log keeps every line the window showed, after the window too.
    m_c->set("WIN_QUERY_LOGGING", QStringLiteral("TRUE"));
    QVERIFY(QDir(m_c->folder.path()).mkpath(QStringLiteral("logs")));
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    const QPointer<frm_dccChat> window(chat);
    const int index = chat->socketIndex();
    QByteArray flood;
    for (int n = 0; n < Lines; ++n)
        flood += "line " + QByteArray::number(n) + '\n';

    // With another window active each line shown counts as unread and
    // sets the chat panel's tip: seen here line by line, as it is shown.
    m_c->p->serverWindow().Show();
    QVERIFY(ActiveChild(*m_c->p) != chat);
    int shownAtClose = -1;
    EventWatcher lineShown(chat->ownPanel(), QEvent::ToolTipChange, [&] {
        if (!window || window->mwait() != CloseAt)
            return;
        if (closedByALine) {
            // The window goes while its line is being shown (its panel,
            // whose event this is, stays until the window is deleted).
            shownAtClose = window->mwait();
            window->Unload();
            return;
        }
        QTimer::singleShot(0, this, [&] {
            // The user closes the chat.
            shownAtClose = window->mwait();
            int cancel = 0;
            window->Form_QueryUnload(cancel, 0);
        });
    });
    int lastTurn = 0;
    int mostInATurn = 0;
    QTimer turns;
    turns.setInterval(0);
    connect(&turns, &QTimer::timeout, this, [&] {
        if (!window || shownAtClose >= 0)
            return;
        mostInATurn = std::max(mostInATurn, window->mwait() - lastTurn);
        lastTurn = window->mwait();
    });
    turns.start();
    peer.socket->write(flood);
    QTRY_VERIFY_WITH_TIMEOUT(!window, 20000);
    turns.stop();

    // The call queued in mid flood ran before the flood was shown.
    QVERIFY(shownAtClose >= CloseAt && shownAtClose < Lines);
    if (!closedByALine) {
        // The chat ended at the close.
        QVERIFY(!m_c->p->mainFrame().DCC->isLoaded(index));
        QTRY_COMPARE_WITH_TIMEOUT(peer.socket->state(), QAbstractSocket::UnconnectedState, 5000);
    }
    // The lines shown are every line from the first up to the close, in
    // order, and none after it.
    const QList<QByteArray> logged =
        m_c->folder.read(QStringLiteral("logs/DCC-bob.log")).split('\n');
    QCOMPARE(logged.size(), shownAtClose + 2);
    QCOMPARE(logged.first(), QByteArray("DCC Connection Established\r"));
    for (int n = 0; n < shownAtClose; ++n)
        QCOMPARE(logged.at(n + 1), "<bob> line " + QByteArray::number(n) + '\r');
    // No turn showed more than its budget allows: one line.
    if (budgetMs == 0)
        QCOMPARE(mostInATurn, 1);
}

void TestDccChat::twoChatsWithOneNickApart() {
    ChatPeer first;
    ChatPeer second;
    frm_dccChat* a = openChat(QStringLiteral("bob"), first);
    frm_dccChat* b = openChat(QStringLiteral("Bob"), second);
    QVERIFY(a && b);
    QVERIFY(peerSends(second, {"to b\n"}));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(b).last(), QStringLiteral("<Bob> to b"), 5000);
    QCOMPARE(linesOf(a).size(), 1);
    type(a, QStringLiteral("hi a"));
    QTRY_COMPARE_WITH_TIMEOUT(first.received, QByteArray("hi a\r\n"), 5000);
    QTest::qWait(30);
    QCOMPARE(second.received, QByteArray());
    // The switchbar reaches each through its own panel.
    const int panelOfA = m_c->panels().indexOf(QStringLiteral("bob")) + 1;
    QVERIFY(WindowOfPanel(*m_c->p, panelOfA) == a);
    QVERIFY(WindowOfPanel(*m_c->p, panelOfA + 1) == b);
}

void TestDccChat::peerNamedLikeAWindow() {
    Program& p = *m_c->p;
    p.mainFrame().ShowToolWindow(p.notifyWindow(), QStringLiteral("Notify"), 7);
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("Notify"), peer);
    QVERIFY(chat);
    QVERIFY(peerSends(peer, {"hello\n"}));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(chat).last(), QStringLiteral("<Notify> hello"), 5000);
    // Each panel stands for its own window.
    const QStringList panels = m_c->panels();
    const int toolPanel = panels.indexOf(QStringLiteral("Notify")) + 1;
    const int chatPanel = panels.lastIndexOf(QStringLiteral("Notify")) + 1;
    QVERIFY(toolPanel < chatPanel);
    QVERIFY(WindowOfPanel(p, toolPanel) == &p.notifyWindow());
    QVERIFY(WindowOfPanel(p, chatPanel) == chat);
    // Closing the chat takes its own panel, not the tool window's.
    int cancel = 0;
    chat->Form_QueryUnload(cancel, 0);
    QCOMPARE(m_c->panels().count(QStringLiteral("Notify")), 1);
    QVERIFY(WindowOfPanel(p, toolPanel) == &p.notifyWindow());
}

void TestDccChat::peersCloseAsksOnce_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("resets");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("close") << QByteArray() << false << QStringList{};
    QTest::newRow("lines, then close")
        << QByteArray("one\ntwo\n") << false << QStringList{"<bob> one", "<bob> two"};
    QTest::newRow("reset") << QByteArray() << true << QStringList{};
}

void TestDccChat::peersCloseAsksOnce() {
    QFETCH(QByteArray, before);
    QFETCH(bool, resets);
    QFETCH(QStringList, shown);
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbCancel);
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    const QPointer<frm_dccChat> window(chat);
    peer.socket->write(before);
    if (resets)
        reset(*peer.socket);
    else
        peer.socket->disconnectFromHost();
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 1, 5000);
    QCOMPARE(answers.requests().first().prompt, QStringLiteral("Close window?"));
    QCOMPARE(answers.requests().first().buttons, int(platform::vbOKCancel));
    const QStringList expected =
        QStringList{"DCC Connection Established"} + shown + QStringList{"DCC Connection Closed"};
    QCOMPARE(linesOf(chat), expected);
    QTest::qWait(50);
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(linesOf(chat), expected);
    QVERIFY(window);
    // Typed after the close: not shown as sent.
    type(chat, QStringLiteral("anyone?"));
    QCOMPARE(linesOf(chat).last(), QStringLiteral("DCC Connection Closed"));
    QVERIFY(!linesOf(chat).contains(QStringLiteral("<me> anyone?")));
}

void TestDccChat::okNoticeKeepsOutNoQuestion() {
    ScriptedAnswerer answers;
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    // A file offer of the user's is taken up: its "ok" stays open.
    answers.hold();
    DccFileTransfer& files = *m_c->p->mainFrame().dccFileTransfer;
    const int index = files.offerFile(m_c->folder.write(QStringLiteral("out.bin"), "file"));
    QVERIFY(index > 0);
    QTcpSocket receiver;
    receiver.connectToHost(QHostAddress::LocalHost,
                           quint16((*m_c->p->mainFrame().dccsend)[index]->LocalPort()));
    QTRY_COMPARE_WITH_TIMEOUT(answers.pendingCount(), 1, 5000);
    QCOMPARE(answers.requests().last().prompt, QStringLiteral("ok"));
    answers.hold(false);
    answers.queueMessageBoxAnswer(platform::vbNo);
    answers.queueMessageBoxAnswer(platform::vbCancel);
    // Meanwhile an offer is put to the user, and the chat's peer resets.
    m_c->markServerLines();
    m_irc->sendLine(":eve!e@h PRIVMSG me :\x01"
                    "DCC CHAT chat 2130706433 5000\x01");
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 2, 5000);
    QCOMPARE(answers.requests().last().prompt,
             QStringLiteral("Chat request from: eve!e@h\r\nChat with them?"));
    reset(*peer.socket);
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 3, 5000);
    QCOMPARE(answers.requests().last().prompt, QStringLiteral("Close window?"));
    QCOMPARE(linesOf(chat).last(), QStringLiteral("DCC Connection Closed"));
    QCOMPARE(answers.pendingCount(), 1);
    QCOMPARE(m_c->newServerLines(), QStringList());
    QVERIFY(answers.answerPending(platform::vbOK));
}

void TestDccChat::typedLines_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("sent");
    QTest::newRow("plain") << "hello there"
                           << "<me> hello there" << QByteArray("hello there\r\n");
    QTest::newRow("/me") << "/me waves"
                         << "* me waves"
                         << QByteArray("\x01"
                                       "ACTION waves\x01\r\n");
    QTest::newRow("/ME") << "/ME waves"
                         << "* me waves"
                         << QByteArray("\x01"
                                       "ACTION waves\x01\r\n");
    QTest::newRow("/me alone") << "/me"
                               << "* me "
                               << QByteArray("\x01"
                                             "ACTION\x01\r\n");
    QTest::newRow("UTF-8") << "caf\u00e9"
                           << "<me> caf\u00e9" << QByteArray("caf\xc3\xa9\r\n");
}

void TestDccChat::typedLines() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QByteArray, sent);
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    type(chat, typed);
    QTRY_COMPARE_WITH_TIMEOUT(peer.received, sent, 5000);
    QCOMPARE(linesOf(chat).last(), shown);
    QVERIFY(chat->commandline->text().isEmpty());
}

void TestDccChat::commandsRunInTheChat() {
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    m_c->markServerLines();
    // "/meow" and "/join" are commands: to the server, never the peer.
    const QByteArrayList sent = m_irc->sentBy(m_c->irc(), [&] {
        type(chat, QStringLiteral("/join #x"));
        type(chat, QStringLiteral("/meow"));
    });
    QCOMPARE(sent, (QByteArrayList{"JOIN #x", "meow"}));
    type(chat, QStringLiteral("/echo word"));
    // Shown where "echo" shows a line typed in a window that is neither a
    // channel's nor a query's.
    QCOMPARE(m_c->newServerLines().last(), QStringLiteral("word"));
    QCOMPARE(linesOf(chat), QStringList{"DCC Connection Established"});
    QTest::qWait(30);
    QCOMPARE(peer.received, QByteArray());
}

void TestDccChat::unreadCountAndLog() {
    m_c->set("WIN_QUERY_LOGGING", QStringLiteral("TRUE"));
    QVERIFY(QDir(m_c->folder.path()).mkpath(QStringLiteral("logs")));
    ChatPeer peer;
    frm_dccChat* chat = openChat(QStringLiteral("bob"), peer);
    QVERIFY(chat);
    m_c->p->serverWindow().Show();
    QVERIFY(ActiveChild(*m_c->p) != chat);
    QVERIFY(peerSends(peer, {"one\ntwo\nthree\n"}));
    QTRY_COMPARE_WITH_TIMEOUT(chat->mwait(), 3, 5000);
    QCOMPARE(chat->ownPanel()->ToolTipText(), QStringLiteral("|DCC| bob(3 messages waiting.)"));
    QVERIFY(m_c->panelShows(m_c->panels().indexOf(QStringLiteral("bob")) + 1, 10));
    // The log is written as the turn that showed the lines ends.
    QTRY_COMPARE_WITH_TIMEOUT(
        m_c->folder.read(QStringLiteral("logs/DCC-bob.log")),
        QByteArray("DCC Connection Established\r\n<bob> one\r\n<bob> two\r\n<bob> three\r\n"),
        5000);
    // Activated: counted from 0 again.
    chat->Show();
    QTRY_COMPARE_WITH_TIMEOUT(chat->mwait(), 0, 5000);
    QCOMPARE(chat->ownPanel()->ToolTipText(), QStringLiteral("|DCC| bob"));
}

void TestDccChat::listenerTakesOnePeer() {
    const int index = sockets().listenFor(QStringLiteral("bob"));
    QVERIFY(index > 0);
    const int port = (*m_c->p->mainFrame().DCC)[index]->LocalPort();
    QTcpSocket first;
    first.connectToHost(QHostAddress::LocalHost, quint16(port));
    QTRY_COMPARE_WITH_TIMEOUT(DccChatWindows(*m_c->p).size(), 1, 5000);
    QCOMPARE(DccChatWindows(*m_c->p).first()->socketIndex(), index);
    // The listener closed once it took its peer.
    QTcpSocket second;
    second.connectToHost(QHostAddress::LocalHost, quint16(port));
    QVERIFY(
        !second.waitForConnected(1000) ||
        (second.waitForDisconnected(2000), second.state() == QAbstractSocket::UnconnectedState));
    QCOMPARE(DccChatWindows(*m_c->p).size(), 1);
}

void TestDccChat::connectFailureLeavesNothing() {
    sockets().setTimeouts(300, 300);
    QTcpServer probe;
    QVERIFY(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    m_c->markServerLines();
    sockets().connectTo(QStringLiteral("bob"), QStringLiteral("127.0.0.1"), port);
    // Nobody reaches a listener in time either.
    const int index = sockets().listenFor(QStringLiteral("ann"));
    QTRY_COMPARE_WITH_TIMEOUT(m_c->p->mainFrame().DCC->Count(), 1, 5000);
    QVERIFY(!m_c->p->mainFrame().DCC->isLoaded(index));
    const QStringList lines = m_c->newServerLines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("DCC Chat Acknowledgement sent to: bob"));
    QVERIFY(lines.at(1).startsWith(QStringLiteral("Error: DCC chat with bob")));
    QVERIFY(lines.at(2).startsWith(QStringLiteral("Error: DCC chat with ann")));
    QVERIFY(DccChatWindows(*m_c->p).isEmpty());
}

void TestDccChat::exitWithChatsOpenAsksNothing() {
    ScriptedAnswerer answers;
    ChatPeer one;
    ChatPeer two;
    QVERIFY(openChat(QStringLiteral("bob"), one));
    QVERIFY(openChat(QStringLiteral("ann"), two));
    int ended = 0;
    m_c->p->endProgram = [&] { ++ended; };
    m_c->set("USE_CONFIRM_EXIT", QStringLiteral("0"));
    ExecCommand(*m_c->p, QStringLiteral("exit"));
    // The peers' closes come during the exit, and ask nothing.
    QTRY_COMPARE_WITH_TIMEOUT(ended, 1, 5000);
    QVERIFY(answers.requests().isEmpty());
    QVERIFY(DccChatWindows(*m_c->p).isEmpty());
    // Each peer sees its chat end.
    QTRY_COMPARE_WITH_TIMEOUT(one.socket->state(), QAbstractSocket::UnconnectedState, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(two.socket->state(), QAbstractSocket::UnconnectedState, 5000);
}

PARLONE_TEST_MAIN(TestDccChat)
#include "tst_dccchat.moc"
