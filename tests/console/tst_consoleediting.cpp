// The console's editing members: clipboard and undo, selection commands,
// case changes, and sort, indent and outdent on whole paragraphs.

#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "tests/console/ShownConsole.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>

#include <functional>

using namespace platform;

namespace {

using Command = void (absRichEdit::*)();
using Action = std::function<void(absRichEdit&)>;

QString lines(const QStringList& paragraphs) {
    return paragraphs.join(QStringLiteral("\r\n"));
}

} // namespace

Q_DECLARE_METATYPE(Command)
Q_DECLARE_METATYPE(Action)
Q_DECLARE_METATYPE(std::optional<qint32>)

class TestConsoleEditing : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void cutAndCopyNeedASelection_data();
    void cutAndCopyNeedASelection();
    void clipboardCommands();
    void pasteKeepsTheCopiedColours();
    void undoAfterTyping();
    void programWritesEndTheUndoHistory_data();
    void programWritesEndTheUndoHistory();

    void selectLineAndAll();
    void selectWordAndSentence_data();
    void selectWordAndSentence();
    void spanAndUpTo_data();
    void spanAndUpTo();
    void find_data();
    void find();

    void caseChanges_data();
    void caseChanges();

    void sort_data();
    void sort();
    void sortMovesFormatsAndUndoesAtOnce();
    void indentAndOutdentSelectTheBlock_data();
    void indentAndOutdentSelectTheBlock();
    void outdent_data();
    void outdent();
    void blockCommandsShowTheSelection_data();
    void blockCommandsShowTheSelection();
    void nestedIndentDoesNothing();
    void wrappedParagraphsStayWhole();
    void transparentAndRefreshChangeNothing();

private:
    absRichEdit& console() { return *m_console; }
    void select(qint32 start, qint32 length) {
        console().setSelStart(start);
        console().setSelLength(length);
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_program;
    std::unique_ptr<absRichEdit> m_console;
};

void TestConsoleEditing::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_program = std::make_unique<Program>(m_folder->path());
    m_program->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_console = std::make_unique<absRichEdit>(*m_program);
    QGuiApplication::clipboard()->clear();
}

void TestConsoleEditing::cleanup() {
    m_console.reset();
    m_program.reset();
    m_folder.reset();
}

// ---- clipboard and undo --------------------------------------------------

void TestConsoleEditing::cutAndCopyNeedASelection_data() {
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("length");
    QTest::addColumn<bool>("can");
    QTest::newRow("empty selection") << 2 << 0 << false;
    QTest::newRow("empty at the end") << 9 << 0 << false;
    QTest::newRow("one character") << 2 << 1 << true;
    QTest::newRow("a line break") << 3 << 2 << true;
    QTest::newRow("everything") << 0 << 9 << true;
}

void TestConsoleEditing::cutAndCopyNeedASelection() {
    QFETCH(qint32, start);
    QFETCH(qint32, length);
    QFETCH(bool, can);
    console().setText(QStringLiteral("abc\r\ndef"));
    select(start, length);
    QCOMPARE(console().CanCut(), can);
    QCOMPARE(console().CanCopy(), can);
}

void TestConsoleEditing::clipboardCommands() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    console().setText(QStringLiteral("alpha beta"));
    QVERIFY(!console().CanPaste());

    select(6, 4);
    console().Copy();
    QCOMPARE(clipboard->text(), QStringLiteral("beta"));
    QCOMPARE(console().Text(), QStringLiteral("alpha beta"));
    QVERIFY(console().CanPaste());

    select(0, 0);
    console().Paste();
    QCOMPARE(console().Text(), QStringLiteral("betaalpha beta"));
    QCOMPARE(console().SelStart(), 4);

    select(4, 6);
    console().Cut();
    QCOMPARE(clipboard->text(), QStringLiteral("alpha "));
    QCOMPARE(console().Text(), QStringLiteral("betabeta"));

    // Delete takes the selection away without the clipboard.
    select(0, 4);
    console().Delete();
    QCOMPARE(console().Text(), QStringLiteral("beta"));
    QCOMPARE(clipboard->text(), QStringLiteral("alpha "));

    // A locked console keeps its text.
    console().setLocked(true);
    select(0, 2);
    console().Cut();
    console().Delete();
    console().Paste();
    QCOMPARE(console().Text(), QStringLiteral("beta"));
}

