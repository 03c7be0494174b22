// The two alert tiles: where the toast goes on the work area, the note
// tile's display time and roll-up (driven tick by tick), whether a tile
// shows at all, translucency, the clicks, and a toast that loads although
// its sound file is missing.

#include "connection/frm_main.h"
#include "console/toolkit/mod_winx.h"
#include "core/Program.h"
#include "platform/richedit/OleColor.h"
#include "platform/window/Twips.h"
#include "platform/window/WindowStyle.h"
#include "tests/support/FakeNotifyArea.h"
#include "tests/support/ShownText.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frmMain.h"
#include "windows/frm_note.h"

#include <QLabel>
#include <QTimer>

using namespace platform;

Q_DECLARE_METATYPE(platform::RECT)

class TestAlerts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void toastPlacement_data();
    void toastPlacement();
    void noteTileRollsUp();
    void noteTileShown_data();
    void noteTileShown();
    void noteTileColours();
    void toastTranslucency_data();
    void toastTranslucency();
    void noteTileClickBringsTheFrameBack();
    void toastClicks();
    void toastShowsItsLinesLiterally();
    void toastLoadsWithoutItsSound();

private:
    void minimiseFrame() {
        m_p->mainFrame().setWindowState(Form::vbMinimized);
        QTRY_COMPARE(m_p->mainFrame().WindowState(), int(Form::vbMinimized));
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestAlerts::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->ServerConnected = true;
    m_p->mainFrame().show();
    QVERIFY(QTest::qWaitForWindowExposed(&m_p->mainFrame()));
}

void TestAlerts::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestAlerts::toastPlacement_data() {
    QTest::addColumn<RECT>("pixels");
    QTest::addColumn<int>("twipsPerPixel");
    QTest::addColumn<QRect>("toast");
    QTest::newRow("1024 by 738 at the origin")
        << RECT{0, 0, 1024, 738} << 15 << QRect(13240, 9489, 1920, 1581);
    QTest::newRow("a work area beside a panel")
        << RECT{100, 50, 1124, 788} << 15 << QRect(14740, 10239, 1920, 1581);
    QTest::newRow("12 twips a pixel")
        << RECT{0, 0, 1280, 1024} << 12 << QRect(13240, 10533, 1920, 1755);
}

void TestAlerts::toastPlacement() {
    QFETCH(RECT, pixels);
    QFETCH(int, twipsPerPixel);
    QFETCH(QRect, toast);
    const RECT work = frmMain::WorkAreaTwips(pixels, twipsPerPixel, twipsPerPixel);
    const QSize size = frmMain::ToastSize(work);
    QCOMPARE(size, toast.size());
    QCOMPARE(frmMain::ToastTopLeft(work, size), toast.topLeft());
}

void TestAlerts::noteTileRollsUp() {
    frm_note& note = m_p->noteTile();
    note.go(QStringLiteral("first"), -1, -1);
    QVERIFY(note.Timer1->isActive());
    QVERIFY(!note.Timer2->isActive());
    QCOMPARE(note.Height(), frm_note::TileHeight);

    note.Timer1_Timer();
    QVERIFY(note.Timer2->isActive());
    for (int i = 0; i < 30; ++i)
        note.Timer2_Timer();
    const int rolled = note.Height();
    QVERIFY2(qAbs(rolled - (frm_note::TileHeight - 300)) < TwipsPerPixelY(),
             qPrintable(QString::number(rolled)));

    // A message during the roll-up stops it where it is, text replaced.
    const int top = note.Top();
    note.go(QStringLiteral("second"), -1, -1);
    QVERIFY(!note.Timer2->isActive());
    QVERIFY(note.Timer1->isActive());
    QCOMPARE(note.Height(), rolled);
    QCOMPARE(note.Top(), top);
    QCOMPARE(note.Label1->text(), QStringLiteral("second"));

    // The next display tick goes on from there until it is gone.
    note.Timer1_Timer();
    QPointer<frm_note> tile(&note);
    int ticks = 0;
    while (m_p->hasNoteTile() && ticks < 1000) {
        tile->Timer2_Timer();
        ++ticks;
    }
    QCOMPARE(ticks, (frm_note::TileHeight - 300) / frm_note::RollUpStep);
    QCOMPARE(tile->Top(), top);
    QTRY_VERIFY(tile.isNull());
    // The next alert makes a new tile.
    QCOMPARE(m_p->noteTile().Height(), frm_note::TileHeight);
}

void TestAlerts::noteTileShown_data() {
    QTest::addColumn<bool>("minimised");
    QTest::addColumn<QString>("useTray");
    QTest::addColumn<bool>("connected");
    QTest::addColumn<bool>("shown");
    QTest::newRow("minimised, connected") << true << "1" << true << true;
    QTest::newRow("USE_TRAY 0") << true << "0" << true << false;
    QTest::newRow("frame shown") << false << "1" << true << false;
    QTest::newRow("not connected") << true << "1" << false << false;
}

