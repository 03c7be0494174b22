// The notify list: the ISON poll (its lines, when it asks and when it
// waits for a round), adding and deleting buddies, the replies that sort
// the buddies into online and offline with the server window's lines, and
// the window's place in notify.win.

#include "connection/MainMenus.h"
#include "connection/NotifyReplies.h"
#include "connection/frm_main.h"
#include "core/WindowLookup.h"
#include "core/mod_connect.h"
#include "platform/dialogs/Dialogs.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QAction>
#include <QPushButton>
#include <QTabWidget>

using platform::DialogRequest;

namespace {

QStringList entries(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

void fill(QListWidget& list, const QStringList& texts) {
    list.clear();
    list.addItems(texts);
}

} // namespace

class TestNotify : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void longListsSplit();
    void isonLineBounds_data();
    void isonLineBounds();
    void poll_data();
    void poll();
    void roundWaitsThenGivesUp();
    void newConnectionStartsARound();
    void add_data();
    void add();
    void deleteBuddy();
    void replies_data();
    void replies();
    void roundOfTwoRepliesMerged();
    void closeHidesAndKeepsPolling();
    void placeReadFromNotifyWin();
    void minimisedAtExitComesBack_data();
    void minimisedAtExitComesBack();

private:
    frm_notify& notify() { return f.p->notifyWindow(); }
    void reply(const QString& nicks) {
        f.p->mainFrame().notifyReplies->Yarv1_IsonReply(QStringLiteral("me"), nicks);
    }
    // The server window's lines from the mark on.
    QStringList serverLines() {
        return f.p->serverWindow().console->Text().split(QStringLiteral("\r\n")).mid(m_mark);
    }
    void markServerLines() {
        m_mark = static_cast<int>(
            f.p->serverWindow().console->Text().split(QStringLiteral("\r\n")).size());
    }

    WindowFixture f;
    int m_mark = 0;
};

void TestNotify::init() {
    f.start();
    f.p->serverWindow().Show();
    f.p->ServerConnected = true;
    // The test ticks the poll itself.
    notify().Timer1->stop();
    markServerLines();
}

void TestNotify::cleanup() {
    f.stop();
}

void TestNotify::longListsSplit() {
    QStringList buddies;
    for (int i = 0; i < 80; ++i)
        buddies << QStringLiteral("buddy%1").arg(i, 5, 10, QLatin1Char('0'));
    const QStringList lines = frm_notify::IsonLines(buddies);
    QVERIFY(lines.size() > 1);
    QStringList asked;
    for (const QString& line : lines) {
        QVERIFY2(line.toUtf8().size() <= 510, qPrintable(line));
        QVERIFY(line.startsWith(QStringLiteral("ISON ")));
        QVERIFY(!line.endsWith(u' '));
        const QStringList words = line.mid(5).split(u' ');
        // A server reads 15 parameters of a line.
        QVERIFY2(words.size() <= 15, qPrintable(line));
        asked << words;
    }
    QCOMPARE(asked, buddies);
    // Long nicks: the bytes cut first.
    QStringList longNicks;
    for (int i = 0; i < 12; ++i)
        longNicks << QString(60, QChar(u'a' + i));
    const QStringList longLines = frm_notify::IsonLines(longNicks);
    QCOMPARE(longLines.size(), 2);
    QCOMPARE(longLines.constFirst().size(), 5 + 8 * 61 - 1);
}

