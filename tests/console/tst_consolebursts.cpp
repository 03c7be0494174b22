// The console written to as the windows write a flood: the writes of one
// turn of the event loop are one batch, and every answer is exact in it.

#include "console/AddColorText.h"
#include "console/LineGutter.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "tests/console/ShownConsole.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QApplication>
#include <QScrollBar>
#include <QSignalSpy>
#include <QWheelEvent>

#include <functional>

namespace {

// A line as a window writes it, long enough to wrap in a narrow console.
QString hostLine(int n) {
    return QStringLiteral(
               "\r\n\x03%1line %2 of the flood, with words enough to wrap in a narrow console")
        .arg(2 + n % 10)
        .arg(n);
}

// What the line shows.
QString shownLine(int n) {
    return QStringLiteral("\r\nline %1 of the flood, with words enough to wrap in a narrow console")
        .arg(n);
}

} // namespace

class TestConsoleBursts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void readsInABurstAreExact();
    void lengthStaysExactThroughEveryWrite();
    void queriesInABurstAnswerAsAfterIt_data();
    void queriesInABurstAnswerAsAfterIt();
    void linesCountAsTheWholeTextLaidOut();
    void hostWriteKeepsTheUsersSelection_data();
    void hostWriteKeepsTheUsersSelection();
    void afterABurstTheViewShowsTheEnd();
    void userEventsCloseTheBatch_data();
    void userEventsCloseTheBatch();
    void caretStaysWithTheFormatBeforeIt_data();
    void caretStaysWithTheFormatBeforeIt();
    void closedWithItsBatchOpen();

private:
    absRichEdit& console() { return *m_console; }
    // Writes as the windows do: the caret at the end before and after.
    void hostWrite(const QString& line);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<absRichEdit> m_console;
};

void TestConsoleBursts::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_program = std::make_unique<Program>(m_folder->path());
    m_program->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_console = std::make_unique<absRichEdit>(*m_program);
}

void TestConsoleBursts::cleanup() {
    m_console.reset();
    m_program.reset();
    m_folder.reset();
}

void TestConsoleBursts::hostWrite(const QString& line) {
    console().setSelStart(console().FileSize());
    AddColorText(console(), line);
    console().setSelStart(console().FileSize());
}

void TestConsoleBursts::readsInABurstAreExact() {
    ShowSized(console(), 300, 5);
    QSignalSpy change(&console(), &absRichEdit::Change);
    QSignalSpy selChange(&console(), &absRichEdit::SelChange);
    QString expected;
    for (int n = 0; n < 30; ++n) {
        hostWrite(hostLine(n));
        expected += shownLine(n);
        QVERIFY(console().rtfText->editBatchOpen());
        QCOMPARE(console().Text(), expected);
        QCOMPARE(console().FileSize(), expected.size());
        QCOMPARE(console().SelStart(), expected.size());
        QCOMPARE(console().SelLength(), 0);
        // The caret holds the formatting of the last character written.
        QCOMPARE(console().SelColor(), m_program->palette.color(2 + n % 10));
    }
    QCOMPARE(change.count(), 0);
    QCOMPARE(selChange.count(), 0);
    // The turn ends: the batch closes and tells of it once.
    QTRY_VERIFY(!console().rtfText->editBatchOpen());
    QCOMPARE(change.count(), 1);
    QCOMPARE(selChange.count(), 1);
    QCOMPARE(console().Text(), expected);
}

// Every kind of write the batch takes, one after the other in one turn:
// the length read after each is that of the text.
void TestConsoleBursts::lengthStaysExactThroughEveryWrite() {
    ShowSized(console(), 300, 5);
    const QList<std::function<void()>> writes{
        [this] { hostWrite(hostLine(1)); },
        [this] { console().setSelText(QStringLiteral("\r")); },
        [this] { console().setSelText(QStringLiteral("\n")); },
        [this] { console().setSelText(QStringLiteral("a\r\nb")); },
        [this] { console().setSelText(QString(QChar(0x2029))); },
        [this] { console().removeHead(5); },
        [this] { hostWrite(hostLine(2)); },
        [this] { console().setSelText(QString()); },
        [this] { console().removeHead(1000000); },
        [this] { hostWrite(hostLine(3)); },
    };
    for (qsizetype i = 0; i < writes.size(); ++i) {
        writes.at(i)();
        QVERIFY2(console().rtfText->editBatchOpen(), qPrintable(QString::number(i)));
        QCOMPARE(console().FileSize(), console().Text().size());
        QCOMPARE(console().SelStart(), console().Text().size());
    }
}

void TestConsoleBursts::queriesInABurstAnswerAsAfterIt_data() {
    QTest::addColumn<QString>("query");
    QTest::newRow("lines") << "lines";
    QTest::newRow("first visible line") << "first";
    QTest::newRow("line of the caret") << "current";
    QTest::newRow("start of the last line") << "index";
}

