// The console control: positions and lines, the gutter, scroll messages,
// saved properties and the formatting members.

#include "console/AddColorText.h"
#include "console/LineGutter.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "platform/com/PropertyBag.h"
#include "platform/richedit/OleColor.h"
#include "tests/console/ConsoleLooks.h"
#include "tests/console/ShownConsole.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QGlyphRun>
#include <QPointer>
#include <QRawFont>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>

#include <functional>

using namespace platform;

namespace {

QString numberedLines(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("line %1").arg(i);
    return lines.join(QStringLiteral("\r\n"));
}

QStringList printedRange(int first, int last) {
    QStringList numbers;
    for (int n = first; n <= last; ++n)
        numbers << QLatin1Char(' ') + QString::number(n);
    return numbers;
}

} // namespace

class TestAbsRichEdit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void positionsCountCrLf_data();
    void positionsCountCrLf();
    void caretAtTheEndAppends();
    void unwrappedLines();
    void wrappedLines();
    void setCurrentLine();

    void gutterOfAnEmptyConsole();
    void gutterNumbers_data();
    void gutterNumbers();
    void gutterHiddenThenShown();
    void scrollBarStepReachesVScrollBeforeTheBoxMoves();
    void horizontalStepRaisesHScroll();
    void mouseOnTheScrollBarSendsItsCodes();
    void wheelMovesTheGutterWithoutVScroll();
    void hookedWhileAliveOnly();

    void propertyBagDefaults();
    void propertyBagRoundTrip();
    void border();
    void passThroughSetters_data();
    void passThroughSetters();
    void viewModeMarksAndWraps();
    void zoom_data();
    void zoom();
    void subAndSuperscriptExcludeEachOther();
    void automaticBackColour();
    void systemColoursTranslate_data();
    void systemColoursTranslate();
    void readOnlyAndLockedAreOneState();
    void keyEventsPassByReference();
    void handlerClosingTheHostEndsTheEvent_data();
    void handlerClosingTheHostEndsTheEvent();
    void removeHeadKeepsFormatting();
    void programWritingIsNotUndone();

private:
    absRichEdit& console() { return *m_console; }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<absRichEdit> m_console;
};

void TestAbsRichEdit::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_program = std::make_unique<Program>(m_folder->path());
    m_program->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_console = std::make_unique<absRichEdit>(*m_program);
}

void TestAbsRichEdit::cleanup() {
    m_console.reset();
    m_program.reset();
    m_folder.reset();
}

// Shows the console so that about `visibleLines` lines fit.
void TestAbsRichEdit::positionsCountCrLf_data() {
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("text");
    QTest::newRow("CR LF") << "ab\r\ncd"
                           << "ab\r\ncd";
    QTest::newRow("LF") << "ab\ncd"
                        << "ab\r\ncd";
    QTest::newRow("CR") << "ab\rcd"
                        << "ab\r\ncd";
    QTest::newRow("mixed") << "a\r\nb\rc\nd"
                           << "a\r\nb\r\nc\r\nd";
    QTest::newRow("ends with a break") << "ab\r\n"
                                       << "ab\r\n";
    QTest::newRow("empty lines") << "\r\n\r\n"
                                 << "\r\n\r\n";
}

void TestAbsRichEdit::positionsCountCrLf() {
    QFETCH(QString, written);
    QFETCH(QString, text);
    console().setText(written);
    QCOMPARE(console().Text(), text);
    QCOMPARE(console().FileSize(), text.size());
    QCOMPARE(console().GetTotalLines(), text.count(QStringLiteral("\r\n")) + 1);

    // Every line starts where its text starts, counted in the CR LF text.
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    qint32 start = 0;
    for (int i = 0; i < lines.size(); ++i) {
        QCOMPARE(console().rtfText->lineIndex(i), start);
        QCOMPARE(console().GetLineFromChar(start), i);
        start += lines.at(i).size() + 2;
    }
    console().setSelStart(0);
    console().setSelLength(text.size());
    QCOMPARE(console().SelText(), text);
    console().setSelStart(lines.first().size() + 2);
    console().setSelLength(text.size());
    QCOMPARE(console().SelText(), text.mid(lines.first().size() + 2));
}

void TestAbsRichEdit::caretAtTheEndAppends() {
    console().setText(QStringLiteral("one\r\ntwo"));
    for (const QString& line : {QStringLiteral("three"), QStringLiteral("four")}) {
        console().setSelStart(console().Text().size());
        QCOMPARE(console().SelStart(), console().Text().size());
        console().setSelText(QStringLiteral("\r\n") + line);
    }
    QCOMPARE(console().Text(), QStringLiteral("one\r\ntwo\r\nthree\r\nfour"));
    QCOMPARE(console().GetTotalLines(), 4);
    QCOMPARE(console().SelStart(), console().Text().size());
}

void TestAbsRichEdit::unwrappedLines() {
    ShowSized(console(), 120, 5);
    // A new console's view mode reads 0 already: it has to change to act.
    console().setViewMode(absRichEdit::rtfWrapWindow);
    console().setViewMode(absRichEdit::rtfNoWrap);
    const QString longLine = QStringLiteral("word ").repeated(60);
    console().setText(longLine + QStringLiteral("\r\nshort\r\n") + longLine);
    QCOMPARE(console().GetTotalLines(), 3);
    QCOMPARE(console().rtfText->lineIndex(1), longLine.size() + 2);
    QCOMPARE(console().rtfText->lineIndex(3), -1);
    QCOMPARE(console().rtfText->lineLength(0), longLine.size());
    QCOMPARE(console().GetLineFromChar(longLine.size() + 3), 1);
}

