// The line dispatcher, command scripts and the command interpreter, with the
// IRC control connected to a scripted loopback peer that shows exactly what
// goes on the wire.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/CommandTable.h"
#include "core/ConversationWindow.h"
#include "core/ExpandLine.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/mod_kernel.h"
#include "core/mod_startup.h"
#include "tests/support/PeerWire.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QDir>
#include <QSignalSpy>

#include <functional>
#include <sys/stat.h>

using platform::DialogRequest;

class TestKernel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void dispatch_data();
    void dispatch();
    void lineIsWrittenBackTrimmed();
    void rawLineGoesOutOnceWithCrLf();
    void missingScriptIsReported();
    void scriptRunsEveryLineWithItsArguments();
    void laterScriptKeepsStaleSlots();
    void argumentRangeBoundedByScriptCount();
    void scriptCallingItsOwnNameSendsIt();
    void nestingStopsBelowSeventeen_data();
    void nestingStopsBelowSeventeen();
    void nestedScriptRestoresOuterArguments();
    void argumentsThatCopyThemselvesStayBounded();
    void remLinesSendNothing();
    void echoScriptWithServerLogging();
    void scriptNames_data();
    void scriptNames();
    void fallbackRunsScriptInAnyCase();
    void keywordsMatchWholeAndInAnyCase();
    void commandActsOnItsOwnWindow_data();
    void commandActsOnItsOwnWindow();
    void serverTextCommands();
    void messageBox();
    void connectAndDisconnect();
    void startupScript_data();
    void startupScript();
    void mainShowsTheVersionThroughTheInterpreter();

private:
    platform::Yarv& irc() { return *m_p->mainFrame().Yarv1; }
    absRichEdit& console() { return *m_p->serverWindow().console; }
    QString lastServerLine() { return console().Text().section(QStringLiteral("\r\n"), -1); }
    // The lines put on the wire while `action` runs.
    QByteArrayList sentBy(const std::function<void()>& action) { return m_wire->sentBy(action); }
    QByteArrayList sentByLine(const QString& line, const QString& tag = QString()) {
        return sentBy([&] {
            QString typed = line;
            ParseLine(*m_p, typed, tag);
        });
    }
    void script(const QString& name, const QByteArray& text) {
        m_folder->write(QStringLiteral("cmd/") + name, text);
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<PeerWire> m_wire;
    // Stands in for the modal windows a command may open ("info").
    std::unique_ptr<ScriptedAnswerer> m_answers;
};

void TestKernel::init() {
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    QDir().mkpath(m_folder->file(QStringLiteral("cmd")));
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 3)));
    m_p->serverWindow().Show();
    m_wire = std::make_unique<PeerWire>(irc());
    QVERIFY(m_wire->connected());
}

void TestKernel::cleanup() {
    m_p.reset();
    m_wire.reset();
    m_folder.reset();
    m_answers.reset();
}

void TestKernel::dispatch_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArrayList>("sent");

    QTest::newRow("// expands") << "//whois $TIME" << QByteArrayList{"whois 07:05:03"};
    QTest::newRow("/ does not") << "/whois $TIME" << QByteArrayList{"whois $TIME"};
    QTest::newRow("blanks around") << "   /whois bob   " << QByteArrayList{"whois bob"};
    QTest::newRow("blanks after the slash") << "/   whois bob" << QByteArrayList{"whois bob"};
    QTest::newRow("case as typed") << "/WHOIS Bob" << QByteArrayList{"WHOIS Bob"};
    QTest::newRow("runs of blanks kept") << "/whois  bob" << QByteArrayList{"whois  bob"};
    QTest::newRow("no leading slash") << "join #x" << QByteArrayList{};
    QTest::newRow("slash alone") << "/" << QByteArrayList{};
    QTest::newRow("blanks only") << "   " << QByteArrayList{};
    QTest::newRow("rem") << "/rem PRIVMSG bob :x" << QByteArrayList{};
    QTest::newRow("ls") << "/LS -l" << QByteArrayList{};
    QTest::newRow("info") << "/info" << QByteArrayList{};
    QTest::newRow("beep") << "/beep" << QByteArrayList{};
    QTest::newRow("dcc, neither chat nor send") << "/dcc resume bob" << QByteArrayList{};
}

void TestKernel::dispatch() {
    QFETCH(QString, line);
    QFETCH(QByteArrayList, sent);
    QCOMPARE(sentByLine(line), sent);
}

