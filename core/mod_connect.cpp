#include "core/mod_connect.h"

#include "connection/ConnectionEvents.h"
#include "connection/frm_main.h"
#include "core/CommandSupport.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/Val.h"
#include "core/WindowLookup.h"
#include "platform/dialogs/Dialogs.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QScopedValueRollback>

#include <cmath>

namespace {

// Closes the window of the first channel panel of the switchbar. A channel
// panel whose window is gone is removed on the way.
void closeFirstChannelWindow(Program& p) {
    platform::SwitchBar* bar = p.mainFrame().StatusBar1;
    for (int i = 1; i <= bar->Count(); ++i) {
        const QString text = bar->Panel(i)->Text();
        const int index = FindForm(p, text);
        // A panel is a channel's by its window, or by its name once that is gone.
        if (index >= 0 ? !IsChannelWindow(p.forms().at(index)) : !p.serverSyntax().isChannel(text))
            continue;
        bar->Remove(i);
        if (index < 0) {
            --i;
            continue;
        }
        p.forms().at(index)->Unload();
        return;
    }
}

// The port's leading number, 0 when it has none or it is no TCP port.
int portOf(const QString& text) {
    const double value = std::trunc(Val(text));
    return value >= 1 && value <= 65535 ? static_cast<int>(value) : 0;
}

} // namespace

void ConnectServer(Program& p) {
    p.userEndedConnection = false;
    p.mainFrame().connectionEvents->cancelReconnect();
    platform::Yarv* irc = p.mainFrame().Yarv1;
    // An attempt still in progress ends too, whatever the checks below find.
    if (irc->IsConnected() || irc->isConnecting())
        irc->CloseConnection();
    frm_notify& notify = p.notifyWindow();
    notify.l_offline->clear();
    notify.l_online->clear();
    // The new connection's first poll starts a round of its own.
    notify.resetRound();
    closeFirstChannelWindow(p);

    const Settings& s = p.settings;
    const QString url = s.value(QStringLiteral("SERVER_URL"));
    const QString portText = s.value(QStringLiteral("SERVER_PORT"));
    const int port = portOf(portText);
    const struct {
        bool missing;
        const char* message;
    } checks[] = {
        {url.isEmpty(), "- Missing server URL in profile."},
        {port == 0, "- Missing server Port in profile."},
        {s.value(QStringLiteral("PROFILE_NICKNAME")).isEmpty(), "- Missing nickname in profile."},
        {s.value(QStringLiteral("PROFILE_ALTERNATE")).isEmpty(),
         "- Missing alternate nickname in profile."},
        {s.value(QStringLiteral("PROFILE_USERNAME")).isEmpty(), "- Missing username in profile"},
        {s.value(QStringLiteral("PROFILE_EMAIL")).isEmpty(), "- Missing email address in profile"},
        {s.value(QStringLiteral("PROFILE_REALNAME")).isEmpty(), "- Missing real name in profile"},
    };
    QString errors;
    for (const auto& check : checks) {
        if (check.missing)
            errors += QString::fromLatin1(check.message) + QStringLiteral("\r\n");
    }
    if (!errors.isEmpty()) {
        ServerEcho(p, QStringLiteral("Connect Error(s): \r\n") + errors);
        return;
    }

    try {
        irc->OpenConnection(url, port);
    } catch (const std::exception& e) {
        ServerEcho(p, QStringLiteral("Connect failed: ") + QString::fromUtf8(e.what()));
        return;
    }
    ServerEcho(p, QStringLiteral("Connecting to server: %1 [%2]").arg(url, portText.trimmed()));
    p.serverWindow().commandline->setFocus();
}

void DisconnectServer(Program& p) {
    p.userEndedConnection = true;
    p.mainFrame().connectionEvents->cancelReconnect();
    platform::Yarv* irc = p.mainFrame().Yarv1;
    if (!irc->IsConnected() && !irc->isConnecting())
        return;
    {
        const QScopedValueRollback<bool> mark(p.userClosing, true);
        irc->CloseConnection();
    }
    p.serverWindow().setCaption(QStringLiteral("Server"));
    ServerEcho(p, QStringLiteral("Disconnected!"));
}

void DoBeep() {
    QApplication::beep();
}

void MsgBoxCmd(const QString& title, const QString& text) {
    platform::ShowMsgBox(text, platform::vbOKOnly, title);
}

void MinimizeMain(Program& p) {
    p.mainFrame().setWindowState(Form::vbMinimized);
}
