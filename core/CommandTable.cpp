#include "core/CommandTable.h"

#include "core/ChatCommands.h"
#include "core/DccCommands.h"
#include "core/ProgramCommands.h"
#include "core/WindowCommands.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array kCommands{
    Command{"ach"_L1, achCommand},
    Command{"amsg"_L1, amsgCommand},
    Command{"aqu"_L1, aquCommand},
    Command{"ame"_L1, ameCommand},
    Command{"alias"_L1, aliasCommand},
    Command{"away"_L1, awayCommand},
    Command{"beep"_L1, beepCommand},
    Command{"clear"_L1, clearCommand},
    Command{"close"_L1, closeCommand},
    Command{"connect"_L1, connectCommand},
    Command{"ctcp"_L1, ctcpCommand},
    Command{"dcc"_L1, dccCommand},
    Command{"disconnect"_L1, disconnectCommand},
    Command{"echo"_L1, echoCommand},
    Command{"exit"_L1, exitCommand},
    Command{"info"_L1, infoCommand},
    Command{"join"_L1, joinCommand},
    Command{"kick"_L1, kickCommand},
    Command{"ls"_L1, ignoreCommand},
    Command{"list"_L1, listCommand},
    Command{"me"_L1, meCommand},
    Command{"max"_L1, maxCommand},
    Command{"min"_L1, minCommand},
    Command{"msg"_L1, msgCommand},
    Command{"msgbox"_L1, msgboxCommand},
    Command{"notice"_L1, noticeCommand},
    Command{"part"_L1, partCommand},
    Command{"popup"_L1, popupCommand},
    Command{"query"_L1, queryCommand},
    Command{"quit"_L1, quitCommand},
    Command{"rem"_L1, ignoreCommand},
    Command{"restore"_L1, restoreCommand},
    Command{"run"_L1, runCommand},
    Command{"say"_L1, sayCommand},
    Command{"server"_L1, serverCommand},
    Command{"secho"_L1, sechoCommand},
    Command{"set"_L1, setCommand},
    Command{"setup"_L1, setupCommand},
    Command{"setwiz"_L1, setwizCommand},
    Command{"splay"_L1, splayCommand},
    Command{"version"_L1, versionCommand},
    Command{"winarrange"_L1, winarrangeCommand},
    Command{"window"_L1, windowCommand},
};

} // namespace

std::span<const Command> CommandTable() {
    return kCommands;
}

const Command* FindCommand(QStringView keyword) {
    for (const Command& command : kCommands) {
        if (keyword == command.keyword)
            return &command;
    }
    return nullptr;
}
