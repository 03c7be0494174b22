// CTCP requests and replies from a scripted server: what is answered, what
// the reply limit lets through under a held clock, where actions go, the
// block list, the echo and its switch, and DCC offers: which are refused
// before anyone is asked, what the prompt shows, where an offered file
// lands (a relative folder or answer under the program folder, whose own
// files are kept apart), what an accepted offer does, and which nicks the
// "dcc" command offers nothing to.

#include "connection/CtcpHandler.h"
#include "connection/DccChatSockets.h"
#include "connection/DccFileTransfer.h"
#include "connection/DccOfferPrompts.h"
#include "core/ProgramVersion.h"
#include "core/mod_kernel.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_blocks.h"
#include "windows/frm_dccChat.h"
#include "windows/frm_query.h"

#include <QListWidget>
#include <QTcpServer>

class TestCtcpHandler : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void requests_data();
    void requests();
    void replyLimitUnderAHeldClock_data();
    void replyLimitUnderAHeldClock();
    void actions();
    void replyEcho_data();
    void replyEcho();
    void echoKeepsToOneLine();
    void offersRefused_data();
    void offersRefused();
    void offeredNamesLandInTheFolder_data();
    void offeredNamesLandInTheFolder();
    void downloadFolderInTheProgramFolder_data();
    void downloadFolderInTheProgramFolder();
    void noPromptWhileOneIsOpen();
    void acceptedChatConnectsToTheOffer();
    void acceptedFileReachesTheReceive();
    void relativeAnswerLandsInTheProgramFolder();
    void dccCommandsRefuseNicks_data();
    void dccCommandsRefuseNicks();

private:
    void serverSays(const QByteArrayList& lines) { m_c->serverSays(*m_peer, lines); }
    // What the client sent since the mark, PONGs of serverSays left out.
    QByteArrayList sentSinceMark();
    // The prompt of bob's offer of a file `name`, answered with Cancel.
    std::optional<platform::DialogRequest> fileOfferPrompt(const QByteArray& name);

    std::unique_ptr<IrcScriptedPeer> m_peer;
    std::unique_ptr<ClientFixture> m_c;
    qsizetype m_sentMark = 0;
};

void TestCtcpHandler::init() {
    m_peer = std::make_unique<IrcScriptedPeer>();
    m_c = std::make_unique<ClientFixture>(m_peer->host(), m_peer->port(), QStringLiteral("me"));
    m_c->set("SHOW_SERVERPING", QStringLiteral("0"));
    m_c->set("SHOW_CTCP", QStringLiteral("1"));
    m_c->p->clock.setFixed(QDateTime(QDate(2026, 1, 1), QTime(12, 0)));
    QVERIFY(m_c->connect());
    QVERIFY(m_peer->waitForClient());
    QVERIFY(m_peer->waitForLines(2));
    // Registered: notices from users are notices, not the server's.
    serverSays({":srv 001 me :Welcome"});
    m_sentMark = m_peer->lines().size();
    m_c->markServerLines();
}

void TestCtcpHandler::cleanup() {
    m_c.reset();
    m_peer.reset();
}

QByteArrayList TestCtcpHandler::sentSinceMark() {
    QByteArrayList sent;
    for (const QByteArray& line : m_peer->lines().mid(m_sentMark)) {
        if (!line.startsWith("PONG "))
            sent << line;
    }
    return sent;
}

std::optional<platform::DialogRequest> TestCtcpHandler::fileOfferPrompt(const QByteArray& name) {
    ScriptedAnswerer answers;
    answers.queueInputCancel();
    serverSays({":bob!b@h PRIVMSG me :\x01"
                "DCC SEND " +
                name + " 2130706433 5000 7\x01"});
    if (!QTest::qWaitFor([&] { return !answers.requests().isEmpty(); }, 5000))
        return std::nullopt;
    return answers.requests().first();
}

