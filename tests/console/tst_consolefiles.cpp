// The console's RTF, its files and its printing.

#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "platform/richedit/Printer.h"
#include "tests/console/ConsoleLooks.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QPrinter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

using namespace platform;

namespace {

// A few lines as a channel window writes them.
void writeColouredLines(absRichEdit& console) {
    const QString c = QStringLiteral("\x03");
    const QString b = QStringLiteral("\x02");
    const QString u = QStringLiteral("\x1f");
    AddColorText(console, c + "2,0<alice> " + c + "4,8warm " + b + "bold" + b + " and " + u +
                              "under" + u + " {braces} \\ done");
    AddColorText(console, "\r\n" + c + "12,1reversed? " + QStringLiteral("\x16") + "yes" +
                              QStringLiteral("\x16") + QString::fromUtf8(" ümlaut € 日本"));
    AddColorText(console, "\r\n" + c + "3tab\there" + QStringLiteral("\x0f") + "end");
}

int pdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QString pdf = QString::fromLatin1(file.readAll());
    return static_cast<int>(pdf.count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]"))));
}

} // namespace

class TestConsoleFiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void rtfRoundTrip();
    void rtfKeepsItalicStrikeAndScripts();
    void rtfStatesTheFirstRunsSize_data();
    void rtfStatesTheFirstRunsSize();
    void paragraphFormatsRoundTrip_data();
    void paragraphFormatsRoundTrip();
    void foreignParagraphFormats_data();
    void foreignParagraphFormats();
    void selRtfRoundTrip();
    void foreignRtf_data();
    void foreignRtf();
    void foreignRtfColours();
    void rtfFileRoundTrip();
    void plainTextFiles();
    void failedFilesAreReported_data();
    void failedFilesAreReported();
    void printPages_data();
    void printPages();

private:
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<absRichEdit> m_console;
};

void TestConsoleFiles::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_program = std::make_unique<Program>(m_folder->path());
    m_program->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_console = std::make_unique<absRichEdit>(*m_program);
}

void TestConsoleFiles::cleanup() {
    m_console.reset();
    m_program.reset();
    m_folder.reset();
}

void TestConsoleFiles::rtfRoundTrip() {
    writeColouredLines(*m_console);
    const QString rtf = m_console->TextRTF();
    QVERIFY(rtf.startsWith(QStringLiteral("{\\rtf1")));
    QVERIFY(rtf.contains(QStringLiteral("\\colortbl")));
    // The RTF is plain ASCII.
    for (const QChar ch : rtf)
        QVERIFY2(ch.unicode() < 0x80, qPrintable(QString::number(ch.unicode())));

    absRichEdit other(*m_program);
    other.setTextRTF(rtf);
    QCOMPARE(other.Text(), m_console->Text());
    const QString difference = firstDifference(consoleLooks(other), consoleLooks(*m_console));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
    // Writing it again gives the same RTF.
    QCOMPARE(other.TextRTF(), rtf);

    // Text without any formatting of its own, and an empty console.
    for (const QString& text : {QStringLiteral("plain start\r\n\r\nend\r\n"), QString()}) {
        m_console->setText(text);
        other.setTextRTF(m_console->TextRTF());
        QCOMPARE(other.Text(), text);
    }
}

void TestConsoleFiles::rtfKeepsItalicStrikeAndScripts() {
    // Not 12 points: a run of 12 points is a size of its own.
    m_console->setFont(QFont(m_console->Font().family(), 10));
    m_console->setText(QStringLiteral("abcdef\r\ncentred"));
    const auto select = [this](int start, int length) {
        m_console->setSelStart(start);
        m_console->setSelLength(length);
    };
    select(0, 1);
    m_console->setSelItalic(true);
    select(1, 1);
    m_console->setSelStrikeThru(true);
    select(2, 1);
    m_console->setSelSubScript(true);
    select(3, 1);
    m_console->setSelSuperScript(true);
    select(4, 1);
    m_console->setSelFontSize(20);
    select(8, 3);
    m_console->setSelAlignment(rtfCenter);
    // The first run of 12 points.
    select(0, 1);
    m_console->setSelFontSize(12);

    absRichEdit other(*m_program);
    other.setFont(m_console->Font());
    other.setTextRTF(m_console->TextRTF());
    QCOMPARE(other.Text(), m_console->Text());
    const auto selectOther = [&other](int start) {
        other.setSelStart(start);
        other.setSelLength(1);
    };
    selectOther(0);
    QVERIFY(other.SelItalic());
    QVERIFY(!other.SelStrikeThru());
    selectOther(1);
    QVERIFY(other.SelStrikeThru());
    QVERIFY(!other.SelItalic());
    selectOther(2);
    QVERIFY(other.SelSubScript());
    selectOther(3);
    QVERIFY(other.SelSuperScript());
    selectOther(4);
    QCOMPARE(other.SelFontSize(), 20);
    selectOther(5);
    QCOMPARE(other.SelFontSize(), m_console->Font().pointSize());
    QCOMPARE(other.SelAlignment(), int(rtfLeft));
    selectOther(9);
    QCOMPARE(other.SelAlignment(), int(rtfCenter));
    selectOther(0);
    QCOMPARE(other.SelFontSize(), 12);
}

