#pragma once
// Commands of the interpreter that talk to other users and to channels:
// messages and notices to a target, messages to the window the command came
// from, messages and actions to every channel or query window at once, CTCP
// requests, joining, leaving and kicking, away and opening a query window. Each sends one IRC line
// and most echo what was sent into a window. The own nick shown in echoes is the profile's
// PROFILE_NICKNAME.

#include <QString>

class CommandContext;
class Program;

// "ach", "aqu" text: every channel (query) window shows "<" & nick & "> " &
// text and the text goes to each as a message. "ame", "amsg": the same line
// is shown, and the text goes as a CTCP ACTION. A detached query is
// addressed once, through its desktop window, never its hidden twin.
void achCommand(CommandContext& command);
void aquCommand(CommandContext& command);
void ameCommand(CommandContext& command);
void amsgCommand(CommandContext& command);
// "away" [text]: "AWAY :" & the untrimmed text.
void awayCommand(CommandContext& command);
// "ctcp" target command [parameters].
void ctcpCommand(CommandContext& command);
// "join" channel: "#" put in front when it begins with none of the server's
// channel types; a key after it is dropped.
void joinCommand(CommandContext& command);
// "kick" channel nick [reason]: "No reason given" without one.
void kickCommand(CommandContext& command);
// "me" text: an action in the channel or query window (SendAction).
void meCommand(CommandContext& command);
// "msg" target text: sent untrimmed, echoed trimmed as "->  *target* text".
void msgCommand(CommandContext& command);
// "notice" target text: echoed as "->! target - text" when SHOW_NOTICEACTIVE
// is "1".
void noticeCommand(CommandContext& command);
// "part" channel [reason].
void partCommand(CommandContext& command);
// "query" nick: opens the query window of nick unless one is open.
void queryCommand(CommandContext& command);
// "say" text: a message to the channel or query window, shown there.
void sayCommand(CommandContext& command);

// "/me": shows "* " & nick & " " & text in the channel or query window `tag`
// (the frame's active child for "") in its action colour and sends the text
// to its channel or nick as a CTCP ACTION. Any other window: nothing.
void SendAction(Program& program, const QString& text, const QString& tag = QString());
