// The window switcher: clicks on the frame's switchbar panels bring windows
// forward, close them with Shift, open the window menus with the right
// button; a double click docks the bar at the other edge.

#include "connection/WindowSwitcher.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/CommandWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "tests/support/FakeNotifyArea.h"
#include "tests/support/RecordingForm.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QLayout>
#include <QMdiArea>
#include <QSignalSpy>

using namespace platform;

namespace {

const QStringList serverItems{QStringLiteral("/WINDOW SERVER REST"),
                              QStringLiteral("/WINDOW SERVER MAX"),
                              QStringLiteral("/WINDOW SERVER MIN"), QStringLiteral("wo"),
                              QStringLiteral("//WINDOW SERVER SAVE $?FILE")};
const QStringList serverCaptions{QStringLiteral("Restore"), QStringLiteral("Maximise"),
                                 QStringLiteral("Minimise"), QString(),
                                 QStringLiteral("Save Buffer..")};

QStringList windowItems(const QString& tag) {
    return {QStringLiteral("/WINDOW NORMAL CLOSE ") + tag,
            QStringLiteral("/WINDOW NORMAL REST ") + tag,
            QStringLiteral("/WINDOW NORMAL MAX ") + tag,
            QStringLiteral("/WINDOW NORMAL MIN ") + tag,
            QStringLiteral("wo"),
            QStringLiteral("//WINDOW NORMAL SAVE ") + tag + QStringLiteral(" $?FILE"),
            QStringLiteral("//WINDOW NORMAL DETACH ") + tag};
}

} // namespace

class TestSwitcher : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void leftClicks_data();
    void leftClicks();
    void shiftCloseGoesByWindowNotByPlace();
    void leftClickRestoresAMinimisedWindow();
    void rightClickMenus_data();
    void rightClickMenus();
    void pickedItemRunsAsTyped();
    void trayShowsTheLastSwitchbarMenu();
    void panelWithoutWindowIsIgnored();
    void doubleClickDocksAtTheOtherEdge();

private:
    frm_main& frame() { return m_p->mainFrame(); }
    SwitchBar& bar() { return *frame().StatusBar1; }
    void click(const QString& panel, Qt::MouseButton button,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // The panel texts whose bevel is inset.
    QStringList insetPanels();
    QStringList menuCaptions();

    TempProgramFolder m_folder;
    std::unique_ptr<Program> m_p;
    RecordingForm* m_chan = nullptr;
    RecordingForm* m_query = nullptr;
};

void TestSwitcher::init() {
    m_p = std::make_unique<Program>(m_folder.path());
    m_p->serverWindow().Show();
    for (RecordingForm** window : {&m_chan, &m_query}) {
        const QString tag = window == &m_chan ? QStringLiteral("#chan") : QStringLiteral("?bob");
        *window =
            window == &m_chan ? new RecordingChannelForm(*m_p, tag) : new RecordingForm(*m_p, tag);
        (*window)->Show();
        frame().AddPanel(tag, 1);
    }
    frame().AddPanel(QStringLiteral("Notify"), 7);
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
}

void TestSwitcher::cleanup() {
    m_p.reset();
}

void TestSwitcher::click(const QString& panel, Qt::MouseButton button,
                         Qt::KeyboardModifiers modifiers) {
    // A panel's picture set after it was added widens it from the event loop on.
    QCoreApplication::processEvents();
    const int index = FindPanel(*m_p, panel);
    QVERIFY2(index > 0, qPrintable(panel));
    QTest::mouseClick(&bar(), button, modifiers, bar().Panel(index)->geometry().center());
}

QStringList TestSwitcher::insetPanels() {
    QStringList inset;
    for (int i = 1; i <= bar().Count(); ++i) {
        if (bar().Panel(i)->bevel() == SwitchBarPanel::sbrInset)
            inset << bar().Panel(i)->Text();
    }
    return inset;
}

QStringList TestSwitcher::menuCaptions() {
    QStringList captions;
    if (QMenu* menu = frame().AGPopUp1->menu()) {
        for (const QAction* action : menu->actions())
            captions << (action->isSeparator() ? QString() : action->text());
    }
    return captions;
}

void TestSwitcher::leftClicks_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<QList<int>>("closes");
    QTest::addColumn<QString>("active");

    QTest::newRow("plain click") << "#chan" << Qt::KeyboardModifiers() << QList<int>() << "#chan";
    QTest::newRow("Shift on a channel closes it")
        << "#chan" << Qt::KeyboardModifiers(Qt::ShiftModifier) << QList<int>{0} << QString();
    QTest::newRow("Shift on a query closes it")
        << "?bob" << Qt::KeyboardModifiers(Qt::ShiftModifier) << QList<int>{0} << QString();
    QTest::newRow("Shift on Server is a plain click")
        << "Server" << Qt::KeyboardModifiers(Qt::ShiftModifier) << QList<int>() << "Server";
    QTest::newRow("Shift with Ctrl is a plain click")
        << "#chan" << (Qt::ShiftModifier | Qt::ControlModifier) << QList<int>() << "#chan";
}

void TestSwitcher::leftClicks() {
    QFETCH(QString, panel);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(QList<int>, closes);
    QFETCH(QString, active);
    SelectPanel(*m_p, QStringLiteral("Notify"));
    click(panel, Qt::LeftButton, modifiers);

    const QList<int> allCloses = m_chan->closes + m_query->closes;
    QCOMPARE(allCloses, closes);
    QVERIFY(m_p->hasServerWindow());
    if (active.isEmpty()) {
        // A Shift-close changes no bevel and forgets the Shift.
        QCOMPARE(insetPanels(), QStringList{QStringLiteral("Notify")});
        QCOMPARE(frame().switcher->lastShift(), 0);
    } else {
        QCOMPARE(insetPanels(), QStringList{active});
        QCOMPARE(ActiveChild(*m_p), m_p->forms().at(FindForm(*m_p, active)));
    }
}