void TestConsoleFiles::paragraphFormatsRoundTrip_data() {
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("numbering");
    QTest::newRow("double, numbered") << int(SpacingDouble) << int(NumberingArabic);
    QTest::newRow("one and a half, bullets") << int(SpacingOneAndHalf) << int(NumberingBullet);
    QTest::newRow("single, lower letters") << int(SpacingSingle) << int(NumberingLowerLetters);
    QTest::newRow("double, upper roman") << int(SpacingDouble) << int(NumberingUpperRoman);
    QTest::newRow("no numbering") << int(SpacingOneAndHalf) << int(NumberingNone);
}

void TestConsoleFiles::paragraphFormatsRoundTrip() {
    QFETCH(int, spacing);
    QFETCH(int, numbering);
    // The middle two of four lines carry the formats.
    m_console->setText(QStringLiteral("first\r\nsecond\r\nthird\r\nfourth"));
    m_console->setSelStart(8);
    m_console->setSelLength(10);
    m_console->setSelSpacing(spacing);
    m_console->setSelNumbering(numbering);

    absRichEdit other(*m_program);
    other.setTextRTF(m_console->TextRTF());
    QCOMPARE(other.Text(), m_console->Text());
    const QList<int> starts{0, 7, 15, 22};
    for (int line = 0; line < starts.size(); ++line) {
        other.setSelStart(starts.at(line));
        const bool formatted = line == 1 || line == 2;
        QCOMPARE(other.SelSpacing(), formatted ? spacing : int(SpacingSingle));
        QCOMPARE(other.SelNumbering(), formatted ? numbering : int(NumberingNone));
    }
    // The numbered lines are one list: printed, they count on.
    const QTextDocument* doc = other.rtfText->document();
    QCOMPARE(doc->findBlockByNumber(1).textList(), doc->findBlockByNumber(2).textList());
    // Writing it again gives the same RTF.
    QCOMPARE(other.TextRTF(), m_console->TextRTF());
}

void TestConsoleFiles::foreignParagraphFormats_data() {
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<int>("spacing");
    QTest::addColumn<int>("numbering");
    QTest::newRow("numbered as a word processor writes it")
        << "{\\rtf1{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1"
           "\\pndec{\\pntxta.}}\\fi-360\\li720 item\\par}"
        << int(SpacingSingle) << int(NumberingArabic);
    QTest::newRow("bullet") << "{\\rtf1{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'b7}}item\\par}"
                            << int(SpacingSingle) << int(NumberingBullet);
    QTest::newRow("exactly") << "{\\rtf1\\sl-240\\slmult0 item\\par}" << int(SpacingExactly)
                             << int(NumberingNone);
    QTest::newRow("at least") << "{\\rtf1\\sl300\\slmult0 item\\par}" << int(SpacingAtLeast)
                              << int(NumberingNone);
    QTest::newRow("multiple") << "{\\rtf1\\sl600\\slmult1 item\\par}" << int(SpacingMultiple)
                              << int(NumberingNone);
    QTest::newRow("an unknown starred group is skipped")
        << "{\\rtf1{\\*\\pnseclvl1\\pndec{\\pntxta.}}item\\par}" << int(SpacingSingle)
        << int(NumberingNone);
}

void TestConsoleFiles::foreignParagraphFormats() {
    QFETCH(QString, rtf);
    QFETCH(int, spacing);
    QFETCH(int, numbering);
    m_console->setTextRTF(rtf);
    QCOMPARE(m_console->Text(), QStringLiteral("item"));
    QCOMPARE(m_console->SelSpacing(), spacing);
    QCOMPARE(m_console->SelNumbering(), numbering);
}

void TestConsoleFiles::rtfStatesTheFirstRunsSize_data() {
    QTest::addColumn<int>("boxPoints");
    QTest::addColumn<int>("runPoints"); // 0: the box's own size
    QTest::addColumn<int>("readerPoints");
    QTest::newRow("the box's own size") << 9 << 0 << 14;
    QTest::newRow("the box's own size, read where 12 is usual") << 9 << 0 << 12;
    QTest::newRow("a size of its own") << 9 << 16 << 14;
}

