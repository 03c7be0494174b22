#pragma once
// Which first characters make a name a channel's.

#include <QString>
#include <QStringView>

class Program;

// The channel types the program goes by.
QString ChannelTypesOf(const Program& program);
// Whether `name` is a channel's: its first character is a channel type.
bool IsChannelName(const Program& program, QStringView name);
