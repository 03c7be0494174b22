#pragma once
// Commands of the interpreter that drive the program rather than the chat:
// text into the server or the active window, a message box, the beep,
// connecting and disconnecting, and the words that do nothing.

#include <QString>

class CommandContext;
class Program;

// "beep": the system beep.
void beepCommand(CommandContext& command);
// "connect", "disconnect": the profile's server.
void connectCommand(CommandContext& command);
void disconnectCommand(CommandContext& command);
// "echo" text: into the channel or query window the command came from,
// otherwise (and for a window without a line display) into the server window
// in the notice colour.
void echoCommand(CommandContext& command);
// What "echo" shows, for callers outside the interpreter: `text` in the
// channel or query window `tag` (the frame's active child for ""), otherwise
// in the server window in the notice colour. An empty text shows nothing.
void EchoLine(Program& program, const QString& text, const QString& tag = QString());
// "secho" text: into the server window, untrimmed, in its own colours.
void sechoCommand(CommandContext& command);
// "msgbox" text: a message box titled "Parlone Alert".
void msgboxCommand(CommandContext& command);
// "info": recognised; no window is designated for it, so it shows nothing.
void infoCommand(CommandContext& command);
// "rem", "ls": recognised; nothing happens ("rem" marks comments in scripts).
void ignoreCommand(CommandContext& command);