void TestCtcpHandler::requests_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QStringList>("echo");
    const QByteArray from = ":bob!b@h PRIVMSG me :";
    const ProgramVersion v = CurrentVersion();
    const QByteArray version = QStringLiteral("NOTICE bob :\x01VERSION Parlone v%1.%2.%3 ")
                                   .arg(v.major)
                                   .arg(v.minor)
                                   .arg(v.revision)
                                   .toUtf8();
    QTest::newRow("VERSION") << from + "\x01VERSION\x01"
                             << QByteArrayList{version + "- a desktop IRC client for Linux\x01"}
                             << QStringList{"-C- |bob!b@h/me| [VERSION] "};
    QTest::newRow("version, as received")
        << from + "\x01version\x01"
        << QByteArrayList{version + "- a desktop IRC client for Linux\x01"}
        << QStringList{"-C- |bob!b@h/me| [version] "};
    QTest::newRow("PING echoed unchanged")
        << from + "\x01PING 12345 x  y\x01" << QByteArrayList{"NOTICE bob :\x01PING 12345 x  y\x01"}
        << QStringList{"-C- |bob!b@h/me| [PING] 12345 x  y"};
    QTest::newRow("unknown command")
        << from + "\x01"
                  "FINGER\x01"
        << QByteArrayList{} << QStringList{"-C- |bob!b@h/me| [FINGER] "};
    QTest::newRow("to a channel") << QByteArray(":bob!b@h PRIVMSG #x :\x01PING 1\x01")
                                  << QByteArrayList{"NOTICE bob :\x01PING 1\x01"}
                                  << QStringList{"-C- |bob!b@h/#x| [PING] 1"};
}

void TestCtcpHandler::requests() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArrayList, sent);
    QFETCH(QStringList, echo);
    serverSays({line});
    QCOMPARE(sentSinceMark(), sent);
    QCOMPARE(m_c->newServerLines(), echo);
}

void TestCtcpHandler::replyLimitUnderAHeldClock_data() {
    QTest::addColumn<QByteArrayList>("requests");
    // How far the clock moves on after each request.
    QTest::addColumn<int>("stepSecs");
    QTest::addColumn<int>("replies");
    const auto ask = [](int nick, const char* what) {
        return ":n" + QByteArray::number(nick) + "!u@h PRIVMSG me :\x01" + what + "\x01";
    };
    // Five replies in thirty seconds, whoever asks and whatever for.
    QTest::newRow("VERSION then PING from one nick, a second apart")
        << QByteArrayList{ask(0, "VERSION"), ask(0, "PING 1")} << 1 << 2;
    QByteArrayList versions;
    QByteArrayList pings;
    QByteArrayList mixed;
    for (int i = 0; i < 20; ++i) {
        versions << ask(0, "VERSION");
        pings << ask(i, "PING 1");
        mixed << ask(i % 3, i % 2 == 0 ? "VERSION" : "PING 1");
    }
    QTest::newRow("twenty VERSIONs from one nick") << versions << 0 << 5;
    QTest::newRow("twenty PINGs from twenty nicks") << pings << 0 << 5;
    QTest::newRow("VERSIONs and PINGs from three nicks") << mixed << 0 << 5;
}

void TestCtcpHandler::replyLimitUnderAHeldClock() {
    QFETCH(QByteArrayList, requests);
    QFETCH(int, stepSecs);
    QFETCH(int, replies);
    Program& p = *m_c->p;
    const auto askAll = [&] {
        for (const QByteArray& request : requests) {
            serverSays({request});
            p.clock.setFixed(p.clock.now().addSecs(stepSecs));
        }
    };
    askAll();
    QCOMPARE(sentSinceMark().size(), replies);
    // The echo still shows every request.
    QCOMPARE(m_c->newServerLines().size(), requests.size());
    // Thirty seconds on, as many again.
    p.clock.setFixed(p.clock.now().addSecs(30));
    askAll();
    QCOMPARE(sentSinceMark().size(), 2 * replies);
}