// Where one line ends, and the entries no line carries: settings.ini may
// hold anything, and a line must stay one ISON of nicks within 510 bytes.
void TestNotify::isonLineBounds_data() {
    QTest::addColumn<QStringList>("nicks");
    QTest::addColumn<QStringList>("lines");
    const QString a(168, u'a');
    const QString b(168, u'b');
    const QString c(168, u'c');
    const QString longest(505, u'x');
    QTest::newRow("510 bytes: one line")
        << QStringList{a, b, c.left(167)}
        << QStringList{"ISON " + a + u' ' + b + u' ' + c.left(167)};
    QTest::newRow("511 bytes: two lines")
        << QStringList{a, b, c} << QStringList{"ISON " + a + u' ' + b, "ISON " + c};
    QTest::newRow("an entry that fills a line")
        << QStringList{"alice", longest} << QStringList{"ISON alice", "ISON " + longest};
    QTest::newRow("stored entries that are no nick")
        << QStringList{"alice", "b c", ":d", QString(600, u'e'), longest + u'x', "f,g", "bob"}
        << QStringList{"ISON alice bob"};
    QTest::newRow("blanks around entries")
        << QStringList{" alice", "bob ", "   "} << QStringList{"ISON alice bob"};
    QTest::newRow("nothing to ask") << QStringList{"b c", ":d"} << QStringList{};
}

void TestNotify::isonLineBounds() {
    QFETCH(QStringList, nicks);
    QFETCH(QStringList, lines);
    QCOMPARE(frm_notify::IsonLines(nicks), lines);
}

void TestNotify::poll_data() {
    QTest::addColumn<QStringList>("buddies");
    QTest::addColumn<bool>("serverConnected");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("two buddies") << QStringList{"bob", "alice"} << true
                                 << QByteArrayList{"ISON alice bob"};
    QTest::newRow("no buddies") << QStringList{} << true << QByteArrayList{};
    QTest::newRow("not registered yet") << QStringList{"alice"} << false << QByteArrayList{};
    // Read from settings.ini as they stood: they stay listed, unasked.
    QTest::newRow("stored entries that are no nick")
        << QStringList{"alice", "b c", ":d", QString(600, u'e')} << true
        << QByteArrayList{"ISON alice"};
}

void TestNotify::poll() {
    QFETCH(QStringList, buddies);
    QFETCH(bool, serverConnected);
    QFETCH(QByteArrayList, sent);
    fill(*notify().List1, buddies);
    f.p->ServerConnected = serverConnected;
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), sent);
    QCOMPARE(notify().List1->count(), buddies.size());
}

void TestNotify::roundWaitsThenGivesUp() {
    const QDateTime start(QDate(2024, 5, 1), QTime(12, 0));
    f.p->clock.setFixed(start);
    fill(*notify().List1, {"alice"});
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), QByteArrayList{"ISON alice"});
    // No reply yet: the next tick waits for it.
    f.p->clock.setFixed(start.addSecs(59));
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), QByteArrayList{});
    // A minute without a reply: the round is given up and a new one starts.
    f.p->clock.setFixed(start.addSecs(60));
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), QByteArrayList{"ISON alice"});
    // Its reply closes it; the next tick asks again.
    reply(QStringLiteral("alice"));
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), QByteArrayList{"ISON alice"});
}

// A poll that went out on the last connection is never answered on this
// one: the new connection's first tick asks at once.
void TestNotify::newConnectionStartsARound() {
    f.p->clock.setFixed(QDateTime(QDate(2024, 5, 1), QTime(12, 0)));
    fill(*notify().List1, {"alice"});
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), QByteArrayList{"ISON alice"});
    QVERIFY(notify().roundOpen());

    const struct {
        const char* key;
        QString value;
    } profile[] = {
        {"SERVER_URL", f.peer->host()},
        {"SERVER_PORT", QString::number(f.peer->port())},
        {"PROFILE_ALTERNATE", QStringLiteral("me_")},
        {"PROFILE_USERNAME", QStringLiteral("me")},
        {"PROFILE_EMAIL", QStringLiteral("me@example.org")},
        {"PROFILE_REALNAME", QStringLiteral("Me")},
    };
    for (const auto& [key, value] : profile)
        f.p->settings.setValue(QLatin1String(key), value);
    QSignalSpy connected(&f.irc(), &platform::Yarv::SocketConnected);
    ConnectServer(*f.p);
    QVERIFY(connected.wait(5000));
    // The peer has the new connection once its NICK and USER are all it has.
    QTRY_COMPARE(f.peer->lines().size(), 2);
    f.p->ServerConnected = true;
    QCOMPARE(f.sentBy([&] { notify().Timer1_Timer(); }), QByteArrayList{"ISON alice"});
}