void TestConsoleEditing::pasteKeepsTheCopiedColours() {
    AddColorText(console(), QStringLiteral("plain \x03"
                                           "4red"));
    select(6, 3);
    const qint32 red = console().SelColor();
    select(0, 1);
    const qint32 plain = console().SelColor();
    QVERIFY(red != plain);
    select(6, 3);
    console().Copy();

    absRichEdit other(*m_program);
    other.setText(QStringLiteral("[]"));
    other.setSelStart(1);
    other.PasteSpecial();
    QCOMPARE(other.Text(), QStringLiteral("[red]"));
    other.setSelStart(1);
    other.setSelLength(3);
    QCOMPARE(other.SelColor(), red);
}

void TestConsoleEditing::undoAfterTyping() {
    ShowSized(console(), 300, 5);
    console().setText(QStringLiteral("x"));
    QVERIFY(!console().CanUndo());
    console().SetFocus();
    QVERIFY(QTest::qWaitForWindowActive(&console()));
    console().setSelStart(1);
    QTest::keyClicks(console().rtfText, QStringLiteral("ab"));
    QCOMPARE(console().Text(), QStringLiteral("xab"));
    QVERIFY(console().CanUndo());
    console().Undo();
    QCOMPARE(console().Text(), QStringLiteral("x"));
}

void TestConsoleEditing::programWritesEndTheUndoHistory_data() {
    QTest::addColumn<Action>("write");
    QTest::newRow("SelText") << Action([](absRichEdit& c) { c.setSelText(QStringLiteral("!")); });
    QTest::newRow("AddColorText") << Action([](absRichEdit& c) {
        AddColorText(c, QStringLiteral("\r\n\x03"
                                       "4line"));
    });
    QTest::newRow("Text") << Action([](absRichEdit& c) { c.setText(QStringLiteral("new")); });
}

void TestConsoleEditing::programWritesEndTheUndoHistory() {
    QFETCH(Action, write);
    ShowSized(console(), 300, 5);
    console().SetFocus();
    QVERIFY(QTest::qWaitForWindowActive(&console()));
    QTest::keyClicks(console().rtfText, QStringLiteral("typed"));
    QVERIFY(console().CanUndo());
    write(console());
    QVERIFY(!console().CanUndo());
    const QString written = console().Text();
    console().Undo();
    QCOMPARE(console().Text(), written);
}

// ---- selection -------------------------------------------------------------

void TestConsoleEditing::selectLineAndAll() {
    console().setText(lines({QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("3")}));
    select(6, 0);
    console().SelectLine();
    QCOMPARE(console().SelStart(), 5);
    QCOMPARE(console().SelText(), QStringLiteral("two"));
    console().SelectAll();
    QCOMPARE(console().SelStart(), 0);
    QCOMPARE(console().SelLength(), console().FileSize());
}

void TestConsoleEditing::selectWordAndSentence_data() {
    QTest::addColumn<bool>("sentence");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("length");
    QTest::addColumn<QString>("selected");
    const QString text = QStringLiteral("Hello, big world. Next one? Yes!");
    QTest::newRow("word: caret inside") << false << text << 8 << 0 << "big";
    QTest::newRow("word: part of it selected") << false << text << 8 << 1 << "big";
    QTest::newRow("word: at the text's start") << false << text << 0 << 0 << "Hello";
    QTest::newRow("word: caret before its full stop") << false << text << 16 << 0 << "world";
    QTest::newRow("word: at the text's end") << false << text << 31 << 0 << "Yes";
    QTest::newRow("word: line break delimits")
        << false << QStringLiteral("one\r\ntwo") << 6 << 0 << "two";
    QTest::newRow("sentence: after a full stop") << true << text << 20 << 0 << " Next one";
    QTest::newRow("sentence: the first one") << true << text << 2 << 0 << "Hello, big world";
    QTest::newRow("sentence: across a line break")
        << true << QStringLiteral("First line\r\nsame one. Next") << 3 << 0
        << "First line\r\nsame one";
}

void TestConsoleEditing::selectWordAndSentence() {
    QFETCH(bool, sentence);
    QFETCH(QString, text);
    QFETCH(qint32, start);
    QFETCH(qint32, length);
    QFETCH(QString, selected);
    console().setText(text);
    select(start, length);
    if (sentence)
        console().SelectSentence();
    else
        console().SelectWord();
    QCOMPARE(console().SelText(), selected);
    QCOMPARE(console().SelStart(), text.indexOf(selected));
}

