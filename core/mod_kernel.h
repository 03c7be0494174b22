#pragma once
// The command language: the line dispatcher, command scripts and the command
// interpreter. Every typed slash command, script line, alias and popup item
// passes through here.
//
// Lines given to the dispatcher take four forms: "//" expands the rest and
// runs it as a command, "/" runs the rest as typed, "/~" runs a command script
// of the cmd folder with arguments ($$1, $$2, ...), "/!" sends the rest to the
// server as a raw line. Scripts are one command a line, without the "/".
//
// `tag` is the tag of the window a line was typed in; that window is the one
// the command acts on. An empty tag stands for the main frame's active child.

#include <QString>

class Program;

// Command scripts nest at most this deep; a script started deeper is refused
// with a "-!- " line in the server window.
inline constexpr int MaxScriptDepth = 16;
// The highest argument number a script has ("$$1000").
inline constexpr int MaxScriptArgs = 1000;

// Dispatches one line. The line is trimmed, and the trimmed text is written
// back to the caller's variable. `extra` is accepted for callers that pass it
// and not used. A line that does not start with "/" does nothing.
void ParseLine(Program& program, QString& line, const QString& tag = QString(),
               const QString& extra = QString());

// Runs one command line given without its "/": the first word is matched, in
// lower case, against the interpreter's keywords. Any other word runs the
// command script of that name in the cmd folder (the rest of the line its
// arguments) when there is one and it is not already running; otherwise the
// trimmed line goes to the server unchanged. An empty line does nothing.
// The result tells whether the command did its work; a command refuses only
// after saying why.
enum class CommandResult { Done, Refused };
CommandResult ExecCommand(Program& program, const QString& cmd, const QString& tag = QString());