void TestNotify::add_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QVariant>("answer"); // invalid: the box is cancelled
    QTest::addColumn<QStringList>("after");
    const QStringList two{"alice", "bob"};
    QTest::newRow("a new nick in its sorted place")
        << two << QVariant(QStringLiteral("carl")) << QStringList{"alice", "bob", "carl"};
    QTest::newRow("before the others")
        << two << QVariant(QStringLiteral(" aaron ")) << QStringList{"aaron", "alice", "bob"};
    QTest::newRow("a nick there in another case")
        << two << QVariant(QStringLiteral(" Bob ")) << two;
    QTest::newRow("two words") << two << QVariant(QStringLiteral("bob alice")) << two;
    QTest::newRow("a comma") << two << QVariant(QStringLiteral("carl,dave")) << two;
    QTest::newRow("a control character") << two << QVariant(QStringLiteral("carl\x01")) << two;
    QTest::newRow("blanks only") << two << QVariant(QStringLiteral("   ")) << two;
    QTest::newRow("cancelled") << two << QVariant() << two;
}

void TestNotify::add() {
    QFETCH(QStringList, before);
    QFETCH(QVariant, answer);
    QFETCH(QStringList, after);
    ScriptedAnswerer answers;
    if (answer.isValid())
        answers.queueInput(answer.toString());
    else
        answers.queueInputCancel();
    fill(*notify().List1, before);
    notify().Command1->click();
    QCOMPARE(entries(*notify().List1), after);
    QCOMPARE(answers.requests().size(), 1);
    const DialogRequest& asked = answers.requests().constFirst();
    QCOMPARE(asked.kind, DialogRequest::InputBox);
    QCOMPARE(asked.prompt, QStringLiteral("Enter a nickname"));
    QCOMPARE(asked.title, QStringLiteral("Notify.."));
    QCOMPARE(asked.defaultText, QString());
}

void TestNotify::deleteBuddy() {
    frm_notify& n = notify();
    fill(*n.List1, {"alice", "bob"});
    fill(*n.l_online, {"Bob"});
    fill(*n.l_offline, {"alice"});
    // Nothing selected: nothing goes.
    n.Command3->click();
    QCOMPARE(entries(*n.List1), QStringList({"alice", "bob"}));
    n.List1->item(1)->setSelected(true);
    n.Command3->click();
    QCOMPARE(entries(*n.List1), QStringList{"alice"});
    // The server's spelling goes with the buddy.
    QCOMPARE(entries(*n.l_online), QStringList{});
    QCOMPARE(entries(*n.l_offline), QStringList{"alice"});
    // The next reply announces nobody.
    markServerLines();
    reply(QString());
    QCOMPARE(serverLines(), QStringList{});
}

void TestNotify::replies_data() {
    QTest::addColumn<QStringList>("watched");
    QTest::addColumn<QStringList>("online");
    QTest::addColumn<QString>("reply");
    QTest::addColumn<QStringList>("onlineAfter");
    QTest::addColumn<QStringList>("offlineAfter");
    QTest::addColumn<QStringList>("lines");
    const QStringList watched{"alice", "bob", "carol"};
    QTest::newRow("the first reply")
        << watched << QStringList{} << "Bob" << QStringList{"Bob"} << QStringList{"alice", "carol"}
        << QStringList{"Bob has joined IRC."};
    QTest::newRow("a nick twice") << watched << QStringList{} << "bob BOB" << QStringList{"bob"}
                                  << QStringList{"alice", "carol"}
                                  << QStringList{"bob has joined IRC."};
    QTest::newRow("an unwatched nick") << watched << QStringList{} << "dave" << QStringList{}
                                       << QStringList{"alice", "bob", "carol"} << QStringList{};
    QTest::newRow("one comes, one goes")
        << watched << QStringList{"alice"} << "carol" << QStringList{"carol"}
        << QStringList{"alice", "bob"}
        << QStringList{"carol has joined IRC.", "alice has left IRC."};
    QTest::newRow("still there in another case")
        << watched << QStringList{"alice"} << "ALICE" << QStringList{"alice"}
        << QStringList{"bob", "carol"} << QStringList{};
    QTest::newRow("an empty reply") << watched << QStringList{"alice", "bob"} << "" << QStringList{}
                                    << QStringList{"alice", "bob", "carol"}
                                    << QStringList{"alice has left IRC.", "bob has left IRC."};
    // More online entries than watched nicks: every one is judged.
    QTest::newRow("an entry beyond the watched ones")
        << QStringList{"alice"} << QStringList{"alice", "zed"} << "alice" << QStringList{"alice"}
        << QStringList{} << QStringList{"zed has left IRC."};
}