void TestConsoleEditing::spanAndUpTo_data() {
    QTest::addColumn<bool>("upTo");
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("length");
    QTest::addColumn<QString>("set");
    QTest::addColumn<bool>("forward");
    QTest::addColumn<bool>("negate");
    QTest::addColumn<qint32>("newStart");
    QTest::addColumn<qint32>("newLength");
    // The text: "abc, def\r\nghi"
    QTest::newRow("span over the set") << false << 0 << 0 << "abc" << true << false << 0 << 3;
    QTest::newRow("span up to the set") << false << 1 << 1 << ", " << true << true << 1 << 2;
    QTest::newRow("span backward") << false << 7 << 0 << " " << false << true << 5 << 2;
    QTest::newRow("span over a break as CR") << false << 8 << 0 << "\r" << true << false << 8 << 2;
    QTest::newRow("span to the end") << false << 11 << 0 << "." << true << true << 11 << 2;
    QTest::newRow("up to the set") << true << 0 << 2 << "," << true << false << 3 << 0;
    QTest::newRow("up to a break") << true << 5 << 0 << "\n" << true << false << 8 << 0;
    QTest::newRow("up to, backward") << true << 7 << 1 << "," << false << false << 4 << 0;
    QTest::newRow("up to the set's end") << true << 0 << 0 << "abc" << true << true << 3 << 0;
    QTest::newRow("up to nothing found") << true << 2 << 0 << "z" << true << false << 13 << 0;
}

void TestConsoleEditing::spanAndUpTo() {
    QFETCH(bool, upTo);
    QFETCH(qint32, start);
    QFETCH(qint32, length);
    QFETCH(QString, set);
    QFETCH(bool, forward);
    QFETCH(bool, negate);
    QFETCH(qint32, newStart);
    QFETCH(qint32, newLength);
    console().setText(QStringLiteral("abc, def\r\nghi"));
    select(start, length);
    if (upTo)
        console().UpTo(set, forward, negate);
    else
        console().Span(set, forward, negate);
    QCOMPARE(console().SelStart(), newStart);
    QCOMPARE(console().SelLength(), newLength);
}

void TestConsoleEditing::find_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<std::optional<qint32>>("start");
    QTest::addColumn<std::optional<qint32>>("end");
    QTest::addColumn<int>("options");
    QTest::addColumn<qint32>("found");
    const QString text = QStringLiteral("One two\r\none TWO");
    const std::optional<qint32> none;
    QTest::newRow("any case") << text << "one" << none << none << 0 << 0;
    QTest::newRow("from a start, after a break")
        << text << "one" << std::optional(1) << none << 0 << 9;
    QTest::newRow("ending beyond the end")
        << text << "one" << std::optional(1) << std::optional(11) << 0 << -1;
    QTest::newRow("ending at the end")
        << text << "one" << std::optional(1) << std::optional(12) << 0 << 9;
    QTest::newRow("match case") << text << "TWO" << none << none << int(rtfMatchCase) << 13;
    QTest::newRow("whole word") << QStringLiteral("stone one") << "one" << none << none
                                << int(rtfWholeWord) << 6;
    QTest::newRow("not there") << text << "three" << none << none << 0 << -1;
}

void TestConsoleEditing::find() {
    QFETCH(QString, text);
    QFETCH(QString, wanted);
    QFETCH(std::optional<qint32>, start);
    QFETCH(std::optional<qint32>, end);
    QFETCH(int, options);
    QFETCH(qint32, found);
    console().setText(text);
    select(0, 0);
    QCOMPARE(console().Find(wanted, start, end, options), found);
    if (found >= 0) {
        QCOMPARE(console().SelStart(), found);
        QCOMPARE(console().SelText().toLower(), wanted.toLower());
        // Without highlighting the selection stays.
        select(0, 0);
        QCOMPARE(console().Find(wanted, start, end, options | rtfNoHighlight), found);
        QCOMPARE(console().SelLength(), 0);
    } else {
        QCOMPARE(console().SelLength(), 0);
    }
}

// ---- case changes ----------------------------------------------------------

