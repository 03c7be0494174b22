// Sysdeck on real windows of the platform: items of every kind on the system
// menu, error 1, the events of system commands and menu highlights, hooks of
// several hosts, the cancel of one command, and the end of hosts and controls.

#include "platform/com/ComError.h"
#include "platform/window/SystemMenu.h"
#include "sysmenu/Sysdeck.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QIcon>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace platform;

namespace {

constexpr int standardItemCount = 7; // restore, move, size, minimise, maximise, line, close

// A top-level form with a window handle, its own window procedure recording
// every message that reaches it, and a Sysdeck on it.
struct Host {
    QList<QPair<UINT, WPARAM>> reachedForm;
    std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
    HWND hwnd = CreatePlatformWindow(form.get());
    WNDPROC own = 0;
    WNDPROC formProc = RegisterWindowProc([this](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        reachedForm << qMakePair(msg, wp);
        return CallWindowProcA(own, h, msg, wp, lp);
    });
    Sysdeck* deck = nullptr;

    Host() {
        own = SetWindowLongA(hwnd, GWL_WNDPROC, formProc);
        deck = new Sysdeck(form.get());
    }
    ~Host() {
        form.reset();
        UnregisterWindowProc(formProc);
    }
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    HMENU menu() const { return GetSystemMenu(hwnd, false); }
    QMenu* qmenu() const { return qobject_cast<QMenu*>(MenuWidget(menu())); }
    int count() const { return GetMenuItemCount(menu()); }
    bool formSaw(WPARAM command) const {
        return reachedForm.contains(qMakePair(WM_SYSCOMMAND, command));
    }
};

// Every event of a control, as readable lines.
QStringList& record(Sysdeck* deck, QStringList& log) {
    auto plain = [&log](const char* name) { return [&log, name] { log << QLatin1String(name); }; };
    QObject::connect(deck, &Sysdeck::SYSMaximize, plain("SYSMaximize"));
    QObject::connect(deck, &Sysdeck::SYSMinimize, plain("SYSMinimize"));
    QObject::connect(deck, &Sysdeck::SYSRestore, plain("SYSRestore"));
    QObject::connect(deck, &Sysdeck::SYSMove, plain("SYSMove"));
    QObject::connect(deck, &Sysdeck::SYSClose, plain("SYSClose"));
    QObject::connect(deck, &Sysdeck::SYSSize, plain("SYSSize"));
    QObject::connect(deck, &Sysdeck::SYSClick, plain("SYSClick"));
    QObject::connect(deck, &Sysdeck::FormMove, plain("FormMove"));
    QObject::connect(deck, &Sysdeck::UserSysClick,
                     [&log](qint32 id) { log << QStringLiteral("UserSysClick %1").arg(id); });
    QObject::connect(deck, &Sysdeck::FormResize,
                     [&log](quint8 a) { log << QStringLiteral("FormResize %1").arg(a); });
    QObject::connect(deck, &Sysdeck::MenuSelect, [&log](qint32 id, const QString& caption) {
        log << QStringLiteral("MenuSelect %1 %2").arg(id).arg(caption);
    });
    return log;
}

HBITMAP bitmapOf(Qt::GlobalColor colour) {
    QPixmap pm(16, 16);
    pm.fill(colour);
    return CreateBitmapHandle(pm);
}

QImage imageOf(const QIcon& icon, QIcon::State state) {
    return icon.pixmap(QSize(16, 16), QIcon::Normal, state)
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The error a call raised, or number -1 for none.
qint64 errorOf(const std::function<void()>& call, QString* description = nullptr) {
    try {
        call();
    } catch (const ComError& e) {
        if (description)
            *description = e.description();
        return e.number();
    }
    return -1;
}

// Closes the modal dialog that is about to open, after noting its title.
void closeNextModal(QString* title, const std::function<void(QDialog*)>& inside = {}) {
    QTimer::singleShot(0, [title, inside] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        *title = dialog->windowTitle();
        if (inside)
            inside(dialog);
        dialog->reject();
    });
}

} // namespace

