// The window style and shell helpers on real windows: style bits read back
// and applied as window flags, top-most and the frame's menu item, scrolling
// by message, translucency, special folders and sound.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "console/toolkit/CSpecialFolder.h"
#include "console/toolkit/CWindowStyle.h"
#include "console/toolkit/mod_splay.h"
#include "console/toolkit/mod_tbscroll.h"
#include "console/toolkit/mod_topmost.h"
#include "console/toolkit/mod_winx.h"
#include "core/Program.h"
#include "platform/com/ComError.h"
#include "platform/shell/Sound.h"
#include "platform/window/SystemMenu.h"
#include "platform/window/WindowStyle.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QStandardPaths>

#include <functional>
#include <memory>

using namespace platform;

namespace {

// A top-level form with a window handle whose procedure records messages.
struct Window {
    QWidget form;
    HWND hwnd = CreatePlatformWindow(&form);
    QList<QPair<UINT, WPARAM>> seen;
    WNDPROC own = 0;
    WNDPROC recorder = RegisterWindowProc([this](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        seen << qMakePair(msg, wp);
        return CallWindowProcA(own, h, msg, wp, lp);
    });
    Window() { own = SetWindowLongA(hwnd, GWL_WNDPROC, recorder); }
    ~Window() {
        SetWindowLongA(hwnd, GWL_WNDPROC, own);
        UnregisterWindowProc(recorder);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
};

struct StyleProperty {
    std::function<bool(const CWindowStyle&)> read;
    std::function<void(CWindowStyle&, bool)> write;
};

const QHash<QString, StyleProperty>& styleProperties() {
    static const QHash<QString, StyleProperty> table = {
        {QStringLiteral("ControlBox"), {&CWindowStyle::ControlBox, &CWindowStyle::setControlBox}},
        {QStringLiteral("MaxButton"), {&CWindowStyle::MaxButton, &CWindowStyle::setMaxButton}},
        {QStringLiteral("MinButton"), {&CWindowStyle::MinButton, &CWindowStyle::setMinButton}},
        {QStringLiteral("Sizable"), {&CWindowStyle::Sizable, &CWindowStyle::setSizable}},
        {QStringLiteral("Titlebar"), {&CWindowStyle::Titlebar, &CWindowStyle::setTitlebar}},
        {QStringLiteral("ToolWindow"), {&CWindowStyle::ToolWindow, &CWindowStyle::setToolWindow}},
        {QStringLiteral("WhatsThisButton"),
         {&CWindowStyle::WhatsThisButton, &CWindowStyle::setWhatsThisButton}},
        {QStringLiteral("TopMost"), {&CWindowStyle::TopMost, &CWindowStyle::setTopMost}},
    };
    return table;
}

// Whether the widget shows what the property says.
bool shows(const QString& property, const QWidget& w) {
    const Qt::WindowFlags f = w.windowFlags();
    if (property == QLatin1String("ControlBox"))
        return f & Qt::WindowSystemMenuHint;
    if (property == QLatin1String("MaxButton"))
        return f & Qt::WindowMaximizeButtonHint;
    if (property == QLatin1String("MinButton"))
        return f & Qt::WindowMinimizeButtonHint;
    if (property == QLatin1String("Sizable"))
        return w.minimumSize() != w.maximumSize();
    if (property == QLatin1String("Titlebar"))
        return f & Qt::WindowTitleHint;
    if (property == QLatin1String("ToolWindow"))
        return w.windowType() == Qt::Tool;
    if (property == QLatin1String("WhatsThisButton"))
        return f & Qt::WindowContextHelpButtonHint;
    return f & Qt::WindowStaysOnTopHint;
}

} // namespace

class TestToolkit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void styleBitsReadBackAndApply_data();
    void styleBitsReadBackAndApply();
    void titlebarFalseClearsBothCaptionBits();
    void stylesWithoutAClientDoNothing();
    void dragAndRightClickMenu();
    void setTopMostTicksItem100Only_data();
    void setTopMostTicksItem100Only();
    void tbScrollSendsOneScrollMessage_data();
    void tbScrollSendsOneScrollMessage();
    void tbScrollMovesAConsole_data();
    void tbScrollMovesAConsole();
    void translucencyOnTheTopLevelWindow();
    void specialFolders_data();
    void specialFolders();
    void soundIsSilentWhenItCannotPlay();
};

