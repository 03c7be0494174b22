#pragma once
// The server list's file, servers.ini in the program folder, and the setup
// dialog's server combo box.

class Program;
class QString;

// Reads servers.ini into the server list (a missing or unreadable file leaves
// it empty) and refills the combo box with the friendly names.
void LoadServers(Program& program);
// Refills the setup dialog's List1: friendly names for mode "1", URLs for
// mode "2"; any other mode leaves it empty.
void FillServerCombo(Program& program, const QString& mode);