void TestAbsRichEdit::wrappedLines() {
    ShowSized(console(), 120, 5);
    console().setViewMode(absRichEdit::rtfWrapWindow);
    const QString paragraph = QStringLiteral("word ").repeated(40).trimmed();
    const QString text = paragraph + QStringLiteral("\r\nshort");
    console().setText(text);

    const qint32 total = console().GetTotalLines();
    QVERIFY2(total > 3, qPrintable(QString::number(total)));
    // Lines follow each other without gaps; a wrapped line starts after a
    // blank, the last one is the second paragraph.
    qint32 covered = 0;
    for (qint32 line = 0; line < total; ++line) {
        const qint32 start = console().rtfText->lineIndex(line);
        QVERIFY(start >= covered);
        QCOMPARE(console().GetLineFromChar(start), line);
        if (line > 0 && line < total - 1)
            QCOMPARE(text.at(start - 1), QLatin1Char(' '));
        covered = start + console().rtfText->lineLength(start);
    }
    QCOMPARE(console().rtfText->lineIndex(total - 1), paragraph.size() + 2);
    QCOMPARE(console().rtfText->lineIndex(total), -1);

    // Without wrapping the same text has two lines again.
    console().setViewMode(absRichEdit::rtfNoWrap);
    QCOMPARE(console().GetTotalLines(), 2);
}

void TestAbsRichEdit::setCurrentLine() {
    ScriptedAnswerer answers;
    console().setText(QStringLiteral("first\r\nsecond\r\nthird"));
    console().SetCurrentLine(3);
    QCOMPARE(console().SelStart(), 15);
    QCOMPARE(console().GetCurrentLine(), 3);
    QVERIFY(answers.requests().isEmpty());

    // Beyond the last line: a message, and the caret stays.
    console().SetCurrentLine(4);
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().first().prompt, QStringLiteral("Invalid line number!"));
    QCOMPARE(answers.requests().first().buttons, int(vbCritical));
    QCOMPARE(answers.requests().first().title, DefaultDialogTitle());
    QCOMPARE(console().SelStart(), 15);

    // Line 0 asks for the caret's own line: the caret goes to its start.
    console().setSelStart(10);
    console().SetCurrentLine(0);
    QCOMPARE(console().SelStart(), 7);
    QCOMPARE(answers.requests().size(), 1);
}

void TestAbsRichEdit::gutterOfAnEmptyConsole() {
    ShowSized(console(), 300, 5);
    console().setLineNumbering(true);
    QCOMPARE(console().picLines->printedLines(), QStringList{QStringLiteral(" 1")});
    // The text box sits right of the gutter.
    QCOMPARE(console().rtfText->x(), console().picLines->width());

    // While line 1 is at the top, every batch of writes brings the numbers
    // up to date when it closes.
    QSignalSpy selChange(&console(), &absRichEdit::SelChange);
    for (int i = 0; i < 3; ++i) {
        AddColorText(console(), QStringLiteral("\r\n\x03"
                                               "4line"));
        QTRY_VERIFY(!console().rtfText->editBatchOpen());
        QCOMPARE(console().picLines->printedLines(), printedRange(1, i + 2));
    }
    QCOMPARE(selChange.count(), 3);
}

void TestAbsRichEdit::gutterNumbers_data() {
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("firstVisible");
    QTest::addColumn<QStringList>("numbers");
    QTest::newRow("250 of 260") << 260 << 250 << printedRange(250, 260);
    QTest::newRow("10 of 1,000") << 1000 << 10 << printedRange(10, 110);
    QTest::newRow("top of 3") << 3 << 1 << printedRange(1, 3);
}

void TestAbsRichEdit::gutterNumbers() {
    QFETCH(int, lines);
    QFETCH(int, firstVisible);
    QFETCH(QStringList, numbers);
    ShowSized(console(), 300, 5);
    console().setText(numberedLines(lines));
    console().setLineNumbering(true);
    console().rtfText->lineScroll(firstVisible - 1);
    QCOMPARE(console().GetFirstVisibleLine(), firstVisible);
    QCOMPARE(console().picLines->printedLines(), numbers);
}

void TestAbsRichEdit::gutterHiddenThenShown() {
    ShowSized(console(), 300, 5);
    console().setText(numberedLines(50));
    QCOMPARE(console().rtfText->x(), 0);
    console().rtfText->lineScroll(20);
    QVERIFY(console().picLines->printedLines().isEmpty());
    console().setLineNumbering(true);
    QCOMPARE(console().rtfText->x(), console().picLines->width());
    QCOMPARE(console().picLines->printedLines().first(), QStringLiteral(" 21"));
    console().setLineNumbering(false);
    QCOMPARE(console().rtfText->x(), 0);
    QCOMPARE(console().rtfText->width(), console().width());
}

