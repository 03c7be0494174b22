#pragma once
// The server list's file, servers.ini in the program folder, the setup
// dialog's server combo box List1 (item i is entry i of the list) and what the
// dialog's server buttons do with them.

class Program;
class QByteArray;
class QString;

// Reads servers.ini into the server list (a missing or unreadable file leaves
// it empty) and refills the combo box with the friendly names.
void LoadServers(Program& program);
// Start-up's load: a servers.ini that exists, empty or not, is read as
// LoadServers reads it. Without one, the list that ships with the program is
// written there first (a folder that cannot take it is not worth a word) and
// is the list of this run either way.
void LoadServersAtStartup(Program& program);
// The bytes of the list that ships with the program, in servers.ini's format.
QByteArray DefaultServersFile();
// Refills the setup dialog's List1: friendly names for mode "1", URLs for
// mode "2"; any other mode leaves it empty. The box is left without a
// selection.
void FillServerCombo(Program& program, const QString& mode);
// Replaces servers.ini with the list, whole or not at all. When the write
// fails a message box says so, the file there stays as it was, and the
// result is false.
bool SaveServers(Program& program);

// "Add": asks for the URL, the port, the friendly name and the network style,
// adds the entry, saves the list and reloads it. An empty answer ends the
// questions; a port that is no whole number from 1 to 65535 is refused with a
// message, and so is an entry when the list is full.
void AskAndAddServer(Program& program);
// "Delete": removes entry `index`, saves and reloads the list, and selects
// the entry that took its place, if any. Nothing happens when there is no
// entry `index`.
void DeleteServer(Program& program, int index);
// "Aquire": asks for the path of another client's servers.ini and adds its
// servers to the list, which is not saved until the next Save, Add or Delete.
void AquireServers(Program& program);
