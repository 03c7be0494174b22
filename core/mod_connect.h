#pragma once
// Connecting to the profile's server and disconnecting, and three small
// routines of the command interpreter beside them.

class Program;
class QString;

// Closes an open connection (or ends an attempt in progress), checks the
// profile and opens a connection to SERVER_URL and SERVER_PORT; a profile
// with gaps is reported instead. A reconnect still waiting is dropped, and
// reconnects are allowed again.
void ConnectServer(Program& program);
// Closes the connection, or ends an attempt in progress, and says
// "Disconnected!" once; nothing else happens while neither. Either way a
// reconnect still waiting is dropped and none follows until the next connect.
void DisconnectServer(Program& program);
void DoBeep();
// A message box with an OK button; it does not wait (scripts the welcome runs
// show it too, and nothing waits for its answer).
void MsgBoxCmd(const QString& title, const QString& text);
void MinimizeMain(Program& program);