void TestNotify::replies() {
    QFETCH(QStringList, watched);
    QFETCH(QStringList, online);
    QFETCH(QString, reply);
    QFETCH(QStringList, onlineAfter);
    QFETCH(QStringList, offlineAfter);
    QFETCH(QStringList, lines);
    frm_notify& n = notify();
    fill(*n.List1, watched);
    fill(*n.l_online, online);
    this->reply(reply);
    QCOMPARE(entries(*n.l_online), onlineAfter);
    QCOMPARE(entries(*n.l_offline), offlineAfter);
    QCOMPARE(serverLines(), lines);
}

void TestNotify::roundOfTwoRepliesMerged() {
    frm_notify& n = notify();
    QStringList buddies;
    for (int i = 0; i < 20; ++i)
        buddies << QStringLiteral("buddy%1").arg(i, 5, 10, QLatin1Char('0'));
    fill(*n.List1, buddies);
    fill(*n.l_online, {"buddy00019"});
    const QByteArrayList sent = f.sentBy([&] { n.Timer1_Timer(); });
    QCOMPARE(sent.size(), frm_notify::IsonLines(buddies).size());
    QCOMPARE(sent.size(), 2);
    // The first line's reply: nobody is judged until the second comes.
    reply(QStringLiteral("buddy00000"));
    QCOMPARE(entries(*n.l_online), QStringList{"buddy00019"});
    QCOMPARE(serverLines(), QStringList{});
    reply(QStringLiteral("buddy00019"));
    QCOMPARE(entries(*n.l_online), QStringList({"buddy00000", "buddy00019"}));
    QCOMPARE(serverLines(), QStringList{"buddy00000 has joined IRC."});
}

void TestNotify::closeHidesAndKeepsPolling() {
    frm_notify& n = notify();
    f.p->mainFrame().ShowToolWindow(n, QStringLiteral("Notify"), 7);
    QVERIFY(FindPanel(*f.p, QStringLiteral("Notify")) > 0);
    n.Move(300, 450, 7050, 4050);
    n.Timer1->start();
    n.windowWidget()->close();
    QVERIFY(!n.Visible());
    QCOMPARE(FindPanel(*f.p, QStringLiteral("Notify")), 0);
    QVERIFY(f.p->forms().contains(&n));
    QVERIFY(n.Timer1->isActive());
    const QByteArray win = f.folder->read(QStringLiteral("notify.win"));
    QVERIFY2(win.contains("\"WIN_LEFT\",\" 300\""), win.constData());
    QVERIFY2(win.contains("\"WIN_WIDTH\",\" 7050\""), win.constData());
    fill(*n.List1, {"alice"});
    QCOMPARE(f.sentBy([&] { n.Timer1_Timer(); }), QByteArrayList{"ISON alice"});
}

