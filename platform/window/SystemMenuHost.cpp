#include "platform/window/SystemMenuHost.h"

#include "platform/window/SystemMenu.h"
#include "platform/window/SystemMenuItems.h"
#include "platform/window/WindowStyle.h"
#include "platform/window/WindowStyleHost.h"

#include <QAction>
#include <QActionEvent>
#include <QHash>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolButton>
#include <QWindow>

namespace platform {
namespace {

const char* const kWatched = "parloneMenuWatched";

QHash<HWND, QPointer<SystemMenuHost>>& hosts() {
    static QHash<HWND, QPointer<SystemMenuHost>> h;
    return h;
}

// The edges a WMSZ code (the low four bits of SC_SIZE + n) names.
Qt::Edges edgesOf(int code) {
    switch (code) {
    case 1:
        return Qt::LeftEdge;
    case 2:
        return Qt::RightEdge;
    case 3:
        return Qt::TopEdge;
    case 4:
        return Qt::TopEdge | Qt::LeftEdge;
    case 5:
        return Qt::TopEdge | Qt::RightEdge;
    case 6:
        return Qt::BottomEdge;
    case 7:
        return Qt::BottomEdge | Qt::LeftEdge;
    default:
        return Qt::BottomEdge | Qt::RightEdge;
    }
}

bool isStandardMenuItem(const QAction* a, const char* text) {
    return a->text().remove(QLatin1Char('&')) == QLatin1String(text);
}

} // namespace

SystemMenuHost* SystemMenuHost::of(HWND hwnd) {
    return hosts().value(hwnd).data();
}

SystemMenuHost* SystemMenuHost::attach(HWND hwnd) {
    if (SystemMenuHost* existing = of(hwnd))
        return existing;
    QWidget* widget = WidgetFromHandle(hwnd);
    if (!widget || !FrameWidgetOf(hwnd))
        return nullptr;
    auto* host = new SystemMenuHost(hwnd, widget);
    hosts().insert(hwnd, host);
    ExtendDefaultWindowProc(
        hwnd, [](HWND h, UINT msg, WPARAM wp, LPARAM lp, const WindowProcFn& base) -> LRESULT {
            if (msg == WM_SYSCOMMAND) {
                if (SystemMenuHost* menuHost = of(h); menuHost && menuHost->runCommand(wp))
                    return 0;
            } else if (msg == WM_POPUPSYSTEMMENU) {
                if (SystemMenuHost* menuHost = of(h)) {
                    menuHost->popup(QPoint(qint16(lp & 0xFFFF), qint16((lp >> 16) & 0xFFFF)));
                    return 0;
                }
            }
            return base(h, msg, wp, lp);
        });
    host->makeMenu();
    host->updateDecorations();
    return host;
}

SystemMenuHost::SystemMenuHost(HWND hwnd, QWidget* widget)
    : QObject(widget), m_hwnd(hwnd), m_widget(widget) {
    widget->installEventFilter(this);
    const HWND handle = hwnd;
    connect(this, &QObject::destroyed, [handle] { hosts().remove(handle); });
}

QMenu* SystemMenuHost::menu() {
    if (!m_menu) {
        makeMenu();
        updateDecorations();
    }
    return m_menu;
}

void SystemMenuHost::makeMenu() {
    m_menu = new QMenu(m_widget);
    addStandardItems();
    watchMenu(m_menu, true);
}

void SystemMenuHost::addStandardItems() {
    const HMENU h = menuitems::handleOf(m_menu);
    AppendMenuA(h, MF_STRING, SC_RESTORE, QStringLiteral("&Restore"));
    AppendMenuA(h, MF_STRING, SC_MOVE, QStringLiteral("&Move"));
    AppendMenuA(h, MF_STRING, SC_SIZE, QStringLiteral("&Size"));
    AppendMenuA(h, MF_STRING, SC_MINIMIZE, QStringLiteral("Mi&nimize"));
    AppendMenuA(h, MF_STRING, SC_MAXIMIZE, QStringLiteral("Ma&ximize"));
    AppendMenuA(h, MF_SEPARATOR, 0, QString());
    AppendMenuA(h, MF_STRING, SC_CLOSE, QStringLiteral("&Close"));
    updateStandardItems();
}

void SystemMenuHost::revert() {
    QMenu* m = menu();
    for (QAction* a : m->actions()) {
        m->removeAction(a);
        delete a;
    }
    addStandardItems();
}

void SystemMenuHost::updateStandardItems() {
    QWidget* frame = FrameWidgetOf(m_hwnd);
    if (!frame || !m_menu)
        return;
    // Without live style words the window has every button.
    qint64 style = WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    if (WindowStyleHost::of(m_hwnd))
        style = GetWindowLongA(m_hwnd, GWL_STYLE);
    const bool minimized = frame->isMinimized();
    const bool maximized = frame->isMaximized();
    const HMENU h = menuitems::handleOf(m_menu);
    auto enable = [h](WPARAM id, bool on) {
        EnableMenuItem(h, UINT(id), MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED));
    };
    enable(SC_RESTORE, minimized || maximized);
    enable(SC_MOVE, !maximized);
    enable(SC_SIZE, !minimized && !maximized && (style & WS_THICKFRAME));
    enable(SC_MINIMIZE, !minimized && (style & WS_MINIMIZEBOX));
    enable(SC_MAXIMIZE, !maximized && (style & WS_MAXIMIZEBOX));
}

