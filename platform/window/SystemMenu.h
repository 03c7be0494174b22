#pragma once
// Menus, the system menu of each window, and bitmap handles for menu items.
//
// Window managers own the title-bar menu, so every window gets our own system
// menu, reached through the classic menu calls. A menu handle stands for a
// QMenu or a QMenuBar; its items are the menu's actions, each carrying an
// identifier and the classic item state (check mark, grey, disabled, bitmap,
// column break). For a child of the MDI frame the system menu is its
// sub-window's system menu; a top-level window opens it on
// WM_POPUPSYSTEMMENU (the cursor position in lParam) and from a small button
// at the left of its menu bar, or at its top-left corner when it has none.
// Choosing an item sends WM_SYSCOMMAND with the item's identifier through
// the window procedure; highlighting one sends WM_MENUSELECT. A window's
// default handling carries out the standard commands (close, minimise,
// maximise, restore, move, size) as Qt would.
//
// Items are addressed by identifier (MF_BYCOMMAND, which also searches
// submenus) or by position (MF_BYPOSITION, in the menu itself).

#include "platform/window/Window.h"

class QPixmap;

namespace platform {

using HMENU = qint32;
using HBITMAP = qint32;

constexpr UINT MF_BYCOMMAND = 0x0;
constexpr UINT MF_BYPOSITION = 0x400;
constexpr UINT MF_STRING = 0x0;
constexpr UINT MF_ENABLED = 0x0;
constexpr UINT MF_GRAYED = 0x1;
constexpr UINT MF_DISABLED = 0x2;
constexpr UINT MF_BITMAP = 0x4;
constexpr UINT MF_UNCHECKED = 0x0;
constexpr UINT MF_CHECKED = 0x8;
constexpr UINT MF_POPUP = 0x10;
constexpr UINT MF_MENUBARBREAK = 0x20;
constexpr UINT MF_MENUBREAK = 0x40;
constexpr UINT MF_HILITE = 0x80;
constexpr UINT MF_SEPARATOR = 0x800;
constexpr UINT MF_SYSMENU = 0x2000;
// What GetMenuState and friends answer for an item that is not there.
constexpr qint32 MENU_ITEM_MISSING = -1;

constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_MENUSELECT = 0x011F;

// System commands (WM_SYSCOMMAND's wParam).
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_KEYMENU = 0xF100;
constexpr WPARAM SC_RESTORE = 0xF120;

// The window's system menu, made with the standard items on first use. With
// revert, the menu goes back to the standard items and the answer is 0. 0 for
// a window that has no widget or is a plain child control.
PLATFORM_EXPORT HMENU GetSystemMenu(HWND hwnd, bool revert);
// The window's menu bar, 0 when it has none. Actions of a menu bar built
// elsewhere get an identifier on first need.
PLATFORM_EXPORT HMENU GetMenu(HWND hwnd);

// Appends a text item or a separator (MF_SEPARATOR).
PLATFORM_EXPORT bool AppendMenuA(HMENU menu, UINT flags, quint32 id, const QString& text);
// From here on every menu refuses new items, as menus do when the system has
// no room left for them; false makes them take items again. For tests of what
// a window does when its menu refuses an item.
PLATFORM_EXPORT void SetMenusRefuseItems(bool refuse);
// Appends a bitmap item (MF_BITMAP); the bitmap must be a live handle.
PLATFORM_EXPORT bool AppendMenuA(HMENU menu, UINT flags, quint32 id, HBITMAP bitmap);
// Rewrites an item in place: its type, identifier and state all come from the
// arguments (a check mark or grey not in flags is gone); its check bitmaps stay.
PLATFORM_EXPORT bool ModifyMenuA(HMENU menu, UINT position, UINT flags, quint32 id,
                                 const QString& text);
PLATFORM_EXPORT bool ModifyMenuA(HMENU menu, UINT position, UINT flags, quint32 id, HBITMAP bitmap);
// The bitmaps shown beside the item when it is unchecked and checked; 0 for
// the ordinary mark.
PLATFORM_EXPORT bool SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked,
                                        HBITMAP checked);
// Set or clear the check mark; the previous MF_CHECKED state, or -1.
PLATFORM_EXPORT qint32 CheckMenuItem(HMENU menu, UINT position, UINT flags);
// MF_ENABLED, MF_GRAYED, MF_DISABLED; the previous grey/disabled bits, or -1.
PLATFORM_EXPORT qint32 EnableMenuItem(HMENU menu, UINT position, UINT flags);
// The item's state flags (for a submenu item, MF_POPUP and its item count in
// the second byte), or -1.
PLATFORM_EXPORT qint32 GetMenuState(HMENU menu, UINT position, UINT flags);
// The item's text: without a buffer (or with maxCount 0) its length; with
// one, at most maxCount - 1 characters, and the number copied. 0 when the
// item is missing or has no text.
PLATFORM_EXPORT int GetMenuStringA(HMENU menu, UINT position, QString* text, int maxCount,
                                   UINT flags);
PLATFORM_EXPORT bool DeleteMenu(HMENU menu, UINT position, UINT flags);
PLATFORM_EXPORT int GetMenuItemCount(HMENU menu);
// The identifier of the item at a position, -1 for none or a submenu.
PLATFORM_EXPORT qint32 GetMenuItemID(HMENU menu, int position);
// The submenu opened by the item at a position, 0 for none.
PLATFORM_EXPORT HMENU GetSubMenu(HMENU menu, int position);
PLATFORM_EXPORT bool IsMenu(HMENU menu);
// The QMenu or QMenuBar of a handle.
PLATFORM_EXPORT QWidget* MenuWidget(HMENU menu);

// Bitmap handles for menu items.
PLATFORM_EXPORT HBITMAP CreateBitmapHandle(const QPixmap& pixmap);
PLATFORM_EXPORT QPixmap BitmapPixmap(HBITMAP bitmap);
PLATFORM_EXPORT bool DeleteObject(HBITMAP bitmap);

} // namespace platform
