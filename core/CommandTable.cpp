#include "core/CommandTable.h"

#include "core/ProgramCommands.h"

#include <array>

using namespace Qt::StringLiterals;

namespace {

constexpr std::array kCommands{
    Command{"ach"_L1, nullptr},
    Command{"amsg"_L1, nullptr},
    Command{"aqu"_L1, nullptr},
    Command{"ame"_L1, nullptr},
    Command{"alias"_L1, aliasCommand},
    Command{"away"_L1, nullptr},
    Command{"beep"_L1, beepCommand},
    Command{"clear"_L1, nullptr},
    Command{"close"_L1, nullptr},
    Command{"connect"_L1, connectCommand},
    Command{"ctcp"_L1, nullptr},
    Command{"dcc"_L1, nullptr},
    Command{"disconnect"_L1, disconnectCommand},
    Command{"echo"_L1, echoCommand},
    Command{"exit"_L1, exitCommand},
    Command{"info"_L1, infoCommand},
    Command{"join"_L1, nullptr},
    Command{"kick"_L1, nullptr},
    Command{"ls"_L1, ignoreCommand},
    Command{"list"_L1, listCommand},
    Command{"me"_L1, nullptr},
    Command{"max"_L1, nullptr},
    Command{"min"_L1, nullptr},
    Command{"msg"_L1, nullptr},
    Command{"msgbox"_L1, msgboxCommand},
    Command{"notice"_L1, nullptr},
    Command{"part"_L1, nullptr},
    Command{"popup"_L1, popupCommand},
    Command{"query"_L1, nullptr},
    Command{"quit"_L1, quitCommand},
    Command{"rem"_L1, ignoreCommand},
    Command{"restore"_L1, nullptr},
    Command{"run"_L1, runCommand},
    Command{"say"_L1, nullptr},
    Command{"server"_L1, serverCommand},
    Command{"secho"_L1, sechoCommand},
    Command{"set"_L1, setCommand},
    Command{"setup"_L1, setupCommand},
    Command{"setwiz"_L1, setwizCommand},
    Command{"splay"_L1, splayCommand},
    Command{"version"_L1, versionCommand},
    Command{"winarrange"_L1, nullptr},
    Command{"window"_L1, nullptr},
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
