// Where conversation windows go, in twips: a window that nearly fills the
// frame gets a smaller place, one too small is given a usable size when
// activated, the controls follow the window's size without any going below
// zero, and a minimised window hides and shows its neighbour on the
// switchbar (the server window the one to its right, the others the one to
// their left).

#include "config/frm_alias.h"
#include "config/frm_popups.h"
#include "core/WindowGeometry.h"
#include "platform/window/SwitchBar.h"
#include "platform/window/Twips.h"
#include "tests/support/TestMain.h"
#include "tests/windows/WindowFixture.h"
#include "windows/frm_chan.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QListWidget>
#include <QMdiArea>

using platform::PixelsToTwipsX;
using platform::PixelsToTwipsY;
using platform::SwitchBarPanel;
using platform::TwipsToPixelsX;
using platform::TwipsToPixelsY;

namespace {

// A rectangle of twips as the pixels a widget is given.
QRect pixels(int left, int top, int width, int height) {
    return {TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
            TwipsToPixelsY(height)};
}

} // namespace

class TestPlacement : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void frameRescue_data();
    void frameRescue();
    void sizeRescueOnActivation();
    void standardLayout_data();
    void standardLayout();
    void channelLayout_data();
    void channelLayout();
    void minimisedHandsOver_data();
    void minimisedHandsOver();
    void toolWindowMinimisedAtExitKeepsItsPlace_data();
    void toolWindowMinimisedAtExitKeepsItsPlace();

private:
    WindowFixture f;
};

void TestPlacement::init() {
    f.start();
}

void TestPlacement::cleanup() {
    f.stop();
}

void TestPlacement::frameRescue_data() {
    QTest::addColumn<int>("narrower");
    QTest::addColumn<int>("lower");
    QTest::addColumn<bool>("rescued");
    QTest::newRow("90 narrower than the frame") << 90 << 3000 << true;
    QTest::newRow("105 narrower") << 105 << 3000 << false;
    QTest::newRow("660 lower") << 3000 << 660 << true;
    QTest::newRow("675 lower") << 3000 << 675 << false;
    QTest::newRow("wider than the frame") << -1500 << 3000 << true;
}

void TestPlacement::frameRescue() {
    QFETCH(int, narrower);
    QFETCH(int, lower);
    QFETCH(bool, rescued);
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    const int width = f.frameWidth() - narrower;
    const int height = f.frameHeight() - lower;
    window->Move(450, 300, width, height);
    if (rescued) {
        QCOMPARE(QRect(window->Left(), window->Top(), window->Width(), window->Height()),
                 QRect(onScreenX(100), onScreenY(100), onScreenX(f.frameWidth() * 85 / 100),
                       onScreenY(f.frameHeight() * 75 / 100)));
    } else {
        QCOMPARE(QRect(window->Left(), window->Top(), window->Width(), window->Height()),
                 QRect(450, 300, width, height));
    }
    // A maximised window is left as it is.
    window->setWindowState(Form::vbMaximized);
    QCOMPARE(window->WindowState(), int(Form::vbMaximized));
    QCOMPARE(window->windowWidget()->size(), f.p->mainFrame().mdiArea()->viewport()->size());
}

void TestPlacement::sizeRescueOnActivation() {
    frm_server& server = f.p->serverWindow();
    server.Show();
    auto* small = f.open<frm_chan>(QStringLiteral("#small"));
    auto* other = f.open<frm_chan>(QStringLiteral("#other"));
    small->Move(3000, 1500, 150, 4500);
    QCOMPARE(small->Width(), 150);
    other->ZOrder();
    small->ZOrder();
    QCOMPARE(QRect(small->Left(), small->Top(), small->Width(), small->Height()),
             QRect(onScreenX(100), onScreenY(100), onScreenX(server.Width() - 200),
                   onScreenY(server.Height() - 200)));
    QCOMPARE(small->focusWidget(), small->commandline);
}

void TestPlacement::standardLayout_data() {
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("line");
    QTest::addColumn<bool>("laidOut");
    QTest::newRow("roomy") << 6000 << 300 << true;
    QTest::newRow("just above 1000, tall command line") << 1005 << 1200 << true;
    QTest::newRow("1000 or less: left alone") << 990 << 300 << false;
}

void TestPlacement::standardLayout() {
    QFETCH(int, height);
    QFETCH(int, line);
    QFETCH(bool, laidOut);
    frm_server& server = f.p->serverWindow();
    server.Show();
    server.Move(1500, 1500, 6000, 6000);
    server.commandline->setFixedHeight(TwipsToPixelsY(line));
    const QRect consoleBefore = server.console->geometry();
    const QRect lineBefore = server.commandline->geometry();
    server.Move(-1, -1, 6000, height);
    server.Form_Resize();
    if (!laidOut) {
        QCOMPARE(server.console->geometry(), consoleBefore);
        QCOMPARE(server.commandline->geometry(), lineBefore);
        return;
    }
    const int consoleHeight = std::max(height - 400 - onScreenY(line), 0);
    QCOMPARE(server.console->geometry(), pixels(1, 1, 5900, consoleHeight));
    QCOMPARE(server.commandline->geometry(), pixels(1, consoleHeight, 5900, onScreenY(line)));
}

