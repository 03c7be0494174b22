#pragma once
// popups.ini in the program folder: one "KIND","caption","command" record
// per popup item, grouped by kind in the order SERVER, QUERY, CHANNEL,
// NICKLIST, each kind in its list order.

class Program;

// Writes the popup editor's lists to popups.ini, replacing the file
// atomically; a popups.ini that cannot be read, or whose damaged lines have
// no copy, is not replaced. False when the file was not written; the
// server window has said why. Without the editor there is nothing to write,
// and that is no failure.
bool SavePopups(Program& program);

// Reads popups.ini and, when it was read, replaces the editor's lists with
// its items (through AddPopUp, which skips unknown kinds and duplicate
// captions). A missing or unreadable file leaves the lists as they are;
// damaged lines are skipped and counted in the server window, and the file
// as it was is kept as popups.ini.bak.
void LoadPopups(Program& program);
