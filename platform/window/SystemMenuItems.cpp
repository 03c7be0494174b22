#include "platform/window/SystemMenuItems.h"

#include <QAction>
#include <QCoreApplication>
#include <QHash>
#include <QIcon>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPointer>

namespace platform {
namespace {

const char* const kId = "parloneMenuId";
const char* const kFlags = "parloneMenuFlags";
const char* const kBitmap = "parloneMenuBitmap";
const char* const kChecked = "parloneCheckedBitmap";
const char* const kUnchecked = "parloneUncheckedBitmap";
const char* const kLine = "parloneColumnLine";

// The state bits an item keeps.
constexpr UINT keptFlags = MF_GRAYED | MF_DISABLED | MF_BITMAP | MF_CHECKED | MF_MENUBARBREAK |
                           MF_MENUBREAK | MF_SEPARATOR;

// Identifiers given to actions of menus built elsewhere: above the usual
// program identifiers and below the system commands.
constexpr quint32 firstAutoId = 0x8000;
constexpr quint32 lastAutoId = 0xEFFF;

struct Tables {
    HMENU nextMenu = 0x600;
    QHash<HMENU, QPointer<QWidget>> menus;
    QHash<const QWidget*, HMENU> byWidget;
    HBITMAP nextBitmap = 0x4000;
    QHash<HBITMAP, QPixmap> bitmaps;
    quint32 nextAutoId = firstAutoId;
};

Tables& tables() {
    static Tables t;
    return t;
}

QList<QAction*> actionsOf(QWidget* menu) {
    return menu ? menu->actions() : QList<QAction*>();
}

QAction* activeActionOf(QWidget* menu) {
    if (auto* m = qobject_cast<QMenu*>(menu))
        return m->activeAction();
    if (auto* b = qobject_cast<QMenuBar*>(menu))
        return b->activeAction();
    return nullptr;
}

QAction* lineBefore(QWidget* owner, QAction* action) {
    const QList<QAction*> all = actionsOf(owner);
    const qsizetype i = all.indexOf(action);
    if (i > 0 && menuitems::isColumnLine(all.at(i - 1)))
        return all.at(i - 1);
    return nullptr;
}

} // namespace

namespace menuitems {

HMENU handleOf(QWidget* menu) {
    if (!menu)
        return 0;
    Tables& t = tables();
    if (const HMENU existing = t.byWidget.value(menu, 0))
        return existing;
    const HMENU h = t.nextMenu++;
    t.menus.insert(h, menu);
    t.byWidget.insert(menu, h);
    QObject::connect(menu, &QObject::destroyed, [h, menu] {
        tables().menus.remove(h);
        tables().byWidget.remove(menu);
    });
    return h;
}

QWidget* widgetOf(HMENU menu) {
    return tables().menus.value(menu).data();
}

bool isColumnLine(const QAction* action) {
    return action && action->property(kLine).toBool();
}

QList<QAction*> items(QWidget* menu) {
    QList<QAction*> result;
    for (QAction* a : actionsOf(menu)) {
        if (!isColumnLine(a))
            result << a;
    }
    return result;
}

quint32 itemId(QAction* action) {
    const QVariant v = action->property(kId);
    if (v.isValid())
        return v.toUInt();
    Tables& t = tables();
    const quint32 id = t.nextAutoId;
    t.nextAutoId = id >= lastAutoId ? firstAutoId : id + 1;
    action->setProperty(kId, id);
    return id;
}

Found find(QWidget* menu, UINT position, UINT flags) {
    if (!menu)
        return {};
    if (flags & MF_BYPOSITION) {
        const QList<QAction*> list = items(menu);
        if (position < UINT(list.size()))
            return {menu, list.at(position)};
        return {};
    }
    for (QAction* a : items(menu)) {
        if (itemId(a) == position)
            return {menu, a};
        if (QMenu* sub = a->menu()) {
            if (Found f = find(sub, position, flags); f.action)
                return f;
        }
    }
    return {};
}

UINT itemFlags(const QAction* action) {
    const QVariant v = action->property(kFlags);
    if (v.isValid())
        return v.toUInt();
    UINT f = 0;
    if (action->isSeparator())
        f |= MF_SEPARATOR;
    if (action->isCheckable() && action->isChecked())
        f |= MF_CHECKED;
    if (!action->isEnabled())
        f |= MF_GRAYED | MF_DISABLED;
    return f;
}

UINT itemState(QWidget* owner, QAction* action) {
    UINT state = itemFlags(action);
    if (QMenu* sub = action->menu()) {
        const UINT count = UINT(qMin<qsizetype>(items(sub).size(), 0xFF));
        state |= MF_POPUP | (count << 8);
    }
    if (activeActionOf(owner) == action)
        state |= MF_HILITE;
    return state;
}

void refresh(QWidget* owner, QAction* action) {
    const UINT f = itemFlags(action);
    if (f & MF_SEPARATOR) {
        action->setSeparator(true);
        action->setIcon(QIcon());
    } else {
        action->setSeparator(false);
        const HBITMAP checkedMark = action->property(kChecked).toInt();
        const HBITMAP uncheckedMark = action->property(kUnchecked).toInt();
        QIcon icon;
        if (f & MF_BITMAP) {
            icon = QIcon(BitmapPixmap(action->property(kBitmap).toInt()));
        } else if (checkedMark || uncheckedMark) {
            if (uncheckedMark)
                icon.addPixmap(BitmapPixmap(uncheckedMark), QIcon::Normal, QIcon::Off);
            if (checkedMark)
                icon.addPixmap(BitmapPixmap(checkedMark), QIcon::Normal, QIcon::On);
        }
        action->setIcon(icon);
        action->setIconVisibleInMenu(true);
        action->setCheckable((f & MF_CHECKED) || checkedMark || uncheckedMark);
        action->setChecked(f & MF_CHECKED);
        action->setEnabled(!(f & (MF_GRAYED | MF_DISABLED)));
    }

    // A column break shows as a dividing line before the item.
    QAction* line = lineBefore(owner, action);
    if ((f & MF_MENUBARBREAK) && !line && owner) {
        line = new QAction(owner);
        line->setSeparator(true);
        line->setProperty(kLine, true);
        owner->insertAction(action, line);
    } else if (!(f & MF_MENUBARBREAK) && line) {
        owner->removeAction(line);
        delete line;
    }
}

void setItem(QWidget* owner, QAction* action, UINT flags, quint32 id, const QString& text,
             HBITMAP bitmap) {
    action->setProperty(kId, id);
    action->setProperty(kFlags, flags & keptFlags);
    action->setProperty(kBitmap, (flags & MF_BITMAP) ? bitmap : 0);
    action->setText((flags & (MF_BITMAP | MF_SEPARATOR)) ? QString() : text);
    refresh(owner, action);
}

void setFlags(QWidget* owner, QAction* action, UINT flags) {
    action->setProperty(kFlags, flags & keptFlags);
    refresh(owner, action);
}

void setCheckBitmaps(QWidget* owner, QAction* action, HBITMAP unchecked, HBITMAP checked) {
    // Fix the item's state first, so that it no longer follows Qt's own.
    action->setProperty(kFlags, itemFlags(action));
    action->setProperty(kUnchecked, unchecked);
    action->setProperty(kChecked, checked);
    refresh(owner, action);
}

void removeItem(QWidget* owner, QAction* action) {
    if (QAction* line = lineBefore(owner, action)) {
        owner->removeAction(line);
        delete line;
    }
    owner->removeAction(action);
    delete action;
}

QMenuBar* menuBarOf(QWidget* window) {
    if (!window)
        return nullptr;
    if (auto* mw = qobject_cast<QMainWindow*>(window))
        return qobject_cast<QMenuBar*>(mw->menuWidget());
    if (window->layout()) {
        if (auto* bar = qobject_cast<QMenuBar*>(window->layout()->menuBar()))
            return bar;
    }
    return window->findChild<QMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
}

bool isBitmap(HBITMAP bitmap) {
    return bitmap != 0 && tables().bitmaps.contains(bitmap);
}

} // namespace menuitems

HBITMAP CreateBitmapHandle(const QPixmap& pixmap) {
    if (pixmap.isNull())
        return 0;
    Tables& t = tables();
    static const bool cleanupRegistered = [] {
        // Pixmaps must go before the application object does.
        qAddPostRoutine([] { tables().bitmaps.clear(); });
        return true;
    }();
    Q_UNUSED(cleanupRegistered);
    const HBITMAP h = t.nextBitmap++;
    t.bitmaps.insert(h, pixmap);
    return h;
}

QPixmap BitmapPixmap(HBITMAP bitmap) {
    return tables().bitmaps.value(bitmap);
}

bool DeleteObject(HBITMAP bitmap) {
    return tables().bitmaps.remove(bitmap) > 0;
}

} // namespace platform
