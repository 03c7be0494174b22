// How a channel or query window shows a line: the timestamp its family's
// setting decides, the log file named after its tag (kept safe and inside
// logs), the colour in front, and the line drawn at the end of the console.

#include "core/ConversationWindow.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_chan.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QDir>
#include <QFileInfo>

class TestDisp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void timestampAndLog_data();
    void timestampAndLog();
    void colourInFront_data();
    void colourInFront();
    void lineNeverReplacesTheSelection();
    void logNames_data();
    void logNames();
    void channelAndQueryOfOneNameShareALog();
    void logIsWrittenAtTheTurnsEndAndMadeAnew();
    void aTurnsLinesGoOutInOrder();
    void endingProgramWritesWhatLogsHold();
    void plainFileForLogsStillDraws();
    void fifoAtTheLogsPathIsNotWritten();
    void echoTypedInAChannelShowsThere();

private:
    QString logs(const QString& name = QString()) const {
        return f.folder->file(QStringLiteral("logs/") + name);
    }
    QByteArray logBytes(const QString& name) const {
        return f.folder->read(QStringLiteral("logs/") + name);
    }
    // The lines of a turn reach the logs when the event loop runs again.
    static void endTurn() { QCoreApplication::processEvents(); }

    WindowFixture f;
};

void TestDisp::init() {
    f.start();
    f.p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(9, 5, 42)));
    QDir().mkpath(logs());
}

void TestDisp::cleanup() {
    f.stop();
}

void TestDisp::timestampAndLog_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("flag");
    QTest::addColumn<QString>("logging");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("TRUE, flag off") << "TRUE" << false << "TRUE"
                                    << "hello"
                                    << "[9:5] hello";
    QTest::newRow("TRUE, flag on") << "TRUE" << true << "TRUE"
                                   << "hello"
                                   << "[9:5] hello";
    QTest::newRow("FALSE, flag on") << "FALSE" << true << "TRUE"
                                    << "hello"
                                    << "hello";
    QTest::newRow("FALSE, flag off") << "FALSE" << false << "TRUE"
                                     << "hello"
                                     << "hello";
    QTest::newRow("unset, flag on") << "" << true << "TRUE"
                                    << "hello"
                                    << "[9:5] hello";
    QTest::newRow("unset, flag off") << "" << false << "TRUE"
                                     << "hello"
                                     << "hello";
    QTest::newRow("other, flag on") << "true" << true << "TRUE"
                                    << " hi "
                                    << "[9:5]  hi ";
    QTest::newRow("other, flag off") << "true" << false << "TRUE"
                                     << "hello"
                                     << "hello";
    QTest::newRow("logging off") << "TRUE" << false << "true"
                                 << "hello"
                                 << "[9:5] hello";
    QTest::newRow("empty text") << "TRUE" << true << "TRUE"
                                << ""
                                << "";
    QTest::newRow("blank text") << "TRUE" << true << "TRUE"
                                << "   "
                                << "";
}

void TestDisp::timestampAndLog() {
    QFETCH(QString, setting);
    QFETCH(bool, flag);
    QFETCH(QString, logging);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_TIMESTAMP"), setting);
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), logging);
    auto* window = f.open<frm_chan>(QStringLiteral("#chan"));
    window->disp(QStringLiteral("first"), false);
    endTurn();
    const QByteArray logBefore = logBytes(QStringLiteral("chan.log"));
    const QString before = window->console->Text();

    window->disp(text, flag);
    if (shown.isEmpty()) {
        QCOMPARE(window->console->Text(), before);
    } else {
        QCOMPARE(window->console->Text(), before + QStringLiteral("\r\n") + shown);
        QCOMPARE(window->console->SelStart(), window->console->FileSize());
    }
    const bool logged = logging == u"TRUE" && !shown.isEmpty();
    endTurn();
    QCOMPARE(logBytes(QStringLiteral("chan.log")),
             logBefore + (logged ? shown.toUtf8() + "\r\n" : QByteArray()));
}

void TestDisp::colourInFront_data() {
    QTest::addColumn<QString>("col");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("index");
    QTest::newRow("palette colour") << "RED"
                                    << "hello" << 4;
    QTest::newRow("outside the palette") << QString::number(0x123456) << "hello" << 1;
    QTest::newRow("not a number") << "abc"
                                  << "hello" << 1;
    QTest::newRow("none: the family's colour") << ""
                                               << "hello" << 2;
    QTest::newRow("text starting with digits") << "RED"
                                               << "5 users" << 4;
    QTest::newRow("text starting with a comma") << ""
                                                << ",12 ok" << 2;
}

