// The program's end, from every place that starts it: the frame's close
// box, File > E&xit, the tray menu, a typed and a scripted "/exit", with
// and without the close question. It ends exactly once, asks at most once,
// writes settings.ini, popups.ini and main.win while every window is still
// there, gives each window its own close, and the quit message reaches the
// server before the connection closes. While the question is open the
// program goes on as before.

#include "config/frm_popups.h"
#include "connection/MainMenus.h"
#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "tests/support/PeerWire.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QListWidget>
#include <QMenu>

#include <functional>

using platform::DialogRequest;

namespace {

enum class Trigger { CloseBox, FileMenu, TrayMenu, Typed, Scripted };

struct Write {
    QString file;
    bool windowsLoaded; // the frame and the server window were still open
};

} // namespace

Q_DECLARE_METATYPE(Trigger)

class TestExit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void endsOnce_data();
    void endsOnce();
    void quitLeavesBeforeTheProgramGoes();
    void questionOpenKeepsTheProgramGoing();
    void waitsForTheNextSecond();
    void openEditorAddsNoSave_data();
    void openEditorAddsNoSave();
    void waitEndsWhenTheSecondChanges_data();
    void waitEndsWhenTheSecondChanges();

private:
    frm_main& frame() { return m_p->mainFrame(); }
    void start(Trigger trigger);
    QList<QStringList> records(const QString& file, int fields) const {
        return RecordFile::parse(m_folder->read(file), fields).records;
    }

    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<PeerWire> m_wire;
    int m_ends = 0;
    QList<Write> m_writes;
};

void TestExit::init() {
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    m_folder->write(QStringLiteral("cmd/bye"), "exit\r\n");
    m_p = std::make_unique<Program>(m_folder->path());
    m_ends = 0;
    m_writes.clear();
    m_p->endProgram = [this] { ++m_ends; };
    m_p->fileWriter = [this](const QString& path, const QByteArray& bytes, QString* error) {
        const bool loaded = m_p->hasMainFrame() && m_p->hasServerWindow() &&
                            m_p->forms().contains(&m_p->mainFrame());
        m_writes.append({path.section(u'/', -1), loaded});
        return RecordFile::saveAtomically(path, bytes, error);
    };
    m_p->settings.setValue(QStringLiteral("USE_DEFAULT_QUIT"), QStringLiteral("bye now"));
    m_p->serverWindow().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    for (const char* nick : {"carol", "alice", "bob"})
        m_p->notifyWindow().List1->addItem(QString::fromLatin1(nick));
    m_p->popupsWindow().AddPopUp(QStringLiteral("channel"), QStringLiteral("Op"),
                                 QStringLiteral("/mode # +o $1"));
    m_wire = std::make_unique<PeerWire>(*frame().Yarv1);
    QVERIFY(m_wire->connected());
}

void TestExit::cleanup() {
    m_p.reset();
    m_wire.reset();
    m_folder.reset();
    m_answers.reset();
}

void TestExit::start(Trigger trigger) {
    QString line;
    switch (trigger) {
    case Trigger::CloseBox:
        frame().windowWidget()->close();
        break;
    case Trigger::FileMenu:
        frame().menus->mnuExiter->trigger();
        break;
    case Trigger::TrayMenu: {
        frame().AGPopUp1->showAt(QPoint(10, 10));
        const QList<QAction*> items = frame().AGPopUp1->menu()->actions();
        const auto exit = std::find_if(items.cbegin(), items.cend(),
                                       [](const QAction* a) { return a->text() == u"&Exit"; });
        QVERIFY(exit != items.cend());
        (*exit)->trigger();
        // The pick arrives from the event loop.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        break;
    }
    case Trigger::Typed:
        line = QStringLiteral("/exit");
        ParseLine(*m_p, line);
        break;
    case Trigger::Scripted:
        line = QStringLiteral("/bye");
        ParseLine(*m_p, line);
        break;
    }
}

void TestExit::endsOnce_data() {
    QTest::addColumn<Trigger>("trigger");
    QTest::addColumn<QString>("confirm");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("questions");
    QTest::addColumn<int>("ends");

    const QList<QPair<const char*, Trigger>> triggers{{"close box", Trigger::CloseBox},
                                                      {"File menu", Trigger::FileMenu},
                                                      {"tray menu", Trigger::TrayMenu},
                                                      {"typed", Trigger::Typed},
                                                      {"scripted", Trigger::Scripted}};
    for (const auto& [name, trigger] : triggers) {
        QTest::addRow("%s, no question", name) << trigger << "0" << 0 << 0 << 1;
        QTest::addRow("%s, confirmed", name) << trigger << "1" << int(platform::vbYes) << 1 << 1;
        QTest::addRow("%s, refused", name) << trigger << "1" << int(platform::vbNo) << 1 << 0;
    }
}

