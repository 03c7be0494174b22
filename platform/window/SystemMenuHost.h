#pragma once
// The system menu of one window (internal to the platform library): the
// QMenu with the standard items, where it is shown (the MDI sub-window's own
// system menu, or a button of a top-level window), the messages its use sends
// through the window procedure, and the default handling of system commands.

#include "platform/window/Window.h"

#include <QObject>
#include <QPointer>

class QAction;
class QMdiSubWindow;
class QMenu;
class QPoint;
class QToolButton;

namespace platform {

class SystemMenuHost : public QObject {
public:
    static SystemMenuHost* of(HWND hwnd);
    // The host of a window, made on first need; nullptr for a window without
    // a widget or a widget that is neither a window nor a child of the frame.
    static SystemMenuHost* attach(HWND hwnd);

    QMenu* menu();
    // Back to the standard items only.
    void revert();
    void popup(const QPoint& globalPos);
    // Carries out a standard system command; false for any other code.
    bool runCommand(WPARAM code);
    // Places the menu where the window shows it now and watches its menu bar.
    void updateDecorations();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SystemMenuHost(HWND hwnd, QWidget* widget);
    void makeMenu();
    void addStandardItems();
    void updateStandardItems();
    void watchMenu(QWidget* menu, bool systemMenu);
    void adoptSubWindow(QMdiSubWindow* sub);
    void placeButton();
    void send(UINT msg, WPARAM wParam, LPARAM lParam);
    void chosen(QMenu* menu, QAction* action);
    void highlighted(QWidget* menu, QAction* action, bool systemMenu);

    HWND m_hwnd;
    QPointer<QWidget> m_widget;
    QPointer<QMenu> m_menu;
    QPointer<QToolButton> m_button;
    QPointer<QMdiSubWindow> m_sub;
    // The sub-window's own move and size actions, kept for SC_MOVE and SC_SIZE.
    QPointer<QAction> m_subMove;
    QPointer<QAction> m_subSize;
    bool m_updateQueued = false;
};

} // namespace platform
