// The server window's output: timestamps, colours, the trim and the server log.

#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

namespace {

struct Look {
    qint32 fore;
    qint32 back;
};

// The colours of the character at `pos` of the console's text.
Look lookAt(absRichEdit& console, qint32 pos) {
    console.setSelStart(pos);
    console.setSelLength(1);
    const Look look{console.SelColor(), console.SelFontBackColor()};
    console.setSelLength(0);
    return look;
}

} // namespace

class TestServerEcho : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void prefix();
    void timestamp();
    void colours_data();
    void colours();
    void unsetConsoleColoursAreTheDefaults_data();
    void unsetConsoleColoursAreTheDefaults();
    void leadingDigitAndCommaKept();
    void trimAbove30000();
    void trimKeepsColours();
    void logRecords();
    void unwritableLogStillShows();
    void logThatIsNoRegularFileIsLeftAlone_data();
    void logThatIsNoRegularFileIsLeftAlone();
    void linesBeforeTheWindowAppearLater();

private:
    absRichEdit& console() { return *m_p->serverWindow().console; }
    QString lastLine() { return console().Text().section(QStringLiteral("\r\n"), -1); }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestServerEcho::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    Settings& s = m_p->settings;
    s.setValue(QStringLiteral("WIN_SERVER_CONSOLE_FORECOLOR"),
               QString::number(m_p->palette.color(1)));
    s.setValue(QStringLiteral("WIN_SERVER_CONSOLE_BACKCOLOR"),
               QString::number(m_p->palette.color(8)));
}

void TestServerEcho::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestServerEcho::prefix() {
    QCOMPARE(ColorCodePrefix(4, 8), QStringLiteral("\x03"
                                                   "04,08"));
    QCOMPARE(ColorCodePrefix(12, 0), QStringLiteral("\x03"
                                                    "12,00"));
    QCOMPARE(ColorCodePrefix(4), QStringLiteral("\x03"
                                                "04,99"));
    // Past two digits the number is written whole.
    QCOMPARE(ColorCodePrefix(123, 7), QStringLiteral("\x03"
                                                     "123,07"));
}

void TestServerEcho::timestamp() {
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_TIMESTAMP"), QStringLiteral("TRUE"));
    m_p->clock.setFixed(QDateTime(QDate(2026, 12, 10), QTime(9, 5)));
    ServerEcho(*m_p, QStringLiteral("hello"));
    QCOMPARE(lastLine(), QStringLiteral("[9:05] hello"));
    m_p->clock.setFixed(QDateTime(QDate(2026, 12, 10), QTime(23, 59)));
    ServerEcho(*m_p, QStringLiteral("late"));
    QCOMPARE(lastLine(), QStringLiteral("[23:59] late"));
    // Only the exact text "TRUE" switches timestamps on.
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_TIMESTAMP"), QStringLiteral("true"));
    ServerEcho(*m_p, QStringLiteral("plain"));
    QCOMPARE(lastLine(), QStringLiteral("plain"));
}

void TestServerEcho::colours_data() {
    // A palette index, "" for the default, or "=" and the text itself.
    QTest::addColumn<QString>("colour");
    QTest::addColumn<int>("mode");
    QTest::addColumn<int>("fore");
    QTest::addColumn<int>("back");

    QTest::newRow("default, mode 0") << "" << 0 << 1 << 8;
    QTest::newRow("default, mode 5") << "" << 5 << 1 << 8;
    QTest::newRow("colour on console background") << "4" << 113 << 4 << 8;
    // Mode 0: on the console's own background (-1).
    QTest::newRow("colour only") << "4" << 0 << 4 << -1;
    QTest::newRow("colour not in the palette") << "rgb" << 1 << 1 << 8;
    // Texts as a setting may hold them: read as every colour is read.
    QTest::newRow("fraction rounds") << "=254.6" << 0 << 4 << -1;
    QTest::newRow("past white") << "=1e20" << 0 << 1 << -1;
}