void TestAbsRichEdit::scrollBarStepReachesVScrollBeforeTheBoxMoves() {
    ShowSized(console(), 300, 5);
    console().setText(numberedLines(100));
    console().setLineNumbering(true);
    QScrollBar* bar = console().rtfText->verticalScrollBar();
    QCOMPARE(bar->value(), 0);

    struct Seen {
        int value;
        qint32 firstVisible;
        QString gutterTop;
    };
    QList<Seen> seen;
    connect(&console(), &absRichEdit::VScroll, this, [&] {
        seen.append({bar->value(), console().GetFirstVisibleLine(),
                     console().picLines->printedLines().value(0)});
    });
    QSignalSpy hscroll(&console(), &absRichEdit::HScroll);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(seen.size(), 1);
    QCOMPARE(seen.at(0).value, 0);
    QCOMPARE(seen.at(0).firstVisible, 1);
    QCOMPARE(seen.at(0).gutterTop, QStringLiteral(" 1"));
    // Then the box's own handling moved it one line, and the numbers followed.
    QCOMPARE(console().GetFirstVisibleLine(), 2);
    QCOMPARE(console().picLines->printedLines().value(0), QStringLiteral(" 2"));

    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.at(1).firstVisible, 2);
    QVERIFY(console().GetFirstVisibleLine() > 2);
    QCOMPARE(hscroll.count(), 0);
}

void TestAbsRichEdit::horizontalStepRaisesHScroll() {
    ShowSized(console(), 120, 5);
    console().setViewMode(absRichEdit::rtfWrapWindow);
    console().setViewMode(absRichEdit::rtfNoWrap);
    console().setText(QStringLiteral("word ").repeated(100));
    QSignalSpy vscroll(&console(), &absRichEdit::VScroll);
    QSignalSpy hscroll(&console(), &absRichEdit::HScroll);
    QScrollBar* bar = console().rtfText->horizontalScrollBar();
    int valueSeen = -1;
    connect(&console(), &absRichEdit::HScroll, this, [&] { valueSeen = bar->value(); });
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(hscroll.count(), 1);
    QCOMPARE(valueSeen, 0);
    QVERIFY(bar->value() > 0);
    QCOMPARE(vscroll.count(), 0);
}

namespace {

// A second sink on the box's scroll messages that notes each code.
class ScrollCodes : public loomhook::ISubclass {
public:
    loomhook::EMsgResponse MsgResponse() const override { return loomhook::emrPostProcess; }
    loomhook::LRESULT WindowProc(loomhook::HWND, qint32, loomhook::WPARAM wParam,
                                 loomhook::LPARAM) override {
        codes.append(LoWord(wParam));
        return 0;
    }
    QList<int> codes;
};

QPoint subControlCentre(QScrollBar* bar, QStyle::SubControl control) {
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, control, bar).center();
}

} // namespace

