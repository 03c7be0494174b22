#include "connection/frm_main.h"

#include "connection/ChannelEvents.h"
#include "connection/ConnectionEvents.h"
#include "connection/ConnectionTimer.h"
#include "connection/CtcpHandler.h"
#include "connection/DccChatSockets.h"
#include "connection/DccFileTransfer.h"
#include "connection/DccOfferPrompts.h"
#include "connection/FrameGeometry.h"
#include "connection/FrameSystemMenu.h"
#include "connection/FrameText.h"
#include "connection/MainMenus.h"
#include "connection/MessageEvents.h"
#include "connection/NotifyReplies.h"
#include "connection/SendQueueWarning.h"
#include "connection/ServerReplies.h"
#include "connection/WindowSwitcher.h"
#include "connection/mod_TrayIcon.h"
#include "core/CommandWindow.h"
#include "core/ExitSequence.h"
#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ProgramRecordFiles.h"
#include "core/ServerEcho.h"
#include "core/SettingsFile.h"
#include "core/WindowGeometry.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/window/Twips.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <optional>

using namespace platform;

namespace {

const QString kGeometryFile = QStringLiteral("main.win");

// The image list's pictures, in the program's resources.
QStringList framePictures() {
    QStringList files;
    for (int n = 1; n <= 17; ++n)
        files << QStringLiteral(":/frame/il%1.xpm").arg(n, 2, 10, QLatin1Char('0'));
    return files;
}

QIcon parloneIcon() {
    return QIcon(QStringLiteral(":/frame/parlone.xpm"));
}

// The mouse state of a mouse-move message: buttons 1 left, 2 right, 4
// middle; shift 1 Shift, 2 Ctrl.
int buttonsOf(WPARAM keys) {
    return (keys & 0x1 ? 1 : 0) | (keys & 0x2 ? 2 : 0) | (keys & 0x10 ? 4 : 0);
}
int shiftOf(WPARAM keys) {
    return (keys & 0x4 ? 1 : 0) | (keys & 0x8 ? 2 : 0);
}

QRect twips(const QRect& pixels) {
    return {PixelsToTwipsX(pixels.x()), PixelsToTwipsY(pixels.y()), PixelsToTwipsX(pixels.width()),
            PixelsToTwipsY(pixels.height())};
}

} // namespace

frm_main::frm_main(Program& program) : Form(program, Kind::TopLevel), il(framePictures()) {
    setCaption(QStringLiteral("Parlone"));
    // The program's own icon on the frame, its children and its dialogs.
    QApplication::setWindowIcon(parloneIcon());

    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    auto* menuBar = new QMenuBar(this);
    m_layout->setMenuBar(menuBar);
    m_mdiArea = new QMdiArea(this);
    m_layout->addWidget(m_mdiArea, 1);
    StatusBar1 = new SwitchBar(this);
    m_layout->addWidget(StatusBar1);
    StatusBar1->Add(1, QStringLiteral("Server"));
    StatusBar1->Panel(1)->setPicture(il.Picture(3));

    Yarv1 = new Yarv(this);
    AGPopUp1 = new AGPopUp(this);
    AGPopUp1->AddMenuItem(QStringLiteral("&Connect"), QStringLiteral("/connect"));
    AGPopUp1->AddMenuItem(QStringLiteral("&Disconnect"), QStringLiteral("/disconnect"));
    AGPopUp1->AddMenuItem(QStringLiteral("&Exit"), QStringLiteral("/exit"));
    menus = new MainMenus(program, *this, *menuBar);
    switcher = new WindowSwitcher(program, *this);
    connectionEvents = new ConnectionEvents(program, *Yarv1, this);
    serverReplies = new ServerReplies(program, *Yarv1, this);
    channelEvents = new ChannelEvents(program, *Yarv1, this);
    messageEvents = new MessageEvents(program, *Yarv1, this);
    notifyReplies = new NotifyReplies(program, *Yarv1, this);
    new SendQueueWarning(program, Yarv1);
    DCC = new WinsockArray(this);
    dccfile = new WinsockArray(this);
    dccsend = new WinsockArray(this);
    for (WinsockArray* sockets : {DCC, dccfile, dccsend})
        sockets->Load(0);
    dccFileTransfer = new DccFileTransfer(program, *dccfile, *dccsend, this);
    dccChatSockets = new DccChatSockets(program, *DCC, this);
    dccOffers = new DccOfferPrompts(program, *dccChatSockets, *dccFileTransfer, this);
    ctcpHandler = new CtcpHandler(program, *Yarv1, *dccOffers, this);
    Timer1 = new ConnectionTimer(program, this);

    // The tray's actions come as mouse moves through the frame's window.
    ExtendDefaultWindowProc(
        hwnd(), [this](HWND h, UINT msg, WPARAM wp, LPARAM lp, const WindowProcFn& base) {
            if (msg != WM_MOUSEMOVE)
                return base(h, msg, wp, lp);
            const int x = qint16(lp & 0xFFFF);
            const int y = qint16((lp >> 16) & 0xFFFF);
            Form_MouseMove(buttonsOf(wp), shiftOf(wp), float(x * TwipsPerPixelX()),
                           float(y * TwipsPerPixelY()));
            return LRESULT(0);
        });

    // Three quarters of the screen until main.win says more.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    resize(screen.width() * 3 / 4, screen.height() * 3 / 4);

    addSystemMenuItems();
    // The ident server answers from now on, on the program's ident port.
    Ostrane1 = new Ostrane(this);
    if (program.identPort) {
        Ostrane1->setLocalPort(*program.identPort);
        Ostrane1->Listen();
    }
    readGeometryFile();
    m_loaded = true;
}