void TestToolkit::styleBitsReadBackAndApply_data() {
    QTest::addColumn<QString>("property");
    QTest::addColumn<int>("index");
    QTest::addColumn<qint64>("mask");
    QTest::addColumn<bool>("initially");
    QTest::newRow("ControlBox") << "ControlBox" << GWL_STYLE << WS_SYSMENU << true;
    QTest::newRow("MaxButton") << "MaxButton" << GWL_STYLE << WS_MAXIMIZEBOX << true;
    QTest::newRow("MinButton") << "MinButton" << GWL_STYLE << WS_MINIMIZEBOX << true;
    QTest::newRow("Sizable") << "Sizable" << GWL_STYLE << WS_THICKFRAME << true;
    QTest::newRow("Titlebar") << "Titlebar" << GWL_STYLE << WS_CAPTION << true;
    QTest::newRow("ToolWindow") << "ToolWindow" << GWL_EXSTYLE << WS_EX_TOOLWINDOW << false;
    QTest::newRow("WhatsThisButton")
        << "WhatsThisButton" << GWL_EXSTYLE << WS_EX_CONTEXTHELP << false;
    QTest::newRow("TopMost") << "TopMost" << GWL_EXSTYLE << WS_EX_TOPMOST << false;
}

void TestToolkit::styleBitsReadBackAndApply() {
    QFETCH(QString, property);
    QFETCH(int, index);
    QFETCH(qint64, mask);
    QFETCH(bool, initially);
    const StyleProperty p = styleProperties().value(property);

    Window w;
    w.form.resize(300, 200);
    w.form.show();
    CWindowStyle style;
    style.setClient(&w.form);
    QCOMPARE(style.hWnd(), w.hwnd);
    QCOMPARE(style.Client(), &w.form);
    // The words start from how the window looks.
    QCOMPARE(p.read(style), initially);
    const qint64 other = GetWindowLongA(w.hwnd, index) & ~mask;

    for (const bool wanted : {!initially, initially}) {
        p.write(style, wanted);
        QCOMPARE(p.read(style), wanted);
        QCOMPARE((GetWindowLongA(w.hwnd, index) & mask) == mask, wanted);
        QCOMPARE(GetWindowLongA(w.hwnd, index) & ~mask, other); // no other bit moves
        QCOMPARE(shows(property, w.form), wanted);
        QVERIFY(w.form.isVisible()); // new flags do not hide the window
    }
}

void TestToolkit::titlebarFalseClearsBothCaptionBits() {
    Window w;
    w.form.show();
    CWindowStyle style;
    style.setClient(&w.form);

    // Either caption bit reads as a title bar.
    SetWindowLongA(w.hwnd, GWL_STYLE,
                   (GetWindowLongA(w.hwnd, GWL_STYLE) & ~WS_CAPTION) | WS_BORDER);
    QVERIFY(style.Titlebar());
    style.setTitlebar(false);
    QVERIFY(!style.Titlebar());
    QCOMPARE(GetWindowLongA(w.hwnd, GWL_STYLE) & WS_CAPTION, 0);

    // Clearing the last bits leaves a word of 0, which is written all the same.
    style.setControlBox(false);
    style.setMaxButton(false);
    style.setMinButton(false);
    style.setSizable(false);
    QCOMPARE(GetWindowLongA(w.hwnd, GWL_STYLE), 0);
    QVERIFY(w.form.windowFlags() & Qt::FramelessWindowHint);
    style.setTitlebar(true);
    QCOMPARE(GetWindowLongA(w.hwnd, GWL_STYLE), WS_CAPTION);
    QVERIFY(w.form.windowFlags() & Qt::WindowTitleHint);
    QVERIFY(!(w.form.windowFlags() & Qt::FramelessWindowHint));
}