void SystemMenuHost::watchMenu(QWidget* menuWidget, bool systemMenu) {
    if (!menuWidget || menuWidget->property(kWatched).toBool())
        return;
    menuWidget->setProperty(kWatched, true);
    menuWidget->installEventFilter(this);
    if (auto* m = qobject_cast<QMenu*>(menuWidget)) {
        connect(m, &QMenu::hovered, this,
                [this, m, systemMenu](QAction* a) { highlighted(m, a, systemMenu); });
        connect(m, &QMenu::aboutToHide, this, [this, m] {
            // The end of a menu's use: once, for the outermost menu.
            if (!qobject_cast<QMenu*>(m->parentWidget()))
                send(WM_MENUSELECT, WPARAM(0xFFFF0000u), 0);
        });
        if (systemMenu) {
            connect(m, &QMenu::aboutToShow, this, &SystemMenuHost::updateStandardItems);
            connect(m, &QMenu::triggered, this, [this, m](QAction* a) { chosen(m, a); });
        }
    } else if (auto* bar = qobject_cast<QMenuBar*>(menuWidget)) {
        connect(bar, &QMenuBar::hovered, this,
                [this, bar](QAction* a) { highlighted(bar, a, false); });
    }
    for (QAction* a : menuWidget->actions()) {
        if (a->menu())
            watchMenu(a->menu(), systemMenu);
    }
}

void SystemMenuHost::highlighted(QWidget* menuWidget, QAction* action, bool systemMenu) {
    if (!action || menuitems::isColumnLine(action))
        return;
    const quint32 id = menuitems::itemId(action);
    UINT flags = menuitems::itemState(menuWidget, action) & 0xFFFF;
    if (systemMenu)
        flags |= MF_SYSMENU;
    send(WM_MENUSELECT, WPARAM((id & 0xFFFF) | (flags << 16)), menuitems::handleOf(menuWidget));
}

void SystemMenuHost::chosen(QMenu* menuWidget, QAction* action) {
    if (!action || action->isSeparator())
        return;
    // Qt ticks a checkable action on its own; the item's state says otherwise.
    QWidget* owner = menuWidget;
    for (QObject* o : action->associatedObjects()) {
        if (auto* w = qobject_cast<QMenu*>(o))
            owner = w;
    }
    menuitems::refresh(owner, action);
    send(WM_SYSCOMMAND, WPARAM(menuitems::itemId(action)), 0);
}

void SystemMenuHost::send(UINT msg, WPARAM wParam, LPARAM lParam) {
    // The window's procedures answer for themselves; nothing they throw may
    // reach the event loop.
    try {
        SendMessageA(m_hwnd, msg, wParam, lParam);
    } catch (...) {
    }
}

void SystemMenuHost::popup(const QPoint& globalPos) {
    if (QMenu* m = menu())
        m->popup(globalPos);
}

bool SystemMenuHost::runCommand(WPARAM code) {
    QWidget* frame = FrameWidgetOf(m_hwnd);
    if (!frame)
        return false;
    auto* sub = qobject_cast<QMdiSubWindow*>(frame);
    QWindow* window = frame->isWindow() ? frame->windowHandle() : nullptr;
    if (code == SC_CLOSE) {
        frame->close();
    } else if (code == SC_MINIMIZE) {
        frame->showMinimized();
    } else if (code == SC_MAXIMIZE) {
        frame->showMaximized();
    } else if (code == SC_RESTORE) {
        frame->showNormal();
    } else if (code == SC_MOVE || code == SC_MOVE + 2) {
        if (sub && m_subMove)
            m_subMove->trigger();
        else if (window)
            window->startSystemMove();
    } else if (code >= SC_SIZE && code <= SC_SIZE + 8) {
        if (sub && m_subSize)
            m_subSize->trigger();
        else if (window)
            window->startSystemResize(edgesOf(code & 15));
    } else {
        return false;
    }
    return true;
}