void TestAbsRichEdit::mouseOnTheScrollBarSendsItsCodes() {
    ShowSized(console(), 300, 5);
    console().setText(numberedLines(200));
    // The scroll bar shows once the events have run.
    QCoreApplication::processEvents();
    QScrollBar* bar = console().rtfText->verticalScrollBar();
    QVERIFY(bar->isVisible());
    ScrollCodes recorder;
    m_program->subclass.AttachMessage(&recorder, console().hWnd(), WM_VSCROLL);
    QSignalSpy vscroll(&console(), &absRichEdit::VScroll);

    // A click on the arrow: one line, then the end of the action.
    const QPoint arrow = subControlCentre(bar, QStyle::SC_ScrollBarAddLine);
    QTest::mousePress(bar, Qt::LeftButton, {}, arrow);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, arrow);
    QCOMPARE(recorder.codes, (QList<int>{SB_LINEDOWN, SB_ENDSCROLL}));
    QCOMPARE(vscroll.count(), 2);
    QCOMPARE(console().GetFirstVisibleLine(), 2);

    // Dragging the thumb: track positions, the final position, the end.
    recorder.codes.clear();
    const QPoint thumb = subControlCentre(bar, QStyle::SC_ScrollBarSlider);
    QTest::mousePress(bar, Qt::LeftButton, {}, thumb);
    QTest::mouseMove(bar, thumb + QPoint(0, 20));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, thumb + QPoint(0, 20));
    QVERIFY2(recorder.codes.size() >= 3, qPrintable(QString::number(recorder.codes.size())));
    QCOMPARE(recorder.codes.first(), int(SB_THUMBTRACK));
    QCOMPARE(recorder.codes.mid(recorder.codes.size() - 2),
             (QList<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
    QVERIFY(console().GetFirstVisibleLine() > 2);
    m_program->subclass.DetachMessage(&recorder, console().hWnd(), WM_VSCROLL);
}

void TestAbsRichEdit::wheelMovesTheGutterWithoutVScroll() {
    ShowSized(console(), 300, 5);
    console().setText(numberedLines(100));
    console().setLineNumbering(true);
    QSignalSpy vscroll(&console(), &absRichEdit::VScroll);
    QWidget* viewport = console().rtfText->viewport();
    const QPointF at(10, 10);
    QWheelEvent wheel(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &wheel);
    const qint32 first = console().GetFirstVisibleLine();
    QVERIFY(first > 1);
    QCOMPARE(console().picLines->printedLines().value(0),
             QLatin1Char(' ') + QString::number(first));
    QCOMPARE(vscroll.count(), 0);

    // So do keys that move the caret out of view.
    console().rtfText->setFocus();
    QTest::keyClick(console().rtfText, Qt::Key_End, Qt::ControlModifier);
    const qint32 last = console().GetFirstVisibleLine();
    QVERIFY(last > first);
    QCOMPARE(console().picLines->printedLines().value(0), QLatin1Char(' ') + QString::number(last));
    QCOMPARE(vscroll.count(), 0);
}

void TestAbsRichEdit::hookedWhileAliveOnly() {
    const HWND box = console().hWnd();
    const WNDPROC own = GetWindowLongA(box, GWL_WNDPROC);
    const QString attachments = QStringLiteral("C") + QString::number(box);
    QCOMPARE(GetPropA(box, attachments), 2);

    // A second console attaches to its own box only.
    auto other = std::make_unique<absRichEdit>(*m_program);
    QCOMPARE(GetPropA(box, attachments), 2);
    const HWND otherBox = other->hWnd();
    other.reset();
    QVERIFY(!IsWindow(otherBox));

    // Detached at destruction: the box's procedure is its own again.
    m_program->subclass.DetachMessage(m_console.get(), box, WM_HSCROLL);
    QCOMPARE(GetPropA(box, attachments), 1);
    QCOMPARE(GetWindowLongA(box, GWL_WNDPROC), own);
}

void TestAbsRichEdit::propertyBagDefaults() {
    PropertyBag bag;
    console().WriteProperties(bag);
    QVERIFY2(bag.isEmpty(), qPrintable(bag.names().join(QLatin1Char(','))));

    absRichEdit loaded(*m_program);
    loaded.ReadProperties(bag);
    QCOMPARE(loaded.AutoVerbMenu(), false);
    QCOMPARE(loaded.BackColor(), qint32(0x80000005));
    QCOMPARE(loaded.BulletIndent(), 0.0f);
    QCOMPARE(loaded.Border(), false);
    QCOMPARE(loaded.Enabled(), true);
    QCOMPARE(loaded.filename(), QString());
    QCOMPARE(loaded.Font(), loaded.QWidget::font());
    QCOMPARE(loaded.HideSelection(), true);
    QCOMPARE(loaded.Locked(), false);
    QCOMPARE(loaded.Text(), QString());
    QCOMPARE(loaded.ViewMode(), 0);
    // Not saved, and at their defaults.
    QCOMPARE(loaded.IndentString(), QStringLiteral("    "));
    QCOMPARE(loaded.LineNumberingForeColor(), qint32(0x80000008));
    QCOMPARE(loaded.LineNumberingBackColor(), qint32(0x80000005));
}

void TestAbsRichEdit::propertyBagRoundTrip() {
    QFont font(QStringLiteral("DejaVu Sans Mono"), 14);
    console().setAutoVerbMenu(true);
    console().setBackColor(0x123456);
    console().setBulletIndent(360);
    console().setBorder(true);
    console().setEnabled(false);
    console().setFilename(QStringLiteral("saved.rtf"));
    console().setFont(font);
    console().setHideSelection(false);
    console().setLocked(true);
    console().setText(QStringLiteral("hello\r\nworld"));
    console().setViewMode(absRichEdit::rtfWrapWindow);

    PropertyBag bag;
    console().WriteProperties(bag);
    const QStringList names{"AutoVerbMenu", "BackColor", "BulletIndent", "Border",
                            "Enabled",      "FileName",  "Font",         "HideSelection",
                            "Locked",       "Text",      "ViewMode"};
    for (const QString& name : names)
        QVERIFY2(bag.contains(name), qPrintable(name));
    QCOMPARE(bag.names().size(), names.size());
    QCOMPARE(bag.ReadProperty(QStringLiteral("Border")).toInt(), 1);
    QCOMPARE(bag.ReadProperty(QStringLiteral("ViewMode")).toInt(), 1);

    absRichEdit loaded(*m_program);
    loaded.ReadProperties(bag);
    QCOMPARE(loaded.AutoVerbMenu(), true);
    QCOMPARE(loaded.BackColor(), 0x123456);
    QCOMPARE(loaded.BulletIndent(), 360.0f);
    QCOMPARE(loaded.Border(), true);
    QCOMPARE(loaded.Enabled(), false);
    QCOMPARE(loaded.filename(), QStringLiteral("saved.rtf"));
    QCOMPARE(loaded.Font(), font);
    QCOMPARE(loaded.HideSelection(), false);
    QCOMPARE(loaded.Locked(), true);
    QCOMPARE(loaded.Text(), QStringLiteral("hello\r\nworld"));
    QCOMPARE(loaded.ViewMode(), 1);
    QCOMPARE(loaded.rtfText->palette().color(QPalette::Base), ColorFromRgb(0x123456));
}

void TestAbsRichEdit::border() {
    QSignalSpy changed(&console(), &absRichEdit::PropertyChanged);
    console().setBorder(true);
    QCOMPARE(console().Border(), true);
    QCOMPARE(console().rtfText->frameShape(), QFrame::Box);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toString(), QStringLiteral("Border"));
    PropertyBag bag;
    console().WriteProperties(bag);
    QCOMPARE(bag.ReadProperty(QStringLiteral("Border")), QVariant(1));
    console().setBorder(false);
    QCOMPARE(console().Border(), false);
    QCOMPARE(console().rtfText->frameShape(), QFrame::NoFrame);
}

