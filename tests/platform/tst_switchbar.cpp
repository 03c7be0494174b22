// The frame's switchbar: panels, clicks with their button and shift state, tooltips.

#include "platform/window/SwitchBar.h"
#include "platform/window/Twips.h"
#include "tests/support/TestMain.h"

#include <QSignalSpy>
#include <QToolTip>

using namespace platform;

class TestSwitchBar : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void panelsByIndex();
    void clicks_data();
    void clicks();
    void pressOnOnePanelReleaseOnAnother();
    void tooltipOfThePanelUnderTheMouse();
    void narrowBarKeepsTheFirstPanels();

private:
    // A shown bar with the panels "Server", "#chan", "Notify".
    std::unique_ptr<SwitchBar> makeBar();
    QPoint centreOf(SwitchBar& bar, int panel) { return bar.Panel(panel)->geometry().center(); }
};

std::unique_ptr<SwitchBar> TestSwitchBar::makeBar() {
    auto bar = std::make_unique<SwitchBar>();
    bar->Add(-1, QStringLiteral("Server"));
    bar->Add(-1, QStringLiteral("#chan"));
    bar->Add(-1, QStringLiteral("Notify"));
    bar->resize(600, 30);
    bar->show();
    if (!QTest::qWaitForWindowExposed(bar.get()))
        return nullptr;
    return bar;
}

void TestSwitchBar::panelsByIndex() {
    SwitchBar bar;
    QCOMPARE(bar.Count(), 0);
    QCOMPARE(bar.Panel(1), nullptr);
    QCOMPARE(bar.Add(-1, QStringLiteral("a")), 1);
    QCOMPARE(bar.Add(1, QStringLiteral("b")), 1); // inserted before
    QCOMPARE(bar.Add(9, QStringLiteral("c")), 3); // out of range: at the end
    QCOMPARE(bar.Panel(1)->Text(), QStringLiteral("b"));
    QCOMPARE(bar.Panel(2)->Text(), QStringLiteral("a"));
    bar.Remove(1);
    bar.Remove(7); // nothing there
    QCOMPARE(bar.Count(), 2);
    QCOMPARE(bar.Panel(1)->Text(), QStringLiteral("a"));
}

void TestSwitchBar::clicks_data() {
    QTest::addColumn<Qt::MouseButton>("qtButton");
    QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("shift");

    QTest::newRow("left") << Qt::LeftButton << Qt::KeyboardModifiers() << 1 << 0;
    QTest::newRow("right") << Qt::RightButton << Qt::KeyboardModifiers() << 2 << 0;
    QTest::newRow("shift left") << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier) << 1
                                << 1;
    QTest::newRow("shift ctrl left")
        << Qt::LeftButton << Qt::KeyboardModifiers(Qt::ShiftModifier | Qt::ControlModifier) << 1
        << 3;
    QTest::newRow("alt middle") << Qt::MiddleButton << Qt::KeyboardModifiers(Qt::AltModifier) << 4
                                << 4;
}

void TestSwitchBar::clicks() {
    QFETCH(Qt::MouseButton, qtButton);
    QFETCH(Qt::KeyboardModifiers, modifiers);
    QFETCH(int, button);
    QFETCH(int, shift);
    auto bar = makeBar();
    QVERIFY(bar);
    QSignalSpy down(bar.get(), &SwitchBar::MouseDown);
    QSignalSpy clicked(bar.get(), &SwitchBar::PanelClick);
    const QPoint at = centreOf(*bar, 2);
    QTest::mouseClick(bar.get(), qtButton, modifiers, at);
    QCOMPARE(down.count(), 1);
    QCOMPARE(down.at(0).at(0).toInt(), button);
    QCOMPARE(down.at(0).at(1).toInt(), shift);
    QCOMPARE(down.at(0).at(2).toFloat(), float(PixelsToTwipsX(at.x())));
    QCOMPARE(down.at(0).at(3).toFloat(), float(PixelsToTwipsY(at.y())));
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(clicked.at(0).at(0).toInt(), 2);
}

void TestSwitchBar::pressOnOnePanelReleaseOnAnother() {
    auto bar = makeBar();
    QVERIFY(bar);
    QSignalSpy clicked(bar.get(), &SwitchBar::PanelClick);
    QSignalSpy up(bar.get(), &SwitchBar::MouseUp);
    QTest::mousePress(bar.get(), Qt::LeftButton, {}, centreOf(*bar, 1));
    QTest::mouseRelease(bar.get(), Qt::LeftButton, {}, centreOf(*bar, 3));
    QCOMPARE(up.count(), 1);
    QCOMPARE(clicked.count(), 0);
}

void TestSwitchBar::tooltipOfThePanelUnderTheMouse() {
    auto bar = makeBar();
    QVERIFY(bar);
    bar->Panel(3)->setToolTipText(QStringLiteral("messages waiting"));
    const QPoint at = centreOf(*bar, 3);
    QHelpEvent help(QEvent::ToolTip, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar.get(), &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("messages waiting"));

    // A tooltip that looks like markup is shown as written.
    bar->Panel(3)->setToolTipText(QStringLiteral("<b>bob</b>(1 messages waiting.)"));
    QApplication::sendEvent(bar.get(), &help);
    QTRY_VERIFY(QToolTip::text().contains(QStringLiteral("&lt;b&gt;bob&lt;/b&gt;(1 messages")));

    const QPoint none = centreOf(*bar, 1);
    QHelpEvent other(QEvent::ToolTip, none, bar->mapToGlobal(none));
    QApplication::sendEvent(bar.get(), &other);
    QTRY_COMPARE(QToolTip::text(), QString());
}

// Springs too wide for the bar keep their least width and run off its right
// end, so the panels on the left stay whole; the bar asks no width of the
// frame for them.
void TestSwitchBar::narrowBarKeepsTheFirstPanels() {
    SwitchBar bar;
    bar.Add(-1, QStringLiteral("Server"));
    const QString longName = QStringLiteral("a-file-with-a-rather-long-name-0123456789.tar.gz");
    bar.Add(-1, longName);
    bar.Add(-1, longName);
    for (int i = 1; i <= bar.Count(); ++i)
        bar.Panel(i)->setAutoSize(SwitchBarPanel::sbrSpring);
    bar.resize(300, 30);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    const int server = bar.Panel(1)->sizeHint().width();
    // The long panels give up width until the three fill the bar.
    QCOMPARE(bar.Panel(1)->geometry(), QRect(1, 1, server, 28));
    QCOMPARE(bar.Panel(3)->geometry().right(), 298);
    QVERIFY(qAbs(bar.Panel(2)->geometry().width() - bar.Panel(3)->geometry().width()) <= 1);

    // Narrower: the long ones stop at their least width and the last runs
    // off the right end; "Server" stays whole.
    const int least = TwipsToPixelsX(1440);
    bar.resize(200, 30);
    QCOMPARE(bar.Panel(1)->geometry(), QRect(1, 1, server, 28));
    QCOMPARE(bar.Panel(2)->geometry(), QRect(server + 3, 1, least, 28));
    QCOMPARE(bar.Panel(3)->geometry().width(), least);
    QVERIFY(bar.Panel(3)->geometry().right() > 200);
    QCOMPARE(bar.panelAt(QPoint(10, 10)), 1);
    QVERIFY(bar.minimumSizeHint().width() < 200);
}

PARLONE_TEST_MAIN(TestSwitchBar)
#include "tst_switchbar.moc"