void TestToolkit::stylesWithoutAClientDoNothing() {
    CWindowStyle style;
    QCOMPARE(style.hWnd(), 0);
    for (const StyleProperty& p : styleProperties()) {
        p.write(style, true);
        QVERIFY(!p.read(style));
    }
    style.pRedraw();
    style.ShowSysMenu(10, 10);

    // Unbinding leaves the former form alone.
    Window w;
    style.setClient(&w.form);
    const qint64 word = GetWindowLongA(w.hwnd, GWL_STYLE);
    style.setClient(nullptr);
    QCOMPARE(style.hWnd(), 0);
    style.setTitlebar(false);
    QCOMPARE(GetWindowLongA(w.hwnd, GWL_STYLE), word);
}

void TestToolkit::dragAndRightClickMenu() {
    Window w;
    w.form.resize(200, 100);
    w.form.show();
    CWindowStyle style;
    style.setClient(&w.form);
    auto* menu = qobject_cast<QMenu*>(MenuWidget(GetSystemMenu(w.hwnd, false)));
    QVERIFY(menu);

    // Off by default: the clicks are the form's own.
    QTest::mouseClick(&w.form, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseClick(&w.form, Qt::RightButton, {}, QPoint(50, 50));
    QVERIFY(!w.seen.contains(qMakePair(WM_NCLBUTTONDOWN, HTCAPTION)));
    QVERIFY(!menu->isVisible());

    style.setAutoDrag(true);
    style.setAutoSysMenu(true);
    QTest::mousePress(&w.form, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseRelease(&w.form, Qt::LeftButton, {}, QPoint(50, 50));
    QVERIFY(w.seen.contains(qMakePair(WM_NCLBUTTONDOWN, HTCAPTION)));
    QTest::mouseClick(&w.form, Qt::RightButton, {}, QPoint(50, 50));
    QVERIFY(w.seen.contains(qMakePair(WM_POPUPSYSTEMMENU, WPARAM(0))));
    QVERIFY(menu->isVisible());
    menu->hide();
}

void TestToolkit::setTopMostTicksItem100Only_data() {
    QTest::addColumn<int>("menuId");
    QTest::newRow("the frame's item") << 100;
    QTest::newRow("note tile") << 108;
    QTest::newRow("detached query") << 1222;
    QTest::newRow("none") << 0;
}

void TestToolkit::setTopMostTicksItem100Only() {
    QFETCH(int, menuId);
    TempProgramFolder folder;
    Program program(folder.path());
    frm_main& frame = program.mainFrame();
    Sysdeck& deck = *frame.Sysdeck1;

    // The frame's two items, already reporting.
    QCOMPARE(deck.GetMenuCaption(100), QStringLiteral("Always on top"));
    QCOMPARE(deck.GetMenuCaption(111), QStringLiteral("Minimise to tray"));
    QList<qint32> clicked;
    connect(&deck, &Sysdeck::UserSysClick, [&](qint32 id) { clicked << id; });
    SendMessageA(frame.hwnd(), WM_SYSCOMMAND, 111, 0);
    QCOMPARE(clicked, QList<qint32>{111});

    const bool ticks = menuId == 100;
    SetTopMost(frame, true, qint16(menuId));
    QVERIFY(GetWindowLongA(frame.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    QVERIFY(frame.windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(deck.GetSysMenuCheck(100), ticks);

    deck.SysMenuCheck(100, true);
    SetTopMost(frame, false, qint16(menuId));
    QVERIFY(!(GetWindowLongA(frame.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST));
    QVERIFY(!(frame.windowFlags() & Qt::WindowStaysOnTopHint));
    QCOMPARE(deck.GetSysMenuCheck(100), !ticks);
}

void TestToolkit::tbScrollSendsOneScrollMessage_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("page");
    QTest::addColumn<int>("action"); // -1: nothing is sent
    QTest::newRow("page up") << "widget" << true << true << 2;
    QTest::newRow("line up") << "widget" << true << false << 0;
    QTest::newRow("page down") << "widget" << false << true << 3;
    QTest::newRow("line down") << "widget" << false << false << 1;
    QTest::newRow("hWnd by name") << "named" << false << true << 3;
    QTest::newRow("hWnd 0") << "zero" << false << true << -1;
    QTest::newRow("no hWnd") << "plain" << false << true << -1;
    QTest::newRow("widget without a handle") << "unregistered" << false << true << -1;
    QTest::newRow("nothing") << "null" << false << true << -1;
    QTest::newRow("a procedure that throws") << "throwing" << false << true << -1;
}

void TestToolkit::tbScrollSendsOneScrollMessage() {
    QFETCH(QString, control);
    QFETCH(bool, up);
    QFETCH(bool, page);
    QFETCH(int, action);

    QLineEdit box;
    const HWND h = CreatePlatformWindow(&box);
    QList<QPair<UINT, WPARAM>> sent;
    const bool throws = control == QLatin1String("throwing");
    const WNDPROC proc = RegisterWindowProc([&](HWND, UINT msg, WPARAM wp, LPARAM) -> LRESULT {
        if (throws)
            throw ComError(5, QStringLiteral("box"), QStringLiteral("refused"));
        sent << qMakePair(msg, wp);
        return 0;
    });
    SetWindowLongA(h, GWL_WNDPROC, proc);

    QObject named, zero, plain;
    named.setProperty("hWnd", h);
    zero.setProperty("hWnd", 0);
    QLineEdit unregistered;
    const QHash<QString, QObject*> controls = {
        {QStringLiteral("widget"), &box},
        {QStringLiteral("named"), &named},
        {QStringLiteral("zero"), &zero},
        {QStringLiteral("plain"), &plain},
        {QStringLiteral("unregistered"), &unregistered},
        {QStringLiteral("null"), nullptr},
        {QStringLiteral("throwing"), &box},
    };
    TBScroll(controls.value(control), up, page);
    const QList<QPair<UINT, WPARAM>> expected =
        action < 0 ? QList<QPair<UINT, WPARAM>>() : QList{qMakePair(UINT(181), WPARAM(action))};
    QCOMPARE(sent, expected);
    UnregisterWindowProc(proc);
}

void TestToolkit::tbScrollMovesAConsole_data() {
    QTest::addColumn<bool>("up");
    QTest::addColumn<bool>("page");
    QTest::newRow("line down") << false << false;
    QTest::newRow("line up") << true << false;
    QTest::newRow("page down") << false << true;
    QTest::newRow("page up") << true << true;
}

void TestToolkit::tbScrollMovesAConsole() {
    QFETCH(bool, up);
    QFETCH(bool, page);
    TempProgramFolder folder;
    Program program(folder.path());
    absRichEdit console(program);
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("line %1").arg(i);
    console.setText(lines.join(QStringLiteral("\r\n")));
    constexpr int visible = 10;
    const QFontMetrics metrics(console.rtfText->font());
    console.resize(300, visible * metrics.lineSpacing() + 10);
    console.show();
    QVERIFY(QTest::qWaitForWindowExposed(&console));
    console.rtfText->lineScroll(99);
    const qint32 start = console.GetFirstVisibleLine();
    QCOMPARE(start, 100);

    TBScroll(&console, up, page);
    const qint32 moved = console.GetFirstVisibleLine() - start;
    const int direction = up ? -1 : 1;
    if (page) {
        // A page is what the view shows: about `visible` lines.
        QVERIFY2(moved * direction >= visible - 1 && moved * direction <= visible + 1,
                 qPrintable(QString::number(moved)));
    } else {
        QCOMPARE(moved, direction);
    }

    // The message answers TRUE and the lines moved; other codes do nothing.
    const qint32 before = console.GetFirstVisibleLine();
    QCOMPARE(SendMessageA(console.hWnd(), EM_SCROLL, up ? SB_LINEUP : SB_LINEDOWN, 0),
             LRESULT(0x10000 | (direction & 0xFFFF)));
    QCOMPARE(console.GetFirstVisibleLine(), before + direction);
    QCOMPARE(SendMessageA(console.hWnd(), EM_SCROLL, SB_TOP, 0), LRESULT(0));
    QCOMPARE(console.GetFirstVisibleLine(), before + direction);
}

void TestToolkit::translucencyOnTheTopLevelWindow() {
    QVERIFY(IsWin98OrLater());
    QVERIFY(IsWin2000OrLater());

    QWidget form;
    const HWND formHandle = CreatePlatformWindow(&form);
    auto* box = new QLineEdit(&form);
    const HWND boxHandle = CreatePlatformWindow(box);
    QCOMPARE(GetTopLevelWindow(formHandle), formHandle);
    // The form is hidden: the climb stops at the control.
    QCOMPARE(GetTopLevelWindow(boxHandle), boxHandle);
    form.show();
    QCOMPARE(GetTopLevelWindow(boxHandle), formHandle);

    // A window with no extended style becomes layered all the same.
    QCOMPARE(GetWindowLongA(formHandle, GWL_EXSTYLE), 0);
    QVERIFY(MakeTranslucent(boxHandle, 160));
    QVERIFY(GetWindowLongA(formHandle, GWL_EXSTYLE) & WS_EX_LAYERED);
    QCOMPARE(form.windowOpacity(), 160 / 255.0);
    QVERIFY(MakeTranslucent(formHandle, 170));
    QCOMPARE(form.windowOpacity(), 170 / 255.0);

    QVERIFY(MakeOpaque(boxHandle));
    QVERIFY(!(GetWindowLongA(formHandle, GWL_EXSTYLE) & WS_EX_LAYERED));
    QCOMPARE(form.windowOpacity(), 1.0);
    // Alpha needs a layered window.
    QVERIFY(!SetLayeredWindowAttributes(formHandle, 0, 100, LWA_ALPHA));
    QCOMPARE(form.windowOpacity(), 1.0);
    QVERIFY(!MakeTranslucent(0, 100));
}

void TestToolkit::specialFolders_data() {
    QTest::addColumn<int>("folder");
    QTest::addColumn<QString>("expected");
    QTest::newRow("program files") << 38 << "/opt";
    QTest::newRow("profile") << 40 << QDir::homePath();
    QTest::newRow("documents") << 5
                               << QStandardPaths::writableLocation(
                                      QStandardPaths::DocumentsLocation);
    QTest::newRow("unknown number") << 9999 << "";
    QTest::newRow("negative number") << -1 << "";
}

void TestToolkit::specialFolders() {
    QFETCH(int, folder);
    QFETCH(QString, expected);
    CSpecialFolder special;
    QCOMPARE(special.SpecialFolder(), 0);
    special.setSpecialFolder(folder);
    QCOMPARE(special.GetSpecialFolderPath(), expected);
}

void TestToolkit::soundIsSilentWhenItCannotPlay() {
    TempProgramFolder folder;
    const QString missing = folder.file(QStringLiteral("Messenger/Online.wav"));
    QVERIFY(!sndPlaySoundA(missing, SND_ASYNC | SND_NODEFAULT));
    const QString notSound = folder.write(QStringLiteral("noise.wav"), "not a wave file");
    SPlay(missing);
    SPlay(notSound);
    SPlay(QString());
    // Whatever happens in the background ends quietly.
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

PARLONE_TEST_MAIN(TestToolkit)
#include "tst_toolkit.moc"