void TestExit::endsOnce() {
    QFETCH(Trigger, trigger);
    QFETCH(QString, confirm);
    QFETCH(int, answer);
    QFETCH(int, questions);
    QFETCH(int, ends);
    m_p->settings.setValue(QStringLiteral("USE_CONFIRM_EXIT"), confirm);
    if (answer != 0)
        m_answers->queueMessageBoxAnswer(answer);

    if (ends == 0) {
        QCOMPARE(m_wire->sentBy([&] { start(trigger); }), QByteArrayList{});
    } else {
        start(trigger);
        // Requests while the exit is under way return at once.
        QVERIFY(m_p->closing);
        QString again = QStringLiteral("/exit");
        ParseLine(*m_p, again);
        frame().windowWidget()->close();
    }

    QCOMPARE(m_answers->requests().size(), questions);
    for (const DialogRequest& question : m_answers->requests()) {
        QCOMPARE(question.prompt, QStringLiteral("Are you sure you want to close Parlone?"));
        QCOMPARE(question.title, QStringLiteral("Confirm Exit"));
        QCOMPARE(question.buttons, int(platform::vbYesNo));
    }

    if (ends == 0) {
        QCoreApplication::processEvents();
        QCOMPARE(m_ends, 0);
        QVERIFY(!m_p->closing);
        QVERIFY(!m_p->ExitConfirmed);
        QVERIFY(frame().Visible());
        QVERIFY(frame().Yarv1->IsConnected());
        return;
    }

    QTRY_COMPARE(m_ends, 1);
    // The quit message reached the server before the connection closed.
    QTRY_VERIFY(!m_wire->peer().hasClient());
    QCOMPARE(m_wire->lines(), QByteArrayList{"QUIT :Exit: bye now"});
    QCoreApplication::processEvents();
    QCOMPARE(m_ends, 1);
    QCOMPARE(m_answers->requests().size(), questions);
    QVERIFY(m_p->forms().isEmpty());

    // Both files written, each time while the windows were all there; only
    // a window's own .win, written by its close, comes with the unloading.
    QStringList written;
    for (const Write& write : std::as_const(m_writes)) {
        const bool ownPlace = write.file.endsWith(u".win") && write.file != u"main.win";
        QVERIFY2(write.windowsLoaded || ownPlace, qPrintable(write.file));
        written << write.file;
    }
    QVERIFY(written.contains(QStringLiteral("settings.ini")));
    QVERIFY(written.contains(QStringLiteral("popups.ini")));
    QVERIFY(written.contains(QStringLiteral("main.win")));
    // The server window had its own close, which writes its place.
    QVERIFY(written.contains(QStringLiteral("server.win")));
    QStringList notify;
    for (const QStringList& record : records(QStringLiteral("settings.ini"), 2)) {
        if (record.at(0) == u"ADD_NOTIFY")
            notify << record.at(1);
    }
    QCOMPARE(notify, QStringList({"alice", "bob", "carol"}));
    const QList<QStringList> popups{{"CHANNEL", "Op", "/mode # +o $1"}};
    QCOMPARE(records(QStringLiteral("popups.ini"), 3), popups);
}

// The end does not leave before the quit message has: with the program gone
// the moment it ends, the server still has the message.
void TestExit::quitLeavesBeforeTheProgramGoes() {
    m_p->settings.setValue(QStringLiteral("USE_CONFIRM_EXIT"), QStringLiteral("0"));
    // Much still to send: the quit message waits behind it on the socket.
    const QString chatter = QStringLiteral("PRIVMSG #x :") + QString(400, u'x');
    for (int i = 0; i < 8000; ++i)
        frame().Yarv1->SendCommand(chatter);
    // The clock turns to the next second at once: the wait for it is over
    // before the socket could have sent all that.
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 30, 999)));
    QString line = QStringLiteral("/exit");
    ParseLine(*m_p, line);
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 31)));
    QTRY_COMPARE(m_ends, 1);
    m_p.reset();
    QTRY_VERIFY(m_wire->lines().contains("QUIT :Exit: bye now"));
}

