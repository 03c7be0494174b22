#include "connection/ChannelTypes.h"

#include "core/Program.h"
#include "platform/irc/IrcServerSyntax.h"

QString ChannelTypesOf(const Program& program) {
    return program.serverSyntax().chanTypes();
}

bool IsChannelName(const Program& program, QStringView name) {
    return program.serverSyntax().isChannel(name);
}
