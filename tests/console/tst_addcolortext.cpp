// The colour-code renderer: every character's colours, bold and underline.

#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "tests/console/ConsoleLooks.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

namespace {

const QString C = QStringLiteral("\x03");
const QString B = QStringLiteral("\x02");
const QString U = QStringLiteral("\x1f");
const QString R = QStringLiteral("\x16");
// Automatic: no colour of its own, the console's shows.
constexpr int Auto = -1;

// A stretch of expected text: palette indexes (-1: no colour of its own, the
// console's text colour or background shows).
struct Run {
    QString text;
    int fore = 1;
    int back = 0;
    bool bold = false;
    bool underline = false;
};

Run plain(const QString& text, int fore = 1, int back = 0) {
    return {text, fore, back, false, false};
}
Run bold(const QString& text, int fore = 1, int back = 0) {
    return {text, fore, back, true, false};
}
Run underlined(const QString& text, int fore = 1, int back = 0) {
    return {text, fore, back, false, true};
}

// One pattern with every kind of code, and what it shows.
const QString patternText = C + QStringLiteral("4,12ab") + B + QStringLiteral("cd") + B + U +
                            QStringLiteral("e") + U + R + QStringLiteral("f") + R +
                            QStringLiteral("g ");
const QList<Run> patternRuns{plain(QStringLiteral("ab"), 4, 12), bold(QStringLiteral("cd"), 4, 12),
                             underlined(QStringLiteral("e"), 4, 12),
                             plain(QStringLiteral("f"), 0, 1), plain(QStringLiteral("g "), 4, 12)};

} // namespace

Q_DECLARE_METATYPE(QList<Run>)

class TestAddColorText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void walk_data();
    void walk();
    void caretFormattingAfterTheCall_data();
    void caretFormattingAfterTheCall();
    void textBeforeTheFirstCodeKeepsTheCaretColour();
    void paletteIsReadAtEveryCall();
    void backgrounds_data();
    void backgrounds();
    void darkConsoleShowsNoLightStrips();
    void lineBreakingCharactersAreBlanks_data();
    void lineBreakingCharactersAreBlanks();

private:
    QList<CharLook> expectedLooks(const QList<Run>& runs) const;

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<absRichEdit> m_console;
};

void TestAddColorText::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_program = std::make_unique<Program>(m_folder->path());
    m_program->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_console = std::make_unique<absRichEdit>(*m_program);
}

void TestAddColorText::cleanup() {
    m_console.reset();
    m_program.reset();
    m_folder.reset();
}

QList<CharLook> TestAddColorText::expectedLooks(const QList<Run>& runs) const {
    QList<CharLook> looks;
    const Palette& palette = m_program->palette;
    for (const Run& run : runs) {
        for (const QChar ch : run.text) {
            if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                continue;
            CharLook look;
            look.ch = ch;
            look.fore = run.fore < 0 ? -1 : palette.color(run.fore);
            look.back = run.back < 0 ? -1 : palette.color(run.back);
            look.bold = run.bold;
            look.underline = run.underline;
            looks.append(look);
        }
    }
    return looks;
}

