// The server window: its place from server.win, a close box that saves that
// place and keeps the window until the program ends, keys typed into its
// console, and the mouse that copies a selection in one gesture.

#include "core/WindowGeometry.h"
#include "core/WindowLookup.h"
#include "platform/window/SwitchBar.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QClipboard>

namespace {

QRect placeOf(const Form& form) {
    return {form.Left(), form.Top(), form.Width(), form.Height()};
}

} // namespace

class TestServerWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void placeAtLoad_data();
    void placeAtLoad();
    void savedMaximisedRestoresToItsOwnPlace();
    void closeBox_data();
    void closeBox();
    void keysTypedIntoTheConsole();
    void mouseCopiesTheSelection_data();
    void mouseCopiesTheSelection();
    void placeAsWideAsTheFrameComesBackLaidOut();
    void pressCopiesInTheServerWindowOnly_data();
    void pressCopiesInTheServerWindowOnly();
    void dragSelectsAndCopiesInOneGesture();
    void activationSelectsItsPanel();

private:
    frm_server& server() { return f.p->serverWindow(); }
    // A console holding a few lines, with `selected` selected in it.
    void fillConsole(absRichEdit& console, int selStart, int selLength);

    WindowFixture f;
};

void TestServerWindow::init() {
    f.start();
}

void TestServerWindow::cleanup() {
    f.stop();
}

void TestServerWindow::placeAtLoad_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QRect>("place");
    QTest::newRow("no file: half the frame")
        << QByteArray() << QRect(100, 100, -1, -1); // -1: half the frame
    QTest::newRow("saved normal") << FormatWindowGeometry(0, 1500, 750, 4500, 6000)
                                  << QRect(1500, 750, 6000, 4500);
    QTest::newRow("damaged after the state")
        << QByteArray("\"WIN_STATE\",\" 0\"\r\n\"WIN_LEFT\"\r\n\"WIN_TOP\",\" 750\"\r\n")
        << QRect(100, 100, -1, -1);
    QTest::newRow("reordered, part only")
        << QByteArray("\"WIN_WIDTH\",\" 3000\"\r\n\"win_left\",\" 600\"\r\n")
        << QRect(600, 100, 3000, -1);
}

void TestServerWindow::placeAtLoad() {
    QFETCH(QByteArray, file);
    QFETCH(QRect, place);
    if (!file.isNull())
        f.folder->write(QStringLiteral("server.win"), file);
    server().Show();
    QCOMPARE(server().WindowState(), int(Form::vbNormal));
    const QRect expected(onScreenX(place.x()), onScreenY(place.y()),
                         onScreenX(place.width() < 0 ? f.frameWidth() / 2 : place.width()),
                         onScreenY(place.height() < 0 ? f.frameHeight() / 2 : place.height()));
    QCOMPARE(placeOf(server()), expected);
}

void TestServerWindow::savedMaximisedRestoresToItsOwnPlace() {
    f.folder->write(QStringLiteral("server.win"), FormatWindowGeometry(2, 1500, 750, 1200, 1200));
    server().Show();
    QCOMPARE(server().WindowState(), int(Form::vbMaximized));
    server().setWindowState(Form::vbNormal);
    QCOMPARE(placeOf(server()),
             QRect(onScreenX(100), onScreenY(100), onScreenX(f.frameWidth() * 3 / 4),
                   onScreenY(f.frameHeight() * 3 / 4)));
}

void TestServerWindow::closeBox_data() {
    QTest::addColumn<bool>("exitConfirmed");
    QTest::addColumn<bool>("closing");
    QTest::addColumn<bool>("writeFails");
    QTest::addColumn<bool>("stays");
    QTest::newRow("while the program runs") << false << false << false << true;
    QTest::newRow("server.win cannot be written") << false << false << true << true;
    QTest::newRow("exit confirmed") << true << false << false << false;
    QTest::newRow("program ending, exit never confirmed") << false << true << false << false;
}

void TestServerWindow::closeBox() {
    QFETCH(bool, exitConfirmed);
    QFETCH(bool, closing);
    QFETCH(bool, writeFails);
    QFETCH(bool, stays);
    QPointer<frm_server> window = &server();
    window->Show();
    window->Move(1500, 750, 6000, 4500);
    const QByteArray expected = FormatWindowGeometry(0, 1500, 750, 4500, 6000);
    if (writeFails)
        f.p->fileWriter = [](const QString&, const QByteArray&, QString* error) {
            *error = QStringLiteral("read-only folder");
            return false;
        };
    f.p->ExitConfirmed = exitConfirmed;
    f.p->closing = closing;

    // What the title bar's close box does, twice.
    for (int attempt = 0; attempt < (stays ? 2 : 1); ++attempt) {
        window->windowWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCOMPARE(window.isNull(), !stays);
        QCOMPARE(f.folder->read(QStringLiteral("server.win")),
                 writeFails ? QByteArray() : expected);
    }
    if (stays) {
        QVERIFY(window->Visible());
        QCOMPARE(FindForm(*f.p, QStringLiteral("Server")), f.p->forms().indexOf(window.data()));
    }
}

