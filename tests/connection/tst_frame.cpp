// The frame's own lifecycle: main.win read at load, the size rules, the
// child rescue and a frame that lies off every screen.

#include "connection/FrameGeometry.h"
#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "platform/window/Twips.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QScreen>
#include <QToolButton>

using namespace platform;

namespace {

using Rect = std::optional<QRect>;

// What a value in twips comes back as through the screen's pixels.
int roundTripX(int twips) {
    return PixelsToTwipsX(TwipsToPixelsX(twips));
}
int roundTripY(int twips) {
    return PixelsToTwipsY(TwipsToPixelsY(twips));
}

} // namespace

class TestFrame : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void geometryFile_data();
    void geometryFile();
    void shrinkRule_data();
    void shrinkRule();
    void frameRestoredToTheWholeScreenIsShrunk();
    void childRescue_data();
    void childRescue();
    void ontoScreens_data();
    void ontoScreens();
    void theProgramsOwnIcon();
};

void TestFrame::geometryFile_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("state");
    // -1: as a frame without main.win has it.
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("width");

    QTest::newRow("all five") << QByteArray("\"WIN_STATE\",\" 0\"\r\n\"WIN_LEFT\",\" 300\"\r\n"
                                            "\"WIN_TOP\",\" 450\"\r\n\"WIN_HEIGHT\",\" 4500\"\r\n"
                                            "\"WIN_WIDTH\",\" 6000\"\r\n")
                              << 0 << 300 << 450 << 4500 << 6000;
    QTest::newRow("key in lower case")
        << QByteArray("\"win_left\",\"300\"\r\n") << 0 << 300 << -1 << -1 << -1;
    QTest::newRow("unknown key skipped")
        << QByteArray("\"WIN_COLOUR\",\"5\"\r\n\"WIN_TOP\",\"450\"\r\n") << 0 << -1 << 450 << -1
        << -1;
    QTest::newRow("damaged line ends the reading, earlier values stay")
        << QByteArray("\"WIN_LEFT\",\"300\"\r\nWIN_TOP 450\r\n\"WIN_HEIGHT\",\"4500\"\r\n") << 0
        << 300 << -1 << -1 << -1;
    QTest::newRow("record without value ends the reading")
        << QByteArray("\"WIN_LEFT\",\"300\"\r\n\"WIN_TOP\"\r\n\"WIN_HEIGHT\",\"4500\"\r\n") << 0
        << 300 << -1 << -1 << -1;
    QTest::newRow("state 7 skipped")
        << QByteArray("\"WIN_STATE\",\"7\"\r\n\"WIN_LEFT\",\"300\"\r\n") << 0 << 300 << -1 << -1
        << -1;
    QTest::newRow("maximised") << QByteArray("\"WIN_STATE\",\"2\"\r\n") << 2 << -1 << -1 << -1
                               << -1;
    QTest::newRow("no leading number is 0")
        << QByteArray("\"WIN_LEFT\",\"x300\"\r\n") << 0 << 0 << -1 << -1 << -1;
    QTest::newRow("off every screen: onto the primary one")
        << QByteArray("\"WIN_LEFT\",\"-900000\"\r\n\"WIN_TOP\",\"900000\"\r\n") << 0 << 0 << 0 << -1
        << -1;
}

void TestFrame::geometryFile() {
    QFETCH(QByteArray, file);
    QFETCH(int, state);
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(int, height);
    QFETCH(int, width);
    TempProgramFolder plainFolder;
    Program plain(plainFolder.path());
    const frm_main& before = plain.mainFrame();

    TempProgramFolder folder;
    folder.write(QStringLiteral("main.win"), file);
    Program p(folder.path());
    const frm_main& frame = p.mainFrame();
    QCOMPARE(frame.WindowState(), state);
    QCOMPARE(frame.Left(), left < 0 ? before.Left() : roundTripX(left));
    QCOMPARE(frame.Top(), top < 0 ? before.Top() : roundTripY(top));
    QCOMPARE(frame.Height(), height < 0 ? before.Height() : roundTripY(height));
    QCOMPARE(frame.Width(), width < 0 ? before.Width() : roundTripX(width));
}

