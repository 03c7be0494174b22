#pragma once
// Appearance profiles: the look of the server, channel and query windows (52
// colours, faces and sizes) saved under a name as "<name>.app" in the program
// folder, one "KEY","value" record a line, and loaded again through the
// settings accessor, which applies each record to the open windows and the
// setup dialog's previews at once.

#include <QList>
#include <QString>
#include <QStringList>

#include <array>

class Program;

// The keys a profile holds, in the order they are written.
const std::array<const char*, 52>& AppearanceProfileKeys();

// The records a profile of the current settings holds: colours as the
// settings file writes them (palette indexes; a colour never set stays
// empty), faces and sizes trimmed.
QList<QStringList> AppearanceProfileRecords(const Program& program);

// Writes the current look to `path` through the program's file writer;
// false with the writer's reason in *error when it could not.
bool SaveAppearanceProfile(Program& program, const QString& path, QString* error);

// Applies every well-formed "KEY","value" record of the file at `path`
// through the settings accessor, in file order, quietly: a missing or
// unreadable file applies nothing, a damaged line is passed over, and a
// record with an empty value changes nothing.
void LoadAppearanceProfile(Program& program, const QString& path);