void TestServerWindow::keysTypedIntoTheConsole() {
    server().Show();
    QWidget* box = server().console->rtfText;
    QLineEdit* line = server().commandline;
    line->setText(QStringLiteral("x"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_A);
    QCOMPARE(line->text(), QStringLiteral("xa"));
    QCOMPARE(server().focusWidget(), line);
    QTest::keyClicks(box, QStringLiteral("B1"));
    QTest::sendKeyEvent(QTest::Click, box, Qt::Key_Eacute, QStringLiteral("é"), Qt::NoModifier);
    QCOMPARE(line->text(), QStringLiteral("xaB1é"));

    // Keys that type nothing append nothing and keep their console work.
    fillConsole(*server().console, 2, 3);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Shift, Qt::Key_Control, Qt::Key_Return})
        QTest::keyClick(box, key);
    QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(line->text(), QStringLiteral("xaB1é"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("one"));
}

void TestServerWindow::fillConsole(absRichEdit& console, int selStart, int selLength) {
    console.setText(QStringLiteral("\r\none\r\ntwo\r\nthree"));
    console.setSelStart(selStart);
    console.setSelLength(selLength);
}

void TestServerWindow::mouseCopiesTheSelection_data() {
    QTest::addColumn<bool>("isServer");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<int>("caret");
    QTest::newRow("server: kept where it began") << true << 8 << "one\ntwo" << 2;
    QTest::newRow("server, nothing selected") << true << 0 << "before" << 2;
    QTest::newRow("channel: caret to the end") << false << 8 << "one\ntwo" << 17;
    QTest::newRow("channel, nothing selected") << false << 0 << "before" << 17;
}

void TestServerWindow::mouseCopiesTheSelection() {
    QFETCH(bool, isServer);
    QFETCH(int, selLength);
    QFETCH(QString, clipboard);
    QFETCH(int, caret);
    ConversationForm* window = &server();
    if (!isServer)
        window = f.open<frm_chan>(QStringLiteral("#x"));
    window->Show();
    fillConsole(*window->console, 2, selLength);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::mouseRelease(window->console->rtfText->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QCOMPARE(window->console->SelStart(), caret);
    QCOMPARE(window->console->SelLength(), 0);
    QCOMPARE(window->focusWidget(), window->commandline);
}

// A place saved as wide as the frame (a tile) is moved inside the frame at
// the next start; the console and the command line follow the window there.
void TestServerWindow::placeAsWideAsTheFrameComesBackLaidOut() {
    const int frameWidth = platform::PixelsToTwipsX(f.p->mainFrame().width());
    f.folder->write(QStringLiteral("server.win"), FormatWindowGeometry(0, 0, 0, 2685, frameWidth));
    server().Show();
    QCoreApplication::processEvents();
    const QRect window = server().windowWidget()->geometry();
    QVERIFY2(window.height() > platform::TwipsToPixelsY(2685), "not moved inside the frame");
    const QRect line = server().commandline->geometry();
    // The command line shows at the bottom, under a console that fills the rest.
    QVERIFY(line.top() < server().height() - line.height() / 2);
    QVERIFY(line.top() > server().height() - 3 * line.height());
    QVERIFY(server().console->geometry().bottom() <= line.top());
}

// The server window copies on the press too, before the press moves the
// caret; a channel window copies only when the button comes up.
void TestServerWindow::pressCopiesInTheServerWindowOnly_data() {
    QTest::addColumn<bool>("isServer");
    QTest::addColumn<QString>("clipboard");
    QTest::newRow("server") << true << "one\ntwo";
    QTest::newRow("channel") << false << "before";
}

void TestServerWindow::pressCopiesInTheServerWindowOnly() {
    QFETCH(bool, isServer);
    QFETCH(QString, clipboard);
    ConversationForm* window = &server();
    if (!isServer)
        window = f.open<frm_chan>(QStringLiteral("#x"));
    window->Show();
    fillConsole(*window->console, 2, 8);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    QTest::mousePress(window->console->rtfText->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    QTest::mouseRelease(window->console->rtfText->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
}

// Press, drag and release: what the drag selected is on the clipboard when
// the button comes up.
void TestServerWindow::dragSelectsAndCopiesInOneGesture() {
    server().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.p->mainFrame()));
    absRichEdit& console = *server().console;
    console.setText(QStringLiteral("\r\nhello world, a line to copy from"));
    QWidget* view = console.rtfText->viewport();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    const int y = view->fontMetrics().height() * 3 / 2;
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(2, y));
    QMouseEvent drag(QEvent::MouseMove, QPointF(view->width() - 4, y),
                     view->mapToGlobal(QPointF(view->width() - 4, y)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &drag);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(view->width() - 4, y));
    const QString copied = QGuiApplication::clipboard()->text();
    QVERIFY2(copied.startsWith(QStringLiteral("hello")), qPrintable(copied));
    QCOMPARE(console.SelLength(), 0);
    QCOMPARE(console.SelStart(), 2);
}

void TestServerWindow::activationSelectsItsPanel() {
    platform::SwitchBar& bar = *f.p->mainFrame().StatusBar1;
    bar.Add(-1, QStringLiteral("#x"));
    auto* channel = f.open<frm_chan>(QStringLiteral("#x"));
    server().Show();
    channel->ZOrder();
    QCOMPARE(bar.Panel(2)->bevel(), int(platform::SwitchBarPanel::sbrInset));
    server().ZOrder();
    QCOMPARE(bar.Panel(1)->bevel(), int(platform::SwitchBarPanel::sbrInset));
    QCOMPARE(bar.Panel(2)->bevel(), int(platform::SwitchBarPanel::sbrRaised));
    QCOMPARE(server().focusWidget(), server().commandline);
}

PARLONE_TEST_MAIN(TestServerWindow)
#include "tst_serverwindow.moc"
