#include "connection/Alerts.h"

#include "connection/EventSettings.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "windows/frmMain.h"
#include "windows/frm_note.h"

using events::isOn;
using events::setting;

bool alertsWanted(Program& p) {
    return isOn(p, "USE_TRAY") && isOn(p, "USE_BUDDY") && p.hasMainFrame() &&
           p.mainFrame().WindowState() == Form::vbMinimized;
}

void RaiseAlert(Program& p, const Alert& alert) {
    if (p.closing)
        return;
    const QString tile = setting(p, "USE_MSNTILE");
    if (tile == u"0")
        p.noteTile().go(alert.note, alert.fore, alert.back);
    else if (tile == u"1")
        p.toast().go(alert.first, alert.second);
}

Alert BuddyAlert(Program& p, const QString& buddy, bool online) {
    Alert alert;
    alert.note = (online ? QStringLiteral("Online: ") : QStringLiteral("Offline: ")) + buddy;
    alert.fore = p.palette.ColorIndex(ColourNumber(setting(p, "WIN_QUERY_CONSOLE_FORECOLOR")));
    alert.back = p.palette.ColorIndex(ColourNumber(setting(p, "WIN_QUERY_CONSOLE_BACKCOLOR")));
    alert.first = buddy + (online ? QStringLiteral(" is online") : QStringLiteral(" is offline"));
    alert.second = QStringLiteral("Notify");
    return alert;
}