void TestAbsRichEdit::passThroughSetters_data() {
    // The bag name the write marks changed ("" for none), and whether the
    // scratch box is kept in step.
    QTest::addColumn<QString>("setter");
    QTest::addColumn<QString>("bagName");
    QTest::addColumn<bool>("alsoScratch");
    QTest::newRow("AutoVerbMenu") << "AutoVerbMenu"
                                  << "AutoVerbMenu" << false;
    QTest::newRow("BackColor") << "BackColor"
                               << "BackColor" << false;
    QTest::newRow("BulletIndent") << "BulletIndent"
                                  << "BulletIndent" << true;
    QTest::newRow("Border") << "Border"
                            << "Border" << false;
    QTest::newRow("Enabled") << "Enabled"
                             << "Enabled" << true;
    QTest::newRow("filename") << "filename"
                              << "FileName" << false;
    QTest::newRow("Font") << "Font"
                          << "Font" << true;
    QTest::newRow("HideSelection") << "HideSelection"
                                   << "HideSelection" << true;
    QTest::newRow("Locked") << "Locked"
                            << "Locked" << true;
    QTest::newRow("Text") << "Text"
                          << "Text" << false;
    QTest::newRow("ViewMode") << "ViewMode"
                              << "ViewMode" << true;
    QTest::newRow("TextRTF") << "TextRTF"
                             << "" << false;
    QTest::newRow("SelBold") << "SelBold"
                             << "" << false;
    QTest::newRow("SelFontBackColor") << "SelFontBackColor"
                                      << "" << false;
}

void TestAbsRichEdit::passThroughSetters() {
    QFETCH(QString, setter);
    QFETCH(QString, bagName);
    QFETCH(bool, alsoScratch);
    const QFont font(QStringLiteral("DejaVu Sans Mono"), 15);
    // Each setter, and what it reads back from a box.
    struct Write {
        std::function<void(absRichEdit&)> set;
        std::function<QVariant(RichTextBox&)> read;
    };
    const QHash<QString, Write> writes{
        {QStringLiteral("AutoVerbMenu"),
         {[](absRichEdit& c) { c.setAutoVerbMenu(true); },
          [](RichTextBox& b) { return QVariant(b.AutoVerbMenu()); }}},
        {QStringLiteral("BackColor"),
         {[](absRichEdit& c) { c.setBackColor(0x123456); },
          [](RichTextBox& b) { return QVariant(b.BackColor()); }}},
        {QStringLiteral("BulletIndent"),
         {[](absRichEdit& c) { c.setBulletIndent(360); },
          [](RichTextBox& b) { return QVariant(b.BulletIndent()); }}},
        {QStringLiteral("Border"),
         {[](absRichEdit& c) { c.setBorder(true); },
          [](RichTextBox& b) { return QVariant(b.BorderStyle()); }}},
        {QStringLiteral("Enabled"),
         {[](absRichEdit& c) { c.setEnabled(false); },
          [](RichTextBox& b) { return QVariant(b.isEnabled()); }}},
        {QStringLiteral("filename"),
         {[](absRichEdit& c) { c.setFilename(QStringLiteral("x.rtf")); },
          [](RichTextBox& b) { return QVariant(b.FileName()); }}},
        {QStringLiteral("Font"),
         {[font](absRichEdit& c) { c.setFont(font); },
          [](RichTextBox& b) { return QVariant(b.Font()); }}},
        {QStringLiteral("HideSelection"),
         {[](absRichEdit& c) { c.setHideSelection(false); },
          [](RichTextBox& b) { return QVariant(b.HideSelection()); }}},
        {QStringLiteral("Locked"),
         {[](absRichEdit& c) { c.setLocked(true); },
          [](RichTextBox& b) { return QVariant(b.Locked()); }}},
        {QStringLiteral("Text"),
         {[](absRichEdit& c) { c.setText(QStringLiteral("abc")); },
          [](RichTextBox& b) { return QVariant(b.Text()); }}},
        {QStringLiteral("ViewMode"),
         {[](absRichEdit& c) { c.setViewMode(absRichEdit::rtfWrapPrinter); },
          [](RichTextBox& b) { return QVariant(b.lineWidthTwips()); }}},
        {QStringLiteral("TextRTF"),
         {[](absRichEdit& c) { c.setTextRTF(QStringLiteral("{\\rtf1 r}")); },
          [](RichTextBox& b) { return QVariant(b.Text()); }}},
        {QStringLiteral("SelBold"),
         {[](absRichEdit& c) { c.setSelBold(true); },
          [](RichTextBox& b) { return QVariant(b.SelBold()); }}},
        {QStringLiteral("SelFontBackColor"),
         {[](absRichEdit& c) { c.setSelFontBackColor(0x00FF00); },
          [](RichTextBox& b) { return QVariant(b.SelFontBackColor()); }}},
    };
    const Write write = writes.value(setter);
    const QVariant textBefore = write.read(*console().rtfText);
    const QVariant scratchBefore = write.read(*console().rtfTemp);
    QSignalSpy changed(&console(), &absRichEdit::PropertyChanged);
    write.set(console());

    const QVariant written = write.read(*console().rtfText);
    QVERIFY2(written != textBefore, qPrintable(written.toString()));
    QCOMPARE(changed.count(), bagName.isEmpty() ? 0 : 1);
    if (!bagName.isEmpty())
        QCOMPARE(changed.first().first().toString(), bagName);
    QCOMPARE(write.read(*console().rtfTemp), alsoScratch ? written : scratchBefore);
}

