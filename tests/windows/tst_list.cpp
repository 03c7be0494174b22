// The channel-list window on its own: a double click joins the channel its
// line begins with, a click shows the whole line as plain text in the
// tooltip, the list follows the window's size, a minimised list hands over
// to its neighbour on the switchbar, and the close takes the panel away and
// unloads the window.

#include "connection/frm_main.h"
#include "core/WindowLookup.h"
#include "tests/support/ShownText.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_list.h"
#include "windows/frm_server.h"

using platform::PixelsToTwipsX;
using platform::PixelsToTwipsY;
using platform::SwitchBarPanel;

class TestList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void doubleClick_data();
    void doubleClick();
    void clickShowsTheLineLiterally();
    void listingCutAtItsBound();
    void listFollowsTheWindow();
    void smallWindowRescuedOnActivation();
    void minimised_data();
    void minimised();
    void closeRemovesPanelAndUnloads();

private:
    // The list window shown with its panel, as the list command opens it.
    frm_list& openList() {
        frm_list& list = f.p->listWindow();
        f.p->mainFrame().AddPanel(QStringLiteral("/LIST"), 11);
        list.Show();
        return list;
    }
    void doubleClickRow(frm_list& list, int row) {
        QListWidget* items = list.List1;
        const QRect place = items->visualItemRect(items->item(row));
        // An item view takes a double click only after a click.
        QTest::mouseClick(items->viewport(), Qt::LeftButton, {}, place.center());
        QTest::mouseDClick(items->viewport(), Qt::LeftButton, {}, place.center());
    }

    WindowFixture f;
};

void TestList::init() {
    f.start();
    f.p->serverWindow().Show();
}

void TestList::cleanup() {
    f.stop();
}

void TestList::doubleClick_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("a channel line") << "#chat 12 talk about things" << QByteArrayList{"JOIN #chat"};
    QTest::newRow("a channel alone") << "#solo" << QByteArrayList{"JOIN #solo"};
    // A server-local channel keeps its own prefix.
    QTest::newRow("a local channel") << "&loc 2 here only" << QByteArrayList{"JOIN &loc"};
    QTest::newRow("a line beginning with a blank") << " #chat 12" << QByteArrayList{};
}

void TestList::doubleClick() {
    QFETCH(QString, item);
    QFETCH(QByteArrayList, sent);
    frm_list& list = openList();
    list.List1->addItem(item);
    QVERIFY(QTest::qWaitForWindowExposed(&f.p->mainFrame()));
    QCOMPARE(f.sentBy([&] { doubleClickRow(list, 0); }), sent);
}

void TestList::clickShowsTheLineLiterally() {
    frm_list& list = openList();
    const QString line = QStringLiteral("#html 3 <b>bold</b> <img src=\"/etc/hosts\"> &amp;");
    list.List1->addItems({QStringLiteral("#plain 1 a topic"), line});
    QVERIFY(QTest::qWaitForWindowExposed(&f.p->mainFrame()));
    const QRect place = list.List1->visualItemRect(list.List1->item(1));
    QTest::mouseClick(list.List1->viewport(), Qt::LeftButton, {}, place.center());
    QCOMPARE(ShownText(list.List1->toolTip()), line);
}

// A server that lists more channels than a listing keeps: one line says
// the list was cut, nothing comes after it, and it joins nothing.
void TestList::listingCutAtItsBound() {
    frm_list& list = openList();
    constexpr int bound = frm_list::MaxChannels;
    QCOMPARE(bound, 100000);
    for (int i = 0; i <= bound; ++i)
        list.addChannel(QStringLiteral("#c%1 1 a topic").arg(i));
    list.addChannel(QStringLiteral("#late 1 a topic"));
    QCOMPARE(list.List1->count(), bound + 1);
    QCOMPARE(list.List1->item(bound - 1)->text(), QStringLiteral("#c99999 1 a topic"));
    QCOMPARE(list.List1->item(bound)->text(),
             QStringLiteral("\u2026 list cut at 100,000 channels"));

    QVERIFY(QTest::qWaitForWindowExposed(&f.p->mainFrame()));
    list.List1->scrollToBottom();
    QCOMPARE(f.sentBy([&] { doubleClickRow(list, bound); }), QByteArrayList{});
    QCOMPARE(f.sentBy([&] { doubleClickRow(list, bound - 1); }), QByteArrayList{"JOIN #c99999"});
}

void TestList::listFollowsTheWindow() {
    frm_list& list = openList();
    list.Move(200, 200, 6000, 4500);
    QCOMPARE(PixelsToTwipsX(list.List1->width()), onScreenX(list.Width() - 100));
    QCOMPARE(PixelsToTwipsY(list.List1->height()), onScreenY(list.Height() - 350));
    QCOMPARE(list.List1->pos(), QPoint(0, 0));
    // Smaller than the margins: the list shrinks to nothing, no further.
    list.Move(200, 200, 90, 300);
    QCOMPARE(list.List1->size(), QSize(0, 0));
}

void TestList::smallWindowRescuedOnActivation() {
    frm_list& list = openList();
    list.Move(3000, 3000, 150, 2000);
    f.p->serverWindow().Show();
    list.Show();
    const frm_server& server = f.p->serverWindow();
    QCOMPARE(list.Left(), onScreenX(100));
    QCOMPARE(list.Top(), onScreenY(100));
    QCOMPARE(list.Width(), onScreenX(server.Width() - 200));
    QCOMPARE(list.Height(), onScreenY(server.Height() - 200));
}

void TestList::minimised_data() {
    QTest::addColumn<bool>("ownPanel");
    QTest::addColumn<bool>("serverShown");
    QTest::newRow("its panel after the server's") << true << true;
    QTest::newRow("no panel of its own") << false << false;
}

void TestList::minimised() {
    QFETCH(bool, ownPanel);
    QFETCH(bool, serverShown);
    frm_list& list = f.p->listWindow();
    if (ownPanel)
        f.p->mainFrame().AddPanel(QStringLiteral("/LIST"), 11);
    list.Show();
    frm_server& server = f.p->serverWindow();
    server.Hide();
    list.setWindowState(Form::vbMinimized);
    QTRY_VERIFY(!list.Visible());
    QCOMPARE(server.Visible(), serverShown);
    if (serverShown)
        QCOMPARE(f.p->mainFrame().StatusBar1->Panel(1)->bevel(), int(SwitchBarPanel::sbrInset));
    QCOMPARE(FindPanel(*f.p, QStringLiteral("/LIST")) > 0, ownPanel);
}

void TestList::closeRemovesPanelAndUnloads() {
    frm_list& list = openList();
    QPointer<frm_list> window(&list);
    list.windowWidget()->close();
    QCOMPARE(FindPanel(*f.p, QStringLiteral("/LIST")), 0);
    QVERIFY(!f.p->forms().contains(window.data()));
    QTRY_VERIFY(window.isNull());
}

PARLONE_TEST_MAIN(TestList)
#include "tst_list.moc"
