// The console's popup menu: built from the popup editor's captions of the
// window's kind, rebuilt when an item is added, and a pick runs every item of
// that caption through the line dispatcher.

#include "config/frm_popups.h"
#include "platform/popup/AGPopUp.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_chan.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QMenu>

class TestWindowPopups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void everyItemOfTheCaptionRuns();
    void addedItemReachesTheOpenWindowsOfItsKind_data();
    void addedItemReachesTheOpenWindowsOfItsKind();
    void serverWindowBuildsItsMenuWhenCreated();
    void noEditorNoItems();
    void rightButtonOpensTheMenu();

private:
    WindowFixture f;
};

void TestWindowPopups::init() {
    f.start();
}

void TestWindowPopups::cleanup() {
    f.stop();
}

// Put straight into the lists: AddPopUp would refuse the second "Op".
void TestWindowPopups::everyItemOfTheCaptionRuns() {
    frm_popups& editor = f.p->popupsWindow();
    editor.pop_chan_list->addItems({QStringLiteral("Op"), QStringLiteral("op"),
                                    QStringLiteral("Voice"), QStringLiteral("Op")});
    editor.pop_chan_command->addItems({QStringLiteral("/!FIRST"), QStringLiteral("/!LOWER"),
                                       QStringLiteral("/!VOICE"), QStringLiteral("/!SECOND")});
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    platform::AGPopUp& menu = *window->pop_console;
    QCOMPARE(menu.itemNames(), (QStringList{QStringLiteral("Op"), QStringLiteral("op"),
                                            QStringLiteral("Voice"), QStringLiteral("Op")}));
    menu.showAt(QPoint(10, 10));
    QVERIFY(menu.menu() != nullptr);
    QCOMPARE(f.sentBy([&] {
        menu.menu()->actions().at(3)->trigger();
        QCoreApplication::processEvents();
    }),
             (QByteArrayList{"FIRST", "SECOND"}));
}

void TestWindowPopups::addedItemReachesTheOpenWindowsOfItsKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("rebuilt");
    QTest::newRow("server") << "server" << QStringList{"Server"};
    // A window's kind is its class: a channel window whose tag has a blank in
    // front is reached with both its menus.
    QTest::newRow("channel, kind in capitals") << " CHANNEL " << QStringList{"#x", " #c"};
    QTest::newRow("nick list") << "nicklist" << QStringList{"#x nicks", " #c nicks"};
    // The hidden twin of a detached query as well.
    QTest::newRow("query") << "query" << QStringList{"?bob", "??x"};
    QTest::newRow("not a kind") << "chan" << QStringList{};
}

void TestWindowPopups::addedItemReachesTheOpenWindowsOfItsKind() {
    QFETCH(QString, kind);
    QFETCH(QStringList, rebuilt);
    frm_popups& editor = f.p->popupsWindow();
    auto* chan = f.open<frm_chan>("#x");
    auto* spaced = f.open<frm_chan>(" #c");
    const QList<QPair<QString, platform::AGPopUp*>> menus{
        {"Server", f.p->serverWindow().pop_console},
        {"#x", chan->pop_console},
        {"#x nicks", chan->pop_nicks},
        {" #c", spaced->pop_console},
        {" #c nicks", spaced->pop_nicks},
        {"?bob", f.open<frm_query>("?bob")->pop_console},
        {"??x", f.open<frm_query>("??x")->pop_console}};
    editor.AddPopUp(kind, QStringLiteral("&New"), QStringLiteral("/!NEW"));
    for (const auto& [name, menu] : menus) {
        const bool reached = rebuilt.contains(name);
        QCOMPARE(menu->itemNames(), reached ? QStringList{QStringLiteral("&New")} : QStringList{});
        if (reached) {
            menu->showAt(QPoint(10, 10));
            QCOMPARE(f.sentBy([&] {
                menu->menu()->actions().at(0)->trigger();
                QCoreApplication::processEvents();
            }),
                     QByteArrayList{"NEW"});
        }
    }
}

// Without server looks in settings.ini the server window is made after the
// popup items were read; it builds its menu itself.
void TestWindowPopups::serverWindowBuildsItsMenuWhenCreated() {
    f.p->popupsWindow().AddPopUp(QStringLiteral("server"), QStringLiteral("List"),
                                 QStringLiteral("/!LIST"));
    QVERIFY(!f.p->hasServerWindow());
    QCOMPARE(f.p->serverWindow().pop_console->itemNames(), QStringList{QStringLiteral("List")});
}

// A window reads the items only while the editor is loaded; it never loads
// the editor itself.
void TestWindowPopups::noEditorNoItems() {
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    window->UpdatePopups();
    QCOMPARE(window->pop_console->itemNames(), QStringList{});
    Q_EMIT window->pop_console->MenuItemClick(QStringLiteral("Op"));
    QVERIFY(!f.p->hasPopupsWindow());
}

void TestWindowPopups::rightButtonOpensTheMenu() {
    f.p->popupsWindow().AddPopUp(QStringLiteral("channel"), QStringLiteral("Op"),
                                 QStringLiteral("/!OP"));
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    QVERIFY(QTest::qWaitForWindowExposed(&f.p->mainFrame()));
    QTest::mousePress(window->console->rtfText->viewport(), Qt::RightButton, {}, QPoint(5, 5));
    QVERIFY(window->pop_console->menu() != nullptr);
    QTRY_VERIFY(window->pop_console->menu()->isVisible());
    window->pop_console->menu()->close();
}

PARLONE_TEST_MAIN(TestWindowPopups)
#include "tst_windowpopups.moc"