class TestSysdeck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void itemsOfEveryKindReadBack_data();
    void itemsOfEveryKindReadBack();
    void checkEnableAndCaption();
    void missingIdentifiersRaiseError1_data();
    void missingIdentifiersRaiseError1();
    void bitmapsPreferTheMenuBar();
    void commandsRaiseTheirEvents_data();
    void commandsRaiseTheirEvents();
    void choosingAndHighlightingInTheMenu();
    void twoHostsReportTheirOwnItems_data();
    void twoHostsReportTheirOwnItems();
    void cancelKeepsTheWindowOpenForOneCommand();
    void unhookingLeavesOtherHooksInPlace();
    void writingHwndRetargetsWithoutDoubleHook();
    void startHooksOnceAndNotInTheDesigner();
    void hostDestroyedLeavesNoHandler();
    void theMenuIsWhereTheWindowShowsIt();
    void menuOfAChildIsAPopup_data();
    void menuOfAChildIsAPopup();
    void placementAboutAndSize();
};

void TestSysdeck::itemsOfEveryKindReadBack_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("title");
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("added");
    QTest::addColumn<int>("expectedId");
    QTest::addColumn<int>("expectedState");
    QTest::addColumn<QString>("expectedCaption");

    QTest::newRow("text") << "text" << QVariant(QStringLiteral("Always on &top")) << 100 << true
                          << 100 << 0 << "Always on &top";
    QTest::newRow("separator ignores its id")
        << "text" << QVariant(QStringLiteral("-")) << 55 << true << 0 << int(MF_SEPARATOR) << "";
    QTest::newRow("new column") << "text" << QVariant(QStringLiteral("|Second column")) << 300
                                << true << 300 << int(MF_MENUBARBREAK) << "Second column";
    QTest::newRow("negative id widened with sign")
        << "text" << QVariant(QStringLiteral("High")) << -2 << true << -2 << 0 << "High";
    QTest::newRow("32-bit integer is a bitmap")
        << "bitmap" << QVariant() << 400 << true << 400 << int(MF_BITMAP) << "";
    QTest::newRow("16-bit integer adds nothing")
        << "short" << QVariant() << 401 << false << 0 << 0 << "";
    QTest::newRow("double adds nothing") << "text" << QVariant(2.5) << 402 << false << 0 << 0 << "";
    QTest::newRow("empty adds nothing") << "text" << QVariant() << 403 << false << 0 << 0 << "";
}

void TestSysdeck::itemsOfEveryKindReadBack() {
    QFETCH(QString, kind);
    QFETCH(QVariant, title);
    QFETCH(int, id);
    QFETCH(bool, added);
    QFETCH(int, expectedId);
    QFETCH(int, expectedState);
    QFETCH(QString, expectedCaption);

    Host host;
    const HBITMAP bitmap = bitmapOf(Qt::red);
    if (kind == QLatin1String("bitmap"))
        title = QVariant(qint32(bitmap));
    else if (kind == QLatin1String("short"))
        title = QVariant::fromValue(qint16(bitmap));

    QCOMPARE(host.count(), standardItemCount);
    host.deck->AddSysMenu(title, qint16(id));
    QCOMPARE(host.count(), standardItemCount + (added ? 1 : 0));
    // The system's own items come first, unchanged.
    QCOMPARE(GetMenuItemID(host.menu(), 0), qint32(SC_RESTORE));
    QCOMPARE(GetMenuItemID(host.menu(), standardItemCount - 1), qint32(SC_CLOSE));
    if (!added)
        return;

    const HMENU menu = host.menu();
    QCOMPARE(GetMenuItemID(menu, standardItemCount), qint32(expectedId));
    QCOMPARE(GetMenuState(menu, standardItemCount, MF_BYPOSITION), expectedState);
    if (expectedId != 0)
        QCOMPARE(host.deck->GetMenuCaption(expectedId), expectedCaption);

    QAction* shown = host.qmenu()->actions().constLast();
    QCOMPARE(shown->isSeparator(), bool(expectedState & MF_SEPARATOR));
    QCOMPARE(shown->text(), expectedCaption);
    if (expectedState & MF_BITMAP)
        QCOMPARE(imageOf(shown->icon(), QIcon::Off),
                 BitmapPixmap(bitmap).toImage().convertToFormat(QImage::Format_RGB32));
    if (expectedState & MF_MENUBARBREAK) {
        // The new column is marked by a dividing line that is no item itself.
        const QList<QAction*> all = host.qmenu()->actions();
        QVERIFY(all.at(all.size() - 2)->isSeparator());
        QCOMPARE(GetMenuItemCount(menu), standardItemCount + 1);
    }
}