// Asking is not closing: what the server says while the question is open
// opens its windows, and they stay after a No.
void TestExit::questionOpenKeepsTheProgramGoing() {
    struct Asking : ScriptedAnswerer {
        std::function<void()> whileOpen;
        int messageBox(const DialogRequest& request) override {
            whileOpen();
            return ScriptedAnswerer::messageBox(request);
        }
    };
    // The box of the fixture answers nothing here: this one is installed last.
    Asking asking;
    asking.queueMessageBoxAnswer(platform::vbNo);
    m_p->settings.setValue(QStringLiteral("USE_CONFIRM_EXIT"), QStringLiteral("1"));
    m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    bool closingWhileOpen = true;
    asking.whileOpen = [&] {
        closingWhileOpen = m_p->closing;
        // A second request while the question is open returns at once.
        QString again = QStringLiteral("/exit");
        ParseLine(*m_p, again);
        m_wire->peer().sendLine(":alice!a@h PRIVMSG me :are you there?");
        m_wire->peer().sendLine(":me!u@h JOIN #room");
        QVERIFY(QTest::qWaitFor(
            [&] {
                return FindForm(*m_p, QStringLiteral("?alice")) >= 0 &&
                       FindForm(*m_p, QStringLiteral("#room")) >= 0;
            },
            5000));
    };
    frame().windowWidget()->close();

    QVERIFY(!closingWhileOpen);
    QCOMPARE(asking.requests().size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(m_ends, 0);
    QVERIFY(!m_p->closing);
    QVERIFY(FindForm(*m_p, QStringLiteral("?alice")) >= 0);
    QVERIFY(FindForm(*m_p, QStringLiteral("#room")) >= 0);
    QVERIFY(frame().Yarv1->IsConnected());
}

void TestExit::waitsForTheNextSecond() {
    m_p->settings.setValue(QStringLiteral("USE_CONFIRM_EXIT"), QStringLiteral("0"));
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 5, 59)));
    QString line = QStringLiteral("/exit");
    ParseLine(*m_p, line);
    QVERIFY(m_p->closing);

    // While the clock stays at second 59 the program goes on handling events.
    bool handled = false;
    QTimer::singleShot(0, [&handled] { handled = true; });
    QTRY_VERIFY(handled);
    QTest::qWait(1100); // at least one more tick of the wait
    QCOMPARE(m_ends, 0);
    QVERIFY(m_p->hasMainFrame());

    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(7, 6, 0)));
    QTRY_COMPARE(m_ends, 1);
    QVERIFY(m_p->forms().isEmpty());
}

void TestExit::openEditorAddsNoSave_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("editor loaded") << false;
    QTest::newRow("editor open") << true;
}

// The exit saves popups.ini itself before any window goes; the editor's
// close adds no save of its own and only keeps its place.
void TestExit::openEditorAddsNoSave() {
    QFETCH(bool, open);
    m_p->settings.setValue(QStringLiteral("USE_CONFIRM_EXIT"), QStringLiteral("0"));
    if (open)
        ExecCommand(*m_p, QStringLiteral("popup show"));
    start(Trigger::Typed);
    QTRY_COMPARE(m_ends, 1);
    QStringList written;
    for (const Write& write : std::as_const(m_writes)) {
        if (write.file == u"popups.ini")
            QVERIFY(write.windowsLoaded);
        written << write.file;
    }
    QCOMPARE(written.count(QStringLiteral("popups.ini")), 3);
    QCOMPARE(written.contains(QStringLiteral("popups.win")), open);
}

// However the clock moves after the exit began, the next reading of another
// second ends the wait: a second missed while the event loop was held, or a
// clock stepped back, never makes the program wait for a minute.
void TestExit::waitEndsWhenTheSecondChanges_data() {
    QTest::addColumn<QTime>("start");
    QTest::addColumn<QTime>("next");
    QTest::newRow("the next second") << QTime(7, 5, 30) << QTime(7, 5, 31);
    QTest::newRow("over the minute") << QTime(7, 5, 59) << QTime(7, 6, 0);
    QTest::newRow("a second skipped") << QTime(7, 5, 30) << QTime(7, 5, 32);
    QTest::newRow("second 0 skipped") << QTime(7, 5, 59) << QTime(7, 6, 1);
    QTest::newRow("clock stepped back") << QTime(7, 5, 30) << QTime(7, 5, 29);
}

void TestExit::waitEndsWhenTheSecondChanges() {
    QFETCH(QTime, start);
    QFETCH(QTime, next);
    m_p->settings.setValue(QStringLiteral("USE_CONFIRM_EXIT"), QStringLiteral("0"));
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), start));
    QString line = QStringLiteral("/exit");
    ParseLine(*m_p, line);
    QVERIFY(m_p->closing);
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), next));
    QTRY_COMPARE(m_ends, 1);
}

PARLONE_TEST_MAIN(TestExit)
#include "tst_exit.moc"
