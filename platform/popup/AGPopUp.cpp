#include "platform/popup/AGPopUp.h"

#include <QAction>
#include <QCursor>
#include <QMenu>

namespace platform {

AGPopUp::AGPopUp(QObject* parent) : QObject(parent) {}

AGPopUp::~AGPopUp() {
    delete m_menu;
}

void AGPopUp::ClearMenu() {
    m_captions.clear();
    m_names.clear();
}

void AGPopUp::AddMenuItem(const QString& caption, const QString& itemName) {
    m_captions.append(caption);
    m_names.append(itemName);
}

void AGPopUp::ShowMenu() {
    showAt(QCursor::pos());
}

void AGPopUp::showAt(const QPoint& globalPos) {
    if (m_captions.isEmpty())
        return;
    // A fresh menu for each showing, built from the items as they are now; the
    // previous one goes, so a menu rebuilt while open never shows stale items.
    delete m_menu;
    m_menu = new QMenu;
    m_menu->setAttribute(Qt::WA_DeleteOnClose);
    for (qsizetype i = 0; i < m_captions.size(); ++i) {
        if (m_captions.at(i) == QLatin1String("-")) {
            m_menu->addSeparator();
            continue;
        }
        QAction* action = m_menu->addAction(m_captions.at(i));
        const QString name = m_names.at(i);
        // Queued, so the menu has closed before a handler runs, and a handler
        // that clears or deletes this control is safe.
        connect(
            action, &QAction::triggered, this, [this, name] { Q_EMIT MenuItemClick(name); },
            Qt::QueuedConnection);
    }
    m_menu->popup(globalPos);
}

} // namespace platform