void TestKernel::lineIsWrittenBackTrimmed() {
    QString line = QStringLiteral("  /join #x  ");
    ParseLine(*m_p, line, QString(), QStringLiteral("unused"));
    QCOMPARE(line, QStringLiteral("/join #x"));
}

void TestKernel::rawLineGoesOutOnceWithCrLf() {
    const QByteArray before = m_wire->peer().received();
    QCOMPARE(sentByLine(QStringLiteral("/!  PRIVMSG bob :hi  there ")),
             QByteArrayList{"PRIVMSG bob :hi  there"});
    QVERIFY(
        m_wire->peer().received().mid(before.size()).startsWith("PRIVMSG bob :hi  there\r\nMARK "));
    QCOMPARE(lastServerLine(), QStringLiteral("!-> PRIVMSG bob :hi  there"));

    QCOMPARE(sentByLine(QStringLiteral("/!")), QByteArrayList{});
    QCOMPARE(lastServerLine(), QStringLiteral("!-> "));
}

void TestKernel::missingScriptIsReported() {
    QCOMPARE(sentByLine(QStringLiteral("/~nosuch  a b")), QByteArrayList{});
    QCOMPARE(lastServerLine(), QStringLiteral("-!- nosuch  a b \\cmd\\ batch doesnt exist"));
}

void TestKernel::scriptRunsEveryLineWithItsArguments() {
    script(QStringLiteral("greet"), "PRIVMSG $$1 :hello\r\nPRIVMSG $$1 :bye");
    QCOMPARE(sentByLine(QStringLiteral("/~greet bob")),
             (QByteArrayList{"PRIVMSG bob :hello", "PRIVMSG bob :bye"}));
    // A later /~ runs as well: nothing of the first run is left open.
    QCOMPARE(sentByLine(QStringLiteral("/~greet ann")),
             (QByteArrayList{"PRIVMSG ann :hello", "PRIVMSG ann :bye"}));
    QVERIFY(m_p->runningScripts.isEmpty());
}

void TestKernel::laterScriptKeepsStaleSlots() {
    script(QStringLiteral("show"), "SHOW $$1 $$2\n");
    QCOMPARE(sentByLine(QStringLiteral("/~show one two")), QByteArrayList{"SHOW one two"});
    QCOMPARE(sentByLine(QStringLiteral("/~show three")), QByteArrayList{"SHOW three two"});
}

void TestKernel::argumentRangeBoundedByScriptCount() {
    script(QStringLiteral("show"), "SHOW $$2-\n");
    script(QStringLiteral("range"), "SPLIT w1 w2 w3 w4 w5 w6\nRANGE $$2-\n");
    QCOMPARE(sentByLine(QStringLiteral("/~show p q r s t")), QByteArrayList{"SHOW q r s t"});
    // Three arguments: slots 4 and 5 still hold p q r s t's, and the line
    // before re-split the words into seven.
    QCOMPARE(sentByLine(QStringLiteral("/~range a b c")),
             (QByteArrayList{"SPLIT w1 w2 w3 w4 w5 w6", "RANGE b c"}));
}

void TestKernel::scriptCallingItsOwnNameSendsIt() {
    script(QStringLiteral("whois"), "whois $$1\r\n");
    QCOMPARE(sentByLine(QStringLiteral("/whois bob")), QByteArrayList{"whois bob"});
    script(QStringLiteral("loop"), "loop again\r\n");
    QCOMPARE(sentByLine(QStringLiteral("/~loop")), QByteArrayList{"loop again"});
}

void TestKernel::nestingStopsBelowSeventeen_data() {
    QTest::addColumn<int>("chain");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("16 deep runs") << 16 << QByteArrayList{"PRIVMSG bob :end of 16"};
    QTest::newRow("17 deep stops") << 17 << QByteArrayList{};
}

void TestKernel::nestingStopsBelowSeventeen() {
    QFETCH(int, chain);
    QFETCH(QByteArrayList, sent);
    for (int i = 1; i < chain; ++i)
        script(QStringLiteral("s%1").arg(i), QStringLiteral("s%1 x\n").arg(i + 1).toUtf8());
    script(QStringLiteral("s%1").arg(chain),
           QStringLiteral("PRIVMSG bob :end of %1\n").arg(chain).toUtf8());
    QCOMPARE(sentByLine(QStringLiteral("/s1")), sent);
    if (chain > MaxScriptDepth) {
        QCOMPARE(lastServerLine(),
                 QStringLiteral("-!- s17 x \\cmd\\ batch nested deeper than 16 scripts"));
    }
    QVERIFY(m_p->runningScripts.isEmpty());
}

