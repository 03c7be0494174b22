// Line expansion with the program's clock set: identifiers, %KEY values,
// script arguments, the prompts, and the window an identifier speaks of.

#include "console/absRichEdit.h"
#include "core/ExpandLine.h"
#include "core/Form.h"
#include "core/Program.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QListWidget>

using platform::DialogRequest;

class TestExpandLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void identifiers_data();
    void identifiers();
    void weekdayCountsFromSunday_data();
    void weekdayCountsFromSunday();
    void unknownSettingIsReported();
    void notifyKeyReadsEmptyAndAddsNothing();
    void inputPrompt_data();
    void inputPrompt();
    void filePrompt();
    void choosers();
    void promptsAskInWordOrder();
    void windowIdentifiers_data();
    void windowIdentifiers();

private:
    QString lastServerLine() {
        return m_p->serverWindow().console->Text().section(QStringLiteral("\r\n"), -1);
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestExpandLine::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    // Saturday, 9 March 2024, 07:05:03.
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 3)));
    m_p->settings.setValue(QStringLiteral("SERVER_PORT"), QStringLiteral("6667"));
    m_p->BatchArgs.set(1, QStringLiteral("a"));
    m_p->BatchArgs.set(2, QStringLiteral("b"));
    m_p->BatchArgs.set(3, QStringLiteral("c"));
    // A slot above the count, left by an earlier script.
    m_p->BatchArgs.set(4, QStringLiteral("stale"));
    m_p->scriptArgCount = 3;
}

void TestExpandLine::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestExpandLine::identifiers_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("argCount");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("keyword alone") << "beep" << 3 << "beep ";
    QTest::newRow("keyword copied as it is") << "$TIME x" << 3 << "$TIME x ";
    QTest::newRow("time") << "say $TIME" << 3 << "say 07:05:03 ";
    QTest::newRow("lower case") << "say $time $date" << 3 << "say 07:05:03 03-09-2024 ";
    QTest::newRow("date") << "x $DATE" << 3 << "x 03-09-2024 ";
    QTest::newRow("weekday of a Saturday") << "x $WEEKDAY" << 3 << "x 7 ";
    QTest::newRow("version then a word") << "say $VERSION word" << 3 << "say Parlone v0.1.0 word ";
    QTest::newRow("unknown identifier dropped") << "say $NOPE plain" << 3 << "say plain ";
    QTest::newRow("setting and time") << "echo %SERVER_PORT $TIME" << 3 << "echo 6667 07:05:03 ";
    QTest::newRow("setting in lower case") << "echo %server_port" << 3 << "echo 6667 ";
    QTest::newRow("setting never set") << "echo %SERVER_URL x" << 3 << "echo  x ";
    QTest::newRow("runs of blanks kept") << "a  b" << 3 << "a  b ";
    QTest::newRow("arguments") << "x $$1 $$2 $$3" << 3 << "x a b c ";
    QTest::newRow("slot above the count") << "x $$3" << 2 << "x c ";
    QTest::newRow("from 2 to the count") << "x $$2- y" << 3 << "x b c y ";
    QTest::newRow("bounded by the count") << "x $$1-" << 2 << "x a b ";
    QTest::newRow("start above the count") << "x $$3- y" << 2 << "x y ";
    QTest::newRow("no arguments") << "x $$1- y" << 0 << "x y ";
    QTest::newRow("address while disconnected") << "x $MYIP y" << 3 << "x  y ";
}

void TestExpandLine::identifiers() {
    QFETCH(QString, line);
    QFETCH(int, argCount);
    QFETCH(QString, expanded);
    m_p->scriptArgCount = argCount;
    ScriptedAnswerer answers;
    QCOMPARE(ExpandLine(*m_p, line), expanded);
    QCOMPARE(answers.requests().size(), 0);
}

void TestExpandLine::weekdayCountsFromSunday_data() {
    QTest::addColumn<QDate>("day");
    QTest::addColumn<QString>("expanded");
    QTest::newRow("Sunday") << QDate(2024, 3, 10) << "x 1 ";
    QTest::newRow("Monday") << QDate(2024, 3, 11) << "x 2 ";
    QTest::newRow("Saturday") << QDate(2024, 3, 16) << "x 7 ";
}

void TestExpandLine::weekdayCountsFromSunday() {
    QFETCH(QDate, day);
    QFETCH(QString, expanded);
    m_p->clock.setFixed(QDateTime(day, QTime(12, 0)));
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("x $WEEKDAY")), expanded);
}

void TestExpandLine::unknownSettingIsReported() {
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("echo %no_such_key x")), QStringLiteral("echo  x "));
    QCOMPARE(lastServerLine(), QStringLiteral("Element not found: NO_SUCH_KEY"));
}

void TestExpandLine::notifyKeyReadsEmptyAndAddsNothing() {
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("echo %ADD_NOTIFY x")), QStringLiteral("echo  x "));
    QCOMPARE(m_p->notifyWindow().List1->count(), 0);
    QVERIFY(!m_p->serverWindow().console->Text().contains(QStringLiteral("Element not found")));
}