void TestConsoleFiles::rtfStatesTheFirstRunsSize() {
    QFETCH(int, boxPoints);
    QFETCH(int, runPoints);
    QFETCH(int, readerPoints);
    QFont font = m_console->Font();
    font.setPointSize(boxPoints);
    m_console->setFont(font);
    m_console->setText(QStringLiteral("copied"));
    if (runPoints > 0) {
        m_console->setSelStart(0);
        m_console->setSelLength(6);
        m_console->setSelFontSize(runPoints);
    }
    const int points = runPoints > 0 ? runPoints : boxPoints;
    m_console->setSelStart(0);
    m_console->setSelLength(6);
    const QString rtf = m_console->SelRTF();
    QVERIFY2(rtf.contains(QStringLiteral("\\fs%1").arg(points * 2)), qPrintable(rtf));

    // A word processor, whose text is of another size, keeps the console's.
    absRichEdit other(*m_program);
    QFont otherFont = other.Font();
    otherFont.setPointSize(readerPoints);
    other.setFont(otherFont);
    other.setTextRTF(rtf);
    other.setSelStart(0);
    other.setSelLength(6);
    QCOMPARE(other.SelFontSize(), points);
}

void TestConsoleFiles::selRtfRoundTrip() {
    writeColouredLines(*m_console);
    const QString text = m_console->Text();
    // From inside the first line to inside the second, over the line break.
    const qint32 start = static_cast<qint32>(text.indexOf(QStringLiteral("bold")));
    const qint32 end = static_cast<qint32>(text.indexOf(QStringLiteral("yes")));
    m_console->setSelStart(start);
    m_console->setSelLength(end - start);
    const QString rtf = m_console->SelRTF();
    const QList<CharLook> all = consoleLooks(*m_console);

    absRichEdit other(*m_program);
    other.setText(QStringLiteral("[]"));
    other.setSelStart(1);
    other.setSelRTF(rtf);
    QCOMPARE(other.Text(),
             QStringLiteral("[") + text.mid(start, end - start) + QStringLiteral("]"));
    QCOMPARE(other.SelStart(), end - start + 1);

    const QList<CharLook> inserted = consoleLooks(other).mid(1, all.size());
    const qsizetype lookStart =
        QString(text.left(start)).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).size();
    const qsizetype lookCount = QString(text.mid(start, end - start))
                                    .remove(QLatin1Char('\r'))
                                    .remove(QLatin1Char('\n'))
                                    .size();
    const QString difference =
        firstDifference(inserted.mid(0, lookCount), all.mid(lookStart, lookCount));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestConsoleFiles::foreignRtf_data() {
    QTest::addColumn<QString>("rtf");
    QTest::addColumn<QString>("text");
    QTest::newRow("tables, generator, ANSI and \\u")
        << QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"
                          "{\\*\\generator Some Writer 5.41;}\\viewkind4\\uc1\\pard\\f0\\fs20 "
                          "caf\\'e9 \\u8364? end\\par\r\n}")
        << QString::fromUtf8("café € end");
    QTest::newRow("line and tab") << "{\\rtf1 a\\line b\\tab c}"
                                  << "a\r\nb\tc";
    QTest::newRow("two paragraphs and an empty one") << "{\\rtf1 a\\par\\par b\\par}"
                                                     << "a\r\n\r\nb";
    QTest::newRow("field result kept, instruction not")
        << "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}"
        << "link";
    QTest::newRow("escaped braces and backslash") << "{\\rtf1 \\{x\\}\\\\}"
                                                  << "{x}\\";
    QTest::newRow("picture skipped") << "{\\rtf1 a{\\pict 0123abcd}b}"
                                     << "ab";
    QTest::newRow("Windows-1252 byte")
        << "{\\rtf1 \\'80 and \\'e9}" << QString::fromUtf8("€ and é");
    QTest::newRow("5,000 nested groups") << "{\\rtf1 " + QString(5000, QLatin1Char('{')) + "deep" +
                                                QString(5000, QLatin1Char('}')) + " after}"
                                         << "deep after";
    QTest::newRow("unbalanced closing braces") << "{\\rtf1 a}}}b"
                                               << "ab";
    QTest::newRow("binary data skipped") << "{\\rtf1 a\\bin3 {}x b}"
                                         << "a b";
}

void TestConsoleFiles::foreignRtf() {
    QFETCH(QString, rtf);
    QFETCH(QString, text);
    m_console->setTextRTF(rtf);
    QCOMPARE(m_console->Text(), text);
}

void TestConsoleFiles::foreignRtfColours() {
    m_console->setTextRTF(
        QStringLiteral("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
                       "\\cf1\\cb2 red \\cf0\\cb0 auto {\\b bold}}"));
    const QList<CharLook> looks = consoleLooks(*m_console);
    QCOMPARE(m_console->Text(), QStringLiteral("red auto bold"));
    QCOMPARE(looks.at(0).fore, 255);
    QCOMPARE(looks.at(0).back, 255 * 65536);
    QCOMPARE(looks.at(4).fore, -1);
    QCOMPARE(looks.at(4).back, -1);
    QVERIFY(!looks.at(4).bold);
    QVERIFY(looks.at(9).bold);
}