void TestSysdeck::checkEnableAndCaption() {
    Host host;
    Sysdeck& deck = *host.deck;
    deck.AddSysMenu(QStringLiteral("Always on top"), 100);
    deck.AddSysMenu(QStringLiteral("Minimise to tray"), 111);
    deck.AddSysMenu(QStringLiteral("-"), 0);
    deck.AddSysMenu(qint32(bitmapOf(Qt::blue)), 120);

    deck.SysMenuCheck(100, true);
    QVERIFY(deck.GetSysMenuCheck(100));
    QVERIFY(!deck.GetSysMenuCheck(111));
    deck.SysMenuCheck(100, false);
    QVERIFY(!deck.GetSysMenuCheck(100));

    // Only the check mark counts: a greyed item is not ticked.
    deck.SysMenuEnable(111, false);
    QVERIFY(!deck.GetSysMenuCheck(111));
    QVERIFY(!deck.GetSysMenuEnable(111));
    deck.SysMenuEnable(111, true);
    QVERIFY(deck.GetSysMenuEnable(111));
    // An item that is greyed but not disabled reads as enabled.
    EnableMenuItem(host.menu(), 111, MF_BYCOMMAND | MF_GRAYED);
    QVERIFY(deck.GetSysMenuEnable(111));

    // A new text keeps the check mark and the enabled state.
    deck.SysMenuCheck(100, true);
    deck.SysMenuEnable(100, false);
    deck.SetMenuCaption(100, QStringLiteral("Always &above"));
    QCOMPARE(deck.GetMenuCaption(100), QStringLiteral("Always &above"));
    QVERIFY(deck.GetSysMenuCheck(100));
    QVERIFY(!deck.GetSysMenuEnable(100));

    // Captions come back whole, however long.
    const QString longText = QString(60, QLatin1Char('x'));
    deck.SetMenuCaption(111, longText);
    QCOMPARE(deck.GetMenuCaption(111), longText);

    // Separators, bitmap items, missing items and identifier 0 are left alone.
    const qint32 bitmapState = GetMenuState(host.menu(), 120, MF_BYCOMMAND);
    deck.SetMenuCaption(120, QStringLiteral("text"));
    QCOMPARE(GetMenuState(host.menu(), 120, MF_BYCOMMAND), bitmapState);
    QCOMPARE(deck.GetMenuCaption(120), QString());
    const int count = host.count();
    deck.SetMenuCaption(0, QStringLiteral("text"));
    deck.SetMenuCaption(999, QStringLiteral("text"));
    QCOMPARE(host.count(), count);
    QCOMPARE(deck.GetMenuCaption(0), QString());
    QCOMPARE(deck.GetMenuCaption(999), QString());

    deck.DeleteSysMenu(111);
    QCOMPARE(host.count(), count - 1);
    QCOMPARE(errorOf([&] { deck.GetSysMenuCheck(111); }), 1);
}

void TestSysdeck::missingIdentifiersRaiseError1_data() {
    QTest::addColumn<QString>("member");
    for (const char* member :
         {"SysMenuCheck", "SysMenuEnable", "GetSysMenuCheck", "GetSysMenuEnable", "DeleteSysMenu",
          "SetMenuBitmap", "SetMenuCheckBitmap", "AddSysMenu bitmap"})
        QTest::newRow(member) << QString::fromLatin1(member);
}