void TestCtcpHandler::actions() {
    Program& p = *m_c->p;
    // In a channel window; no query opens.
    serverSays({":me!m@h JOIN #x"});
    QVERIFY(m_c->channel(QStringLiteral("#x")));
    serverSays({":bob!b@h PRIVMSG #x :\x01"
                "ACTION waves\x01"});
    QCOMPARE(m_c->channelLines(QStringLiteral("#x")).last(), QStringLiteral("* bob waves"));
    QCOMPARE(FindForm(p, QStringLiteral("?bob")), -1);
    // To the user: a hidden query window; an action is never echoed.
    serverSays({":bob!b@h PRIVMSG me :\x01"
                "ACTION waves back\x01"});
    const int index = FindForm(p, QStringLiteral("?bob"));
    QVERIFY(index >= 0);
    auto* query = qobject_cast<frm_query*>(p.forms().at(index));
    QVERIFY(query);
    QVERIFY(!query->Visible());
    QVERIFY(query->console->Text().endsWith(QStringLiteral("* bob waves back")));
    QCOMPARE(query->mwait(), 1);
    QVERIFY(m_c->newServerLines().isEmpty());
    // A blocked nick gets nothing: no echo, no reply, no window.
    p.blocksWindow().lst_blocked->addItem(QStringLiteral("EVE"));
    serverSays({":eve!e@h PRIVMSG me :\x01VERSION\x01", ":eve!e@h PRIVMSG me :\x01"
                                                        "ACTION x\x01"});
    QVERIFY(m_c->newServerLines().isEmpty());
    QVERIFY(sentSinceMark().isEmpty());
    QCOMPARE(FindForm(p, QStringLiteral("?eve")), -1);
}

void TestCtcpHandler::replyEcho_data() {
    QTest::addColumn<QString>("show");
    QTest::addColumn<bool>("shown");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("01") << "01" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("empty") << "" << false;
}

void TestCtcpHandler::replyEcho() {
    QFETCH(QString, show);
    QFETCH(bool, shown);
    m_c->set("SHOW_CTCPREPLY", show);
    serverSays({":bob!b@h NOTICE me :\x01VERSION other 1.0\x01"});
    QCOMPARE(m_c->newServerLines(),
             shown ? QStringList{"-C- |bob/me| [VERSION] other 1.0"} : QStringList{});
}

void TestCtcpHandler::echoKeepsToOneLine() {
    // A separator inside a request or reply is a blank, in the console and
    // in the server log alike.
    m_c->set("WIN_SERVER_LOGGING", QStringLiteral("TRUE"));
    m_c->set("SHOW_CTCPREPLY", QStringLiteral("1"));
    serverSays({":bob!b@h PRIVMSG me :\x01PING a\u2028b\u2029c\x01",
                ":bob!b@h NOTICE me :\x01VERSION x\u2028y\x01"});
    const QStringList echoes{"-C- |bob!b@h/me| [PING] a b c", "-C- |bob/me| [VERSION] x y"};
    QCOMPARE(m_c->newServerLines(), echoes);
    const QString log = QString::fromUtf8(m_c->folder.read(QStringLiteral("logs/server.log")));
    for (const QString& echo : echoes)
        QVERIFY2(log.contains(echo), qPrintable(log));
    QVERIFY(!log.contains(QChar::LineSeparator));
    QVERIFY(!log.contains(QChar::ParagraphSeparator));
}

void TestCtcpHandler::offersRefused_data() {
    QTest::addColumn<QByteArray>("line");
    const QByteArray from = ":bob!b@h PRIVMSG me :\x01"
                            "DCC ";
    QTest::newRow("empty name") << from + "SEND \"\" 2130706433 5000 7\x01";
    QTest::newRow("address 0") << from + "SEND f 0 5000 7\x01";
    QTest::newRow("address 2^32") << from + "SEND f 4294967296 5000 7\x01";
    QTest::newRow("address abc") << from + "CHAT chat abc 5000\x01";
    QTest::newRow("port 0") << from + "CHAT chat 2130706433 0\x01";
    QTest::newRow("port 70000") << from + "SEND f 2130706433 70000 7\x01";
    QTest::newRow("size -5") << from + "SEND f 2130706433 5000 -5\x01";
    QTest::newRow("size abc") << from + "SEND f 2130706433 5000 abc\x01";
    QTest::newRow("sender #x") << QByteArray(":#x!b@h PRIVMSG me :\x01"
                                             "DCC CHAT chat 2130706433 5000\x01");
    QTest::newRow("sender Notify") << QByteArray(":Notify!b@h PRIVMSG me :\x01"
                                                 "DCC CHAT chat 2130706433 5000\x01");
    QTest::newRow("sender bob,eve") << QByteArray(":bob,eve!b@h PRIVMSG me :\x01"
                                                  "DCC SEND f 2130706433 5000 7\x01");
}