void TestServerEcho::colours() {
    QFETCH(QString, colour);
    QFETCH(int, mode);
    QFETCH(int, fore);
    QFETCH(int, back);
    // A colour setting holds an RGB number as text.
    const QString rgb = colour.isEmpty()   ? QString()
                        : colour == u"rgb" ? QStringLiteral("1193046")
                        : colour.startsWith(u'=')
                            ? colour.mid(1)
                            : QString::number(m_p->palette.color(colour.toInt()));
    ServerEcho(*m_p, QStringLiteral("abc"), rgb, mode);
    const qint32 start = static_cast<qint32>(console().Text().size()) - 3;
    for (qint32 i = start; i < start + 3; ++i) {
        const Look look = lookAt(console(), i);
        QCOMPARE(look.fore, m_p->palette.color(fore));
        QCOMPARE(look.back, back < 0 ? -1 : m_p->palette.color(back));
    }
}

void TestServerEcho::unsetConsoleColoursAreTheDefaults_data() {
    // Palette indexes of the console's colours, -1 for not set yet.
    QTest::addColumn<int>("foreSetting");
    QTest::addColumn<int>("backSetting");
    QTest::addColumn<QString>("colour"); // a palette index, or "" for the console's own
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("neither set") << -1 << -1 << "" << 0 << "01,08";
    QTest::newRow("fore set") << 4 << -1 << "" << 0 << "04,08";
    QTest::newRow("back set") << -1 << 2 << "" << 0 << "01,02";
    QTest::newRow("a colour on the unset background") << -1 << -1 << "5" << 113 << "05,08";
    // Mode 0: the form without a background.
    QTest::newRow("a colour alone") << -1 << -1 << "5" << 0 << "05,99";
}

void TestServerEcho::unsetConsoleColoursAreTheDefaults() {
    QFETCH(int, foreSetting);
    QFETCH(int, backSetting);
    QFETCH(QString, colour);
    QFETCH(int, mode);
    QFETCH(QString, prefix);
    Settings& s = m_p->settings;
    const auto set = [&](const char* key, int index) {
        s.setValue(key, index < 0 ? QString() : QString::number(m_p->palette.color(index)));
    };
    set("WIN_SERVER_CONSOLE_FORECOLOR", foreSetting);
    set("WIN_SERVER_CONSOLE_BACKCOLOR", backSetting);
    s.setValue(QStringLiteral("WIN_SERVER_LOGGING"), QStringLiteral("TRUE"));
    const QString rgb =
        colour.isEmpty() ? QString() : QString::number(m_p->palette.color(colour.toInt()));
    // As while the settings load: before the server window exists.
    ServerEcho(*m_p, QStringLiteral("Element not found: X"), rgb, mode);
    QCOMPARE(m_p->pendingServerLines,
             QStringList{QChar(3) + prefix + QStringLiteral("Element not found: X")});
    QVERIFY(m_folder->read(QStringLiteral("logs/server.log"))
                .contains("\x03" + prefix.toLatin1() + "Element not found"));
}

void TestServerEcho::leadingDigitAndCommaKept() {
    ServerEcho(*m_p, QStringLiteral("5 users"), QString::number(m_p->palette.color(4)), 0);
    QCOMPARE(lastLine(), QStringLiteral("5 users"));
    ServerEcho(*m_p, QStringLiteral(",x"), QString::number(m_p->palette.color(4)), 0);
    QCOMPARE(lastLine(), QStringLiteral(",x"));
    ServerEcho(*m_p, QStringLiteral("42 is it"));
    QCOMPARE(lastLine(), QStringLiteral("42 is it"));
}

void TestServerEcho::trimAbove30000() {
    for (const int size : {30000, 30001}) {
        console().setText(QString(size, u'x'));
        ServerEcho(*m_p, QStringLiteral("new"));
        const qsizetype kept = size > 30000 ? size - 1000 : size;
        QCOMPARE(console().Text(), QString(kept, u'x') + QStringLiteral("\r\nnew"));
    }
}