void TestConsoleFiles::rtfFileRoundTrip() {
    writeColouredLines(*m_console);
    const QString path = m_folder->file(QStringLiteral("console.rtf"));
    QVERIFY(m_console->SaveFile(path, rtfRTF));

    absRichEdit other(*m_program);
    QVERIFY(other.LoadFile(path, rtfRTF));
    QCOMPARE(other.filename(), path);
    QCOMPARE(other.Text(), m_console->Text());
    const QString difference = firstDifference(consoleLooks(other), consoleLooks(*m_console));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));
}

void TestConsoleFiles::plainTextFiles() {
    writeColouredLines(*m_console);
    const QString path = m_folder->file(QStringLiteral("console.txt"));
    QVERIFY(m_console->SaveFile(path, rtfText));
    QCOMPARE(m_folder->read(QStringLiteral("console.txt")), m_console->Text().toUtf8());

    const QString utf8 =
        m_folder->write(QStringLiteral("in.txt"), QByteArray("gr\xc3\xbc\xc3\x9f\r\nzwei\n"));
    QVERIFY(m_console->LoadFile(utf8, rtfText));
    QCOMPARE(m_console->Text(), QString::fromUtf8("grüß\r\nzwei\r\n"));
    // A text file read as RTF is plain text too.
    QVERIFY(m_console->LoadFile(utf8, rtfRTF));
    QCOMPARE(m_console->Text(), QString::fromUtf8("grüß\r\nzwei\r\n"));
    // Not UTF-8: Latin-1.
    const QString latin1 = m_folder->write(QStringLiteral("latin1.txt"), QByteArray("caf\xe9"));
    QVERIFY(m_console->LoadFile(latin1, rtfText));
    QCOMPARE(m_console->Text(), QString::fromUtf8("café"));
}

void TestConsoleFiles::failedFilesAreReported_data() {
    QTest::addColumn<bool>("save");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("load a missing file") << false << "missing.rtf"
                                         << "53\r\nFile not found";
    // A plain file where a folder should be: fails for root too.
    QTest::newRow("save into a file") << true << "blocker/out.rtf"
                                      << "75\r\nPath/File access error";
    QTest::newRow("load a folder") << false << "folder"
                                   << "75\r\nPath/File access error";
}

void TestConsoleFiles::failedFilesAreReported() {
    QFETCH(bool, save);
    QFETCH(QString, name);
    QFETCH(QString, message);
    m_folder->write(QStringLiteral("blocker"), QByteArray("x"));
    QDir(m_folder->path()).mkdir(QStringLiteral("folder"));
    m_console->setText(QStringLiteral("kept"));
    ScriptedAnswerer answers;
    const QString path = m_folder->file(name);
    const bool ok = save ? m_console->SaveFile(path, rtfRTF) : m_console->LoadFile(path, rtfRTF);
    QVERIFY(!ok);
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().first().prompt, message);
    QCOMPARE(answers.requests().first().buttons, int(vbCritical));
    QCOMPARE(m_console->Text(), QStringLiteral("kept"));
}

void TestConsoleFiles::printPages_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<qint32>("margin");
    QTest::addColumn<int>("minPages");
    QTest::addColumn<int>("maxPages");
    QTest::newRow("empty console") << 0 << qint32(1440) << 1 << 1;
    QTest::newRow("one line") << 1 << qint32(1440) << 1 << 1;
    QTest::newRow("300 lines") << 300 << qint32(1440) << 3 << 20;
    // Margins wider than the paper leave no room: one page, and it ends.
    QTest::newRow("margins wider than the paper") << 300 << qint32(100000000) << 1 << 1;
    QTest::newRow("negative margins") << 300 << qint32(-100000000) << 1 << 1;
}

void TestConsoleFiles::printPages() {
    QFETCH(int, lines);
    QFETCH(qint32, margin);
    QFETCH(int, minPages);
    QFETCH(int, maxPages);
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text << QStringLiteral("printed line %1").arg(i);
    m_console->setText(text.join(QStringLiteral("\r\n")));

    const QString pdf = m_folder->file(QStringLiteral("out.pdf"));
    QPrinter& printer = Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    m_console->PrintRTF(margin, margin, margin, margin);
    const int pages = pdfPages(pdf);
    QVERIFY2(pages >= minPages && pages <= maxPages, qPrintable(QString::number(pages)));

    if (lines == 300 && margin == 1440) {
        // Wider margins on every side give more pages.
        m_console->PrintRTF(2880, 2880, 2880, 2880);
        QVERIFY(pdfPages(pdf) > pages);
    }
}

PARLONE_TEST_MAIN(TestConsoleFiles)
#include "tst_consolefiles.moc"