void TestExpandLine::inputPrompt_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("prompt");
    QTest::addColumn<QString>("expanded");

    QTest::newRow("default prompt") << "x $?= y" << false << "Enter parameter here"
                                    << "x hello there y ";
    QTest::newRow("own prompt, own case") << "x $?=Your_Name" << false << "Your_Name"
                                          << "x hello there ";
    QTest::newRow("lower case") << "x $?=nick" << false << "nick"
                                << "x hello there ";
    QTest::newRow("cancelled keeps its place") << "x $?= y" << true << "Enter parameter here"
                                               << "x  y ";
}

void TestExpandLine::inputPrompt() {
    QFETCH(QString, line);
    QFETCH(bool, cancel);
    QFETCH(QString, prompt);
    QFETCH(QString, expanded);
    ScriptedAnswerer answers;
    if (cancel)
        answers.queueInputCancel();
    else
        answers.queueInput(QStringLiteral("  hello there "));
    QCOMPARE(ExpandLine(*m_p, line), expanded);
    QCOMPARE(answers.requests().size(), 1);
    const DialogRequest& request = answers.requests().constFirst();
    QCOMPARE(request.kind, DialogRequest::InputBox);
    QCOMPARE(request.prompt, prompt);
    QCOMPARE(request.title, QStringLiteral("Question"));
}

void TestExpandLine::filePrompt() {
    ScriptedAnswerer answers;
    answers.queueFile(QStringLiteral("/home/me/notes.txt"));
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("dcc send bob $?FILE")),
             QStringLiteral("dcc send bob /home/me/notes.txt "));
    QCOMPARE(answers.requests().constLast().kind, DialogRequest::OpenFile);
    QCOMPARE(answers.requests().constLast().filter, QStringLiteral("*.*"));

    // Cancelled: the word goes without a trace, not even its blank.
    answers.queueFileCancel();
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("x $?file y")), QStringLiteral("x y "));
}

void TestExpandLine::choosers() {
    ScriptedAnswerer answers;
    answers.queueChooserPick(QStringLiteral("5"));
    answers.queueChooserPick(QStringLiteral(" Verdana "));
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("x $?COLOR $?FONT")), QStringLiteral("x 5 Verdana "));
    QCOMPARE(answers.requests().size(), 2);
    QCOMPARE(answers.requests().at(0).kind, DialogRequest::ColorChooser);
    QCOMPARE(answers.requests().at(1).kind, DialogRequest::FontChooser);
    QCOMPARE(m_p->PickedColorIndex, 5);

    // Closed without a pick: the last pick stands.
    answers.queueChooserClose();
    answers.queueChooserClose();
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("x $?color $?font")), QStringLiteral("x 5 Verdana "));
}

void TestExpandLine::promptsAskInWordOrder() {
    ScriptedAnswerer answers;
    answers.queueInput(QStringLiteral("one"));
    answers.queueFile(QStringLiteral("/f"));
    answers.queueInput(QStringLiteral("three"));
    QCOMPARE(ExpandLine(*m_p, QStringLiteral("x $?=first $?FILE $?=third")),
             QStringLiteral("x one /f three "));
    QStringList prompts;
    for (const DialogRequest& request : answers.requests())
        prompts << (request.kind == DialogRequest::OpenFile ? QStringLiteral("file")
                                                            : request.prompt);
    QCOMPARE(prompts, (QStringList{"first", "file", "third"}));
}

void TestExpandLine::windowIdentifiers_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("expanded");

    // The query "?bob" was opened last and is the active child.
    QTest::newRow("active query") << ""
                                  << "x  bob ";
    QTest::newRow("typed in the query") << "?BOB"
                                        << "x  bob ";
    QTest::newRow("typed in the channel") << "#chan"
                                          << "x #chan voice ";
    QTest::newRow("owner selected") << "#staff"
                                    << "x #staff owner ";
    QTest::newRow("typed in the quiet channel") << "#quiet"
                                                << "x #quiet  ";
    QTest::newRow("typed in the server window") << "Server"
                                                << "x   ";
    QTest::newRow("window gone") << "#gone"
                                 << "x   ";
}

void TestExpandLine::windowIdentifiers() {
    QFETCH(QString, tag);
    QFETCH(QString, expanded);
    m_p->serverWindow().Show();
    auto* chan = new frm_chan(*m_p);
    chan->setTag(QStringLiteral("#chan"));
    chan->list_nicks->addItems(
        {QStringLiteral("@op"), QStringLiteral("+voice"), QStringLiteral("x")});
    chan->list_nicks->setCurrentRow(1);
    chan->Show();
    auto* staff = new frm_chan(*m_p);
    staff->setTag(QStringLiteral("#staff"));
    staff->list_nicks->addItems({QStringLiteral("~owner"), QStringLiteral("%half")});
    staff->list_nicks->setCurrentRow(0);
    staff->Show();
    auto* quiet = new frm_chan(*m_p); // no nick selected
    quiet->setTag(QStringLiteral("#quiet"));
    quiet->list_nicks->addItem(QStringLiteral("@op"));
    quiet->Show();
    auto* query = new Form(*m_p, Form::Kind::MdiChild, QStringLiteral("?bob"));
    query->Show();

    QCOMPARE(ExpandLine(*m_p, QStringLiteral("x $CHAN $NICK"), tag), expanded);
}

PARLONE_TEST_MAIN(TestExpandLine)
#include "tst_expandline.moc"
