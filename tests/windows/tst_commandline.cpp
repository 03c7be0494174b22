// The command line of the conversation windows: the control-code keys, the
// input history, and what Enter does with a line in a channel and in the
// server window, including lines pasted with breaks in them and lines too
// long for one message.

#include "core/mod_kernel.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QClipboard>

class TestCommandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void onlyLinesTheQueueTookAreShownAsSaid();
    void lineTypedWithoutConnectionIsNotShownAsSaid();
    void linesPastedAfterACloseDoNotRun();
    void controlCodeKeys_data();
    void controlCodeKeys();
    void historyKeys();
    void channelEnter_data();
    void channelEnter();
    void slashLineGoesTrimmedToTheDispatcher();
    void lineBreaksEnterLineByLine_data();
    void lineBreaksEnterLineByLine();
    void longLineGoesInSeveralMessages_data();
    void longLineGoesInSeveralMessages();
    void splitKeepsCharactersWhole_data();
    void splitKeepsCharactersWhole();
    void serverEnter_data();
    void serverEnter();

private:
    WindowFixture f;
};

void TestCommandLine::init() {
    f.start();
}

void TestCommandLine::cleanup() {
    f.stop();
}

void TestCommandLine::controlCodeKeys_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caretAfter");
    const QString hello = QStringLiteral("hello");
    QTest::newRow("Ctrl+K at the end") << int(Qt::Key_K) << 5 << hello + QChar(3) << 6;
    QTest::newRow("Ctrl+K mid-line") << int(Qt::Key_K) << 2 << hello + QChar(3) << 3;
    QTest::newRow("Ctrl+B at the end") << int(Qt::Key_B) << 5 << hello + QChar(2) << 6;
    QTest::newRow("Ctrl+B at the start") << int(Qt::Key_B) << 0 << hello + QChar(2) << 1;
    QTest::newRow("Ctrl+U mid-line") << int(Qt::Key_U) << 3 << hello + QChar(31) << 4;
    QTest::newRow("Ctrl+R mid-line") << int(Qt::Key_R) << 1 << hello + QChar(22) << 2;
}

void TestCommandLine::controlCodeKeys() {
    QFETCH(int, key);
    QFETCH(int, caret);
    QFETCH(QString, text);
    QFETCH(int, caretAfter);
    for (ConversationForm* window : std::initializer_list<ConversationForm*>{
             f.open<frm_chan>(QStringLiteral("#x")), &f.p->serverWindow()}) {
        window->Show();
        window->commandline->setText(QStringLiteral("hello"));
        window->commandline->setCursorPosition(caret);
        QTest::keyClick(window->commandline, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(window->commandline->text(), text);
        QCOMPARE(window->commandline->cursorPosition(), caretAfter);
    }
}

// 'a' entered before 'b': Up walks to the older entries and stops at the
// oldest; Down walks back and, below the newest, empties the line.
void TestCommandLine::historyKeys() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    QLineEdit* line = window->commandline;

    // Without a history the arrows leave what is typed.
    line->setText(QStringLiteral("typed"));
    QTest::keyClick(line, Qt::Key_Up);
    QTest::keyClick(line, Qt::Key_Down);
    QCOMPARE(line->text(), QStringLiteral("typed"));

    WindowFixture::enter(*window, QStringLiteral("/!a"));
    WindowFixture::enter(*window, QStringLiteral("/!b"));
    const struct {
        Qt::Key key;
        const char* text;
    } steps[] = {{Qt::Key_Up, "/!b"},   {Qt::Key_Up, "/!a"}, {Qt::Key_Up, "/!a"},
                 {Qt::Key_Down, "/!b"}, {Qt::Key_Down, ""},  {Qt::Key_Down, ""},
                 {Qt::Key_Up, "/!b"},   {Qt::Key_Tab, "/!b"}};
    for (const auto& step : steps) {
        QTest::keyClick(line, step.key);
        QCOMPARE(line->text(), QString::fromLatin1(step.text));
    }
    // Entering a line from the history stops browsing: Up starts again at
    // the newest, which is now that line.
    QTest::keyClick(line, Qt::Key_Up);
    QCOMPARE(line->text(), QStringLiteral("/!a"));
    QTest::keyClick(line, Qt::Key_Return);
    QTest::keyClick(line, Qt::Key_Up);
    QCOMPARE(line->text(), QStringLiteral("/!a"));
    QCOMPARE(WindowFixture::history(*window),
             (QStringList{QStringLiteral("/!a"), QStringLiteral("/!b"), QStringLiteral("/!a")}));
}

