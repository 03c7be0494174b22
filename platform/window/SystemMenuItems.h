#pragma once
// Menu handles and the classic item state kept on a menu's actions (internal
// to the platform library). Each item is a QAction carrying its identifier,
// its state flags and its bitmaps as properties; what Qt shows is refreshed
// from them. An item that starts a new column is preceded by a dividing line,
// an extra separator action that is no item of its own.

#include "platform/window/SystemMenu.h"

#include <QList>

class QAction;
class QMenuBar;

namespace platform::menuitems {

// The handle of a menu widget, made on first need; it goes when the widget does.
HMENU handleOf(QWidget* menu);
QWidget* widgetOf(HMENU menu);

// The items of a menu in order, without dividing lines.
QList<QAction*> items(QWidget* menu);
bool isColumnLine(const QAction* action);

struct Found {
    QWidget* owner = nullptr;
    QAction* action = nullptr;
};
// An item by position (MF_BYPOSITION) or by identifier, in submenus too.
Found find(QWidget* menu, UINT position, UINT flags);

// The identifier of an item; an action made elsewhere gets one on first need.
quint32 itemId(QAction* action);
// The kept state bits (grey, disabled, bitmap, check, column breaks, separator).
UINT itemFlags(const QAction* action);
// What GetMenuState answers: the kept bits, highlight and submenu.
UINT itemState(QWidget* owner, QAction* action);

// Rewrites an item; bitmap 0 for a text item or separator.
void setItem(QWidget* owner, QAction* action, UINT flags, quint32 id, const QString& text,
             HBITMAP bitmap);
void setFlags(QWidget* owner, QAction* action, UINT flags);
void setCheckBitmaps(QWidget* owner, QAction* action, HBITMAP unchecked, HBITMAP checked);
void removeItem(QWidget* owner, QAction* action);
// Puts what Qt shows back in line with the kept state (after Qt toggled a
// checkable action on its own, for one).
void refresh(QWidget* owner, QAction* action);

// The menu bar of a window widget, nullptr when it has none.
QMenuBar* menuBarOf(QWidget* window);

bool isBitmap(HBITMAP bitmap);

} // namespace platform::menuitems