void TestSysdeck::missingIdentifiersRaiseError1() {
    QFETCH(QString, member);
    Host host;
    Sysdeck& deck = *host.deck;
    const HBITMAP bitmap = bitmapOf(Qt::green);
    const QHash<QString, std::function<void()>> calls = {
        {QStringLiteral("SysMenuCheck"), [&] { deck.SysMenuCheck(500, true); }},
        {QStringLiteral("SysMenuEnable"), [&] { deck.SysMenuEnable(500, false); }},
        {QStringLiteral("GetSysMenuCheck"), [&] { deck.GetSysMenuCheck(500); }},
        {QStringLiteral("GetSysMenuEnable"), [&] { deck.GetSysMenuEnable(500); }},
        {QStringLiteral("DeleteSysMenu"), [&] { deck.DeleteSysMenu(500); }},
        {QStringLiteral("SetMenuBitmap"), [&] { deck.SetMenuBitmap(500, bitmap); }},
        {QStringLiteral("SetMenuCheckBitmap"), [&] { deck.SetMenuCheckBitmap(500, bitmap); }},
        // A number that is no bitmap: the item is refused and nothing is left.
        {QStringLiteral("AddSysMenu bitmap"), [&] { deck.AddSysMenu(qint32(bitmap + 999), 500); }},
    };
    QString description = QStringLiteral("unset");
    QCOMPARE(errorOf(calls.value(member), &description), 1);
    QCOMPARE(description, QString());
    QCOMPARE(host.count(), standardItemCount);
}

void TestSysdeck::bitmapsPreferTheMenuBar() {
    Host host;
    auto* layout = new QVBoxLayout(host.form.get());
    auto* bar = new QMenuBar(host.form.get());
    layout->setMenuBar(bar);
    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    file->addAction(QStringLiteral("&Open"));
    Sysdeck& deck = *host.deck;
    deck.AddSysMenu(QStringLiteral("Marked"), 130);

    // Items of a menu bar built by Qt get identifiers on first need.
    const HMENU menuBar = GetMenu(host.hwnd);
    QVERIFY(menuBar != 0);
    QCOMPARE(GetMenuItemID(menuBar, 0), -1); // an item that opens a submenu
    const qint32 openId = GetMenuItemID(GetSubMenu(menuBar, 0), 0);
    QVERIFY(openId > 0);
    QCOMPARE(deck.GetMenuCaption(openId), QStringLiteral("&Open"));

    const HBITMAP red = bitmapOf(Qt::red);
    deck.SetMenuBitmap(openId, red);
    QCOMPARE(GetMenuState(menuBar, UINT(openId), MF_BYCOMMAND) & qint32(MF_BITMAP),
             qint32(MF_BITMAP));
    // Not on the menu bar: the system menu's item takes it.
    deck.SetMenuBitmap(130, red);
    QCOMPARE(GetMenuState(host.menu(), 130, MF_BYCOMMAND), qint32(MF_BITMAP));

    // Without an unchecked bitmap both states show the checked one, and the
    // caller's variable says so.
    deck.AddSysMenu(QStringLiteral("Ticked"), 131);
    const HBITMAP blue = bitmapOf(Qt::blue);
    qint32 unchecked = 0;
    deck.SetMenuCheckBitmap(131, blue, unchecked);
    QCOMPARE(unchecked, qint32(blue));
    QAction* ticked = host.qmenu()->actions().constLast();
    const QImage blueImage = BitmapPixmap(blue).toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(imageOf(ticked->icon(), QIcon::Off), blueImage);
    QCOMPARE(imageOf(ticked->icon(), QIcon::On), blueImage);
    deck.SysMenuCheck(131, true);
    QVERIFY(deck.GetSysMenuCheck(131));
    QVERIFY(ticked->isChecked());
}

void TestSysdeck::commandsRaiseTheirEvents_data() {
    QTest::addColumn<qint32>("code");
    QTest::addColumn<QString>("event");
    QTest::newRow("maximise") << qint32(0xF030) << "SYSMaximize";
    QTest::newRow("minimise") << qint32(0xF020) << "SYSMinimize";
    QTest::newRow("restore") << qint32(0xF120) << "SYSRestore";
    QTest::newRow("move") << qint32(0xF010) << "SYSMove";
    QTest::newRow("close") << qint32(0xF060) << "SYSClose";
    QTest::newRow("size") << qint32(0xF000) << "SYSSize";
    QTest::newRow("click") << qint32(0xF096) << "SYSClick";
    QTest::newRow("form move") << qint32(0xF012) << "FormMove";
    QTest::newRow("resize from an edge") << qint32(0xF004) << "FormResize 4";
    QTest::newRow("last resize edge") << qint32(0xF008) << "FormResize 8";
    QTest::newRow("highest user item") << qint32(0xEFFF) << "UserSysClick 61439";
    QTest::newRow("negative user item") << qint32(-5) << "UserSysClick -5";
    QTest::newRow("maximise with flags") << qint32(0xF032) << "";
    QTest::newRow("restore with flags") << qint32(0xF122) << "";
    QTest::newRow("key menu") << qint32(0xF100) << "";
}