void TestCommandLine::channelEnter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("history");
    QTest::addColumn<QString>("left");
    QTest::newRow("plain text") << "hi" << QByteArrayList{"PRIVMSG #x :hi"} << "<me> hi"
                                << QStringList{"hi"} << "";
    QTest::newRow("blanks around") << "  hi there  " << QByteArrayList{"PRIVMSG #x :hi there"}
                                   << "<me> hi there" << QStringList{"  hi there  "} << "";
    QTest::newRow("blanks only") << "   " << QByteArrayList{} << "" << QStringList{} << "   ";
    QTest::newRow("empty") << "" << QByteArrayList{} << "" << QStringList{} << "";
    QTest::newRow("raw line") << "/!PING x" << QByteArrayList{"PING x"} << "!-> PING x"
                              << QStringList{"/!PING x"} << "";
}

void TestCommandLine::channelEnter() {
    QFETCH(QString, typed);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, shown);
    QFETCH(QStringList, history);
    QFETCH(QString, left);
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    const QString serverBefore = f.p->serverWindow().console->Text();
    QCOMPARE(f.sentBy([&] { WindowFixture::enter(*window, typed); }), sent);
    QCOMPARE(WindowFixture::history(*window), history);
    QCOMPARE(window->commandline->text(), left);
    // Plain text shows in the channel; a command's own output goes where
    // that command puts it (a raw line in the server window).
    const bool plain = !typed.trimmed().startsWith(u'/');
    QCOMPARE(WindowFixture::lastLine(*window->console), plain ? shown : QString());
    if (!plain)
        QCOMPARE(WindowFixture::lastLine(*f.p->serverWindow().console), shown);
    else
        QCOMPARE(f.p->serverWindow().console->Text(), serverBefore);
}

// The history keeps the line as typed; the dispatcher gets it trimmed, so it
// does what the trimmed line does.
void TestCommandLine::slashLineGoesTrimmedToTheDispatcher() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    const QByteArrayList typed =
        f.sentBy([&] { WindowFixture::enter(*window, QStringLiteral("   /join #x  ")); });
    QCOMPARE(WindowFixture::history(*window), QStringList{QStringLiteral("   /join #x  ")});
    QCOMPARE(window->commandline->text(), QString());
    const QByteArrayList trimmed = f.sentBy([&] {
        QString line = QStringLiteral("/join #x");
        ParseLine(*f.p, line, QStringLiteral("#x"));
    });
    QVERIFY(!trimmed.isEmpty());
    QCOMPARE(typed, trimmed);
}

void TestCommandLine::lineBreaksEnterLineByLine_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QString>("left");
    QTest::newRow("CR LF, last line left to edit")
        << ""
        << "hi\r\nQUIT :x" << QByteArrayList{"PRIVMSG #x :hi"} << "QUIT :x";
    QTest::newRow("every line ended") << ""
                                      << "a\nb\n"
                                      << QByteArrayList{"PRIVMSG #x :a", "PRIVMSG #x :b"} << "";
    QTest::newRow("CR alone, blank line skipped")
        << ""
        << "a\r\rb\r" << QByteArrayList{"PRIVMSG #x :a", "PRIVMSG #x :b"} << "";
    QTest::newRow("joins what was typed")
        << "say "
        << "hi\nthere" << QByteArrayList{"PRIVMSG #x :say hi"} << "there";
    QTest::newRow("a command among them") << ""
                                          << "/!PING a\nhi\n"
                                          << QByteArrayList{"PING a", "PRIVMSG #x :hi"} << "";
}