void TestDisp::colourInFront() {
    QFETCH(QString, col);
    QFETCH(QString, text);
    QFETCH(int, index);
    const Palette& palette = f.p->palette;
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_CONSOLE_FORECOLOR"),
                           QString::number(palette.color(2)));
    auto* window = f.open<frm_chan>(QStringLiteral("#chan"));
    absRichEdit& console = *window->console;
    // A dark console: a line on palette 0 would show as a light strip.
    console.setBackColor(palette.color(1));
    window->disp(text, false, col == u"RED" ? QString::number(palette.color(4)) : col);
    QCOMPARE(WindowFixture::lastLine(console), text);
    console.setSelStart(console.FileSize() - 1);
    console.setSelLength(1);
    QCOMPARE(console.SelColor(), palette.color(index));
    // The line stands on the console's own background.
    QCOMPARE(console.SelFontBackColor(), -1);
}

void TestDisp::lineNeverReplacesTheSelection() {
    auto* window = f.open<frm_chan>(QStringLiteral("#chan"));
    window->disp(QStringLiteral("one"));
    window->disp(QStringLiteral("two"));
    absRichEdit& console = *window->console;
    console.setSelStart(2);
    console.setSelLength(3);
    window->disp(QStringLiteral("three"));
    QCOMPARE(console.Text(), QStringLiteral("\r\none\r\ntwo\r\nthree"));
    QCOMPARE(console.SelStart(), console.FileSize());
}

void TestDisp::logNames_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("existing");
    QTest::addColumn<QString>("file");
    QTest::newRow("channel") << "#chan"
                             << ""
                             << "chan.log";
    QTest::newRow("other letter case") << "#Chan"
                                       << "chan.log"
                                       << "chan.log";
    QTest::newRow("parent folder") << "#../x"
                                   << ""
                                   << "_._x.log";
    QTest::newRow("separator") << "#a/b"
                               << ""
                               << "a_b.log";
    QTest::newRow("backslash in a nick") << "?ni\\ck"
                                         << ""
                                         << "ni_ck.log";
    QTest::newRow("the server log") << "#server"
                                    << "server.log"
                                    << "_server.log";
    QTest::newRow("a chat's log, channel") << "#DCC-bob"
                                           << ""
                                           << "_DCC-bob.log";
    QTest::newRow("a chat's log, query") << "?DCC-bob"
                                         << ""
                                         << "_DCC-bob.log";
    QTest::newRow("a hidden name") << "#.x"
                                   << ""
                                   << "_x.log";
}