void TestConsoleEditing::caseChanges_data() {
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("changed");
    QTest::newRow("upper") << &absRichEdit::UpperCase << "Ärger über Öl"
                           << "ÄRGER ÜBER ÖL";
    QTest::newRow("lower") << &absRichEdit::LowerCase << "ÄRGER Über"
                           << "ärger über";
    QTest::newRow("capitalize") << &absRichEdit::Capitalize << "hELLO wORLD  élan"
                                << "Hello World  Élan";
    QTest::newRow("invert: accents stay") << &absRichEdit::InvertCase << "Ärger über Öl"
                                          << "ÄRGER üBER ÖL";
    QTest::newRow("invert: only A-Z and a-z") << &absRichEdit::InvertCase << "àÉ aZ 9ß"
                                              << "àÉ Az 9ß";
}

void TestConsoleEditing::caseChanges() {
    QFETCH(Command, command);
    QFETCH(QString, selected);
    QFETCH(QString, changed);
    console().setText(QStringLiteral("<") + selected + QStringLiteral(">"));
    select(1, static_cast<qint32>(selected.size()));
    (console().*command)();
    QCOMPARE(console().Text(), QStringLiteral("<") + changed + QStringLiteral(">"));
}

// ---- sort, indent, outdent -------------------------------------------------

void TestConsoleEditing::sort_data() {
    QTest::addColumn<bool>("descending");
    QTest::addColumn<int>("compare");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("ascending by codes") << false << 0 << QStringList{"A", "B", "a", "b"};
    QTest::newRow("descending by codes") << true << 0 << QStringList{"b", "a", "B", "A"};
    // Paragraphs that compare equal keep their order.
    QTest::newRow("ascending, any case") << false << 1 << QStringList{"A", "a", "b", "B"};
    QTest::newRow("descending, any case") << true << 1 << QStringList{"b", "B", "A", "a"};
}

void TestConsoleEditing::sort() {
    QFETCH(bool, descending);
    QFETCH(int, compare);
    QFETCH(QStringList, sorted);
    console().setText(lines({"b", "A", "a", "B"}));
    console().Sort(descending, compare);
    QCOMPARE(console().Text(), lines(sorted));
}

void TestConsoleEditing::sortMovesFormatsAndUndoesAtOnce() {
    AddColorText(console(), QStringLiteral("\x03"
                                           "4zebra"));
    AddColorText(console(), QStringLiteral("\r\n\x03"
                                           "2apple"));
    select(0, 1);
    const qint32 zebra = console().SelColor();
    select(7, 1);
    const qint32 apple = console().SelColor();
    QVERIFY(zebra != apple);

    console().Sort(false, 0);
    QCOMPARE(console().Text(), QStringLiteral("apple\r\nzebra"));
    select(0, 5);
    QCOMPARE(console().SelColor(), apple);
    select(7, 5);
    QCOMPARE(console().SelColor(), zebra);

    QVERIFY(console().CanUndo());
    console().Undo();
    QCOMPARE(console().Text(), QStringLiteral("zebra\r\napple"));
}

void TestConsoleEditing::indentAndOutdentSelectTheBlock_data() {
    QTest::addColumn<qint32>("start");
    QTest::addColumn<qint32>("length");
    QTest::addColumn<QString>("indented");
    QTest::addColumn<QString>("block");
    // The text: "one\r\ntwo\r\nthree"
    QTest::newRow("caret inside a line")
        << 6 << 0 << lines({"one", "    two", "three"}) << "    two";
    QTest::newRow("from inside one line into the next")
        << 1 << 6 << lines({"    one", "    two", "three"}) << lines({"    one", "    two"});
    QTest::newRow("up to the start of a line takes that line")
        << 0 << 5 << lines({"    one", "    two", "three"}) << lines({"    one", "    two"});
    QTest::newRow("everything") << 0 << 15 << lines({"    one", "    two", "    three"})
                                << lines({"    one", "    two", "    three"});
}

void TestConsoleEditing::indentAndOutdentSelectTheBlock() {
    QFETCH(qint32, start);
    QFETCH(qint32, length);
    QFETCH(QString, indented);
    QFETCH(QString, block);
    const QString text = lines({"one", "two", "three"});
    console().setText(text);
    select(start, length);
    console().Indent();
    QCOMPARE(console().Text(), indented);
    QCOMPARE(console().SelText(), block);
    QCOMPARE(console().SelStart(), indented.indexOf(block));

    console().Outdent();
    QCOMPARE(console().Text(), text);
    const QString outdented = QString(block).remove(QStringLiteral("    "));
    QCOMPARE(console().SelText(), outdented);
}

