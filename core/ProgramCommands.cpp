#include "core/ProgramCommands.h"

#include "config/frm_about.h"
#include "config/frm_alias.h"
#include "config/frm_popups.h"
#include "config/frm_setup.h"
#include "config/frm_sw.h"
#include "connection/frm_main.h"
#include "console/toolkit/mod_splay.h"
#include "core/CommandContext.h"
#include "core/CommandSupport.h"
#include "core/CommandWindow.h"
#include "core/ConversationWindow.h"
#include "core/ExitSequence.h"
#include "core/Form.h"
#include "core/PopupWizard.h"
#include "core/Program.h"
#include "core/ProgramVersion.h"
#include "core/ServerEcho.h"
#include "core/ShowModal.h"
#include "core/Val.h"
#include "core/WindowLookup.h"
#include "core/mod_connect.h"
#include "core/mod_kernel.h"
#include "core/mod_set.h"
#include "windows/frm_list.h"
#include "windows/frm_server.h"

#include <QProcess>

void aliasCommand(CommandContext& command) {
    Program& p = command.program;
    p.mainFrame().ShowToolWindow(p.aliasWindow(), QStringLiteral("Alias"), 8);
}

void beepCommand(CommandContext&) {
    DoBeep();
}

void connectCommand(CommandContext& command) {
    ConnectServer(command.program);
}

void disconnectCommand(CommandContext& command) {
    DisconnectServer(command.program);
}

void echoCommand(CommandContext& command) {
    EchoLine(command.program, command.trimmedTail(1), command.tag);
}

void EchoLine(Program& p, const QString& text, const QString& tag) {
    if (text.isEmpty())
        return;
    Form* window = CommandWindow(p, tag);
    if (window && (window->Tag().startsWith(u'?') || IsChannelWindow(window))) {
        if (auto* conversation = dynamic_cast<ConversationWindow*>(window)) {
            conversation->disp(text);
            return;
        }
    }
    ServerEcho(p, text, p.settings.value(QStringLiteral("WIN_SERVER_NOTICECOLOR")), 113);
}

void exitCommand(CommandContext& command) {
    command.program.exitSequence().run();
}

void infoCommand(CommandContext& command) {
    Program& p = command.program;
    ShowModal(p.aboutBox(), p.mainFrame());
}

void listCommand(CommandContext& command) {
    Program& p = command.program;
    if (p.hasListWindow() && p.listWindow().Visible()) {
        p.listWindow().setFocus();
        return;
    }
    frm_main& frame = p.mainFrame();
    frame.Yarv1->SendCommand(QStringLiteral("LIST"));
    const QString panel = QStringLiteral("/LIST");
    // One panel, however often the list is asked for.
    if (FindPanel(p, panel) == 0)
        frame.AddPanel(panel, 11);
    SelectPanel(p, panel);
    frm_list& list = p.listWindow();
    list.Show();
    list.setFocus();
}

void msgboxCommand(CommandContext& command) {
    MsgBoxCmd(QStringLiteral("Parlone Alert"), command.tail(1));
}

void popupCommand(CommandContext& command) {
    Program& p = command.program;
    const QString w1 = command.word(1).trimmed().toLower();
    const QString w2 = command.word(2).trimmed().toLower();
    for (const char16_t* kind : {u"server", u"channel", u"nicklist", u"query"}) {
        if (w1 == u"add" && w2 == kind)
            AddPopupWizard(p, QString::fromUtf16(kind));
    }
    if (w1 == u"show") {
        p.mainFrame().ShowToolWindow(p.popupsWindow(), QStringLiteral("Popups"), 9);
        SelectPanel(p, QStringLiteral("Popups"));
    }
}

void quitCommand(CommandContext& command) {
    Program& p = command.program;
    QString reason;
    if (command.wordCount() == 0)
        reason = p.settings.value(QStringLiteral("USE_DEFAULT_QUIT"));
    else
        reason = command.trimmedTail(1);
    if (!reason.trimmed().isEmpty())
        reason = QStringLiteral("Exit: ") + reason;
    if (reason.isEmpty()) {
        const ProgramVersion v = CurrentVersion();
        reason = QStringLiteral("Exit: Client was using: Parlone %1.%2 Rev %3")
                     .arg(v.major)
                     .arg(v.minor)
                     .arg(v.revision);
    }
    // The server answers the user's own QUIT by closing the link: no
    // reconnect follows it.
    p.userEndedConnection = true;
    if (p.hasMainFrame())
        p.mainFrame().Yarv1->SendRaw(QStringLiteral("QUIT :") + reason + QStringLiteral("\r\n"));
}

void runCommand(CommandContext& command) {
    QStringList arguments = QProcess::splitCommand(command.tail(1));
    if (arguments.isEmpty())
        return;
    const QString program = arguments.takeFirst();
    // Nothing is reported when the program cannot be started.
    QProcess::startDetached(program, arguments);
}

void sechoCommand(CommandContext& command) {
    ServerEcho(command.program, command.tail(1), QString(), 0);
}

void serverCommand(CommandContext& command) {
    Program& p = command.program;
    const QString address = command.word(1);
    const QString port = command.word(2);
    if (address.trimmed().isEmpty()) {
        ServerEcho(p, QStringLiteral("/SERVER Error: Must specify URL"), QString(), 0);
        return;
    }
    frm_server& server = p.serverWindow();
    if (command.window() != &server) {
        ExecCommand(p, QStringLiteral("SECHO Please use /server in this window"));
        server.Show();
        server.ZOrder();
        SelectPanel(p, QStringLiteral("Server"));
        return;
    }
    DisconnectServer(p);
    Setting(p, QStringLiteral("SERVER_URL"), address);
    if (Val(port) > 0)
        Setting(p, QStringLiteral("SERVER_PORT"), port);
    ConnectServer(p);
}

void setCommand(CommandContext& command) {
    Program& p = command.program;
    const QString value = command.tail(2);
    if (value.trimmed().isEmpty())
        return;
    Setting(p, command.word(1).toUpper(), value.trimmed());
    if (p.settings.value(QStringLiteral("WIN_SERVER_SETVAR")) == u"1")
        ServerEcho(p,
                   QStringLiteral("* Change Setting: ") + command.word(1) + u' ' + command.word(2),
                   QString(), 0);
}

void setupCommand(CommandContext& command) {
    frm_setup& setup = command.program.setupDialog();
    setup.Show();
    setup.ZOrder();
}

void setwizCommand(CommandContext& command) {
    Program& p = command.program;
    frm_sw& walkthrough = p.setupWizard();
    // Done here, not when the window shows: under a dialog answerer it never
    // shows.
    walkthrough.fillServers();
    ShowModal(walkthrough, p.mainFrame());
}

void splayCommand(CommandContext& command) {
    const QString file = command.line.mid(5).trimmed();
    ServerEcho(command.program, QStringLiteral("SPLAY Playing: ") + file, QString(), 0);
    SPlay(file);
}

void versionCommand(CommandContext& command) {
    Program& p = command.program;
    const ProgramVersion v = CurrentVersion();
    ServerEcho(p,
               QStringLiteral("Parlone Version %1.%2 (Tidewater) Revision: %3")
                   .arg(v.major)
                   .arg(v.minor)
                   .arg(v.revision),
               QString(), 0);
    ServerEcho(p, QStringLiteral("Beta functionality release."), QString(), 0);
    ServerEcho(p, QStringLiteral("News, help and new versions: https://parlone.example.org"),
               QString(), 0);
}

void ignoreCommand(CommandContext&) {}
