// The frame's own lifecycle: main.win read at load and written at the exit,
// the size rules, the child rescue, a frame that lies off every screen and a
// system menu that refuses the frame's items.

#include "connection/FrameGeometry.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/mod_kernel.h"
#include "platform/window/SystemMenu.h"
#include "platform/window/Twips.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QRegularExpression>
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
    void maximisedFrameIsNotShrunk();
    void placeKeptOverARestart_data();
    void placeKeptOverARestart();
    void refusedSystemMenuIsReportedOnce();
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

void TestFrame::maximisedFrameIsNotShrunk() {
    TempProgramFolder folder;
    Program p(folder.path());
    frm_main& frame = p.mainFrame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    frame.setWindowState(Form::vbMaximized);
    QTRY_VERIFY(frame.isMaximized());
    // As high and wide as the screen, less the window's frame.
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    QTRY_VERIFY(frame.width() > screen.width() * 9 / 10 &&
                frame.height() > screen.height() * 9 / 10);
    QCoreApplication::processEvents();
    const QRect maximised = frame.geometry();
    // The size rules run on every change; none of them touches it.
    frame.Form_Resize();
    QCoreApplication::processEvents();
    QCOMPARE(frame.geometry(), maximised);
    QCOMPARE(frame.WindowState(), int(Form::vbMaximized));
}

void TestFrame::placeKeptOverARestart_data() {
    QTest::addColumn<int>("state");
    QTest::newRow("normal") << int(Form::vbNormal);
    QTest::newRow("maximised") << int(Form::vbMaximized);
}

// The exit writes main.win with the frame's place, in twips, and the next
// start puts the frame there; a maximised frame comes back maximised and
// keeps the place it is restored to.
void TestFrame::placeKeptOverARestart() {
    QFETCH(int, state);
    TempProgramFolder folder;
    const QRect place(120, 90, 500, 380);
    {
        Program p(folder.path());
        int ends = 0;
        p.endProgram = [&ends] { ++ends; };
        frm_main& frame = p.mainFrame();
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.setGeometry(place);
        QTRY_COMPARE(frame.geometry(), place);
        frame.setWindowState(state);
        QTRY_COMPARE(frame.WindowState(), state);
        if (state == Form::vbMaximized)
            QTRY_VERIFY(frame.width() > place.width());
        ExecCommand(p, QStringLiteral("exit"));
        QTRY_COMPARE(ends, 1);
    }
    const auto number = [](int value) { return u' ' + QString::number(value); };
    const QList<QStringList> records{
        {"WIN_STATE", number(state)},
        {"WIN_LEFT", number(PixelsToTwipsX(place.x()))},
        {"WIN_TOP", number(PixelsToTwipsY(place.y()))},
        {"WIN_HEIGHT", number(PixelsToTwipsY(place.height()))},
        {"WIN_WIDTH", number(PixelsToTwipsX(place.width()))},
    };
    QCOMPARE(RecordFile::parse(folder.read(QStringLiteral("main.win")), 2).records, records);

    Program next(folder.path());
    frm_main& frame = next.mainFrame();
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.WindowState(), state);
    // The place it is restored to, which the next exit records again.
    QCOMPARE(state == Form::vbNormal ? frame.geometry() : frame.normalGeometry(), place);
}

// A system menu that takes none of the frame's items: the frame loads all
// the same and says so once.
void TestFrame::refusedSystemMenuIsReportedOnce() {
    TempProgramFolder folder;
    Program p(folder.path());
    SetMenusRefuseItems(true);
    frm_main& frame = p.mainFrame();
    SetMenusRefuseItems(false);
    QCOMPARE(frame.Caption(), QStringLiteral("Parlone"));
    QVERIFY(frame.Yarv1 != nullptr);
    QVERIFY(frame.Ostrane1 != nullptr);
    const QStringList lines = p.serverWindow().console->Text().split(QStringLiteral("\r\n"));
    QCOMPARE(lines.filter(QRegularExpression(QStringLiteral("^Error: "))).size(), 1);
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
