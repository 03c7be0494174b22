#include "connection/ChannelTypes.h"

QString ChannelTypesOf(const Program& program) {
    Q_UNUSED(program);
    return QStringLiteral("#&");
}

bool IsChannelName(const Program& program, QStringView name) {
    return !name.isEmpty() && ChannelTypesOf(program).contains(name.at(0));
}