void TestCtcpHandler::offersRefused() {
    QFETCH(QByteArray, line);
    ScriptedAnswerer answers;
    serverSays({line});
    QTest::qWait(20);
    QVERIFY(answers.requests().isEmpty());
    const QStringList shown = m_c->newServerLines();
    QCOMPARE(shown.size(), 2); // the echo and one error
    QVERIFY2(shown.last().startsWith(QStringLiteral("Error: ")), qPrintable(shown.last()));
    QVERIFY(sentSinceMark().isEmpty());
    QCOMPARE(m_c->p->mainFrame().DCC->Count(), 1);
}

void TestCtcpHandler::offeredNamesLandInTheFolder_data() {
    QTest::addColumn<QByteArray>("name");
    // The name in the prompt, and the one the default path ends in.
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("landed");
    QTest::newRow("../x") << QByteArray("../x") << "x"
                          << "x";
    QTest::newRow("/etc/passwd") << QByteArray("/etc/passwd") << "passwd"
                                 << "passwd";
    QTest::newRow("..\\..\\x") << QByteArray("..\\..\\x") << "x"
                               << "x";
    QTest::newRow("a\\x02b") << QByteArray("a\x02"
                                           "b")
                             << "a_b"
                             << "a_b";
    QTest::newRow("..") << QByteArray("..") << "_."
                        << "_.";
    QTest::newRow(".") << QByteArray(".") << "_"
                       << "_";
    QTest::newRow("unbalanced quote") << QByteArray("\"ab") << "\"ab"
                                      << "\"ab";
    QTest::newRow("quoted") << QByteArray("\"a b.txt\"") << "a b.txt"
                            << "a b.txt";
    QTest::newRow("taken") << QByteArray("old.txt") << "old.txt"
                           << "old_1.txt";
    // Names that would turn the prompt around or forge lines in it.
    QTest::newRow("right-to-left override")
        << QByteArray("x\u202e.txt\u202cClick") << "x_.txt_Click"
        << "x_.txt_Click";
    QTest::newRow("isolate") << QByteArray("\u2066txt.exe\u2069") << "_txt.exe_"
                             << "_txt.exe_";
    QTest::newRow("zero-width space") << QByteArray("a\u200b.exe") << "a_.exe"
                                      << "a_.exe";
    QTest::newRow("line separator")
        << QByteArray("x\u2028Size:\u00a01\u00a0bytes.") << "x_Size:\u00a01\u00a0bytes."
        << "x_Size:\u00a01\u00a0bytes.";
    QTest::newRow("paragraph separator") << QByteArray("x\u2029y") << "x_y"
                                         << "x_y";
    QTest::newRow("joiners kept") << QByteArray(
                                         "\u0645\u06cc\u200c\u062e\U0001F469\u200d\U0001F4BB")
                                  << "\u0645\u06cc\u200c\u062e\U0001F469\u200d\U0001F4BB"
                                  << "\u0645\u06cc\u200c\u062e\U0001F469\u200d\U0001F4BB";
}

void TestCtcpHandler::offeredNamesLandInTheFolder() {
    QFETCH(QByteArray, name);
    QFETCH(QString, shown);
    QFETCH(QString, landed);
    QTemporaryDir downloads;
    m_c->set("DEF_GET_DIR", downloads.path() + u'/');
    QFile old(downloads.filePath(QStringLiteral("old.txt")));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.close();
    const std::optional<platform::DialogRequest> asked = fileOfferPrompt(name);
    QVERIFY(asked);
    const platform::DialogRequest& prompt = *asked;
    QCOMPARE(prompt.title, QStringLiteral("File recieve"));
    QCOMPARE(prompt.prompt, QStringLiteral("bob!b@h is trying to send you a file.\r\n") + shown +
                                QStringLiteral(" Size: 7 bytes.\r\nClick OK to accept, or "
                                               "CANCEL to reject."));
    QCOMPARE(prompt.defaultText, downloads.path() + u'/' + landed);
    // Cancelled: nothing is sent, nothing received.
    QVERIFY(sentSinceMark().isEmpty());
    QCOMPARE(m_c->p->mainFrame().dccfile->Count(), 1);
}