void TestAbsRichEdit::viewModeMarksAndWraps() {
    ShowSized(console(), 300, 5);
    console().setText(QStringLiteral("word ").repeated(300));
    const auto lines = [this] { return console().GetTotalLines(); };
    QSignalSpy changed(&console(), &absRichEdit::PropertyChanged);
    // A new console wraps as created, although its view mode reads 0.
    const qint32 atTheEdge = lines();
    QVERIFY(atTheEdge > 1);
    console().setViewMode(absRichEdit::rtfNoWrap);
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().first().toString(), QStringLiteral("ViewMode"));
    QCOMPARE(lines(), atTheEdge);

    // As printed: the paper is wider than this view, so the window's edge.
    console().setViewMode(absRichEdit::rtfWrapPrinter);
    QCOMPARE(lines(), atTheEdge);
    QVERIFY(console().rtfText->lineWidthTwips() > 10000);
    QCOMPARE(console().rtfTemp->lineWidthTwips(), console().rtfText->lineWidthTwips());
    // In a view wider than the paper the text wraps at the paper's width.
    console().resize(1600, console().height());
    const qint32 atThePaper = lines();
    QVERIFY2(atThePaper < atTheEdge, qPrintable(QString::number(atThePaper)));
    console().setViewMode(absRichEdit::rtfWrapWindow);
    QVERIFY2(lines() < atThePaper, qPrintable(QString::number(lines())));

    console().setViewMode(absRichEdit::rtfNoWrap);
    QCOMPARE(lines(), 1);
    QCOMPARE(console().rtfTemp->lineWrapMode(), QPlainTextEdit::NoWrap);
    // Any value is kept; one without a meaning changes nothing else.
    console().setViewMode(7);
    QCOMPARE(console().ViewMode(), 7);
    QCOMPARE(lines(), 1);
    QCOMPARE(changed.count(), 5);
}

void TestAbsRichEdit::zoom_data() {
    QTest::addColumn<qint32>("vZoom");
    QTest::addColumn<bool>("applied");
    QTest::addColumn<double>("factor");
    QTest::newRow("2 in 1: double") << qint32((2 << 16) | 1) << true << 2.0;
    QTest::newRow("1 in 2: half") << qint32((1 << 16) | 2) << true << 0.5;
    QTest::newRow("64 in 63") << qint32((64 << 16) | 63) << true << 64.0 / 63;
    QTest::newRow("numerator 65") << qint32((65 << 16) | 1) << false << 1.0;
    QTest::newRow("denominator 65") << qint32((2 << 16) | 65) << false << 1.0;
    QTest::newRow("no denominator") << qint32(3 << 16) << false << 1.0;
    QTest::newRow("no numerator") << qint32(5) << false << 1.0;
    QTest::newRow("ratio 64 refused") << qint32((64 << 16) | 1) << false << 1.0;
    QTest::newRow("negative") << qint32(-131071) << false << 1.0;
}

namespace {

// The pixel size of the first text of a box as its layout shows it.
qreal shownPixelSize(RichTextBox& box) {
    const QTextBlock block = box.document()->firstBlock();
    box.document()->documentLayout()->blockBoundingRect(block);
    const QList<QGlyphRun> runs = block.layout()->lineAt(0).glyphRuns();
    return runs.isEmpty() ? 0 : runs.first().rawFont().pixelSize();
}

} // namespace

void TestAbsRichEdit::zoom() {
    QFETCH(qint32, vZoom);
    QFETCH(bool, applied);
    QFETCH(double, factor);
    const qreal points = console().Font().pointSizeF();
    // A run with a size of its own is scaled too, and still reads as given.
    for (RichTextBox* box : {console().rtfText, console().rtfTemp}) {
        box->setText(QStringLiteral("sized"));
        box->setSelStart(0);
        box->setSelLength(5);
        box->setSelFontSize(12);
    }
    const qreal base = shownPixelSize(*console().rtfText);
    QVERIFY(base > 0);
    console().setZoom((3 << 16) | 2);
    QCOMPARE(console().Zoom(), (3 << 16) | 2);
    console().setZoom(0);
    QCOMPARE(console().Zoom(), 0);
    QCOMPARE(shownPixelSize(*console().rtfText), base);

    console().setZoom(vZoom);
    QCOMPARE(console().Zoom(), applied ? vZoom : 0);
    // Within the rounding of the view's resolution.
    for (RichTextBox* box : {console().rtfText, console().rtfTemp})
        QVERIFY2(qAbs(shownPixelSize(*box) - base * factor) <= 0.5,
                 qPrintable(QString::number(shownPixelSize(*box))));
    QCOMPARE(console().SelFontSize(), 12);
    QVERIFY(console().TextRTF().contains(QStringLiteral("\\fs24 sized")));
    // The font the console reports stays the one it was given.
    QCOMPARE(console().Font().pointSizeF(), points);
}

void TestAbsRichEdit::subAndSuperscriptExcludeEachOther() {
    console().setText(QStringLiteral("abc"));
    console().setSelStart(1);
    console().setSelLength(1);
    console().setSelSubScript(true);
    QCOMPARE(console().SelSubScript(), true);
    QCOMPARE(console().SelSuperScript(), false);
    console().setSelSuperScript(true);
    QCOMPARE(console().SelSubScript(), false);
    QCOMPARE(console().SelSuperScript(), true);
    // False to either clears both.
    console().setSelSubScript(false);
    QCOMPARE(console().SelSubScript(), false);
    QCOMPARE(console().SelSuperScript(), false);
    console().setSelSuperScript(true);
    console().setSelSuperScript(false);
    QCOMPARE(console().SelSuperScript(), false);
    // The neighbours were never touched.
    console().setSelStart(0);
    console().setSelLength(1);
    QCOMPARE(console().SelSuperScript(), false);
    QCOMPARE(console().SelSubScript(), false);
}

