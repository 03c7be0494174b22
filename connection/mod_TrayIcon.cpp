#include "connection/mod_TrayIcon.h"

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/UnreadLines.h"
#include "windows/frm_notify.h"

#include <QListWidget>

using namespace platform;

namespace {

// The icon pictures of the image list by connection state.
constexpr int OfflinePicture = 13;
constexpr int ConnectedPicture = 7;
constexpr int MessagesPicture = 14;
constexpr int OnlinePicture = 15;
constexpr int MessagesAndOnlinePicture = 17;

void notify(Program& p, DWORD message) {
    Shell_NotifyIconA(message, &p.trayIcon);
}

} // namespace

void TrayAdd(Program& p) {
    frm_main& frame = p.mainFrame();
    NOTIFYICONDATA& nid = p.trayIcon;
    nid.cbSize = 88;
    nid.hWnd = frame.hwnd();
    nid.uID = 1;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.uCallbackMessage = TrayCallbackMessage;
    nid.hIcon = IconHandle(frame.windowIcon());
    nid.szTip = QStringLiteral("Parlone") + QChar(0);
    notify(p, NIM_ADD);
}

void TraySetTip(Program& p, const QString& tip) {
    p.trayIcon.szTip = tip.left(NotifyTipLength).leftJustified(NotifyTipLength, u' ');
    notify(p, NIM_MODIFY);
}

void TraySetIcon(Program& p, const QString& handle) {
    p.trayIcon.hIcon = handle.toLongLong();
    notify(p, NIM_MODIFY);
}

void TrayRemove(Program& p) {
    notify(p, NIM_DELETE);
}

void UpdateTrayStatus(Program& p) {
    if (!p.hasMainFrame())
        return;
    frm_main& frame = p.mainFrame();
    const Settings& s = p.settings;
    if (frame.WindowState() != Form::vbMinimized || s.value(QStringLiteral("USE_TRAY")) == u"0" ||
        s.value(QStringLiteral("USE_BUDDY")) == u"0")
        return;

    int total = 0;
    QString list;
    for (const Form* form : p.forms()) {
        const QString tag = form->Tag().trimmed();
        const auto* unread = dynamic_cast<const UnreadLines*>(form);
        if (!tag.startsWith(u'?') || !unread || unread->mwait() <= 0)
            continue;
        total += unread->mwait();
        list += u' ' + tag.mid(1) + u' ' + QString::number(unread->mwait());
    }

    const bool connected = p.ServerConnected;
    QString tip = QStringLiteral("Status: Offline");
    if (connected)
        tip = p.IsAway ? QStringLiteral("Status: Connected, away.")
                       : QStringLiteral("Status: Connected");
    tip += QStringLiteral("\r\nMessages: ") + QString::number(total);
    if (total > 0)
        tip += u' ' + list;

    // The notify window keeps the buddies online; it is not loaded for this.
    const QListWidget* buddies = p.hasNotifyWindow() ? p.notifyWindow().l_online : nullptr;
    const bool anyoneOnline = buddies && buddies->count() > 0;
    if (anyoneOnline) {
        tip += QStringLiteral("\r\nOnline: ");
        for (int i = 0; i < buddies->count(); ++i)
            tip += u' ' + buddies->item(i)->text();
    } else {
        tip += QStringLiteral("\r\nOnline: None");
    }

    int picture = OfflinePicture;
    if (connected) {
        picture = ConnectedPicture;
        if (total > 0)
            picture = MessagesPicture;
        if (anyoneOnline)
            picture = OnlinePicture;
        if (total > 0 && anyoneOnline)
            picture = MessagesAndOnlinePicture;
    }
    TraySetIcon(p, QString::number(frame.il.Handle(picture)));
    TraySetTip(p, connected ? tip : QStringLiteral("Status: Offline"));
}
