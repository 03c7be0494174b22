// The query window: its unread count on the switchbar, its own timestamp
// rule, what Enter sends, its three ways of closing, and the "&Detach" item
// with the window procedure that catches it.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "platform/window/ImageList.h"
#include "platform/window/SystemMenu.h"
#include "platform/window/Window.h"
#include "tests/support/PeerWire.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/DetachMenuProc.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QAction>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>

using namespace platform;

namespace {

constexpr UINT WM_COMMAND = 0x0111;

// Records every message that reaches a window's own default handling.
struct DefaultProcRecorder {
    explicit DefaultProcRecorder(HWND hwnd) {
        ExtendDefaultWindowProc(
            hwnd, [this](HWND h, UINT msg, WPARAM wp, LPARAM lp, const WindowProcFn& base) {
                seen << QStringLiteral("%1:%2").arg(msg, 0, 16).arg(wp);
                return base(h, msg, wp, lp);
            });
    }
    QStringList seen;
};

} // namespace

class TestQuery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void blankLineIsNothing();
    void unreadLinesAreCountedUntilActivated();
    void timestamp_data();
    void timestamp();
    void enterSendsToTheNick();
    void closeAttachedRemovesExactlyItsPanel();
    void closeHiddenTwinRemovesNoPanel();
    void closeWithADesktopWindowHandsItOver();
    void detachItemIsCaughtAndGoesNoFurther();
    void eachWindowKeepsItsOwnPreviousProcedure();

private:
    // A query window for `nick` with its panel, shown or hidden.
    frm_query* query(const QString& nick, bool shown);
    QStringList panelTexts();
    // The number of the frame's picture a panel shows; 0 for none.
    int pictureOf(const SwitchBarPanel& panel) {
        return m_p->mainFrame().il.indexOfHandle(IconHandle(panel.Picture()));
    }
    QString lastLine(const frm_query& q) {
        return q.console->Text().section(QStringLiteral("\r\n"), -1);
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestQuery::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    QDir().mkpath(m_folder->file(QStringLiteral("logs")));
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(9, 5, 3)));
    m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    m_p->serverWindow().Show();
}

void TestQuery::cleanup() {
    m_p.reset();
    m_folder.reset();
}

frm_query* TestQuery::query(const QString& nick, bool shown) {
    auto* q = new frm_query(*m_p);
    q->setTag(u'?' + nick);
    q->setCaption(nick);
    m_p->mainFrame().StatusBar1->Add(-1, q->Tag());
    if (shown)
        q->Show();
    return q;
}

QStringList TestQuery::panelTexts() {
    QStringList texts;
    const SwitchBar* bar = m_p->mainFrame().StatusBar1;
    for (int i = 1; i <= bar->Count(); ++i)
        texts << bar->Panel(i)->Text();
    return texts;
}

void TestQuery::blankLineIsNothing() {
    m_p->settings.setValue(QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    m_p->settings.setValue(QStringLiteral("WIN_QUERY_TIMESTAMP"), QStringLiteral("TRUE"));
    frm_query* q = query(QStringLiteral("bob"), false);
    q->disp(QStringLiteral("   "));
    q->disp(QString());
    QCOMPARE(q->console->Text(), QString());
    QCOMPARE(q->mwait(), 0);
    QCOMPARE(m_p->mainFrame().StatusBar1->Panel(2)->ToolTipText(), QString());
    QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("logs/bob.log"))));
}

void TestQuery::unreadLinesAreCountedUntilActivated() {
    frm_query* q = query(QStringLiteral("bob"), false);
    // Another window is the frame's active child: the server window.
    for (const char* line : {"one", "two", "three"})
        q->disp(QString::fromLatin1(line));
    QCOMPARE(q->mwait(), 3);
    const SwitchBarPanel* panel = m_p->mainFrame().StatusBar1->Panel(2);
    QCOMPARE(panel->ToolTipText(), QStringLiteral("bob(3 messages waiting.)"));
    QCOMPARE(pictureOf(*panel), 10);

    q->Show();
    QCOMPARE(q->mwait(), 0);
    QCOMPARE(panel->ToolTipText(), QStringLiteral("bob ..no messages waiting."));
    QCOMPARE(pictureOf(*panel), 5);
    QCOMPARE(panel->bevel(), int(SwitchBarPanel::sbrInset));
    // Lines shown while it is the active child are read as they come.
    q->disp(QStringLiteral("four"));
    QCOMPARE(q->mwait(), 0);
    QCOMPARE(panel->ToolTipText(), QStringLiteral("bob ..no messages waiting."));
}

void TestQuery::timestamp_data() {
    QTest::addColumn<QString>("setting");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("line");

    QTest::newRow("TRUE") << "TRUE" << false << "[9:5] hello";
    QTest::newRow("true in lower case") << "true" << true << "hello";
    QTest::newRow("FALSE, asked for") << "FALSE" << true << "hello";
    QTest::newRow("unset, asked for") << "" << true << "hello";
}