void TestAbsRichEdit::automaticBackColour() {
    console().setSelText(QStringLiteral("plain"));
    console().setSelStart(0);
    console().setSelLength(5);
    QCOMPARE(console().SelFontBackColor(), -1);

    console().setSelFontBackColor(0x00FF00);
    QCOMPARE(console().SelFontBackColor(), 0x00FF00);
    console().setSelStart(2);
    console().setSelLength(2);
    console().setSelFontBackColor(-1);
    QCOMPARE(console().SelFontBackColor(), -1);

    const QList<CharLook> looks = consoleLooks(console());
    QCOMPARE(looks.at(1).back, 0x00FF00);
    QCOMPARE(looks.at(2).back, -1);
    QCOMPARE(looks.at(3).back, -1);
    QCOMPARE(looks.at(4).back, 0x00FF00);

    // At the caret: typed text gets no back colour of its own.
    console().setSelStart(5);
    console().setSelFontBackColor(0x0000FF);
    console().setSelFontBackColor(-1);
    console().setSelText(QStringLiteral("x"));
    QCOMPARE(consoleLooks(console()).last().back, -1);
    // A system colour is translated.
    console().setSelFontBackColor(vbWindowText);
    QCOMPARE(console().SelFontBackColor(), OleTranslateColor(vbWindowText));
}

void TestAbsRichEdit::systemColoursTranslate_data() {
    QTest::addColumn<qint32>("colour");
    QTest::addColumn<qint32>("rgb");
    const QPalette p = QApplication::palette();
    QTest::newRow("window background")
        << qint32(0x80000005) << RgbFromColor(p.color(QPalette::Base));
    QTest::newRow("window text") << qint32(0x80000008) << RgbFromColor(p.color(QPalette::Text));
    QTest::newRow("an RGB number") << qint32(0x123456) << qint32(0x123456);
    QTest::newRow("no such system colour") << qint32(0x80000063) << qint32(-1);
    QTest::newRow("not a colour") << qint32(0x01000000) << qint32(-1);
}

void TestAbsRichEdit::systemColoursTranslate() {
    QFETCH(qint32, colour);
    QFETCH(qint32, rgb);
    QCOMPARE(OleTranslateColor(colour), rgb);
}

void TestAbsRichEdit::readOnlyAndLockedAreOneState() {
    console().setReadOnly(true);
    QVERIFY(GetWindowLongA(console().hWnd(), GWL_STYLE) & ES_READONLY);
    QCOMPARE(console().ReadOnly(), true);
    QCOMPARE(console().Locked(), true);
    QVERIFY(console().rtfText->isReadOnly());
    // The user cannot type; the program can still write.
    QTest::keyClicks(console().rtfText, QStringLiteral("typed"));
    console().setSelText(QStringLiteral("written"));
    QCOMPARE(console().Text(), QStringLiteral("written"));
    console().setLocked(false);
    QCOMPARE(console().ReadOnly(), false);
    QVERIFY(!console().rtfText->isReadOnly());
}

void TestAbsRichEdit::keyEventsPassByReference() {
    ShowSized(console(), 300, 5);
    console().rtfText->setFocus();
    connect(&console(), &absRichEdit::KeyPress, this, [](int& keyAscii) {
        if (keyAscii == 'a')
            keyAscii = 'b';
        else if (keyAscii == 'x')
            keyAscii = 0;
    });
    connect(&console(), &absRichEdit::KeyDown, this, [](int& keyCode, int&) {
        if (keyCode == 46) // Delete
            keyCode = 0;
        else if (keyCode == 'Q')
            keyCode = 'Z';
    });
    QTest::keyClicks(console().rtfText, QStringLiteral("axcq"));
    QCOMPARE(console().Text(), QStringLiteral("bcz"));
    console().setSelStart(0);
    QTest::keyClick(console().rtfText, Qt::Key_Delete);
    QCOMPARE(console().Text(), QStringLiteral("bcz"));
    QTest::keyClick(console().rtfText, Qt::Key_Right);
    QTest::keyClick(console().rtfText, Qt::Key_Backspace);
    QCOMPARE(console().Text(), QStringLiteral("cz"));
}

void TestAbsRichEdit::handlerClosingTheHostEndsTheEvent_data() {
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("input"); // the host goes at the last step
    const QStringList click{QStringLiteral("press"), QStringLiteral("release")};
    QTest::newRow("MouseDown") << "MouseDown" << QStringList{QStringLiteral("press")};
    QTest::newRow("MouseMove") << "MouseMove" << QStringList{QStringLiteral("move")};
    QTest::newRow("MouseUp") << "MouseUp" << click;
    QTest::newRow("Click") << "Click" << click;
    QTest::newRow("DblClick") << "DblClick" << click + QStringList{QStringLiteral("double")};
    QTest::newRow("KeyDown") << "KeyDown" << QStringList{QStringLiteral("key press")};
    QTest::newRow("KeyPress") << "KeyPress" << QStringList{QStringLiteral("key press")};
    QTest::newRow("KeyUp") << "KeyUp"
                           << QStringList{QStringLiteral("key press"),
                                          QStringLiteral("key release")};
}

