#include "platform/window/SystemMenu.h"

#include "platform/window/SystemMenuHost.h"
#include "platform/window/SystemMenuItems.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace platform {

using namespace menuitems;

HMENU GetSystemMenu(HWND hwnd, bool revert) {
    SystemMenuHost* host = SystemMenuHost::attach(hwnd);
    if (!host)
        return 0;
    if (revert) {
        host->revert();
        return 0;
    }
    return handleOf(host->menu());
}

HMENU GetMenu(HWND hwnd) {
    return handleOf(menuBarOf(WidgetFromHandle(hwnd)));
}

namespace {

bool menusRefuseItems = false;

} // namespace

void SetMenusRefuseItems(bool refuse) {
    menusRefuseItems = refuse;
}

bool AppendMenuA(HMENU menu, UINT flags, quint32 id, const QString& text) {
    QWidget* w = widgetOf(menu);
    if (!w || menusRefuseItems || (flags & (MF_BITMAP | MF_POPUP)))
        return false;
    auto* a = new QAction(w);
    w->addAction(a);
    setItem(w, a, flags, id, text, 0);
    return true;
}

bool AppendMenuA(HMENU menu, UINT flags, quint32 id, HBITMAP bitmap) {
    QWidget* w = widgetOf(menu);
    if (!w || menusRefuseItems || !(flags & MF_BITMAP) || (flags & (MF_POPUP | MF_SEPARATOR)) ||
        !isBitmap(bitmap))
        return false;
    auto* a = new QAction(w);
    w->addAction(a);
    setItem(w, a, flags, id, QString(), bitmap);
    return true;
}

bool ModifyMenuA(HMENU menu, UINT position, UINT flags, quint32 id, const QString& text) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action || (flags & (MF_BITMAP | MF_POPUP)))
        return false;
    setItem(f.owner, f.action, flags, id, text, 0);
    return true;
}

bool ModifyMenuA(HMENU menu, UINT position, UINT flags, quint32 id, HBITMAP bitmap) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action || !(flags & MF_BITMAP) || (flags & (MF_POPUP | MF_SEPARATOR)) ||
        !isBitmap(bitmap))
        return false;
    setItem(f.owner, f.action, flags, id, QString(), bitmap);
    return true;
}

bool SetMenuItemBitmaps(HMENU menu, UINT position, UINT flags, HBITMAP unchecked, HBITMAP checked) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action || (unchecked && !isBitmap(unchecked)) || (checked && !isBitmap(checked)))
        return false;
    setCheckBitmaps(f.owner, f.action, unchecked, checked);
    return true;
}

qint32 CheckMenuItem(HMENU menu, UINT position, UINT flags) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action)
        return MENU_ITEM_MISSING;
    const UINT state = itemFlags(f.action);
    setFlags(f.owner, f.action, (state & ~MF_CHECKED) | (flags & MF_CHECKED));
    return qint32(state & MF_CHECKED);
}

qint32 EnableMenuItem(HMENU menu, UINT position, UINT flags) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action)
        return MENU_ITEM_MISSING;
    const UINT state = itemFlags(f.action);
    constexpr UINT bits = MF_GRAYED | MF_DISABLED;
    setFlags(f.owner, f.action, (state & ~bits) | (flags & bits));
    return qint32(state & bits);
}

qint32 GetMenuState(HMENU menu, UINT position, UINT flags) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action)
        return MENU_ITEM_MISSING;
    return qint32(itemState(f.owner, f.action));
}

int GetMenuStringA(HMENU menu, UINT position, QString* text, int maxCount, UINT flags) {
    const Found f = find(widgetOf(menu), position, flags);
    if (text)
        text->clear();
    if (!f.action || (itemFlags(f.action) & (MF_SEPARATOR | MF_BITMAP)))
        return 0;
    const QString s = f.action->text();
    if (!text || maxCount <= 0)
        return int(s.size());
    *text = s.left(maxCount - 1);
    return int(text->size());
}

bool DeleteMenu(HMENU menu, UINT position, UINT flags) {
    const Found f = find(widgetOf(menu), position, flags);
    if (!f.action)
        return false;
    removeItem(f.owner, f.action);
    return true;
}

int GetMenuItemCount(HMENU menu) {
    QWidget* w = widgetOf(menu);
    return w ? int(items(w).size()) : -1;
}

qint32 GetMenuItemID(HMENU menu, int position) {
    const QList<QAction*> list = items(widgetOf(menu));
    if (position < 0 || position >= list.size() || list.at(position)->menu())
        return -1;
    return qint32(itemId(list.at(position)));
}

HMENU GetSubMenu(HMENU menu, int position) {
    const QList<QAction*> list = items(widgetOf(menu));
    if (position < 0 || position >= list.size())
        return 0;
    return handleOf(list.at(position)->menu());
}

bool IsMenu(HMENU menu) {
    return widgetOf(menu) != nullptr;
}

QWidget* MenuWidget(HMENU menu) {
    return widgetOf(menu);
}

} // namespace platform