void TestConsoleBursts::queriesInABurstAnswerAsAfterIt() {
    QFETCH(QString, query);
    const QHash<QString, std::function<qint32()>> queries{
        {QStringLiteral("lines"), [this] { return console().GetTotalLines(); }},
        {QStringLiteral("first"), [this] { return console().GetFirstVisibleLine(); }},
        {QStringLiteral("current"), [this] { return console().GetCurrentLine(); }},
        {QStringLiteral("index"),
         [this] { return console().rtfText->lineIndex(console().GetTotalLines() - 1); }},
    };
    ShowSized(console(), 300, 5);
    // Some history the view has left behind.
    for (int n = 0; n < 40; ++n)
        hostWrite(hostLine(n));
    QTRY_VERIFY(!console().rtfText->editBatchOpen());
    // The scroll bar this history brings takes its room before the burst, so
    // that the lines wrap at one width in the burst and after it.
    QTRY_VERIFY(console().rtfText->verticalScrollBar()->isVisible());

    for (int n = 40; n < 80; ++n)
        hostWrite(hostLine(n));
    QVERIFY(console().rtfText->editBatchOpen());
    const qint32 inTheBurst = queries.value(query)();
    // The query closed the batch; the view and the answers are as they are
    // once the events have run.
    QVERIFY(!console().rtfText->editBatchOpen());
    QCoreApplication::processEvents();
    QCOMPARE(queries.value(query)(), inTheBurst);
}

void TestConsoleBursts::linesCountAsTheWholeTextLaidOut() {
    ShowSized(console(), 300, 5);
    for (int n = 0; n < 120; ++n)
        hostWrite(hostLine(n));
    QTRY_VERIFY(!console().rtfText->editBatchOpen());
    const qint32 first = console().GetFirstVisibleLine();
    const qint32 total = console().GetTotalLines();

    // The same text set whole into a console of the same size, every line of
    // it laid out from the top.
    absRichEdit whole(*m_program);
    whole.resize(console().size());
    whole.show();
    QVERIFY(QTest::qWaitForWindowExposed(&whole));
    whole.setText(console().Text());
    // Its scroll bar shows once the events have run: then it is as wide.
    QCoreApplication::processEvents();
    QCOMPARE(whole.rtfText->viewport()->width(), console().rtfText->viewport()->width());
    QCOMPARE(total, whole.GetTotalLines());
    QVERIFY2(total > 120 * 2, qPrintable(QString::number(total)));
    // Every wrapped line starts where the whole console starts it.
    for (qint32 line = 0; line < total; line += 37)
        QCOMPARE(console().rtfText->lineIndex(line), whole.rtfText->lineIndex(line));
    // And the view shows the last lines.
    QCOMPARE(first + console().rtfText->linesFromTop(1000) - 1, total);
}

void TestConsoleBursts::hostWriteKeepsTheUsersSelection_data() {
    QTest::addColumn<bool>("inABurst");
    QTest::addColumn<bool>("withTheMouse");
    QTest::newRow("members, between bursts") << false << false;
    QTest::newRow("members, in a burst") << true << false;
    QTest::newRow("mouse, in a burst") << true << true;
}

void TestConsoleBursts::hostWriteKeepsTheUsersSelection() {
    QFETCH(bool, inABurst);
    QFETCH(bool, withTheMouse);
    ShowSized(console(), 600, 5);
    console().setText(QStringLiteral("kept words"));
    if (inABurst)
        hostWrite(hostLine(1));
    if (withTheMouse) {
        // A drag over the start of the first line.
        QWidget* area = console().rtfText->viewport();
        const int y = 4 + QFontMetrics(console().rtfText->font()).height() / 2;
        QTest::mousePress(area, Qt::LeftButton, {}, QPoint(3, y));
        QTest::mouseMove(area, QPoint(60, y));
        QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(60, y));
    } else {
        console().setSelStart(0);
        console().setSelLength(4);
    }
    QVERIFY(console().SelLength() > 0);
    const QString before = console().Text();
    hostWrite(hostLine(2));
    QCOMPARE(console().Text(), before + shownLine(2));
}

void TestConsoleBursts::afterABurstTheViewShowsTheEnd() {
    ShowSized(console(), 300, 5);
    console().setLineNumbering(true);
    for (int n = 0; n < 200; ++n)
        hostWrite(hostLine(n));
    QTRY_VERIFY(!console().rtfText->editBatchOpen());
    QScrollBar* bar = console().rtfText->verticalScrollBar();
    QCOMPARE(bar->value(), bar->maximum());
    const qint32 first = console().GetFirstVisibleLine();
    const qint32 total = console().GetTotalLines();
    QVERIFY(first > 200);
    QCOMPARE(first + console().rtfText->linesFromTop(1000) - 1, total);
    QStringList numbers;
    for (qint32 n = first; n <= total; ++n)
        numbers << QLatin1Char(' ') + QString::number(n);
    QCOMPARE(console().picLines->printedLines(), numbers);
}