void TestNotify::placeReadFromNotifyWin() {
    f.folder->write(QStringLiteral("notify.win"),
                    "\"WIN_STATE\",\" 0\"\r\n\"WIN_LEFT\",\" 600\"\r\n"
                    "\"WIN_TOP\",\" 750\"\r\n\"WIN_HEIGHT\",\" 3000\"\r\n"
                    "\"WIN_WIDTH\",\" 7500\"\r\n");
    frm_notify& n = notify();
    f.p->mainFrame().ShowToolWindow(n, QStringLiteral("Notify"), 7);
    QCOMPARE(n.Left(), 600);
    QCOMPARE(n.Top(), 750);
    QCOMPARE(n.Width(), 7500);
    QCOMPARE(n.Height(), 3000);
    // Taller than 1500 twips: the tab control ends 500 above the window's
    // bottom, the lists 50 above the tab control's.
    QCOMPARE(platform::PixelsToTwipsY(n.SSTab1->height()), onScreenY(3000 - 120 - 500));
    QCOMPARE(platform::PixelsToTwipsY(n.l_online->height()), onScreenY(2380 - 720 - 50));
    QCOMPARE(platform::PixelsToTwipsY(n.List1->height()), onScreenY(2380 - 360 - 50));
}

// A window minimised when the program ends is saved at the place it had
// before, in the normal state; after a restart Tools > Notify shows it
// there. A file saved minimised by an earlier run still gives a window
// that Tools > Notify shows.
void TestNotify::minimisedAtExitComesBack_data() {
    QTest::addColumn<QByteArray>("saved"); // notify.win, or how this run leaves the window
    QTest::addColumn<QList<int>>("place"); // left, top, width, height; or 3/4 of the frame
    QTest::newRow("minimised at exit") << QByteArray() << QList<int>{300, 450, 7050, 4050};
    QTest::newRow("maximised, then minimised")
        << QByteArray("max") << QList<int>{300, 450, 7050, 4050};
    QTest::newRow("saved minimised")
        << QByteArray("\"WIN_STATE\",\" 1\"\r\n\"WIN_LEFT\",\" 0\"\r\n"
                      "\"WIN_TOP\",\" 12000\"\r\n\"WIN_HEIGHT\",\" 405\"\r\n"
                      "\"WIN_WIDTH\",\" 2400\"\r\n")
        << QList<int>{};
}

void TestNotify::minimisedAtExitComesBack() {
    QFETCH(QByteArray, saved);
    QFETCH(QList<int>, place);
    if (saved.startsWith('"')) {
        f.folder->write(QStringLiteral("notify.win"), saved);
    } else {
        frm_notify& n = notify();
        f.p->mainFrame().ShowToolWindow(n, QStringLiteral("Notify"), 7);
        n.Move(place.at(0), place.at(1), place.at(2), place.at(3));
        if (saved == "max")
            n.setWindowState(Form::vbMaximized);
        n.setWindowState(Form::vbMinimized);
        QTRY_VERIFY(!n.Visible());
        int cancel = 0;
        n.Form_QueryUnload(cancel, Form::vbFormCode);
        const QByteArray win = f.folder->read(QStringLiteral("notify.win"));
        QVERIFY2(win.startsWith("\"WIN_STATE\",\" 0\""), win.constData());
    }

    // The next run, in the same folder.
    f.p.reset();
    f.p = std::make_unique<Program>(f.folder->path());
    f.p->mainFrame().resize(WindowFixture::FrameWidth, WindowFixture::FrameHeight);
    f.p->mainFrame().show();
    f.p->mainFrame().menus->mnuNotify->trigger();
    frm_notify& n = notify();
    QVERIFY(n.Visible());
    QCOMPARE(n.WindowState(), int(Form::vbNormal));
    QVERIFY(FindPanel(*f.p, QStringLiteral("Notify")) > 0);
    if (place.isEmpty()) {
        place = {onScreenX(100), onScreenY(100), onScreenX(f.frameWidth() * 3 / 4),
                 onScreenY(f.frameHeight() * 3 / 4)};
    }
    QCOMPARE((QList<int>{n.Left(), n.Top(), n.Width(), n.Height()}), place);
    // Still there once Qt is done with the window's state.
    QTest::qWait(50);
    QVERIFY(n.Visible());
}

PARLONE_TEST_MAIN(TestNotify)
#include "tst_notify.moc"