void SystemMenuHost::adoptSubWindow(QMdiSubWindow* sub) {
    if (m_sub == sub || !m_menu)
        return;
    delete m_button;
    if (QMenu* own = sub->systemMenu()) {
        // Keep the sub-window's keyboard move and size before its menu goes.
        for (QAction* a : own->actions()) {
            if (isStandardMenuItem(a, "Move") || isStandardMenuItem(a, "Size")) {
                (isStandardMenuItem(a, "Move") ? m_subMove : m_subSize) = a;
                own->removeAction(a);
                a->setParent(sub);
            }
        }
    }
    // QMdiSubWindow::setSystemMenu() takes a menu that is not its child with
    // a plain setParent(), which drops the popup flag and leaves a child
    // widget clipped to the sub-window. Made its child as a popup first, the
    // menu is taken as it is.
    m_menu->setParent(sub, Qt::Popup);
    sub->setSystemMenu(m_menu);
    m_sub = sub;
}

void SystemMenuHost::placeButton() {
    QWidget* w = m_widget;
    if (!w || !w->isWindow())
        return;
    bool wanted = true;
    if (WindowStyleHost::of(m_hwnd)) {
        const qint64 style = GetWindowLongA(m_hwnd, GWL_STYLE);
        wanted = (style & WS_SYSMENU) && (style & WS_CAPTION) == WS_CAPTION;
    }
    if (!wanted) {
        delete m_button;
        return;
    }
    if (!m_button) {
        m_button = new QToolButton(w);
        m_button->setObjectName(QStringLiteral("systemMenuButton"));
        m_button->setAutoRaise(true);
        m_button->setFocusPolicy(Qt::NoFocus);
        // The window's own icon, as on a title bar; the style's only for a
        // program without one.
        const QIcon icon = w->windowIcon();
        m_button->setIcon(icon.isNull() ? w->style()->standardIcon(QStyle::SP_TitleBarMenuButton)
                                        : icon);
        m_button->setIconSize(QSize(12, 12));
        m_button->setFixedSize(16, 16);
        m_button->setToolTip(QStringLiteral("System menu"));
        connect(m_button, &QToolButton::clicked, this, [this] {
            const QPoint p = m_button->mapToGlobal(QPoint(0, m_button->height()));
            send(WM_POPUPSYSTEMMENU, 0, LPARAM((quint32(quint16(p.y())) << 16) | quint16(p.x())));
        });
    }
    if (QMenuBar* bar = menuitems::menuBarOf(w)) {
        if (bar->cornerWidget(Qt::TopLeftCorner) != m_button)
            bar->setCornerWidget(m_button, Qt::TopLeftCorner);
    } else {
        if (m_button->parentWidget() != w)
            m_button->setParent(w);
        m_button->move(0, 0);
        m_button->raise();
        if (w->isVisible())
            m_button->show();
    }
}

void SystemMenuHost::updateDecorations() {
    m_updateQueued = false;
    if (!m_widget || !m_menu)
        return;
    if (auto* sub = qobject_cast<QMdiSubWindow*>(m_widget->parentWidget())) {
        adoptSubWindow(sub);
    } else {
        placeButton();
    }
    if (QMenuBar* bar = menuitems::menuBarOf(m_widget))
        watchMenu(bar, false);
}

bool SystemMenuHost::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Show:
        if (watched == m_widget)
            updateDecorations();
        break;
    case QEvent::ParentChange:
    case QEvent::ChildAdded:
        // Settle after the change is complete: a child being added is not
        // built yet, and a new sub-window is still taking its widget.
        if (watched == m_widget && !m_updateQueued) {
            m_updateQueued = true;
            QMetaObject::invokeMethod(this, &SystemMenuHost::updateDecorations,
                                      Qt::QueuedConnection);
        }
        break;
    case QEvent::ActionAdded:
        if (watched != m_widget) {
            auto* e = static_cast<QActionEvent*>(event);
            if (e->action() && e->action()->menu())
                watchMenu(e->action()->menu(), watched == m_menu);
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