void TestAbsRichEdit::handlerClosingTheHostEndsTheEvent() {
    QFETCH(QString, event);
    QFETCH(QStringList, input);
    // The frame stays, as the main frame does when one of its windows closes.
    QWidget frame;
    frame.resize(300, 200);
    QPointer<QWidget> host = new QWidget(&frame);
    host->resize(300, 200);
    auto* box = new absRichEdit(*m_program, host);
    box->resize(300, 200);
    box->setText(numberedLines(5));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));

    const auto closeHost = [&host] { delete host.data(); };
    const QHash<QString, std::function<void()>> handlers = {
        {QStringLiteral("MouseDown"), [&] { connect(box, &absRichEdit::MouseDown, closeHost); }},
        {QStringLiteral("MouseMove"), [&] { connect(box, &absRichEdit::MouseMove, closeHost); }},
        {QStringLiteral("MouseUp"), [&] { connect(box, &absRichEdit::MouseUp, closeHost); }},
        {QStringLiteral("Click"), [&] { connect(box, &absRichEdit::Click, closeHost); }},
        {QStringLiteral("DblClick"), [&] { connect(box, &absRichEdit::DblClick, closeHost); }},
        {QStringLiteral("KeyDown"), [&] { connect(box, &absRichEdit::KeyDown, closeHost); }},
        {QStringLiteral("KeyPress"), [&] { connect(box, &absRichEdit::KeyPress, closeHost); }},
        {QStringLiteral("KeyUp"), [&] { connect(box, &absRichEdit::KeyUp, closeHost); }},
    };
    handlers.value(event)();

    QWidget* text = box->rtfText;
    QWidget* area = box->rtfText->viewport();
    const QPoint at(20, 10);
    for (const QString& step : input) {
        QVERIFY2(host, qPrintable(QStringLiteral("closed before ") + step));
        if (step == QLatin1String("press")) {
            QTest::mousePress(area, Qt::LeftButton, {}, at);
        } else if (step == QLatin1String("release")) {
            QTest::mouseRelease(area, Qt::LeftButton, {}, at);
        } else if (step == QLatin1String("move")) {
            QTest::mouseMove(area, at);
        } else if (step == QLatin1String("double")) {
            QMouseEvent twice(QEvent::MouseButtonDblClick, at, area->mapToGlobal(at),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(area, &twice);
        } else if (step == QLatin1String("key press")) {
            QTest::keyPress(text, Qt::Key_A);
        } else {
            QTest::keyRelease(text, Qt::Key_A);
        }
    }
    // The box went with its host in the middle of its own event, and took the
    // event to its end without touching itself again.
    QVERIFY(host.isNull());
    if (input.contains(QStringLiteral("press")) && !input.contains(QStringLiteral("release")))
        QTest::mouseRelease(&frame, Qt::LeftButton); // leave no button held for later tests
}

void TestAbsRichEdit::removeHeadKeepsFormatting() {
    const QString c = QStringLiteral("\x03");
    for (int i = 0; i < 20; ++i)
        AddColorText(console(), QStringLiteral("\r\n") + c + QString::number(i % 16) +
                                    QStringLiteral(",") + QString::number((i + 3) % 16) +
                                    QStringLiteral("line ") + QString::number(i) +
                                    QStringLiteral("\x02 bold\x02 end"));
    const QString before = console().Text();
    const QList<CharLook> looksBefore = consoleLooks(console());

    // Cut inside a line, as the server window does.
    const qint32 cut = 37;
    console().removeHead(cut);
    QCOMPARE(console().Text(), before.mid(cut));
    // Looks leave the line breaks out: drop as many looks as non-break
    // characters went.
    const qsizetype droppedLooks =
        before.left(cut).remove(QLatin1Char('\r')).remove(QLatin1Char('\n')).size();
    const QString difference =
        firstDifference(consoleLooks(console()), looksBefore.mid(droppedLooks));
    QVERIFY2(difference.isEmpty(), qPrintable(difference));

    // The caret is still at the end, and writing goes on there.
    console().setSelStart(console().Text().size());
    AddColorText(console(), c + QStringLiteral("4tail"));
    QVERIFY(console().Text().endsWith(QStringLiteral("end") + QStringLiteral("tail")));

    console().removeHead(console().Text().size() + 10);
    QCOMPARE(console().Text(), QString());
}

void TestAbsRichEdit::programWritingIsNotUndone() {
    ShowSized(console(), 300, 5);
    console().rtfText->setFocus();
    QTest::keyClicks(console().rtfText, QStringLiteral("ab"));
    QVERIFY(console().rtfText->document()->isUndoAvailable());
    AddColorText(console(), QStringLiteral("\x03"
                                           "4x"));
    console().removeHead(1);
    QVERIFY(!console().rtfText->document()->isUndoAvailable());
    console().rtfText->undo();
    QCOMPARE(console().Text(), QStringLiteral("bx"));
    // Typing after it can be undone again.
    QTest::keyClicks(console().rtfText, QStringLiteral("c"));
    console().rtfText->undo();
    QCOMPARE(console().Text(), QStringLiteral("bx"));
}

PARLONE_TEST_MAIN(TestAbsRichEdit)
#include "tst_absrichedit.moc"