void TestAlerts::noteTileShown() {
    QFETCH(bool, minimised);
    QFETCH(QString, useTray);
    QFETCH(bool, connected);
    QFETCH(bool, shown);
    // No tray here: the frame stays minimised in the task bar.
    FakeNotifyArea area(false);
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), useTray);
    m_p->ServerConnected = connected;
    if (minimised)
        minimiseFrame();
    frm_note& note = m_p->noteTile();
    note.go(QStringLiteral("hello"), -1, -1);
    QCOMPARE(note.Visible(), shown);
    // Hidden or not, it goes with its times.
    QVERIFY(note.Timer1->isActive());
    if (!shown)
        return;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(note.frameGeometry().bottomRight(), screen.bottomRight());
    QVERIFY(note.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestAlerts::noteTileColours() {
    frm_note& note = m_p->noteTile();
    note.go(QStringLiteral("<b>not bold</b>"), 4, 1);
    const QPalette colours = note.Label1->palette();
    QCOMPARE(colours.color(QPalette::WindowText), ColorFromRgb(m_p->palette.color(4)));
    QCOMPARE(colours.color(QPalette::Window), ColorFromRgb(m_p->palette.color(1)));
    // Negative indexes keep what is there.
    note.go(QStringLiteral("again"), -1, -1);
    QCOMPARE(note.Label1->palette().color(QPalette::WindowText),
             ColorFromRgb(m_p->palette.color(4)));
    QCOMPARE(note.Label1->textFormat(), Qt::PlainText);
}

void TestAlerts::toastTranslucency_data() {
    QTest::addColumn<QString>("trans");
    QTest::addColumn<bool>("layered");
    QTest::addColumn<double>("opacity");
    QTest::newRow("USE_MSN_TRANS 0") << "0" << false << 1.0;
    QTest::newRow("USE_MSN_TRANS 1") << "1" << true << 170.0 / 255.0;
}

void TestAlerts::toastTranslucency() {
    QFETCH(QString, trans);
    QFETCH(bool, layered);
    QFETCH(double, opacity);
    m_p->settings.setValue(QStringLiteral("USE_MSN_TRANS"), trans);
    frmMain& toast = m_p->toast();
    QCOMPARE(bool(GetWindowLongA(toast.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED), layered);
    QVERIFY(qAbs(toast.windowOpacity() - opacity) < 0.01);
    // Its caption went at load; it stays on top.
    QVERIFY(!(toast.windowFlags() & Qt::WindowTitleHint));
    QVERIFY(toast.windowFlags() & Qt::WindowStaysOnTopHint);
}

void TestAlerts::noteTileClickBringsTheFrameBack() {
    FakeNotifyArea area;
    m_p->settings.setValue(QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    minimiseFrame();
    QTRY_VERIFY(area.shown);
    frm_note& note = m_p->noteTile();
    QPointer<frm_note> tile(&note);
    note.go(QStringLiteral("Message from: bob - hi"), -1, -1);
    QVERIFY(note.Visible());
    QTest::mouseClick(note.Label1, Qt::LeftButton);
    QCOMPARE(m_p->mainFrame().WindowState(), int(Form::vbNormal));
    QVERIFY(m_p->mainFrame().Visible());
    QVERIFY(!area.shown);
    QVERIFY(!m_p->hasNoteTile());
    QTRY_VERIFY(tile.isNull());
}

void TestAlerts::toastClicks() {
    frmMain& toast = m_p->toast();
    QPointer<frmMain> shown(&toast);
    toast.go(QStringLiteral("<bob> hi"), QStringLiteral("MESSAGE"));
    m_p->mainFrame().hide();
    // The first line brings the frame up; the toast stays until its time.
    QTest::mouseClick(toast.Label1, Qt::LeftButton);
    QVERIFY(m_p->mainFrame().Visible());
    QVERIFY(m_p->hasToast());
    QVERIFY(toast.tmrUnload->isActive());
    // The second line does nothing.
    QTest::mouseClick(toast.Label2, Qt::LeftButton);
    QVERIFY(m_p->hasToast());
    // The picture sends it away: it slides out, then unloads.
    QTest::mouseClick(toast.Image1, Qt::LeftButton);
    QVERIFY(toast.leaving());
    QVERIFY(!m_p->hasToast());
    QTRY_VERIFY(shown.isNull());
}

// A nick or a message that looks like markup shows as the characters it
// is made of, on both lines.
void TestAlerts::toastShowsItsLinesLiterally() {
    frmMain& toast = m_p->toast();
    const QString markup = QStringLiteral("<b>x</b><img src=\"x\">");
    toast.go(markup, markup);
    QCOMPARE(ShownText(*toast.Label1), markup);
    QCOMPARE(ShownText(*toast.Label2), markup);
}

void TestAlerts::toastLoadsWithoutItsSound() {
    // No Messenger sound anywhere here: the load goes on to the placement.
    frmMain& toast = m_p->toast();
    RECT pixels;
    QVERIFY(SystemParametersInfoA(SPI_GETWORKAREA, 1, &pixels, 0));
    const RECT work = frmMain::WorkAreaTwips(pixels, TwipsPerPixelX(), TwipsPerPixelY());
    const QSize size(toast.Width(), toast.Height());
    QCOMPARE(size, QSize(PixelsToTwipsX(TwipsToPixelsX(frmMain::ToastSize(work).width())),
                         PixelsToTwipsY(TwipsToPixelsY(frmMain::ToastSize(work).height()))));
    // Once it has risen into view, its frame at the place.
    const QPoint place = frmMain::ToastTopLeft(work, size);
    const QPoint pixel(TwipsToPixelsX(place.x()), TwipsToPixelsY(place.y()));
    QPointer<frmMain> shown(&toast);
    QTRY_VERIFY(shown && shown->pos() == pixel);
    QVERIFY(toast.Visible());
}

PARLONE_TEST_MAIN(TestAlerts)
#include "tst_alerts.moc"