void TestSysdeck::commandsRaiseTheirEvents() {
    QFETCH(qint32, code);
    QFETCH(QString, event);
    Host host;
    host.form->show();
    QStringList log;
    record(host.deck, log);
    host.deck->Start();
    SendMessageA(host.hwnd, WM_SYSCOMMAND, code, 0);
    QCOMPARE(log, event.isEmpty() ? QStringList() : QStringList{event});
    // The command goes on to the form afterwards.
    QVERIFY(host.formSaw(code));
}

void TestSysdeck::choosingAndHighlightingInTheMenu() {
    Host host;
    host.form->show();
    QStringList log;
    record(host.deck, log);
    host.deck->AddSysMenu(QStringLiteral("Always on top"), 100);
    host.deck->Start();

    QMenu* menu = host.qmenu();
    QAction* item = menu->actions().constLast();
    SendMessageA(host.hwnd, WM_POPUPSYSTEMMENU, 0, (20 << 16) | 10); // opens at (10, 20)
    QVERIFY(menu->isVisible());
    menu->setActiveAction(item);
    QCOMPARE(log, QStringList{QStringLiteral("MenuSelect 100 Always on top")});
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(item).center());
    QTRY_VERIFY(!menu->isVisible());
    // The close of the menu comes as identifier 0 without a caption.
    QVERIFY(log.contains(QStringLiteral("MenuSelect 0 ")));
    QCOMPARE(log.constLast(), QStringLiteral("UserSysClick 100"));
    QVERIFY(host.formSaw(100));
    // Choosing an item does not tick it.
    QVERIFY(!host.deck->GetSysMenuCheck(100));
}

void TestSysdeck::twoHostsReportTheirOwnItems_data() {
    QTest::addColumn<bool>("firstEnds");
    QTest::newRow("second instance ends") << false;
    QTest::newRow("first instance ends") << true;
}

void TestSysdeck::twoHostsReportTheirOwnItems() {
    QFETCH(bool, firstEnds);
    Host a, b;
    QStringList logA, logB;
    record(a.deck, logA);
    record(b.deck, logB);
    a.deck->AddSysMenu(QStringLiteral("Always on top"), 100);
    b.deck->AddSysMenu(QStringLiteral("Desktop"), 1252);
    a.deck->Start();
    b.deck->Start();

    SendMessageA(a.hwnd, WM_SYSCOMMAND, 100, 0);
    SendMessageA(b.hwnd, WM_SYSCOMMAND, 1252, 0);
    QCOMPARE(logA, QStringList{QStringLiteral("UserSysClick 100")});
    QCOMPARE(logB, QStringList{QStringLiteral("UserSysClick 1252")});

    Host& ending = firstEnds ? a : b;
    Host& staying = firstEnds ? b : a;
    QStringList& stayingLog = firstEnds ? logB : logA;
    const qint32 stayingItem = firstEnds ? 1252 : 100;
    delete ending.deck;
    stayingLog.clear();
    SendMessageA(staying.hwnd, WM_SYSCOMMAND, stayingItem, 0);
    QCOMPARE(stayingLog, QStringList{QStringLiteral("UserSysClick %1").arg(stayingItem)});
    // The window whose control ended has its own procedure back.
    SendMessageA(ending.hwnd, WM_SYSCOMMAND, 7, 0);
    QVERIFY(ending.formSaw(7));

    // A new control on that window reports again, the other one still does.
    ending.deck = new Sysdeck(ending.form.get());
    QStringList again;
    record(ending.deck, again);
    ending.deck->Start();
    SendMessageA(ending.hwnd, WM_SYSCOMMAND, 9, 0);
    QCOMPARE(again, QStringList{QStringLiteral("UserSysClick 9")});
    stayingLog.clear();
    SendMessageA(staying.hwnd, WM_SYSCOMMAND, stayingItem, 0);
    QCOMPARE(stayingLog.size(), 1);
}

