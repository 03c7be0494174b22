#include "platform/shell/NotifyIcon.h"

#include "platform/window/ToolTip.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QSystemTrayIcon>

namespace platform {

namespace {

// The tip as shown: up to the first NUL, without the blanks that fill the
// field, one line per CR LF.
QString shownTip(const QString& field) {
    QString tip = field.left(NotifyTipLength);
    if (const qsizetype nul = tip.indexOf(QChar(0)); nul >= 0)
        tip.truncate(nul);
    while (tip.endsWith(u' '))
        tip.chop(1);
    tip.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return tip;
}

UINT actionMessage(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return WM_LBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONUP;
    default:
        return 0;
    }
}

// The desktop's own area: one QSystemTrayIcon per (window, id).
class DesktopArea : public NotifyArea {
public:
    bool available() const override { return QSystemTrayIcon::isSystemTrayAvailable(); }

    bool notify(DWORD message, const NOTIFYICONDATA& data) override {
        const Key key{data.hWnd, data.uID};
        QSystemTrayIcon* icon = m_icons.value(key);
        if (message == NIM_ADD) {
            if (!icon) {
                // Owned by the application, so an icon never removed goes with it.
                icon = new QSystemTrayIcon(qApp);
                m_icons.insert(key, icon);
                QObject::connect(icon, &QSystemTrayIcon::activated,
                                 [this, key](QSystemTrayIcon::ActivationReason reason) {
                                     activated(key, reason);
                                 });
            }
            apply(*icon, data);
            icon->show();
            return true;
        }
        if (!icon)
            return false;
        if (message == NIM_MODIFY) {
            apply(*icon, data);
            return true;
        }
        if (message == NIM_DELETE) {
            m_icons.remove(key);
            m_callbacks.remove(key);
            icon->hide();
            icon->deleteLater();
            return true;
        }
        return false;
    }

private:
    using Key = QPair<HWND, UINT>;

    void apply(QSystemTrayIcon& icon, const NOTIFYICONDATA& data) {
        const Key key{data.hWnd, data.uID};
        if (data.uFlags & NIF_MESSAGE)
            m_callbacks.insert(key, data.uCallbackMessage);
        if (data.uFlags & NIF_ICON)
            icon.setIcon(IconFromHandle(data.hIcon));
        if (data.uFlags & NIF_TIP)
            icon.setToolTip(PlainToolTip(shownTip(data.szTip)));
    }

    void activated(const Key& key, QSystemTrayIcon::ActivationReason reason) const {
        const UINT action = actionMessage(reason);
        const UINT callback = m_callbacks.value(key);
        if (action != 0 && callback != 0)
            SendMessageA(key.first, callback, WPARAM(key.second), LPARAM(action));
    }

    QHash<Key, QPointer<QSystemTrayIcon>> m_icons;
    QHash<Key, UINT> m_callbacks;
};

DesktopArea& desktopArea() {
    static DesktopArea area;
    return area;
}

NotifyArea* g_area = nullptr;

NotifyArea& currentArea() {
    return g_area ? *g_area : desktopArea();
}

} // namespace

NotifyArea::~NotifyArea() = default;

bool Shell_NotifyIconA(DWORD message, const NOTIFYICONDATA* data) {
    return data != nullptr && currentArea().notify(message, *data);
}

bool NotifyAreaAvailable() {
    return currentArea().available();
}

void SetNotifyArea(NotifyArea* area) {
    g_area = area;
}

} // namespace platform
