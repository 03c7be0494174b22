// The popup-menu control: items in the order added, separators, an empty menu
// that stays shut, and one MenuItemClick with the stored name per pick.

#include "platform/popup/AGPopUp.h"
#include "tests/support/TestMain.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

using namespace platform;

class TestAGPopUp : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void itemsInOrderWithSeparatorsAndAccessKeys();
    void emptyMenuStaysShut();
    void onePickOneClickWithTheItemName();
    void clearedWhileOpenShowsNewItemsNextTime();
};

static QStringList shownTexts(const QMenu& menu) {
    QStringList texts;
    for (QAction* a : menu.actions())
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return texts;
}

void TestAGPopUp::itemsInOrderWithSeparatorsAndAccessKeys() {
    AGPopUp pop;
    pop.AddMenuItem(QStringLiteral("&Whois"), QStringLiteral("&Whois"));
    pop.AddMenuItem(QStringLiteral("-"), QStringLiteral("-"));
    pop.AddMenuItem(QStringLiteral("Ma&ximise"), QStringLiteral("winmax"));
    pop.showAt(QPoint(10, 10));
    QVERIFY(pop.menu());
    QTRY_VERIFY(pop.menu()->isVisible());
    QCOMPARE(shownTexts(*pop.menu()), QStringList({QStringLiteral("&Whois"), QStringLiteral("-"),
                                                   QStringLiteral("Ma&ximise")}));
    pop.menu()->close();
}

void TestAGPopUp::emptyMenuStaysShut() {
    AGPopUp pop;
    pop.ShowMenu();
    QVERIFY(!pop.menu());
    pop.AddMenuItem(QStringLiteral("x"), QStringLiteral("x"));
    pop.ClearMenu();
    pop.ShowMenu();
    QVERIFY(!pop.menu());
}

void TestAGPopUp::onePickOneClickWithTheItemName() {
    AGPopUp pop;
    pop.AddMenuItem(QStringLiteral("&Op"), QStringLiteral("op item"));
    pop.AddMenuItem(QStringLiteral("&Kick"), QStringLiteral("kick item"));
    QSignalSpy spy(&pop, &AGPopUp::MenuItemClick);
    pop.showAt(QPoint(10, 10));
    QTRY_VERIFY(pop.menu() && pop.menu()->isVisible());
    // The access key picks the item, as the user would.
    QTest::keyClick(pop.menu(), Qt::Key_K);
    // The pick arrives after the menu closed, not inside ShowMenu.
    QCOMPARE(spy.count(), 0);
    QTRY_COMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toString(), QStringLiteral("kick item"));
    QTest::qWait(20);
    QCOMPARE(spy.count(), 1);
}

void TestAGPopUp::clearedWhileOpenShowsNewItemsNextTime() {
    AGPopUp pop;
    pop.AddMenuItem(QStringLiteral("old"), QStringLiteral("old"));
    pop.showAt(QPoint(10, 10));
    pop.ClearMenu();
    pop.AddMenuItem(QStringLiteral("new"), QStringLiteral("new"));
    pop.showAt(QPoint(10, 10));
    QTRY_VERIFY(pop.menu() && pop.menu()->isVisible());
    QCOMPARE(shownTexts(*pop.menu()), QStringList({QStringLiteral("new")}));
    pop.menu()->close();
}

PARLONE_TEST_MAIN(TestAGPopUp)
#include "tst_agpopup.moc"