void TestAddColorText::walk_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QList<Run>>("runs");

    QTest::newRow("empty") << QString() << QList<Run>{};
    QTest::newRow("no codes") << QStringLiteral("hello") << QList<Run>{plain("hello")};

    // One row for each way a colour code is read.
    QTest::newRow("dd,dd") << C + "04,05x" << QList<Run>{plain("x", 4, 5)};
    QTest::newRow("dd,d") << C + "04,5x" << QList<Run>{plain("x", 4, 5)};
    QTest::newRow("dd, then no digit: comma consumed")
        << C + "04,x" << QList<Run>{plain("x", 4, Auto)};
    QTest::newRow("dd") << C + "04x" << QList<Run>{plain("x", 4, Auto)};
    QTest::newRow("d,dd") << C + "4,12x" << QList<Run>{plain("x", 4, 12)};
    QTest::newRow("d,d") << C + "4,5x" << QList<Run>{plain("x", 4, 5)};
    QTest::newRow("d, then no digit: comma consumed")
        << C + "5,x" << QList<Run>{plain("x", 5, Auto)};
    QTest::newRow("d") << C + "4word" << QList<Run>{plain("word", 4, Auto)};

    QTest::newRow("leading zero pair") << C + "04,12a" << QList<Run>{plain("a", 4, 12)};
    QTest::newRow("third digit is text") << C + "123" << QList<Run>{plain("3", 12, Auto)};
    QTest::newRow("fore above 15 clamps to 1") << C + "16x" << QList<Run>{plain("x", 1, Auto)};
    QTest::newRow("back above 15 is none") << C + "1,99x" << QList<Run>{plain("x", 1, Auto)};
    QTest::newRow("digits of the text join the code")
        << C + "45 apples" << QList<Run>{plain(" apples", 1, Auto)};
    QTest::newRow("comma right after the code is text")
        << C + "4a" + C + ",5b" << QList<Run>{plain("a", 4, Auto), plain(",5b", 1, 0)};
    QTest::newRow("back kept from an earlier code")
        << C + "4,5a" + C + "6b" << QList<Run>{plain("a", 4, 5), plain("b", 6, 5)};
    QTest::newRow("bare code at the end") << "abc" + C << QList<Run>{plain("abc")};

    QTest::newRow("bare code shows the default pair, keeps the current one")
        << C + "4,5a" + C + "b" + R + "c" + R + "d"
        << QList<Run>{plain("a", 4, 5), plain("b", 1, 0), plain("c", 0, 1), plain("d", 4, 5)};
    QTest::newRow("reverse on and off")
        << R + "a" + R + "b" << QList<Run>{plain("a", 0, 1), plain("b", 1, Auto)};
    QTest::newRow("reverse restores the pair from before it")
        << C + "2,3a" + R + "b" + R + "c"
        << QList<Run>{plain("a", 2, 3), plain("b", 0, 1), plain("c", 2, 3)};
    QTest::newRow("colour while reversed shows, then is dropped")
        << R + "a" + C + "4,5b" + R + "c"
        << QList<Run>{plain("a", 0, 1), plain("b", 4, 5), plain("c", 1, Auto)};

    QTest::newRow("two bold codes") << B + B + "a" << QList<Run>{plain("a")};
    QTest::newRow("bold toggles") << B + "a" + B + "b" << QList<Run>{bold("a"), plain("b")};
    QTest::newRow("ends inside bold") << B + "ab" << QList<Run>{bold("ab")};
    QTest::newRow("underline toggles")
        << U + "a" + U + "b" << QList<Run>{underlined("a"), plain("b")};
    QTest::newRow("bold, underline and colour together")
        << C + "4" + B + U + "x" << QList<Run>{{"x", 4, Auto, true, true}};
    QTest::newRow("other control characters are written")
        << QStringLiteral("a\x0f") + "b" + QStringLiteral("\x01") + "c"
        << QList<Run>{plain(QStringLiteral("a\x0f") + "b" + QStringLiteral("\x01") + "c")};
    QTest::newRow("a line as a window writes it")
        << "\r\n" + C + "2,0<nick> " + C + "4hi"
        << QList<Run>{plain("\r\n"), plain("<nick> ", 2, 0), plain("hi", 4, 0)};

    QString longText;
    QList<Run> longRuns;
    while (longText.size() < 40000) {
        longText += patternText;
        longRuns += patternRuns;
    }
    QTest::newRow("40,000 characters") << longText << longRuns;
}