void TestKernel::nestedScriptRestoresOuterArguments() {
    script(QStringLiteral("outer"), "OUT $$1 $$2-\r\ninner q\r\nOUT $$1 $$2-\r\n");
    script(QStringLiteral("inner"), "IN $$1 $$2 $$1-\r\n");
    QCOMPARE(sentByLine(QStringLiteral("/~outer a b c")),
             (QByteArrayList{"OUT a b c", "IN q b q", "OUT a b c"}));
    QCOMPARE(m_p->scriptArgCount, 3);
}

void TestKernel::argumentsThatCopyThemselvesStayBounded() {
    // Each script calls the next with ten copies of its own arguments: ten to
    // the sixteenth arguments at the end, were they not capped.
    const QString copies = QStringLiteral(" $$1-").repeated(10);
    for (int i = 1; i < MaxScriptDepth; ++i)
        script(QStringLiteral("g%1").arg(i),
               (QStringLiteral("g%1").arg(i + 1) + copies + u'\n').toUtf8());
    script(QStringLiteral("g%1").arg(MaxScriptDepth), "PRIVMSG bob $$3\n");
    QCOMPARE(sentByLine(QStringLiteral("/~g1 a b c d e f g h i j")),
             QByteArrayList{"PRIVMSG bob c"});
    QVERIFY(m_p->BatchArgs.size() <= MaxScriptArgs + 1);
    QVERIFY(m_p->runningScripts.isEmpty());

    const QString wide = QStringLiteral("x").repeated(1000);
    script(QStringLiteral("wide"), "ECHO $$1- $$1- $$1- $$1- $$1- $$1- $$1- $$1-\n");
    QString line = QStringLiteral("/~wide ") + (wide + u' ').repeated(MaxScriptArgs);
    ParseLine(*m_p, line);
    QVERIFY(ExpandLine(*m_p, QStringLiteral("ECHO $$1- $$1- $$1- $$1- $$1- $$1- $$1-")).size() <=
            MaxExpandedLine);
}

void TestKernel::remLinesSendNothing() {
    script(QStringLiteral("commented"), "rem PRIVMSG bob :no\nREM whois bob\nPRIVMSG bob :yes\n");
    QCOMPARE(sentByLine(QStringLiteral("/~commented")), QByteArrayList{"PRIVMSG bob :yes"});
}

void TestKernel::echoScriptWithServerLogging() {
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_LOGGING"), QStringLiteral("TRUE"));
    script(QStringLiteral("lines"), "echo one\r\necho two $$1\r\n\r\necho three\r\n");
    QCOMPARE(sentByLine(QStringLiteral("/~lines 2")), QByteArrayList{});
    QVERIFY(console().Text().endsWith(QStringLiteral("\r\none\r\ntwo 2\r\nthree")));
    const QString log = QString::fromUtf8(m_folder->read(QStringLiteral("logs/server.log")));
    QVERIFY2(log.indexOf(u"one") < log.indexOf(u"two 2") &&
                 log.indexOf(u"two 2") < log.indexOf(u"three") && log.indexOf(u"one") >= 0,
             qPrintable(log));
}

void TestKernel::scriptNames_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("shown");

    const QString missing = QStringLiteral("-!- %1 \\cmd\\ batch doesnt exist");
    QTest::newRow("dots inside") << "/~startup.ini" << QByteArrayList{"STARTUP"} << "";
    QTest::newRow("any letter case") << "/~STARTUP.INI" << QByteArrayList{"STARTUP"} << "";
    QTest::newRow("up and out") << "/~../outside" << QByteArrayList{} << missing.arg(u"../outside");
    QTest::newRow("sub folder") << "/~sub/inner" << QByteArrayList{} << missing.arg(u"sub/inner");
    QTest::newRow("backslash") << "/~sub\\inner" << QByteArrayList{} << missing.arg(u"sub\\inner");
    QTest::newRow("dot") << "/~." << QByteArrayList{} << missing.arg(u".");
    QTest::newRow("dot dot") << "/~.." << QByteArrayList{} << missing.arg(u"..");
    QTest::newRow("control character") << QStringLiteral("/~start\x01up.ini") << QByteArrayList{}
                                       << missing.arg(QStringLiteral("start\x01up.ini"));
    QTest::newRow("folder") << "/~sub" << QByteArrayList{} << missing.arg(u"sub");
    QTest::newRow("pipe") << "/~pipe" << QByteArrayList{} << missing.arg(u"pipe");
    QTest::newRow("nothing") << "/~" << QByteArrayList{} << missing.arg(u"");
    // The fallback sends a word that is no runnable script.
    QTest::newRow("fallback: up and out")
        << "/../outside x" << QByteArrayList{"../outside x"} << "";
    QTest::newRow("fallback: folder") << "/sub x" << QByteArrayList{"sub x"} << "";
    QTest::newRow("fallback: pipe") << "/pipe x" << QByteArrayList{"pipe x"} << "";
}