void TestCtcpHandler::downloadFolderInTheProgramFolder_data() {
    // "<program>" stands for the program folder.
    QTest::addColumn<QString>("getDir");
    QTest::addColumn<QByteArray>("name");
    // Where the default path points, in the program folder.
    QTest::addColumn<QString>("landed");
    QTest::newRow("relative") << "downloads/" << QByteArray("x.txt") << "downloads/x.txt";
    QTest::newRow("relative, no slash") << "downloads" << QByteArray("x.txt") << "downloads/x.txt";
    QTest::newRow("cmd") << "cmd" << QByteArray("startup.ini") << "cmd/_startup.ini";
    QTest::newRow("cmd, other case") << "CMD/" << QByteArray("Startup.INI") << "cmd/_Startup.INI";
    QTest::newRow("cmd, absolute")
        << "<program>/cmd/" << QByteArray("startup.ini") << "cmd/_startup.ini";
    QTest::newRow("cmd, other names") << "cmd" << QByteArray("notes.txt") << "cmd/notes.txt";
    QTest::newRow("logs") << "logs/" << QByteArray("server.log") << "logs/_server.log";
    QTest::newRow("program folder") << "." << QByteArray("settings.ini") << "_settings.ini";
    QTest::newRow("program folder, through cmd")
        << "cmd/.." << QByteArray("main.win") << "_main_win";
}

void TestCtcpHandler::downloadFolderInTheProgramFolder() {
    QFETCH(QString, getDir);
    QFETCH(QByteArray, name);
    QFETCH(QString, landed);
    const QString program = m_c->p->folder();
    for (const char* folder : {"cmd", "logs", "downloads"})
        QVERIFY(QDir(program).mkpath(QLatin1StringView(folder)));
    m_c->set("DEF_GET_DIR", getDir.replace(QStringLiteral("<program>"), program));
    const std::optional<platform::DialogRequest> prompt = fileOfferPrompt(name);
    QVERIFY(prompt);
    QCOMPARE(prompt->defaultText, QDir(program).filePath(landed));
}

void TestCtcpHandler::noPromptWhileOneIsOpen() {
    ScriptedAnswerer answers;
    answers.hold();
    serverSays({":bob!b@h PRIVMSG me :\x01"
                "DCC CHAT chat 2130706433 5000\x01"});
    QTRY_COMPARE_WITH_TIMEOUT(answers.pendingCount(), qsizetype(1), 5000);
    // The connection goes on while the question is open; a second offer is
    // refused without a prompt.
    serverSays({":ann!a@h PRIVMSG me :\x01"
                "DCC SEND f 2130706433 5001 7\x01"});
    QCOMPARE(answers.requests().size(), 1);
    QVERIFY(m_c->newServerLines().last().startsWith(QStringLiteral("Error: DCC offer from ann")));
    QVERIFY(answers.answerPending(platform::vbNo));
    QTest::qWait(20);
    QCOMPARE(m_c->p->mainFrame().DCC->Count(), 1);
    // Answered, the next offer is asked again.
    answers.hold(false);
    answers.queueInputCancel();
    serverSays({":ann!a@h PRIVMSG me :\x01"
                "DCC SEND f 2130706433 5001 7\x01"});
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 2, 5000);
}

