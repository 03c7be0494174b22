// The tray: the frame minimised into the notification area where there is
// one, the buddy-mode status it shows, and the icon's clicks coming back as
// the frame's mouse-move callback.

#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/UnreadLines.h"
#include "core/mod_kernel.h"
#include "platform/window/Twips.h"
#include "tests/support/FakeNotifyArea.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QListWidget>
#include <QMdiArea>

using namespace platform;

namespace {

// A conversation window with a number of unread lines.
class UnreadForm : public Form, public UnreadLines {
public:
    UnreadForm(Program& program, const QString& tag, int unread)
        : Form(program, Kind::MdiChild, tag), m_unread(unread) {}
    int mwait() const override { return m_unread; }

private:
    int m_unread;
};

using Unread = QList<QPair<QString, int>>;

QString padded(const QString& tip) {
    return tip.leftJustified(NotifyTipLength, u' ', true);
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void status_data();
    void status();
    void minimiseGoesToTheTrayOnlyWhereThereIsOne_data();
    void minimiseGoesToTheTrayOnlyWhereThereIsOne();
    void leftClickBringsTheFrameBack_data();
    void leftClickBringsTheFrameBack();
    void rightClickOpensTheSharedMenu();
    void maxTakesTheFrameOutOfTheTray();

private:
    frm_main& frame() { return m_p->mainFrame(); }
    void minimiseIntoTray();

    TempProgramFolder m_folder;
    std::unique_ptr<FakeNotifyArea> m_area;
    std::unique_ptr<Program> m_p;
};

void TestTray::init() {
    m_area = std::make_unique<FakeNotifyArea>();
    m_p = std::make_unique<Program>(m_folder.path());
    m_p->serverWindow().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
}

void TestTray::cleanup() {
    m_p.reset();
    m_area.reset();
}

void TestTray::minimiseIntoTray() {
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    frame().setWindowState(Form::vbMinimized);
}

void TestTray::status_data() {
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<QString>("useTray");
    QTest::addColumn<QString>("useBuddy");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("away");
    QTest::addColumn<Unread>("unread");
    QTest::addColumn<QStringList>("online");
    QTest::addColumn<int>("picture"); // 0: icon and tip left alone
    QTest::addColumn<QString>("tip");

    const Unread none;
    const Unread bobAndCarol{{QStringLiteral("?bob"), 2}, {QStringLiteral("?carol"), 1}};
    QTest::newRow("frame not minimised")
        << false << "1"
        << "1" << true << false << bobAndCarol << QStringList() << 0 << QString();
    QTest::newRow("USE_TRAY 0") << true << "0"
                                << "1" << true << false << bobAndCarol << QStringList() << 0
                                << QString();
    QTest::newRow("USE_BUDDY 0") << true << "1"
                                 << "0" << true << false << bobAndCarol << QStringList() << 0
                                 << QString();
    QTest::newRow("offline with unread lines")
        << true << "1"
        << "1" << false << false << bobAndCarol << QStringList{QStringLiteral("dave")} << 13
        << "Status: Offline";
    QTest::newRow("connected, nothing new") << true << "1"
                                            << "" << true << false << none << QStringList() << 7
                                            << "Status: Connected\r\nMessages: 0\r\nOnline: None";
    QTest::newRow("unread lines")
        << true << "1"
        << "1" << true << false << bobAndCarol << QStringList() << 14
        << "Status: Connected\r\nMessages: 3  bob 2 carol 1\r\nOnline: None";
    QTest::newRow("buddies online")
        << true << "1"
        << "1" << true << false << none
        << QStringList{QStringLiteral("dave"), QStringLiteral("erin")} << 15
        << "Status: Connected\r\nMessages: 0\r\nOnline:  dave erin";
    QTest::newRow("both, the worked example")
        << true << "1"
        << "1" << true << false << bobAndCarol << QStringList{QStringLiteral("dave")} << 17
        << "Status: Connected\r\nMessages: 3  bob 2 carol 1\r\nOnline:  dave";
    QTest::newRow("away") << true << "1"
                          << "1" << true << true << none << QStringList() << 7
                          << "Status: Connected, away.\r\nMessages: 0\r\nOnline: None";
    QTest::newRow("nothing unread is not listed")
        << true << "1"
        << "1" << true << false
        << Unread{{QStringLiteral("?bob"), 0}, {QStringLiteral("?carol"), 1}} << QStringList() << 14
        << "Status: Connected\r\nMessages: 1  carol 1\r\nOnline: None";
    QTest::newRow("hidden twin of a detached query")
        << true << "1"
        << "1" << true << false << Unread{{QStringLiteral("??bob"), 4}} << QStringList() << 14
        << "Status: Connected\r\nMessages: 4  ?bob 4\r\nOnline: None";
    QTest::newRow("cut at 64 characters")
        << true << "1"
        << "1" << true << false
        << Unread{{QStringLiteral("?alexander"), 1},
                  {QStringLiteral("?bartholomew"), 2},
                  {QStringLiteral("?cornelius"), 3}}
        << QStringList{QStringLiteral("dave")} << 17
        << "Status: Connected\r\nMessages: 6  alexander 1 bartholomew 2 cornel";
}

void TestTray::status() {
    QFETCH(bool, minimised);
    QFETCH(QString, useTray);
    QFETCH(QString, useBuddy);
    QFETCH(bool, connected);
    QFETCH(bool, away);
    QFETCH(Unread, unread);
    QFETCH(QStringList, online);
    QFETCH(int, picture);
    QFETCH(QString, tip);

    for (const auto& [tag, count] : unread)
        (new UnreadForm(*m_p, tag, count))->Show();
    for (const QString& nick : online)
        m_p->notifyWindow().l_online->addItem(nick);
    m_p->ServerConnected = connected;
    m_p->IsAway = away;
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    if (minimised)
        frame().setWindowState(Form::vbMinimized);
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), useTray);
    m_p->settings.setValue(QStringLiteral("USE_BUDDY"), useBuddy);

    m_area->calls.clear();
    UpdateTrayStatus(*m_p);
    if (picture == 0) {
        QCOMPARE(m_area->calls.size(), 0);
        return;
    }
    QVERIFY(!m_area->calls.isEmpty());
    const NOTIFYICONDATA& last = m_area->calls.constLast().data;
    QCOMPARE(m_area->calls.constLast().message, NIM_MODIFY);
    QCOMPARE(frame().il.indexOfHandle(last.hIcon), picture);
    QCOMPARE(last.szTip, padded(tip));
    QCOMPARE(last.uFlags, NIF_MESSAGE | NIF_ICON | NIF_TIP);
    QCOMPARE(last.uCallbackMessage, TrayCallbackMessage);
}

