#pragma once
// settings.ini in the program folder: every saved setting as a "KEY","value"
// record, in a fixed order, then one "ADD_NOTIFY" record per entry of the
// notify list. Colours are written as palette indexes and read back through
// the settings accessor, which turns them into colour numbers again.

#include <QString>

class Program;
struct SettingKey;

// Applies every well-formed record of settings.ini through the settings
// accessor, in file order. A missing file applies nothing and says nothing;
// damaged lines are skipped and counted in the server window, and the file
// as it was is kept as settings.ini.bak; a record whose store fails is
// reported and the load goes on.
void LoadSettings(Program& program);

// Writes popups.ini, then settings.ini, then popups.ini once more, each
// replacing its file atomically.
// A file that cannot be read, or whose damaged lines have no copy, is not
// replaced.
void SaveSettings(Program& program);

// A colour as the settings and profile files hold it: the palette index of
// the stored colour number. An empty colour stays empty, so that a window
// whose colour was never set keeps its own look. A look colour that is not in
// the palette and is above 16 is written as its number, which the accessor
// keeps as it is when the file is read, so a colour of the user's own
// survives. Any other colour that is not in the palette, a text that is no
// colour number included, is written as index 1.
QString ColourField(const Program& program, const SettingKey& key, const QString& stored);