void TestServerEcho::trimKeepsColours() {
    // 31,000 characters: red and blue halves on yellow, over several lines.
    QString text;
    for (int i = 0; i < 31; ++i)
        text += (i % 2 ? QStringLiteral("\x03"
                                        "02,08")
                       : QStringLiteral("\x03"
                                        "04,08")) +
                QString(998, QChar(u'a' + i % 26)) + QStringLiteral("\r\n");
    AddColorText(console(), text);
    const QString before = console().Text();
    QVERIFY(before.size() > 30000);
    QList<Look> expected;
    for (qint32 i = 1000; i < before.size(); i += 997)
        expected << lookAt(console(), i);

    ServerEcho(*m_p, QStringLiteral("new"));
    QCOMPARE(console().Text().left(before.size() - 1000), before.mid(1000));
    int n = 0;
    for (qint32 i = 1000; i < before.size(); i += 997, ++n) {
        const Look look = lookAt(console(), i - 1000);
        QCOMPARE(look.fore, expected.at(n).fore);
        QCOMPARE(look.back, expected.at(n).back);
    }
}

void TestServerEcho::logRecords() {
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_LOGGING"), QStringLiteral("TRUE"));
    for (const char* line : {"one", "two",
                             "three \x02"
                             "bold"})
        ServerEcho(*m_p, QString::fromLatin1(line));
    const QByteArray prefix = "\x03"
                              "01,08";
    QCOMPARE(m_folder->read(QStringLiteral("logs/server.log")),
             "\r\n-\r\n" + prefix + "one\r\n\r\n-\r\n" + prefix + "two\r\n\r\n-\r\n" + prefix +
                 "three \x02"
                 "bold\r\n");
}

void TestServerEcho::unwritableLogStillShows() {
    // A plain file where the logs folder should be: the write fails for root too.
    m_folder->write(QStringLiteral("logs"), "not a folder");
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_LOGGING"), QStringLiteral("TRUE"));
    ServerEcho(*m_p, QStringLiteral("still here"));
    QCOMPARE(lastLine(), QStringLiteral("still here"));
    QCOMPARE(m_folder->read(QStringLiteral("logs")), QByteArray("not a folder"));
}

void TestServerEcho::logThatIsNoRegularFileIsLeftAlone_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("a pipe without a reader") << "fifo";
    QTest::newRow("a folder") << "folder";
}

// What sits at the log's place is not written to, and the line is still
// shown at once: a pipe would keep the write waiting for a reader.
void TestServerEcho::logThatIsNoRegularFileIsLeftAlone() {
    QFETCH(QString, kind);
    const QString log = m_folder->file(QStringLiteral("logs/server.log"));
    QVERIFY(QDir().mkpath(m_folder->file(QStringLiteral("logs"))));
    QVERIFY(kind == u"fifo" ? FifoWatchdog::make(log) : QDir().mkdir(log));
    m_p->settings.setValue(QStringLiteral("WIN_SERVER_LOGGING"), QStringLiteral("TRUE"));
    FifoWatchdog guard(log);
    ServerEcho(*m_p, QStringLiteral("still here"));
    QVERIFY2(!guard.release(), "the log write waited on the pipe");
    QCOMPARE(lastLine(), QStringLiteral("still here"));
    const QFileInfo info(log);
    QVERIFY(kind == u"fifo" ? !info.isFile() && !info.isDir() : info.isDir());
}

void TestServerEcho::linesBeforeTheWindowAppearLater() {
    QVERIFY(!m_p->hasServerWindow());
    ServerEcho(*m_p, QStringLiteral("early one"));
    ServerEcho(*m_p, QStringLiteral("early two"));
    QCOMPARE(console().Text(), QStringLiteral("\r\nearly one\r\nearly two"));
    QVERIFY(m_p->pendingServerLines.isEmpty());
}

PARLONE_TEST_MAIN(TestServerEcho)
#include "tst_serverecho.moc"