void TestDisp::logNames() {
    QFETCH(QString, tag);
    QFETCH(QString, existing);
    QFETCH(QString, file);
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    f.p->settings.setValue(QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    if (!existing.isEmpty())
        f.folder->write(QStringLiteral("logs/") + existing, "old\r\n");
    ConversationWindow* window = tag.startsWith(u'#')
                                     ? static_cast<ConversationWindow*>(f.open<frm_chan>(tag))
                                     : f.open<frm_query>(tag);
    window->disp(QStringLiteral("hello"));
    endTurn();

    QStringList expected{file};
    if (!existing.isEmpty() && existing != file)
        expected << existing;
    expected.sort();
    QCOMPARE(QDir(logs()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
    QCOMPARE(logBytes(file), QByteArray(existing == file ? "old\r\nhello\r\n" : "hello\r\n"));
    if (!existing.isEmpty())
        QCOMPARE(logBytes(existing), QByteArray(existing == file ? "old\r\nhello\r\n" : "old\r\n"));
    // Nothing beside the logs folder was written.
    QCOMPARE(QDir(f.folder->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("logs")});
}

void TestDisp::channelAndQueryOfOneNameShareALog() {
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    f.p->settings.setValue(QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    auto* channel = f.open<frm_chan>(QStringLiteral("#x"));
    auto* query = f.open<frm_query>(QStringLiteral("?X"));
    channel->disp(QStringLiteral("in the channel"));
    query->disp(QStringLiteral("in the query"));
    channel->disp(QStringLiteral("channel again"));
    endTurn();
    // A later turn: the query's own spelling of the name finds the file the
    // channel made.
    query->disp(QStringLiteral("query again"));
    endTurn();
    QCOMPARE(QDir(logs()).entryList(QDir::Files), QStringList{QStringLiteral("x.log")});
    QCOMPARE(logBytes(QStringLiteral("x.log")),
             QByteArray("in the channel\r\nin the query\r\nchannel again\r\nquery again\r\n"));
}

// A turn's lines are in the file once the event loop runs again, and the
// file is not held meanwhile, so a log removed between turns is made anew.
void TestDisp::logIsWrittenAtTheTurnsEndAndMadeAnew() {
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    window->disp(QStringLiteral("one"));
    window->disp(QStringLiteral("two"));
    QVERIFY(!QFile::exists(logs(QStringLiteral("x.log"))));
    endTurn();
    QCOMPARE(logBytes(QStringLiteral("x.log")), QByteArray("one\r\ntwo\r\n"));
    QVERIFY(QFile::remove(logs(QStringLiteral("x.log"))));
    window->disp(QStringLiteral("three"));
    endTurn();
    QCOMPARE(logBytes(QStringLiteral("x.log")), QByteArray("three\r\n"));
}

// A flood in one turn: every line once, in the order shown, while lines of
// another window go to their own file.
void TestDisp::aTurnsLinesGoOutInOrder() {
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    f.folder->write(QStringLiteral("logs/x.log"), "old\r\n");
    auto* x = f.open<frm_chan>(QStringLiteral("#x"));
    auto* y = f.open<frm_chan>(QStringLiteral("#y"));
    QByteArray expectedX = "old\r\n", expectedY;
    for (int i = 0; i < 1000; ++i) {
        const QString line = QStringLiteral("line %1").arg(i);
        (i % 3 == 0 ? y : x)->disp(line);
        (i % 3 == 0 ? expectedY : expectedX) += line.toUtf8() + "\r\n";
    }
    QCOMPARE(logBytes(QStringLiteral("x.log")), QByteArray("old\r\n"));
    endTurn();
    QCOMPARE(logBytes(QStringLiteral("x.log")), expectedX);
    QCOMPARE(logBytes(QStringLiteral("y.log")), expectedY);
}

// Windows that go without another turn (the program ending) write first.
void TestDisp::endingProgramWritesWhatLogsHold() {
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    f.open<frm_chan>(QStringLiteral("#x"))->disp(QStringLiteral("last words"));
    f.p.reset();
    QCOMPARE(logBytes(QStringLiteral("x.log")), QByteArray("last words\r\n"));
}

void TestDisp::plainFileForLogsStillDraws() {
    QDir(logs()).removeRecursively();
    f.folder->write(QStringLiteral("logs"), "not a folder");
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    window->disp(QStringLiteral("still shown"));
    endTurn();
    QCOMPARE(WindowFixture::lastLine(*window->console), QStringLiteral("still shown"));
    QCOMPARE(f.folder->read(QStringLiteral("logs")), QByteArray("not a folder"));
    // The folder made in its place later is written to.
    QVERIFY(QFile::remove(f.folder->file(QStringLiteral("logs"))));
    QVERIFY(QDir().mkpath(logs()));
    window->disp(QStringLiteral("logged again"));
    endTurn();
    QVERIFY(logBytes(QStringLiteral("x.log")).endsWith("logged again\r\n"));
}

void TestDisp::fifoAtTheLogsPathIsNotWritten() {
    const QString fifo = logs(QStringLiteral("x.log"));
    QVERIFY(FifoWatchdog::make(fifo));
    FifoWatchdog guard(fifo);
    f.p->settings.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    window->disp(QStringLiteral("not for a pipe"));
    endTurn();
    QCOMPARE(WindowFixture::lastLine(*window->console), QStringLiteral("not for a pipe"));
    QVERIFY(!guard.release());
    QVERIFY(!QFileInfo(fifo).isFile());
}

void TestDisp::echoTypedInAChannelShowsThere() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    const QString server = f.p->serverWindow().console->Text();
    WindowFixture::enter(*window, QStringLiteral("/echo hi"));
    QCOMPARE(WindowFixture::lastLine(*window->console), QStringLiteral("hi"));
    QCOMPARE(f.p->serverWindow().console->Text(), server);
}

PARLONE_TEST_MAIN(TestDisp)
#include "tst_disp.moc"