void TestAddColorText::walk() {
    QFETCH(QString, input);
    QFETCH(QList<Run>, runs);

    // After a first call the caret holds palette 1 on palette 0.
    AddColorText(*m_console, QString());
    AddColorText(*m_console, input);

    QString shown;
    for (const Run& run : std::as_const(runs))
        shown += run.text;
    QCOMPARE(m_console->Text(), shown);
    const QString difference = firstDifference(consoleLooks(*m_console), expectedLooks(runs));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestAddColorText::caretFormattingAfterTheCall_data() {
    QTest::addColumn<QString>("input");
    QTest::newRow("empty text") << QString();
    QTest::newRow("ends in bold and underline") << B + U + "x";
    QTest::newRow("ends in a colour") << C + "4,5x";
    QTest::newRow("ends reversed") << R + "x";
}

void TestAddColorText::caretFormattingAfterTheCall() {
    QFETCH(QString, input);
    m_console->setSelBold(true);
    m_console->setSelUnderline(true);
    AddColorText(*m_console, input);
    QCOMPARE(m_console->SelBold(), false);
    QCOMPARE(m_console->SelUnderline(), false);
    QCOMPARE(m_console->SelColor(), m_program->palette.color(1));
    QCOMPARE(m_console->SelFontBackColor(), m_program->palette.color(0));
    // Typed text takes that formatting.
    m_console->setSelText(QStringLiteral("t"));
    QCOMPARE(consoleLooks(*m_console).last(), expectedLooks({plain("t")}).first());
}

void TestAddColorText::textBeforeTheFirstCodeKeepsTheCaretColour() {
    m_console->setSelColor(m_program->palette.color(9));
    AddColorText(*m_console, "ab" + C + "4c");
    const QString difference =
        firstDifference(consoleLooks(*m_console),
                        expectedLooks({{"ab", 9, Auto, false, false}, plain("c", 4, Auto)}));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestAddColorText::paletteIsReadAtEveryCall() {
    AddColorText(*m_console, C + "4a");
    m_program->palette.setColor(4, 0x123456);
    AddColorText(*m_console, C + "4b");
    const QList<CharLook> looks = consoleLooks(*m_console);
    QCOMPARE(looks.size(), 2);
    QCOMPARE(looks.at(0).fore, 255); // the DEF_MIRC red
    QCOMPARE(looks.at(1).fore, 0x123456);
}

void TestAddColorText::backgrounds_data() {
    QTest::addColumn<int>("consoleColour"); // a palette index
    QTest::addColumn<QString>("input");
    QTest::addColumn<QList<Run>>("runs");
    const QString noBackground = ColorCodePrefix(4);
    for (const auto& [name, colour] : {std::pair{"yellow", 8}, std::pair{"black", 1}}) {
        const auto row = [name](const char* what) -> QTestData& {
            return QTest::newRow(qPrintable(QStringLiteral("%1 on %2").arg(what, name)));
        };
        row("no background part") << colour << C + "4x" << QList<Run>{plain("x", 4, Auto)};
        row("background 99") << colour << C + "04,99x" << QList<Run>{plain("x", 4, Auto)};
        row("background 00") << colour << C + "04,00x" << QList<Run>{plain("x", 4, 0)};
        row("background 08") << colour << C + "04,08x" << QList<Run>{plain("x", 4, 8)};
        row("background kept by a later code")
            << colour << C + "04,08x" + C + "05y" << QList<Run>{plain("x", 4, 8), plain("y", 5, 8)};
        row("background 99 after one") << colour << C + "04,08x" + C + "05,99y"
                                       << QList<Run>{plain("x", 4, 8), plain("y", 5, Auto)};
        row("bare code") << colour << C + "x" << QList<Run>{plain("x", 1, 0)};
        row("reverse on and off") << colour << C + "4a" + R + "b" + R + "c"
                                  << QList<Run>{plain("a", 4, Auto), plain("b", 0, 1),
                                                plain("c", 4, Auto)};
        row("digits after the prefix")
            << colour << noBackground + "5 users" << QList<Run>{plain("5 users", 4, Auto)};
        row("comma after the prefix")
            << colour << noBackground + ",x" << QList<Run>{plain(",x", 4, Auto)};
    }
}

void TestAddColorText::backgrounds() {
    QFETCH(int, consoleColour);
    QFETCH(QString, input);
    QFETCH(QList<Run>, runs);
    m_console->setBackColor(m_program->palette.color(consoleColour));
    AddColorText(*m_console, QString());
    AddColorText(*m_console, input);
    const QString difference = firstDifference(consoleLooks(*m_console), expectedLooks(runs));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestAddColorText::darkConsoleShowsNoLightStrips() {
    // Lines as the windows write them: a colour without a background.
    m_console->setBackColor(m_program->palette.color(1));
    m_console->resize(400, 200);
    m_console->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_console.get()));
    for (int i = 0; i < 5; ++i) {
        m_console->setSelStart(m_console->FileSize());
        AddColorText(*m_console, "\r\n" + ColorCodePrefix(4 + i) + "a line of text " +
                                     QString::number(i) + B + " bold" + B);
        m_console->setSelStart(m_console->FileSize());
    }
    QTRY_VERIFY(!m_console->rtfText->editBatchOpen());
    const QImage shown = m_console->rtfText->viewport()->grab().toImage();
    const QRgb white = QColor(Qt::white).rgb();
    int whitePixels = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            whitePixels += shown.pixel(x, y) == white ? 1 : 0;
    QCOMPARE(whitePixels, 0);
}

void TestAddColorText::lineBreakingCharactersAreBlanks_data() {
    QTest::addColumn<QChar>("ch");
    QTest::newRow("line separator") << QChar(0x2028);
    QTest::newRow("paragraph separator") << QChar(0x2029);
    QTest::newRow("frame start") << QChar(0xFDD0);
    QTest::newRow("frame end") << QChar(0xFDD1);
}

void TestAddColorText::lineBreakingCharactersAreBlanks() {
    QFETCH(QChar, ch);
    m_console->resize(600, 200);
    m_console->show();
    AddColorText(*m_console, "\r\n" + C + "4ab" + ch + "cd" + C + "5" + ch);
    QCOMPARE(m_console->Text(), QStringLiteral("\r\nab cd "));
    QCOMPARE(m_console->GetTotalLines(), 2);
    const QString difference = firstDifference(
        consoleLooks(*m_console), expectedLooks({plain("ab cd", 4, Auto), plain(" ", 5, Auto)}));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

PARLONE_TEST_MAIN(TestAddColorText)
#include "tst_addcolortext.moc"
