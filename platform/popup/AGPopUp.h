#pragma once
// A flat context menu that windows fill item by item and show at the mouse.
// Each item remembers an item name; a pick reports that name once, later,
// through `MenuItemClick`, so showing the menu never blocks the caller.

#include "platform_export.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QStringList>

namespace platform {

class PLATFORM_EXPORT AGPopUp : public QObject {
    Q_OBJECT
public:
    explicit AGPopUp(QObject* parent = nullptr);
    ~AGPopUp() override;

    // Removes every item.
    void ClearMenu();
    // Appends an item showing `caption` ("&" marks the access key; "-" is a
    // separator) that reports `itemName` when picked.
    void AddMenuItem(const QString& caption, const QString& itemName);
    // Opens the menu at the mouse and returns at once; an empty menu stays shut.
    void ShowMenu();
    // Opens the menu at a screen position; what ShowMenu does at the mouse.
    void showAt(const QPoint& globalPos);

    // The item names in the order added (separators included).
    const QStringList& itemNames() const { return m_names; }
    // The menu while it is open (or last open), for tests; nullptr before.
    QMenu* menu() const { return m_menu; }

Q_SIGNALS:
    void MenuItemClick(const QString& itemName);

private:
    QStringList m_captions;
    QStringList m_names;
    QPointer<QMenu> m_menu;
};

} // namespace platform