void TestKernel::scriptNames() {
    QFETCH(QString, line);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, shown);
    m_folder->write(QStringLiteral("outside"), "PRIVMSG bob :escaped\n");
    script(QStringLiteral("Startup.Ini"), "STARTUP\n");
    script(QStringLiteral("sub/inner"), "PRIVMSG bob :inner\n");
    QCOMPARE(::mkfifo(qPrintable(m_folder->file(QStringLiteral("cmd/pipe"))), 0600), 0);
    const QString before = console().Text();
    QCOMPARE(sentByLine(line), sent);
    if (shown.isEmpty())
        QCOMPARE(console().Text(), before);
    else
        QCOMPARE(lastServerLine(), shown);
}

void TestKernel::fallbackRunsScriptInAnyCase() {
    // The folder too is found in any letter case.
    QDir(m_folder->path()).rename(QStringLiteral("cmd"), QStringLiteral("CMD"));
    m_folder->write(QStringLiteral("CMD/Greet"), "PRIVMSG $$1 :hello $$2\n");
    QCOMPARE(sentByLine(QStringLiteral("/GREET bob  you")), QByteArrayList{"PRIVMSG bob :hello"});
    QCOMPARE(sentByLine(QStringLiteral("/greet ann x")), QByteArrayList{"PRIVMSG ann :hello x"});
}

void TestKernel::keywordsMatchWholeAndInAnyCase() {
    // Every keyword is listed once, in lower case.
    QStringList keywords;
    for (const Command& command : CommandTable())
        keywords << QString(command.keyword);
    QCOMPARE(keywords.size(), 43);
    QCOMPARE(QSet<QString>(keywords.cbegin(), keywords.cend()).size(), keywords.size());
    QVERIFY(FindCommand(u"msgbox") != FindCommand(u"msg"));
    QCOMPARE(FindCommand(u"msgx"), nullptr);

    // A script named like a built keyword does not replace it.
    script(QStringLiteral("echo"), "PRIVMSG bob :script\n");
    QCOMPARE(sentByLine(QStringLiteral("/ECHO loud")), QByteArrayList{});
    QCOMPARE(lastServerLine(), QStringLiteral("loud"));
    QCOMPARE(sentByLine(QStringLiteral("/echox quiet")), QByteArrayList{"echox quiet"});
}

void TestKernel::commandActsOnItsOwnWindow_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("inChannel");
    QTest::addColumn<QString>("inQuery");
    QTest::addColumn<QString>("inServer");

    // "?bob" is the active child.
    QTest::newRow("active child") << "/echo hi"
                                  << ""
                                  << ""
                                  << "hi"
                                  << "";
    QTest::newRow("typed in the channel") << "/echo hi"
                                          << "#a"
                                          << "hi"
                                          << ""
                                          << "";
    QTest::newRow("tag in another case") << "/echo hi"
                                         << "#A"
                                         << "hi"
                                         << ""
                                         << "";
    QTest::newRow("$CHAN of the channel") << "//echo $CHAN"
                                          << "#a"
                                          << "#a"
                                          << ""
                                          << "";
    QTest::newRow("$NICK of the query") << "//echo $NICK"
                                        << "?bob"
                                        << ""
                                        << "bob"
                                        << "";
    QTest::newRow("server window") << "/echo hi"
                                   << "Server"
                                   << ""
                                   << ""
                                   << "hi";
    QTest::newRow("window without display") << "/echo hi"
                                            << "#plain"
                                            << ""
                                            << ""
                                            << "hi";
    QTest::newRow("window gone") << "/echo hi"
                                 << "#gone"
                                 << ""
                                 << ""
                                 << "hi";
    QTest::newRow("trimmed tail") << "/echo   two  words"
                                  << "#a"
                                  << "two  words"
                                  << ""
                                  << "";
    QTest::newRow("nothing to show") << "/echo"
                                     << "#a"
                                     << ""
                                     << ""
                                     << "";
}