frm_main::~frm_main() = default;

void frm_main::addSystemMenuItems() {
    // A menu that refuses an item leaves the frame without it; the first
    // failure is reported and the frame loads all the same.
    QString failure;
    const auto attempt = [&](auto&& step) {
        try {
            step();
        } catch (const std::exception& e) {
            if (failure.isEmpty())
                failure = DescribeError(e);
        }
    };
    Sysdeck1 = new Sysdeck(this);
    systemMenu = new FrameSystemMenu(program(), this);
    connect(Sysdeck1, &Sysdeck::UserSysClick, systemMenu, &FrameSystemMenu::Sysdeck1_UserSysClick);
    attempt([&] { Sysdeck1->AddSysMenu(QStringLiteral("Always on top"), 100); });
    attempt([&] { Sysdeck1->AddSysMenu(QStringLiteral("Minimise to tray"), 111); });
    attempt([&] { Sysdeck1->Start(); });
    if (!failure.isEmpty())
        ServerEcho(program(),
                   QStringLiteral("Error: the frame's system menu is incomplete: ") + failure);
}

void frm_main::disp(const QString& txt, bool timestamp, const QString& col) {
    Q_UNUSED(timestamp);
    Q_UNUSED(col);
    ServerEcho(program(), txt, QString(), 0);
}

void frm_main::Analyse(const QString& line, QStringList& parts) const {
    parts = FrameText::Analyse(line);
}

QString frm_main::GetNick(const QString& mask) const {
    return FrameText::GetNick(mask);
}

void frm_main::readGeometryFile() {
    // The place first, then the state: a frame saved maximised or minimised
    // keeps the place it had before, and comes back to it when restored.
    std::optional<QString> state;
    ReadWindowGeometry(program(), kGeometryFile, [&](const QString& key, const QString& value) {
        if (key.toUpper() == u"WIN_STATE")
            state = value;
        else
            FSet(key, value);
    });
    // A frame saved on a screen that is gone comes back onto the primary one.
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
        screens << twips(screen->geometry());
    const QRect primary = twips(QGuiApplication::primaryScreen()->geometry());
    if (const auto moved = OntoScreens(QRect(Left(), Top(), Width(), Height()), screens, primary))
        Move(moved->x(), moved->y());
    if (state)
        FSet(QStringLiteral("WIN_STATE"), *state);
}

void frm_main::writeGeometryFile() {
    // A maximised or minimised frame records the place it is restored to.
    const QRect normal = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    const QByteArray bytes = FormatWindowGeometry(WindowState(), normal);
    QString error;
    program().fileWriter(FindPathNoCase(program().folder(), kGeometryFile), bytes, &error);
}

void frm_main::FSet(const QString& key, const QString& value) {
    ApplyGeometryRecord(*this, key, value, GeometryVariant::Plain);
}

void frm_main::Form_Resize() {
    if (WindowState() == vbNormal) {
        const QSize screen = twips(QGuiApplication::primaryScreen()->geometry()).size();
        if (const auto shrunk = ShrunkFrame(QRect(Left(), Top(), Width(), Height()), screen))
            Move(shrunk->x(), shrunk->y(), shrunk->width(), shrunk->height());
    }
    // Into the tray only where there is one; elsewhere the task bar keeps it.
    if (program().settings.value(QStringLiteral("USE_TRAY")) == u"1" &&
        WindowState() == vbMinimized && NotifyAreaAvailable()) {
        // Its place is its own: the window manager keeps it when the frame
        // comes back from the tray.
        move(pos());
        Hide();
        TrayAdd(program());
        UpdateTrayStatus(program());
    }
}

void frm_main::Form_MouseMove(int Button, int Shift, float X, float Y) {
    Q_UNUSED(Button);
    Q_UNUSED(Shift);
    Q_UNUSED(Y);
    switch (qRound(X / float(TwipsPerPixelX()))) {
    case WM_LBUTTONUP: {
        setWindowState(vbNormal);
        Show();
        setFocus();
        TrayRemove(program());
        raise();
        activateWindow();
        // A child shrunk to almost nothing while the frame was away comes back
        // to a usable size.
        if (Form* child = ActiveChild(program())) {
            if (const auto rescued =
                    RescuedChild(QSize(child->Width(), child->Height()), QSize(Width(), Height())))
                child->Move(rescued->x(), rescued->y(), rescued->width(), rescued->height());
        }
        break;
    }
    case WM_RBUTTONUP:
        AGPopUp1->ShowMenu();
        break;
    default:
        break;
    }
}