void TestSysdeck::cancelKeepsTheWindowOpenForOneCommand() {
    Host host;
    host.form->show();
    Sysdeck& deck = *host.deck;
    deck.Start();

    // A handler that vetoes the close; while it runs, another message gets
    // through (as one would while a dialog is open) and must not take the veto.
    QStringList nested;
    auto veto = connect(&deck, &Sysdeck::SYSClose, [&] {
        deck.CancelCommand();
        SendMessageA(host.hwnd, WM_SYSCOMMAND, 500, 0);
    });
    connect(&deck, &Sysdeck::UserSysClick,
            [&](qint32 id) { nested << QStringLiteral("UserSysClick %1").arg(id); });
    SendMessageA(host.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    QVERIFY(host.form->isVisible());
    QVERIFY(!host.formSaw(SC_CLOSE));
    QCOMPARE(nested, QStringList{QStringLiteral("UserSysClick 500")});
    QVERIFY(host.formSaw(500));

    // A cancel outside any handler has nothing to cancel.
    deck.CancelCommand();
    disconnect(veto);
    SendMessageA(host.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    QVERIFY(host.formSaw(SC_CLOSE));
    QVERIFY(!host.form->isVisible());
}

void TestSysdeck::unhookingLeavesOtherHooksInPlace() {
    Host host;
    host.deck->Start();
    const WNDPROC decks = GetWindowLongA(host.hwnd, GWL_WNDPROC);

    // Another hook goes in front of the control's.
    QStringList seen;
    WNDPROC below = 0;
    const WNDPROC other = RegisterWindowProc([&](HWND h, UINT msg, WPARAM wp, LPARAM lp) {
        seen << QStringLiteral("other %1").arg(wp);
        return CallWindowProcA(below, h, msg, wp, lp);
    });
    below = SetWindowLongA(host.hwnd, GWL_WNDPROC, other);
    QCOMPARE(below, decks);

    delete host.deck;
    host.deck = nullptr;
    // The other hook stays current and the chain still reaches the window.
    QCOMPARE(GetWindowLongA(host.hwnd, GWL_WNDPROC), other);
    SendMessageA(host.hwnd, WM_SYSCOMMAND, 42, 0);
    QCOMPARE(seen, QStringList{QStringLiteral("other 42")});
    QVERIFY(host.formSaw(42));

    // When the other hook leaves, what it restores still passes everything on.
    SetWindowLongA(host.hwnd, GWL_WNDPROC, below);
    SendMessageA(host.hwnd, WM_SYSCOMMAND, 43, 0);
    QVERIFY(host.formSaw(43));
    UnregisterWindowProc(other);
}

void TestSysdeck::writingHwndRetargetsWithoutDoubleHook() {
    Host host, other;
    QStringList log;
    record(host.deck, log);
    host.deck->Start();
    const WNDPROC hooked = GetWindowLongA(host.hwnd, GWL_WNDPROC);
    QCOMPARE(host.deck->hwnd(), host.hwnd);

    // The window already hooked is not hooked over itself.
    host.deck->setHwnd(host.hwnd);
    QCOMPARE(GetWindowLongA(host.hwnd, GWL_WNDPROC), hooked);
    SendMessageA(host.hwnd, WM_SYSCOMMAND, 5, 0);
    QCOMPARE(log, QStringList{QStringLiteral("UserSysClick 5")});

    // Another window takes the hook; the first gets its own procedure back.
    const WNDPROC otherOwn = GetWindowLongA(other.hwnd, GWL_WNDPROC);
    host.deck->setHwnd(other.hwnd);
    QVERIFY(GetWindowLongA(other.hwnd, GWL_WNDPROC) != otherOwn);
    QVERIFY(GetWindowLongA(host.hwnd, GWL_WNDPROC) != hooked);
    log.clear();
    SendMessageA(host.hwnd, WM_SYSCOMMAND, 6, 0);
    SendMessageA(other.hwnd, WM_SYSCOMMAND, 7, 0);
    QCOMPARE(log, QStringList{QStringLiteral("UserSysClick 7")});
    // The menu members still act on the host form.
    QCOMPARE(host.deck->hwnd(), host.hwnd);

    // Moving away to 0 undoes nothing.
    host.deck->setHwnd(0);
    SendMessageA(other.hwnd, WM_SYSCOMMAND, 8, 0);
    QCOMPARE(log.constLast(), QStringLiteral("UserSysClick 8"));
}

void TestSysdeck::startHooksOnceAndNotInTheDesigner() {
    Host host;
    const WNDPROC own = GetWindowLongA(host.hwnd, GWL_WNDPROC);
    host.deck->setUserMode(false);
    host.deck->Start();
    QCOMPARE(GetWindowLongA(host.hwnd, GWL_WNDPROC), own);

    host.deck->setUserMode(true);
    host.deck->Start();
    const WNDPROC hooked = GetWindowLongA(host.hwnd, GWL_WNDPROC);
    QVERIFY(hooked != own);
    host.deck->Start();
    QCOMPARE(GetWindowLongA(host.hwnd, GWL_WNDPROC), hooked);
    QStringList log;
    record(host.deck, log);
    SendMessageA(host.hwnd, WM_SYSCOMMAND, 3, 0);
    QCOMPARE(log.size(), 1);
}

void TestSysdeck::hostDestroyedLeavesNoHandler() {
    // A control living elsewhere that hooks the host by handle outlives it.
    Host host;
    QWidget elsewhere;
    auto* remote = new Sysdeck(&elsewhere);
    QStringList log;
    record(remote, log);
    remote->setHwnd(host.hwnd);
    host.deck->Start();
    const HWND gone = host.hwnd;
    host.form.reset();
    QVERIFY(!IsWindow(gone));
    QCOMPARE(SendMessageA(gone, WM_SYSCOMMAND, 1, 0), 0);
    QVERIFY(log.isEmpty());
    // The control forgot the window; writing the same number again is a new
    // window for it and finds none to hook.
    remote->setHwnd(gone);
    remote->Start();
    delete remote;

    // A handler that destroys its own host while the command is handled.
    Host closing;
    closing.deck->Start();
    connect(closing.deck, &Sysdeck::SYSClose, [&] { closing.form.reset(); });
    SendMessageA(closing.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    QVERIFY(!closing.form);
    QVERIFY(!IsWindow(closing.hwnd));
}

void TestSysdeck::theMenuIsWhereTheWindowShowsIt() {
    // A top-level window: a small button at its top-left corner opens it.
    Host top;
    top.deck->AddSysMenu(QStringLiteral("Always on top"), 100);
    top.form->show();
    auto* button = top.form->findChild<QToolButton*>(QStringLiteral("systemMenuButton"));
    QVERIFY(button);
    QCOMPARE(button->pos(), QPoint(0, 0));
    button->click();
    QVERIFY(top.qmenu()->isVisible());
    top.qmenu()->hide();

    // With a menu bar the button sits at its left.
    auto* layout = new QVBoxLayout(top.form.get());
    auto* bar = new QMenuBar(top.form.get());
    layout->setMenuBar(bar);
    bar->addMenu(QStringLiteral("&File"));
    QTRY_COMPARE(bar->cornerWidget(Qt::TopLeftCorner), static_cast<QWidget*>(button));

    // A child of the MDI frame: its sub-window's own system menu, no button;
    // its picks and the standard commands go through the window procedure.
    QMdiArea area;
    area.resize(600, 400);
    area.show();
    Host child;
    QStringList log;
    record(child.deck, log);
    child.deck->AddSysMenu(QStringLiteral("Detach"), 1300);
    child.deck->Start();
    QMdiSubWindow* sub = area.addSubWindow(child.form.get());
    sub->show();
    QTRY_COMPARE(sub->systemMenu(), child.qmenu());
    QVERIFY(!child.form->findChild<QToolButton*>(QStringLiteral("systemMenuButton")));
    QCOMPARE(GetMenuItemID(child.menu(), standardItemCount), 1300);
    child.qmenu()->actions().constLast()->trigger();
    QCOMPARE(log, QStringList{QStringLiteral("UserSysClick 1300")});
    SendMessageA(child.hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    QVERIFY(sub->isMinimized());
    SendMessageA(child.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    QVERIFY(!sub->isMinimized());
    QPointer<QWidget> form = child.form.get();
    SendMessageA(child.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    QVERIFY(!sub->isVisible());
    QCOMPARE(log.size(), 4); // SYSMinimize, SYSRestore and SYSClose came too
    // The closed sub-window takes its form with it.
    child.form.release();
    QTRY_VERIFY(form.isNull());
}

void TestSysdeck::menuOfAChildIsAPopup_data() {
    QTest::addColumn<QString>("opener");
    QTest::addColumn<bool>("moved"); // the form went on to a second sub-window
    QTest::newRow("sub-window's own button") << "sub-window" << false;
    QTest::newRow("system-menu message") << "message" << false;
    QTest::newRow("after moving to another sub-window") << "sub-window" << true;
}

void TestSysdeck::menuOfAChildIsAPopup() {
    QFETCH(QString, opener);
    QFETCH(bool, moved);
    // A menu that is a plain child of the sub-window would be clipped to it
    // and drawn under its siblings; it has to open as a window of its own.
    QMdiArea area;
    area.resize(300, 200);
    area.show();
    Host child;
    child.deck->AddSysMenu(QStringLiteral("Detach"), 1300);
    QMdiSubWindow* sub = area.addSubWindow(child.form.get());
    sub->show();
    QTRY_COMPARE(sub->systemMenu(), child.qmenu());
    if (moved) {
        sub->setWidget(nullptr);
        sub = area.addSubWindow(child.form.get());
        sub->show();
        QTRY_COMPARE(sub->systemMenu(), child.qmenu());
    }
    QMenu* menu = child.qmenu();
    if (opener == QLatin1String("sub-window"))
        sub->showSystemMenu();
    else
        SendMessageA(child.hwnd, WM_POPUPSYSTEMMENU, 0, (20 << 16) | 10);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(menu->windowType(), Qt::Popup);
    QVERIFY(menu->isWindow());
    QCOMPARE(menu->parentWidget(), static_cast<QWidget*>(sub));
    menu->hide();
}

void TestSysdeck::placementAboutAndSize() {
    ScriptedAnswerer answers;
    QWidget form;
    CreatePlatformWindow(&form);
    auto* first = new Sysdeck(&form);

    // The control always has its picture's size, and shows nothing at run time.
    first->resize(200, 90);
    QCOMPARE(first->size(), first->Picture1->size());
    QVERIFY(first->isHidden());

    QString title;
    closeNextModal(&title);
    first->InitProperties();
    QCOMPARE(title, QStringLiteral("Sysdeck"));
    QVERIFY(answers.requests().isEmpty());

    // A second one on the same form says so and goes.
    QPointer<Sysdeck> second = new Sysdeck(&form);
    second->InitProperties();
    QCOMPARE(answers.requests().size(), 1);
    const DialogRequest said = answers.requests().constFirst();
    QCOMPARE(said.prompt, QString::fromUtf8("Só Pode existir um controle Sysdeck por Formulário\n"
                                            "Esse controle será removido"));
    QCOMPARE(said.buttons, int(vbOKOnly));
    QCOMPARE(said.title, DefaultDialogTitle()); // the default title
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(second.isNull());

    // The about box, with its six notes.
    answers.clear();
    int buttons = 0;
    closeNextModal(&title, [&buttons](QDialog* box) {
        for (QPushButton* b : box->findChildren<QPushButton*>()) {
            if (b->objectName() != QLatin1String("BTNOK")) {
                b->click();
                ++buttons;
            }
        }
    });
    first->About();
    QCOMPARE(title, QStringLiteral("Sobre"));
    QCOMPARE(buttons, 6);
    QCOMPARE(answers.requests().size(), 6);
}

PARLONE_TEST_MAIN(TestSysdeck)
#include "tst_sysdeck.moc"