void TestCtcpHandler::acceptedChatConnectsToTheOffer() {
    QTcpServer offered;
    QVERIFY(offered.listen(QHostAddress::LocalHost));
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbYes);
    serverSays({":bob!b@h PRIVMSG me :\x01"
                "DCC CHAT chat 2130706433 " +
                QByteArray::number(offered.serverPort()) + "\x01"});
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 1, 5000);
    QCOMPARE(answers.requests().first().prompt,
             QStringLiteral("Chat request from: bob!b@h\r\nChat with them?"));
    QTRY_VERIFY_WITH_TIMEOUT(offered.hasPendingConnections(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(DccChatWindows(*m_c->p).size(), 1, 5000);
    frm_dccChat* chat = DccChatWindows(*m_c->p).first();
    QCOMPARE(chat->Tag(), QStringLiteral("bob"));
    QCOMPARE(chat->Caption(), QStringLiteral("DCC Chat to: bob"));
    QVERIFY(
        m_c->newServerLines().contains(QStringLiteral("DCC Chat Acknowledgement sent to: bob")));
    // Nothing goes back through the server: no "DCC CHAT accept".
    QVERIFY(sentSinceMark().isEmpty());
}

void TestCtcpHandler::acceptedFileReachesTheReceive() {
    QTemporaryDir downloads;
    m_c->set("DEF_GET_DIR", downloads.path() + u'/');
    QSignalSpy received(m_c->p->mainFrame().dccFileTransfer, &DccFileTransfer::receiveSetUp);
    ScriptedAnswerer answers;
    const QString taken = downloads.filePath(QStringLiteral("taken"));
    QFile file(taken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    // An existing path is refused with "File exists!" and asked again.
    answers.queueInput(taken);
    answers.queueMessageBoxAnswer(platform::vbOK);
    answers.queueInput(downloads.filePath(QStringLiteral("mine.txt")));
    serverSays({":bob!b@h PRIVMSG me :\x01"
                "DCC SEND notes.txt 2130706433 5000 42\x01"});
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
    QCOMPARE(answers.requests().size(), 3);
    QCOMPARE(answers.requests().at(1).prompt, QStringLiteral("File exists!"));
    QCOMPARE(answers.requests().at(2).defaultText, answers.requests().at(0).defaultText);
    const auto offer = received.first().at(0).value<DccOffer>();
    QCOMPARE(offer.address, 2130706433u);
    QCOMPARE(int(offer.port), 5000);
    QCOMPARE(offer.size, qint64(42));
    QCOMPARE(received.first().at(1).toString(), QStringLiteral("bob!b@h"));
    QCOMPARE(received.first().at(2).toString(), downloads.filePath(QStringLiteral("mine.txt")));
}

void TestCtcpHandler::relativeAnswerLandsInTheProgramFolder() {
    const QString program = m_c->p->folder();
    m_c->folder.write(QStringLiteral("taken"), "x");
    QSignalSpy received(m_c->p->mainFrame().dccFileTransfer, &DccFileTransfer::receiveSetUp);
    ScriptedAnswerer answers;
    // "taken" is the program folder's, whatever folder the program runs in.
    answers.queueInput(QStringLiteral("taken"));
    answers.queueMessageBoxAnswer(platform::vbOK);
    answers.queueInput(QStringLiteral("got/mine.txt"));
    serverSays({":bob!b@h PRIVMSG me :\x01"
                "DCC SEND notes.txt 2130706433 5000 42\x01"});
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 5000);
    QCOMPARE(answers.requests().size(), 3);
    QCOMPARE(answers.requests().at(1).prompt, QStringLiteral("File exists!"));
    const QString path = QDir(program).filePath(QStringLiteral("got/mine.txt"));
    QCOMPARE(received.first().at(2).toString(), path);
    // A relative path handed to the receive itself is the program folder's
    // too.
    DccFileTransfer& files = *m_c->p->mainFrame().dccFileTransfer;
    files.ReceiveSetUp(received.first().at(0).value<DccOffer>(), QStringLiteral("bob!b@h"),
                       QStringLiteral("again.txt"));
    QVERIFY(files.receiveDialog(QDir(program).filePath(QStringLiteral("again.txt"))));
}

void TestCtcpHandler::dccCommandsRefuseNicks_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("offered");
    QTest::newRow("chat bob") << "dcc chat bob" << true;
    QTest::newRow("chat bob,eve") << "dcc chat bob,eve" << false;
    QTest::newRow("send bob") << "dcc send bob" << true;
    QTest::newRow("send bob,eve") << "dcc send bob,eve" << false;
}

void TestCtcpHandler::dccCommandsRefuseNicks() {
    QFETCH(QString, command);
    QFETCH(bool, offered);
    Program& p = *m_c->p;
    const QString file = m_c->folder.write(QStringLiteral("notes.txt"), "hello");
    ExecCommand(p, command.contains(u"send") ? command + u' ' + file : command);
    serverSays({});
    const QByteArrayList sent = sentSinceMark();
    if (offered) {
        QCOMPARE(sent.size(), 1);
        QVERIFY2(sent.first().startsWith("PRIVMSG bob :\x01"
                                         "DCC "),
                 sent.first().constData());
        return;
    }
    QVERIFY(sent.isEmpty());
    QVERIFY(m_c->newServerLines().last().startsWith(QStringLiteral("Error: DCC ")));
    QCOMPARE(p.mainFrame().DCC->Count(), 1);
    QCOMPARE(p.mainFrame().dccsend->Count(), 1);
}

PARLONE_TEST_MAIN(TestCtcpHandler)
#include "tst_ctcphandler.moc"