void TestKernel::commandActsOnItsOwnWindow() {
    QFETCH(QString, line);
    QFETCH(QString, tag);
    QFETCH(QString, inChannel);
    QFETCH(QString, inQuery);
    QFETCH(QString, inServer);
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_NOTICECOLOR"),
                           QString::number(m_p->palette.color(4)));
    auto* channel = new RecordingChannel(*m_p, QStringLiteral("#a"));
    channel->Show();
    // A window with a channel's tag that shows no lines of its own.
    auto* plain = new Form(*m_p, Form::Kind::MdiChild, QStringLiteral("#plain"));
    plain->Show();
    auto* query = new RecordingWindow(*m_p, QStringLiteral("?bob"));
    query->Show();
    const QString before = console().Text();

    QCOMPARE(sentByLine(line, tag), QByteArrayList{});
    QCOMPARE(channel->lines.join(u'|'), inChannel);
    QCOMPARE(query->lines.join(u'|'), inQuery);
    if (inServer.isEmpty()) {
        QCOMPARE(console().Text(), before);
    } else {
        QCOMPARE(lastServerLine(), inServer);
        // In the notice colour.
        console().setSelStart(static_cast<qint32>(console().Text().size() - 1));
        console().setSelLength(1);
        QCOMPARE(console().SelColor(), m_p->palette.color(4));
    }
}

void TestKernel::serverTextCommands() {
    QCOMPARE(sentByLine(QStringLiteral("/secho  two  words")), QByteArrayList{});
    QCOMPARE(lastServerLine(), QStringLiteral(" two  words "));
    QCOMPARE(sentByLine(QStringLiteral("/SECHO")), QByteArrayList{});
    QCOMPARE(lastServerLine(), QString());
}

void TestKernel::messageBox() {
    ScriptedAnswerer answers;
    QCOMPARE(sentByLine(QStringLiteral("/msgbox two words")), QByteArrayList{});
    QCOMPARE(answers.requests().size(), 1);
    const DialogRequest& box = answers.requests().constFirst();
    QCOMPARE(box.kind, DialogRequest::MessageBox);
    QCOMPARE(box.prompt, QStringLiteral("two words "));
    QCOMPARE(box.title, QStringLiteral("Parlone Alert"));
    QCOMPARE(box.buttons, int(platform::vbOKOnly));
}

void TestKernel::connectAndDisconnect() {
    QSignalSpy closed(&irc(), &platform::Yarv::Disconnected);
    const QByteArray before = m_wire->peer().received();
    QString line = QStringLiteral("/DISCONNECT");
    ParseLine(*m_p, line);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(lastServerLine(), QStringLiteral("Disconnected!"));
    QCOMPARE(m_wire->peer().received(), before); // nothing went out on the way

    // The profile is empty: connecting reports what is missing.
    line = QStringLiteral("/connect");
    ParseLine(*m_p, line);
    QVERIFY(console().Text().contains(QStringLiteral("Connect Error(s): ")));
}

void TestKernel::startupScript_data() {
    QTest::addColumn<QString>("use");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("on and welcomed") << "1" << true << QByteArrayList{"JOIN #start"};
    QTest::newRow("not welcomed yet") << "1" << false << QByteArrayList{};
    QTest::newRow("off") << "0" << true << QByteArrayList{};
    QTest::newRow("not set") << "" << true << QByteArrayList{};
}

void TestKernel::startupScript() {
    QFETCH(QString, use);
    QFETCH(bool, connected);
    QFETCH(QByteArrayList, sent);
    script(QStringLiteral("startup.ini"), "JOIN #start\r\n");
    m_p->settings.setValue(QStringLiteral("USE_STARTUPINI"), use);
    m_p->ServerConnected = connected;
    QCOMPARE(sentBy([&] { RunStartupScript(*m_p); }), sent);
}

void TestKernel::mainShowsTheVersionThroughTheInterpreter() {
    TempProgramFolder folder;
    // The keyword wins over a script of the same name.
    folder.write(QStringLiteral("cmd/Version"), "secho from the version script\r\n");
    ScriptedAnswerer answers; // a first start may ask about the walkthrough
    answers.queueMessageBoxAnswer(platform::vbNo);
    Program p(folder.path());
    Main(p);
    const QString text = p.serverWindow().console->Text();
    QVERIFY(text.contains(QStringLiteral("Parlone Version ")));
    QVERIFY(!text.contains(QStringLiteral("from the version script")));
}

PARLONE_TEST_MAIN(TestKernel)
#include "tst_kernel.moc"