void TestCommandLine::lineBreaksEnterLineByLine() {
    QFETCH(QString, before);
    QFETCH(QString, pasted);
    QFETCH(QByteArrayList, sent);
    QFETCH(QString, left);
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    QLineEdit* line = window->commandline;
    line->setText(before);
    QGuiApplication::clipboard()->setText(pasted);
    QCOMPARE(f.sentBy([&] { QTest::keyClick(line, Qt::Key_V, Qt::ControlModifier); }), sent);
    QCOMPARE(line->text(), left);
    QCOMPARE(line->cursorPosition(), left.size());
    // The rest goes out on the next Enter, as a line of its own.
    if (!left.isEmpty())
        QCOMPARE(f.sentBy([&] { QTest::keyClick(line, Qt::Key_Return); }),
                 QByteArrayList{"PRIVMSG #x :" + left.toUtf8()});
}

// A line too long for one message goes out, and is shown, in pieces that a
// server can relay whole, whatever the lengths of the nick and the channel;
// nothing of it is lost.
void TestCommandLine::longLineGoesInSeveralMessages_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("channel");
    QTest::newRow("short names") << "me"
                                 << "#x";
    QTest::newRow("a long nick in a long channel") << QString(30, u'n') << u'#' + QString(49, u'c');
}

void TestCommandLine::longLineGoesInSeveralMessages() {
    QFETCH(QString, nick);
    QFETCH(QString, channel);
    f.p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), nick);
    auto* window = f.open<frm_chan>(channel);
    QString text;
    for (int i = 0; text.size() < 1500; ++i)
        text += QStringLiteral("word%1 é€ ").arg(i);
    text = text.left(1500).trimmed();
    const QByteArrayList sent = f.sentBy([&] { WindowFixture::enter(*window, text); });
    QVERIFY(sent.size() >= 4);
    // What the server relays: the sender's nick, user name (up to 10) and
    // host name (up to 63) in front, 510 bytes in all.
    const QByteArray relayed =
        ':' + nick.toUtf8() + '!' + QByteArray(10, 'u') + '@' + QByteArray(63, 'h') + ' ';
    const QByteArray head = "PRIVMSG " + channel.toUtf8() + " :";
    QString joined;
    for (const QByteArray& line : sent) {
        QVERIFY(line.startsWith(head));
        QVERIFY2(relayed.size() + line.size() <= 510, line.constData());
        const QByteArray piece = line.mid(head.size());
        QVERIFY2(piece.size() <= 400, line.constData());
        joined += QString::fromUtf8(piece);
    }
    QCOMPARE(joined, text);
    // Each piece is shown as its own line; the history keeps the whole line.
    const QStringList shown = window->console->Text().split(QStringLiteral("\r\n"));
    QCOMPARE(shown.size(), sent.size() + 1);
    QCOMPARE(shown.last(),
             u'<' + nick + QStringLiteral("> ") + QString::fromUtf8(sent.last().mid(head.size())));
    QCOMPARE(WindowFixture::history(*window), QStringList{text});
}

void TestCommandLine::splitKeepsCharactersWhole_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QStringList>("pieces");
    QTest::newRow("fits") << "abc" << 3 << QStringList{"abc"};
    QTest::newRow("no blank: cut anywhere") << "abcdefg" << 3 << QStringList{"abc", "def", "g"};
    QTest::newRow("two-byte letters") << "ééé" << 5 << QStringList{"éé", "é"};
    QTest::newRow("a pair stays a pair") << "a😀b" << 4 << QStringList{"a", "😀", "b"};
    QTest::newRow("before the last blank") << "ab cd ef" << 6 << QStringList{"ab cd", " ef"};
    QTest::newRow("blank ends the longest run") << "abc def" << 4 << QStringList{"abc", " def"};
    QTest::newRow("before a run of blanks")
        << "ab   cdefgh" << 6 << QStringList{"ab", "   cde", "fgh"};
    QTest::newRow("a blank only in front") << " abcdefg" << 4 << QStringList{" abc", "defg"};
    QTest::newRow("empty") << "" << 4 << QStringList{};
}

