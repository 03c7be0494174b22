#pragma once
// Start-up: brings the program-wide state up in a fixed order, shows the
// server window inside the main frame and runs the start-up commands.

#include <QString>

#include <memory>

class Program;

// Creates the program object for `programFolder` (empty: the usual program
// folder) and runs the start-up steps. The program lives on in its windows.
std::unique_ptr<Program> Main(const QString& programFolder = QString());
// Runs the start-up steps on an existing program object.
void Main(Program& program);
// Creates the logs and cmd folders and gives the status bar its face;
// errors are ignored.
bool PrepareFolders(Program& program);
// Prepares the setup dialog from the loaded settings.
void InitSetupForm(Program& program);
// Runs cmd/startup.ini as a command script when USE_STARTUPINI is "1" and
// the server has welcomed the client; called on every welcome.
void RunStartupScript(Program& program);
