#pragma once
// settings.ini in the program folder: every saved setting as a "KEY","value"
// record, in a fixed order, then one "ADD_NOTIFY" record per entry of the
// notify list. Colours are written as palette indexes and read back through
// the settings accessor, which turns them into colour numbers again.

class Program;

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