void TestCommandLine::splitKeepsCharactersWhole() {
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QStringList, pieces);
    QCOMPARE(ConversationForm::splitText(text, maxBytes), pieces);
}

void TestCommandLine::serverEnter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("plain text goes nowhere") << "hello" << QByteArrayList{};
    QTest::newRow("an empty line counts") << "" << QByteArrayList{};
    QTest::newRow("blanks count") << "  " << QByteArrayList{};
    QTest::newRow("a command runs") << "  /!PING s  " << QByteArrayList{"PING s"};
}

void TestCommandLine::serverEnter() {
    QFETCH(QString, typed);
    QFETCH(QByteArrayList, sent);
    frm_server& server = f.p->serverWindow();
    server.Show();
    WindowFixture::enter(server, QStringLiteral("first"));
    QCOMPARE(f.sentBy([&] { WindowFixture::enter(server, typed); }), sent);
    QCOMPARE(WindowFixture::history(server), (QStringList{typed, QStringLiteral("first")}));
    QCOMPARE(server.commandline->text(), QString());
}

// A paste larger than the send queue: the lines shown as said are exactly the
// lines that reach the server.
void TestCommandLine::onlyLinesTheQueueTookAreShownAsSaid() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    const qsizetype before = f.peer->lines().size();
    f.irc().setFloodControl(true);
    QStringList pasted;
    for (int i = 0; i < 1500; ++i)
        pasted.append(QStringLiteral("line %1").arg(i));
    QGuiApplication::clipboard()->setText(pasted.join(u'\n') + u'\n');
    QTest::keyClick(window->commandline, Qt::Key_V, Qt::ControlModifier);
    // Flood control off lets every line that waits go at once.
    f.irc().setFloodControl(false);
    const QStringList said =
        window->console->Text().split(QStringLiteral("\r\n")).filter(QStringLiteral("<me> line"));
    QVERIFY2(said.size() < pasted.size(), "the queue refused nothing");
    QVERIFY(f.peer->waitForLines(int(before + said.size())));
    QTest::qWait(100);
    const QByteArrayList received = f.peer->lines().mid(before);
    QCOMPARE(received.size(), said.size());
    for (qsizetype i = 0; i < said.size(); ++i)
        QCOMPARE(QString::fromUtf8(received.at(i)),
                 QStringLiteral("PRIVMSG #x :") + said.at(i).mid(5));
}

void TestCommandLine::lineTypedWithoutConnectionIsNotShownAsSaid() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    f.irc().CloseConnection();
    WindowFixture::enter(*window, QStringLiteral("hello"));
    const QString text = window->console->Text();
    QVERIFY(!text.contains(u"<me> hello"));
    QCOMPARE(WindowFixture::lastLine(*window->console),
             QStringLiteral("Error: not connected, line not sent"));
}

// "/close" among pasted lines: the window is gone for the program at once,
// so the lines after it are not said in it.
void TestCommandLine::linesPastedAfterACloseDoNotRun() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    QGuiApplication::clipboard()->setText(QStringLiteral("/close\nhello\n"));
    const QByteArrayList sent =
        f.sentBy([&] { QTest::keyClick(window->commandline, Qt::Key_V, Qt::ControlModifier); });
    QCOMPARE(sent, QByteArrayList{"PART #x"});
}

PARLONE_TEST_MAIN(TestCommandLine)
#include "tst_commandline.moc"