void TestPlacement::channelLayout_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("laidOut");
    QTest::newRow("roomy") << 9000 << 6000 << true;
    QTest::newRow("narrower than its nick list") << 1500 << 6000 << true;
    QTest::newRow("1000 wide or less: left alone") << 990 << 6000 << false;
    QTest::newRow("1000 high or less: left alone") << 9000 << 990 << false;
}

void TestPlacement::channelLayout() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, laidOut);
    auto* window = f.open<frm_chan>(QStringLiteral("#x"));
    window->disp(QStringLiteral("a line"));
    window->Move(1500, 1500, 6000, 6000);
    const QRect consoleBefore = window->console->geometry();
    window->console->setSelStart(0);
    window->Move(-1, -1, width, height);
    // The caret goes to the end whether or not the controls moved.
    QCOMPARE(window->console->SelStart(), window->console->FileSize());
    if (!laidOut) {
        QCOMPARE(window->console->geometry(), consoleBefore);
        return;
    }
    const int list = onScreenX(1935);
    const int line = PixelsToTwipsY(window->commandline->height());
    const int consoleWidth = std::max(width - list - 100, 0);
    const int consoleHeight = height - 400 - line;
    QCOMPARE(window->console->geometry(), pixels(0, 0, consoleWidth, consoleHeight));
    QCOMPARE(window->commandline->geometry(), pixels(0, consoleHeight, width, line));
    QCOMPARE(window->list_nicks->geometry(), pixels(consoleWidth, 0, list, consoleHeight));
}

void TestPlacement::minimisedHandsOver_data() {
    QTest::addColumn<QStringList>("panels");
    QTest::addColumn<QString>("minimised");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("inset");
    const QStringList two{"#a", "#b"};
    QTest::newRow("channel: the panel to its left") << two << "#b"
                                                    << "#a" << 2;
    QTest::newRow("first channel: the server") << two << "#a"
                                               << "Server" << 1;
    QTest::newRow("server: the panel to its right") << two << "Server"
                                                    << "#a" << 2;
    QTest::newRow("server alone") << QStringList{} << "Server"
                                  << "" << 0;
    QTest::newRow("no panel of its own") << two << "#c"
                                         << "" << 0;
    QTest::newRow("panel without a window") << QStringList{"#gone", "#a"} << "#a"
                                            << "" << 2;
}

void TestPlacement::minimisedHandsOver() {
    QFETCH(QStringList, panels);
    QFETCH(QString, minimised);
    QFETCH(QString, shown);
    QFETCH(int, inset);
    platform::SwitchBar& bar = *f.p->mainFrame().StatusBar1;
    for (const QString& panel : panels)
        bar.Add(-1, panel);
    QList<Form*> windows{&f.p->serverWindow()};
    for (const char* tag : {"#a", "#b", "#c"})
        windows << f.open<frm_chan>(tag);
    Form* target = nullptr;
    for (Form* window : windows) {
        window->Show();
        if (window->Tag() == minimised)
            target = window;
    }
    for (Form* window : windows) {
        if (window != target)
            window->Hide();
    }
    for (int i = 1; i <= bar.Count(); ++i)
        bar.Panel(i)->setBevel(SwitchBarPanel::sbrRaised);

    // What the minimise button does.
    target->windowWidget()->showMinimized();
    QTRY_VERIFY(!target->Visible());
    for (const Form* window : windows)
        QCOMPARE(window->Visible(), window->Tag() == shown);
    for (int i = 1; i <= bar.Count(); ++i)
        QCOMPARE(bar.Panel(i)->bevel() == SwitchBarPanel::sbrInset, i == inset);
}

// The tool windows that hide while minimised save, when minimised, the place
// they had before and the normal state, so that they can come back.
void TestPlacement::toolWindowMinimisedAtExitKeepsItsPlace_data() {
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("file");
    QTest::newRow("notify") << "Notify"
                            << "notify.win";
    QTest::newRow("alias") << "Alias"
                           << "alias.win";
    QTest::newRow("popups") << "Popups"
                            << "popups.win";
}

void TestPlacement::toolWindowMinimisedAtExitKeepsItsPlace() {
    QFETCH(QString, panel);
    QFETCH(QString, file);
    Program& p = *f.p;
    Form& window = panel == u"Notify"  ? static_cast<Form&>(p.notifyWindow())
                   : panel == u"Alias" ? static_cast<Form&>(p.aliasWindow())
                                       : static_cast<Form&>(p.popupsWindow());
    p.mainFrame().ShowToolWindow(window, panel, 7);
    window.Move(300, 450, 7050, 4050);
    window.setWindowState(Form::vbMinimized);
    QTRY_VERIFY(!window.Visible());
    int cancel = 0;
    window.Form_QueryUnload(cancel, Form::vbFormCode);
    QCOMPARE(f.folder->read(file), FormatWindowGeometry(Form::vbNormal, 300, 450, 4050, 7050));
}

PARLONE_TEST_MAIN(TestPlacement)
#include "tst_placement.moc"