void TestTray::minimiseGoesToTheTrayOnlyWhereThereIsOne_data() {
    QTest::addColumn<bool>("trayAvailable");
    QTest::addColumn<QString>("useTray");
    QTest::addColumn<bool>("intoTray");
    QTest::newRow("tray, USE_TRAY 1") << true << "1" << true;
    QTest::newRow("tray, USE_TRAY 0") << true << "0" << false;
    QTest::newRow("no tray, USE_TRAY 1") << false << "1" << false;
}

void TestTray::minimiseGoesToTheTrayOnlyWhereThereIsOne() {
    QFETCH(bool, trayAvailable);
    QFETCH(QString, useTray);
    QFETCH(bool, intoTray);
    m_area.reset();
    FakeNotifyArea area(trayAvailable);
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), useTray);
    frame().setWindowState(Form::vbMinimized);
    QCOMPARE(frame().Visible(), !intoTray);
    QCOMPARE(area.shown, intoTray);
    if (!intoTray)
        return;
    const NOTIFYICONDATA& added = area.calls.constFirst().data;
    QCOMPARE(area.calls.constFirst().message, NIM_ADD);
    QCOMPARE(added.hWnd, frame().hwnd());
    QCOMPARE(added.uID, 1u);
    QCOMPARE(added.szTip, QStringLiteral("Parlone") + QChar(0));
    // The frame's own icon, which is the program's, not the toolkit's.
    QCOMPARE(IconFromHandle(added.hIcon).cacheKey(), frame().windowIcon().cacheKey());
    QCOMPARE(QApplication::windowIcon().cacheKey(), frame().windowIcon().cacheKey());
    // Then the status: offline.
    QCOMPARE(area.icon.szTip, padded(QStringLiteral("Status: Offline")));
    QCOMPARE(frame().il.indexOfHandle(area.icon.hIcon), 13);
}

void TestTray::leftClickBringsTheFrameBack_data() {
    QTest::addColumn<QSize>("child");
    QTest::addColumn<bool>("rescued");
    QTest::newRow("too narrow") << QSize(400, 3000) << true;
    QTest::newRow("too low") << QSize(3000, 300) << true;
    QTest::newRow("large enough") << QSize(600, 600) << false;
}

void TestTray::leftClickBringsTheFrameBack() {
    QFETCH(QSize, child);
    QFETCH(bool, rescued);
    auto* window = new Form(*m_p, Form::Kind::MdiChild, QStringLiteral("#chan"));
    window->Show();
    window->Move(1000, 700, child.width(), child.height());
    QVERIFY2(window->Width() < 500 || window->Height() < 500 || !rescued,
             "the child could not be made that small");
    const QRect before = window->windowWidget()->geometry();
    minimiseIntoTray();
    QVERIFY(m_area->shown);

    m_area->click(WM_LBUTTONUP);
    QVERIFY(frame().Visible());
    QCOMPARE(frame().WindowState(), int(Form::vbNormal));
    QVERIFY(!m_area->shown);
    QCOMPARE(m_area->calls.constLast().message, NIM_DELETE);
    const QRect expected(TwipsToPixelsX(100), TwipsToPixelsY(100),
                         TwipsToPixelsX(frame().Width() - 200),
                         TwipsToPixelsY(frame().Height() - 200));
    QCOMPARE(window->windowWidget()->geometry(), rescued ? expected : before);
}

void TestTray::maxTakesTheFrameOutOfTheTray() {
    minimiseIntoTray();
    QVERIFY(m_area->shown);
    QString line = QStringLiteral("/max");
    ParseLine(*m_p, line, QStringLiteral("Server"));
    QVERIFY(frame().Visible());
    QCOMPARE(frame().WindowState(), int(Form::vbMaximized));
    QVERIFY(!m_area->shown);
    QCOMPARE(m_area->calls.constLast().message, NIM_DELETE);
}

void TestTray::rightClickOpensTheSharedMenu() {
    minimiseIntoTray();
    m_area->click(WM_RBUTTONUP);
    QMenu* menu = frame().AGPopUp1->menu();
    QVERIFY(menu && menu->isVisible());
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << action->text();
    QCOMPARE(captions, QStringList({QStringLiteral("&Connect"), QStringLiteral("&Disconnect"),
                                    QStringLiteral("&Exit")}));
    QCOMPARE(frame().AGPopUp1->itemNames(),
             QStringList({QStringLiteral("/connect"), QStringLiteral("/disconnect"),
                          QStringLiteral("/exit")}));
    // Any other action does nothing.
    m_area->calls.clear();
    m_area->click(WM_MBUTTONUP);
    QVERIFY(m_area->shown);
    QVERIFY(!frame().Visible());
}

PARLONE_TEST_MAIN(TestTray)
#include "tst_tray.moc"
