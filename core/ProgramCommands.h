#pragma once
// Commands of the interpreter that drive the program rather than the chat:
// connecting and switching servers, settings, the tool windows, text and
// message boxes, sounds, programs, the version, the quit message and the
// program's end.

#include <QString>

class CommandContext;
class Program;

// "alias": the alias manager, with its switchbar panel.
void aliasCommand(CommandContext& command);
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
// "exit": the program's end (ExitSequence).
void exitCommand(CommandContext& command);
// "info": the about box.
void infoCommand(CommandContext& command);
// "list": the channel-list window; "LIST" to the server unless it is showing.
void listCommand(CommandContext& command);
// "msgbox" text: a message box titled "Parlone Alert".
void msgboxCommand(CommandContext& command);
// "popup" "add" kind: the popup wizard for that kind; "popup" "show": the
// popup editor.
void popupCommand(CommandContext& command);
// "quit" [message]: the quit message, "Exit: " and the words, the setting
// USE_DEFAULT_QUIT, or the program's version.
void quitCommand(CommandContext& command);
// "run" command line: starts a program; a failure is ignored.
void runCommand(CommandContext& command);
// "secho" text: into the server window, untrimmed, in its own colours.
void sechoCommand(CommandContext& command);
// "server" address [port]: from the server window only, reconnects there.
void serverCommand(CommandContext& command);
// "set" key value: stores a setting.
void setCommand(CommandContext& command);
// "setup": the setup dialog. "setwiz": the walkthrough, modally.
void setupCommand(CommandContext& command);
void setwizCommand(CommandContext& command);
// "splay" file: plays a sound file.
void splayCommand(CommandContext& command);
// "version": the program's version in the server window.
void versionCommand(CommandContext& command);
// "rem", "ls": recognised; nothing happens ("rem" marks comments in scripts).
void ignoreCommand(CommandContext& command);