void frm_main::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    Program& p = program();
    // The frame goes only at the end of the exit, with every other window.
    Cancel = 1;
    if (p.closing || !ConfirmExit(p))
        return;
    try {
        SaveSettings(p);
        SavePopups(p);
    } catch (const std::exception&) {
        // The exit writes both files again; a failed write here never keeps
        // the program from ending.
    }
    ExecCommand(p, QStringLiteral("exit"));
}

void frm_main::setStatusBarAlignment(int alignment) {
    if (alignment != 1 && alignment != 2)
        return;
    m_statusBarAlignment = alignment;
    m_layout->removeWidget(StatusBar1);
    m_layout->insertWidget(alignment == 1 ? 0 : m_layout->count(), StatusBar1);
}

int frm_main::AddPanel(const QString& text, int picture) {
    const int index = StatusBar1->Add(-1, text);
    SwitchBarPanel* panel = StatusBar1->Panel(index);
    panel->setPicture(il.Picture(picture));
    panel->setAutoSize(SwitchBarPanel::sbrSpring);
    return index;
}

void frm_main::ShowToolWindow(Form& window, const QString& panel, int picture) {
    window.Show();
    // A tool window hides while minimised, and one saved minimised comes
    // back so: asked for, it is shown in its normal state.
    if (window.WindowState() == Form::vbMinimized)
        window.setWindowState(Form::vbNormal);
    window.ZOrder();
    if (FindPanel(program(), panel) == 0) {
        AddPanel(panel, picture);
        SelectPanel(program(), panel);
    }
}

void frm_main::Arrange(int mode) {
    if (mode == 3) {
        lineUpIcons();
        return;
    }
    if (mode < 0 || mode > 2)
        return;
    // Back to front, so a cascade leaves the active window in front.
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList(QMdiArea::StackingOrder)) {
        if (sub->isVisible() && !sub->isMinimized())
            windows << sub;
    }
    if (windows.isEmpty())
        return;
    // The children's own placement rules leave alone what is placed here:
    // the user asked for this arrangement.
    const QScopedValueRollback arranging(m_arranging, true);
    const QRect area = m_mdiArea->viewport()->rect();
    const int n = static_cast<int>(windows.size());
    if (mode == 0) {
        // Each window a title bar lower and further right than the one
        // behind it, all of one size, at least half the area each way.
        QStyleOptionTitleBar option;
        option.initFrom(windows.constFirst());
        const int step = qMax(windows.constFirst()->style()->pixelMetric(
                                  QStyle::PM_TitleBarHeight, &option, windows.constFirst()),
                              8);
        const int width = qMax(area.width() - (n - 1) * step, area.width() / 2);
        const int height = qMax(area.height() - (n - 1) * step, area.height() / 2);
        const int columns = qMax(area.width() - width, 0) / step + 1;
        const int rows = qMax(area.height() - height, 0) / step + 1;
        for (int i = 0; i < n; ++i) {
            QMdiSubWindow* sub = windows.at(i);
            sub->showNormal();
            sub->setGeometry((i % columns) * step, (i % rows) * step, width, height);
            sub->raise();
        }
        return;
    }
    // Tiles in the order the windows were opened.
    const QList<QMdiSubWindow*> opened = m_mdiArea->subWindowList(QMdiArea::CreationOrder);
    std::stable_sort(windows.begin(), windows.end(), [&](QMdiSubWindow* a, QMdiSubWindow* b) {
        return opened.indexOf(a) < opened.indexOf(b);
    });
    for (int i = 0; i < n; ++i) {
        windows.at(i)->showNormal();
        if (mode == 1) {
            const int top = area.height() * i / n;
            windows.at(i)->setGeometry(0, top, area.width(), area.height() * (i + 1) / n - top);
        } else {
            const int left = area.width() * i / n;
            windows.at(i)->setGeometry(left, 0, area.width() * (i + 1) / n - left, area.height());
        }
    }
}

void frm_main::lineUpIcons() {
    // Rows from the bottom edge up, left to right.
    const QRect area = m_mdiArea->viewport()->rect();
    int x = 0;
    int y = area.height();
    int rowHeight = 0;
    for (QMdiSubWindow* sub : m_mdiArea->subWindowList()) {
        if (!sub->isVisible() || !sub->isMinimized())
            continue;
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > area.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = qMax(rowHeight, size.height());
        sub->move(x, y - size.height());
        x += size.width();
    }
}

void frm_main::resizeEvent(QResizeEvent* event) {
    Form::resizeEvent(event);
    if (m_loaded)
        Form_Resize();
}

void frm_main::changeEvent(QEvent* event) {
    Form::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && m_loaded)
        Form_Resize();
}

void frm_main::showEvent(QShowEvent* event) {
    Form::showEvent(event);
    // A frame that main.win put in the minimised state had no state change
    // to run its size rules on; they run once it is on screen.
    if (!event->spontaneous() && WindowState() == vbMinimized)
        QTimer::singleShot(0, this, &frm_main::Form_Resize);
}