void TestSwitcher::shiftCloseGoesByWindowNotByPlace() {
    // A channel window loaded before the server window and the frame.
    m_p.reset();
    m_p = std::make_unique<Program>(m_folder.path());
    auto* early = new RecordingForm(*m_p, QStringLiteral("#early"));
    QCOMPARE(m_p->forms().indexOf(early), 0);
    m_p->serverWindow().Show();
    early->Show();
    frame().AddPanel(QStringLiteral("#early"), 1);
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
    click(QStringLiteral("#early"), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(early->closes, QList<int>{0});
}

void TestSwitcher::leftClickRestoresAMinimisedWindow() {
    m_query->setWindowState(Form::vbMinimized);
    click(QStringLiteral("?bob"), Qt::LeftButton);
    QCOMPARE(m_query->WindowState(), int(Form::vbNormal));
    QVERIFY(m_query->Visible());
    QCOMPARE(ActiveChild(*m_p), m_query);
    QCOMPARE(insetPanels(), QStringList{QStringLiteral("?bob")});
}

void TestSwitcher::rightClickMenus_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("captions");
    const QStringList windowCaptions{QStringLiteral("Close"),
                                     QStringLiteral("Restore"),
                                     QStringLiteral("Maximise"),
                                     QStringLiteral("Minimise"),
                                     QString(),
                                     QStringLiteral("Save Buffer.."),
                                     QStringLiteral("Detach")};
    QTest::newRow("server") << "Server" << serverItems << serverCaptions;
    QTest::newRow("channel") << "#chan" << windowItems(QStringLiteral("#chan")) << windowCaptions;
    QTest::newRow("query") << "?bob" << windowItems(QStringLiteral("?bob")) << windowCaptions;
    QTest::newRow("tool window: no menu") << "Notify" << QStringList() << QStringList();
}

void TestSwitcher::rightClickMenus() {
    QFETCH(QString, panel);
    QFETCH(QStringList, names);
    QFETCH(QStringList, captions);
    click(panel, Qt::RightButton);
    QMenu* menu = frame().AGPopUp1->menu();
    if (names.isEmpty()) {
        QVERIFY(!menu || !menu->isVisible());
        QCOMPARE(frame().AGPopUp1->itemNames().size(), 3); // the tray's first items
        return;
    }
    QVERIFY(menu && menu->isVisible());
    QCOMPARE(frame().AGPopUp1->itemNames(), names);
    QCOMPARE(menuCaptions(), captions);
}

void TestSwitcher::pickedItemRunsAsTyped() {
    click(QStringLiteral("?bob"), Qt::RightButton);
    QSignalSpy picked(frame().AGPopUp1, &AGPopUp::MenuItemClick);
    frame().AGPopUp1->menu()->actions().constLast()->trigger();
    QVERIFY(picked.wait(2000));
    QCOMPARE(picked.constFirst().constFirst().toString(),
             QStringLiteral("//WINDOW NORMAL DETACH ?bob"));

    // The item name is handed to the dispatcher as a typed line.
    Q_EMIT frame().AGPopUp1->MenuItemClick(QStringLiteral("/secho picked"));
    QVERIFY(m_p->serverWindow().console->Text().endsWith(QStringLiteral("picked ")));
}

void TestSwitcher::trayShowsTheLastSwitchbarMenu() {
    FakeNotifyArea area;
    click(QStringLiteral("Server"), Qt::RightButton);
    frame().AGPopUp1->menu()->close();
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    frame().setWindowState(Form::vbMinimized);
    QVERIFY(area.shown);
    area.click(WM_RBUTTONUP);
    QVERIFY(frame().AGPopUp1->menu()->isVisible());
    QCOMPARE(menuCaptions(), serverCaptions);
}

void TestSwitcher::panelWithoutWindowIsIgnored() {
    frame().AddPanel(QStringLiteral("#gone"), 1);
    SelectPanel(*m_p, QStringLiteral("Notify"));
    click(QStringLiteral("#gone"), Qt::LeftButton);
    QCOMPARE(insetPanels(), QStringList{QStringLiteral("Notify")});
    click(QStringLiteral("#gone"), Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(m_chan->closes + m_query->closes, QList<int>());
    QCOMPARE(insetPanels(), QStringList{QStringLiteral("Notify")});
}

void TestSwitcher::doubleClickDocksAtTheOtherEdge() {
    const auto barIsAbove = [&] {
        return bar().geometry().top() < frame().mdiArea()->geometry().top();
    };
    // The empty end of the bar, past the last panel.
    const QPoint empty(bar().width() - 2, bar().height() / 2);
    QVERIFY(!barIsAbove());
    QTest::mouseDClick(&bar(), Qt::LeftButton, Qt::NoModifier, empty);
    QCOMPARE(frame().statusBarAlignment(), 1);
    frame().layout()->activate();
    QVERIFY(barIsAbove());
    QTest::mouseDClick(&bar(), Qt::LeftButton, Qt::NoModifier, empty);
    QCOMPARE(frame().statusBarAlignment(), 2);
    frame().layout()->activate();
    QVERIFY(!barIsAbove());
}

PARLONE_TEST_MAIN(TestSwitcher)
#include "tst_switcher.moc"