void TestConsoleBursts::userEventsCloseTheBatch_data() {
    QTest::addColumn<QString>("event");
    for (const char* event : {"key", "mouse", "wheel", "focus", "resize", "hide", "paint",
                              "scroll bar", "undo", "copy"})
        QTest::newRow(event) << event;
}

void TestConsoleBursts::userEventsCloseTheBatch() {
    QFETCH(QString, event);
    ShowSized(console(), 300, 5);
    for (int n = 0; n < 20; ++n)
        hostWrite(hostLine(n));
    QTRY_VERIFY(!console().rtfText->editBatchOpen());
    hostWrite(hostLine(20));
    QVERIFY(console().rtfText->editBatchOpen());

    platform::RichTextBox* box = console().rtfText;
    QWidget* area = box->viewport();
    const QHash<QString, std::function<void()>> deliver{
        {QStringLiteral("key"), [box] { QTest::keyClick(box, Qt::Key_Up); }},
        {QStringLiteral("mouse"),
         [area] {
             QTest::mouseClick(area, Qt::LeftButton, {}, {5, 5});
         }},
        {QStringLiteral("wheel"),
         [area] {
             QWheelEvent wheel(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), QPoint(),
                               QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                               false);
             QApplication::sendEvent(area, &wheel);
         }},
        {QStringLiteral("focus"),
         [box] {
             QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
             QApplication::sendEvent(box, &focus);
         }},
        {QStringLiteral("resize"), [this] { console().resize(320, console().height()); }},
        {QStringLiteral("hide"), [this] { console().hide(); }},
        {QStringLiteral("paint"), [area] { area->repaint(); }},
        {QStringLiteral("scroll bar"),
         [box] {
             QTest::mousePress(box->verticalScrollBar(), Qt::LeftButton, {}, {5, 5});
         }},
        {QStringLiteral("undo"), [box] { box->undo(); }},
        {QStringLiteral("copy"), [box] { box->copy(); }},
    };
    const QString written = console().Text();
    deliver.value(event)();
    QVERIFY(!box->editBatchOpen());
    QCOMPARE(console().Text(), written);
    if (event == QLatin1String("scroll bar"))
        QTest::mouseRelease(box->verticalScrollBar(), Qt::LeftButton, {}, {5, 5});
}

void TestConsoleBursts::caretStaysWithTheFormatBeforeIt_data() {
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("colour"); // the palette index the caret then has
    QTest::newRow("behind a run") << "run" << 4;
    QTest::newRow("before a paragraph with text") << "paragraph" << 9;
    QTest::newRow("behind a character coloured since") << "recoloured" << 7;
}

void TestConsoleBursts::caretStaysWithTheFormatBeforeIt() {
    QFETCH(QString, setup);
    QFETCH(int, colour);
    const Palette& palette = m_program->palette;
    const QString c = QStringLiteral("\x03");
    qint32 caret = 0;
    if (setup == QLatin1String("run")) {
        AddColorText(console(), c + "4ab");
        caret = 2;
    } else if (setup == QLatin1String("paragraph")) {
        console().setText(QStringLiteral("zz"));
        console().setSelStart(0);
        console().setSelLength(2);
        console().setSelColor(palette.color(9));
        console().setSelStart(0);
        AddColorText(console(), c + "4x\r\n");
        caret = 3;
    } else {
        AddColorText(console(), c + "4ab");
        console().setSelStart(1);
        console().setSelLength(1);
        console().setSelColor(palette.color(7));
        caret = 2;
        console().setSelStart(caret);
    }
    // The writing left the caret palette 1 of its own; put where it stands,
    // it takes the format before it, as a move gives it.
    QCOMPARE(console().SelStart(), caret);
    console().setSelStart(caret);
    QCOMPARE(console().SelColor(), palette.color(colour));
}

void TestConsoleBursts::closedWithItsBatchOpen() {
    // A window closed in the middle of a flood: its console goes with the
    // writes of the turn not laid out yet, and nothing is left behind to
    // reach it later.
    QWidget window;
    auto* inside = new absRichEdit(*m_program, &window);
    window.resize(300, 100);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (int n = 0; n < 10; ++n) {
        inside->setSelStart(inside->FileSize());
        AddColorText(*inside, hostLine(n));
    }
    QVERIFY(inside->rtfText->editBatchOpen());
    delete inside;
    window.update();
    QCoreApplication::processEvents();
    QVERIFY(window.children().isEmpty());
}

PARLONE_TEST_MAIN(TestConsoleBursts)
#include "tst_consolebursts.moc"