void TestQuery::timestamp() {
    QFETCH(QString, setting);
    QFETCH(bool, asked);
    QFETCH(QString, line);
    m_p->settings.setValue(QStringLiteral("WIN_QUERY_TIMESTAMP"), setting);
    m_p->settings.setValue(QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    frm_query* q = query(QStringLiteral("bob"), true);
    q->disp(QStringLiteral("hello"), asked);
    QCOMPARE(lastLine(*q), line);
    // The log takes the turn's lines when the turn ends.
    QCoreApplication::processEvents();
    QCOMPARE(m_folder->read(QStringLiteral("logs/bob.log")),
             (line + QStringLiteral("\r\n")).toUtf8());
}

void TestQuery::enterSendsToTheNick() {
    PeerWire wire(*m_p->mainFrame().Yarv1);
    QVERIFY(wire.connected());
    frm_query* q = query(QStringLiteral("bob"), true);
    const QByteArrayList sent = wire.sentBy([&] {
        q->commandline->setText(QStringLiteral("  hi there "));
        QTest::keyClick(q->commandline, Qt::Key_Return);
    });
    QCOMPARE(sent, QByteArrayList{"PRIVMSG bob :hi there"});
    QCOMPARE(lastLine(*q), QStringLiteral("<me> hi there"));
}

void TestQuery::closeAttachedRemovesExactlyItsPanel() {
    query(QStringLiteral("bobby"), true);
    query(QStringLiteral("Bob"), true);
    frm_query* q = query(QStringLiteral("bob"), true);
    q->requestClose();
    QVERIFY(!m_p->forms().contains(q));
    QCOMPARE(panelTexts(), (QStringList{"Server", "?bobby", "?Bob"}));
}

void TestQuery::closeHiddenTwinRemovesNoPanel() {
    query(QStringLiteral("bob"), true);
    auto* twin = new frm_query(*m_p);
    twin->setTag(QStringLiteral("??bob"));
    twin->requestClose();
    QVERIFY(!m_p->forms().contains(twin));
    QCOMPARE(panelTexts(), (QStringList{"Server", "?bob"}));
}

void TestQuery::closeWithADesktopWindowHandsItOver() {
    // The conversation was put back into the frame: the desktop window is
    // hidden with "??bob", and a stale panel carries its tag.
    frm_query* q = query(QStringLiteral("bob"), true);
    q->setCaption(QStringLiteral("bob (u@host)"));
    auto* desktop = new RecordingWindow(*m_p, QStringLiteral("??bob"));
    m_p->mainFrame().StatusBar1->Add(-1, QStringLiteral("??bob"));
    int cancel = 0;
    q->Form_QueryUnload(cancel, 0);
    QCOMPARE(cancel, 0);
    QVERIFY(!m_p->forms().contains(q));
    QCOMPARE(desktop->Tag(), QStringLiteral("?bob"));
    QCOMPARE(desktop->Caption(), QStringLiteral("bob (u@host)"));
    QCOMPARE(panelTexts(), (QStringList{"Server", "?bob"}));
}

void TestQuery::detachItemIsCaughtAndGoesNoFurther() {
    frm_query* q = query(QStringLiteral("bob"), true);
    const HWND hwnd = q->hwnd();
    DefaultProcRecorder recorder(hwnd);

    // The item is in the query's own system menu, not in the server window's.
    const HMENU menu = GetSystemMenu(hwnd, false);
    QString text;
    QVERIFY(GetMenuStringA(menu, IDM_DETACH, &text, 64, MF_BYCOMMAND) > 0);
    QCOMPARE(text, QStringLiteral("&Detach"));
    QCOMPARE(
        GetMenuState(GetSystemMenu(m_p->serverWindow().hwnd(), false), IDM_DETACH, MF_BYCOMMAND),
        MENU_ITEM_MISSING);
    // Both windows run the one procedure.
    QCOMPARE(GetWindowLongA(m_p->serverWindow().hwnd(), GWL_WNDPROC),
             GetWindowLongA(hwnd, GWL_WNDPROC));

    // Picking the item goes no further than the procedure.
    QAction* detach = nullptr;
    for (QAction* a : qobject_cast<QMenu*>(MenuWidget(menu))->actions()) {
        if (a->text() == u"&Detach")
            detach = a;
    }
    QVERIFY(detach);
    detach->trigger();
    QCOMPARE(SendMessageA(hwnd, WM_SYSCOMMAND, IDM_DETACH, 0), 0);
    QCOMPARE(recorder.seen, QStringList{});
    // Anything else passes on: the same number as another message, another
    // system command.
    SendMessageA(hwnd, WM_COMMAND, IDM_DETACH, 0);
    SendMessageA(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    QCOMPARE(recorder.seen,
             (QStringList{QStringLiteral("111:1011"), QStringLiteral("112:%1").arg(SC_MINIMIZE)}));
    QCOMPARE(q->WindowState(), int(Form::vbMinimized));

    // Closing gives the window its own procedure back.
    const qint64 detachProc = GetWindowLongA(hwnd, GWL_WNDPROC);
    q->requestClose();
    QVERIFY(IsWindow(hwnd)); // destroyed when the event loop runs
    QVERIFY(GetWindowLongA(hwnd, GWL_WNDPROC) != detachProc);
    QVERIFY(!HasPropA(hwnd, QStringLiteral("PrevWndProc")));
}

void TestQuery::eachWindowKeepsItsOwnPreviousProcedure() {
    frm_query* first = query(QStringLiteral("ann"), true);
    frm_query* second = query(QStringLiteral("bob"), true);
    DefaultProcRecorder firstSeen(first->hwnd());
    DefaultProcRecorder secondSeen(second->hwnd());
    // Installing again changes nothing: the procedure never calls itself.
    InstallDetachMenuProc(first->hwnd());
    SendMessageA(first->hwnd(), WM_COMMAND, 7, 0);
    QCOMPARE(firstSeen.seen, QStringList{QStringLiteral("111:7")});
    QCOMPARE(secondSeen.seen, QStringList{});
}

PARLONE_TEST_MAIN(TestQuery)
#include "tst_query.moc"