void TestFrame::shrinkRule_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<Rect>("shrunk");
    const QSize screen(9600, 7200);
    QTest::newRow("the whole screen")
        << QRect(0, 0, 9600, 7200) << screen << Rect(QRect(1, 1, 5647, 5538));
    QTest::newRow("just over nine tenths")
        << QRect(300, 200, 8641, 6481) << screen << Rect(QRect(1, 1, 5083, 4985));
    QTest::newRow("nine tenths exactly") << QRect(0, 0, 8640, 6480) << screen << Rect();
    QTest::newRow("high but narrow") << QRect(0, 0, 6000, 7200) << screen << Rect();
    QTest::newRow("wide but low") << QRect(0, 0, 9600, 5000) << screen << Rect();
}

void TestFrame::shrinkRule() {
    QFETCH(QRect, frame);
    QFETCH(QSize, screen);
    QFETCH(Rect, shrunk);
    QCOMPARE(ShrunkFrame(frame, screen), shrunk);
}

void TestFrame::frameRestoredToTheWholeScreenIsShrunk() {
    TempProgramFolder folder;
    Program p(folder.path());
    frm_main& frame = p.mainFrame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    frame.setGeometry(screen);
    const QSize twipsScreen(PixelsToTwipsX(screen.width()), PixelsToTwipsY(screen.height()));
    const Rect expected = ShrunkFrame(
        QRect(0, 0, PixelsToTwipsX(screen.width()), PixelsToTwipsY(screen.height())), twipsScreen);
    QVERIFY(expected);
    QTRY_COMPARE(frame.geometry(),
                 QRect(TwipsToPixelsX(1), TwipsToPixelsY(1), TwipsToPixelsX(expected->width()),
                       TwipsToPixelsY(expected->height())));
}

void TestFrame::childRescue_data() {
    QTest::addColumn<QSize>("child");
    QTest::addColumn<Rect>("rescued");
    const QSize frame(9000, 6000);
    QTest::newRow("narrow") << QSize(400, 3000) << Rect(QRect(100, 100, 8800, 5800));
    QTest::newRow("low") << QSize(3000, 499) << Rect(QRect(100, 100, 8800, 5800));
    QTest::newRow("large enough") << QSize(600, 600) << Rect();
    QTest::newRow("exactly 500") << QSize(500, 500) << Rect();
}

void TestFrame::childRescue() {
    QFETCH(QSize, child);
    QFETCH(Rect, rescued);
    QCOMPARE(RescuedChild(child, QSize(9000, 6000)), rescued);
}

void TestFrame::ontoScreens_data() {
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<Rect>("moved");
    QTest::newRow("on the first screen") << QRect(300, 300, 6000, 4000) << Rect();
    QTest::newRow("partly on the second") << QRect(18000, 300, 6000, 4000) << Rect();
    QTest::newRow("in the gap below")
        << QRect(300, 20000, 6000, 4000) << Rect(QRect(0, 0, 6000, 4000));
    QTest::newRow("far left") << QRect(-90000, 300, 6000, 4000) << Rect(QRect(0, 0, 6000, 4000));
}

void TestFrame::ontoScreens() {
    QFETCH(QRect, frame);
    QFETCH(Rect, moved);
    const QList<QRect> screens{QRect(0, 0, 12000, 9000), QRect(12000, 0, 9600, 7200)};
    QCOMPARE(OntoScreens(frame, screens, screens.constFirst()), moved);
}

void TestFrame::theProgramsOwnIcon() {
    TempProgramFolder folder;
    Program p(folder.path());
    auto* child = new Form(p, Form::Kind::MdiChild, QStringLiteral("#chan"));
    child->Show();
    const qint64 own = QApplication::windowIcon().cacheKey();
    QVERIFY(!QApplication::windowIcon().isNull());
    QCOMPARE(p.mainFrame().windowIcon().cacheKey(), own);
    QCOMPARE(child->windowWidget()->windowIcon().cacheKey(), own);
    // The frame's system-menu button shows it too, not the toolkit's.
    const auto* button = p.mainFrame().findChild<QToolButton*>(QStringLiteral("systemMenuButton"));
    QVERIFY(button);
    QCOMPARE(button->icon().cacheKey(), own);
}

PARLONE_TEST_MAIN(TestFrame)
#include "tst_frame.moc"
