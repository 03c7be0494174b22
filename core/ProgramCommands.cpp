#include "core/ProgramCommands.h"

#include "core/CommandContext.h"
#include "core/CommandWindow.h"
#include "core/ConversationWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/mod_connect.h"

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
    if (window && (window->Tag().startsWith(u'?') || window->Tag().startsWith(u'#'))) {
        if (auto* conversation = dynamic_cast<ConversationWindow*>(window)) {
            conversation->disp(text);
            return;
        }
    }
    ServerEcho(p, text, p.settings.value(QStringLiteral("WIN_SERVER_NOTICECOLOR")), 113);
}

void sechoCommand(CommandContext& command) {
    ServerEcho(command.program, command.tail(1), QString(), 0);
}

void msgboxCommand(CommandContext& command) {
    MsgBoxCmd(QStringLiteral("Parlone Alert"), command.tail(1));
}

void infoCommand(CommandContext&) {}

void ignoreCommand(CommandContext&) {}