void TestConsoleEditing::outdent_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("outdented");
    const QString four = QStringLiteral("    ");
    QTest::newRow("three blanks stay") << four << "   three"
                                       << "   three";
    QTest::newRow("four blanks go") << four << "    four"
                                    << "four";
    QTest::newRow("six blanks lose four") << four << "      six"
                                          << "  six";
    QTest::newRow("a tab stays") << four << "\ttab"
                                 << "\ttab";
    QTest::newRow("blanks inside stay") << four << "x    y"
                                        << "x    y";
    QTest::newRow("an empty line") << four << ""
                                   << "";
    QTest::newRow("another unit") << "->"
                                  << "->->x"
                                  << "->x";
}

void TestConsoleEditing::outdent() {
    QFETCH(QString, unit);
    QFETCH(QString, line);
    QFETCH(QString, outdented);
    console().setIndentString(unit);
    console().setText(lines({"    above", line, "    below"}));
    select(11, 0);
    console().Outdent();
    QCOMPARE(console().Text(), lines({"    above", outdented, "    below"}));
    QCOMPARE(console().SelText(), outdented);
}

void TestConsoleEditing::blockCommandsShowTheSelection_data() {
    QTest::addColumn<Action>("command");
    QTest::newRow("Indent") << Action(&absRichEdit::Indent);
    QTest::newRow("Outdent") << Action(&absRichEdit::Outdent);
    QTest::newRow("Sort") << Action([](absRichEdit& c) { c.Sort(); });
}

void TestConsoleEditing::blockCommandsShowTheSelection() {
    QFETCH(Action, command);
    console().setText(lines({"b", "a"}));
    console().setHideSelection(true);
    command(console());
    QCOMPARE(console().HideSelection(), false);
    QVERIFY(console().rtfText->updatesEnabled());
}

void TestConsoleEditing::nestedIndentDoesNothing() {
    console().setText(lines({"one", "two"}));
    select(1, 0);
    bool seenBusy = false;
    // A host that indents again from the console's own events while an
    // indent runs.
    connect(&console(), &absRichEdit::SelChange, this, [&] {
        if (!console().IndentBusy() || seenBusy)
            return;
        seenBusy = true;
        console().Indent();
    });
    console().Indent();
    QVERIFY(seenBusy);
    QVERIFY(!console().IndentBusy());
    QCOMPARE(console().Text(), lines({"    one", "two"}));
}

void TestConsoleEditing::wrappedParagraphsStayWhole() {
    ShowSized(console(), 120, 5);
    console().setViewMode(absRichEdit::rtfWrapWindow);
    const QString zulu = QStringLiteral("zulu ") + QStringLiteral("word ").repeated(12).trimmed();
    const QString alpha = QStringLiteral("alpha ") + QStringLiteral("word ").repeated(12).trimmed();
    console().setText(lines({zulu, alpha}));
    QVERIFY(console().GetTotalLines() > 4);

    console().Sort(false, 0);
    QCOMPARE(console().Text(), lines({alpha, zulu}));

    // The caret on a wrapped line of the second paragraph: one indent, at
    // the paragraph's start.
    const qint32 inside = static_cast<qint32>(alpha.size()) + 2 + 40;
    QVERIFY(console().GetLineFromChar(inside) > console().GetLineFromChar(alpha.size() + 2));
    select(inside, 0);
    console().Indent();
    QCOMPARE(console().Text(), lines({alpha, QStringLiteral("    ") + zulu}));
    QCOMPARE(console().SelText(), QStringLiteral("    ") + zulu);
    console().Outdent();
    QCOMPARE(console().Text(), lines({alpha, zulu}));
}

void TestConsoleEditing::transparentAndRefreshChangeNothing() {
    console().setText(lines({"one", "two"}));
    select(2, 3);
    console().Transparent();
    console().Refresh();
    QCOMPARE(console().Text(), lines({"one", "two"}));
    QCOMPARE(console().SelStart(), 2);
    QCOMPARE(console().SelLength(), 3);
}

PARLONE_TEST_MAIN(TestConsoleEditing)
#include "tst_consoleediting.moc"
