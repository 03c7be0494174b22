#pragma once
// Line expansion: turns a command line typed after "//", or read from a
// command script, into the command the interpreter runs. The first word (the
// keyword) stays as it is; $-identifiers and %KEY words become their values,
// prompts ask the user, plain words are copied, and any other word beginning
// with "$" is dropped. Every word of the result is followed by one blank.
//
// Identifiers, in any letter case: $$1 $$2 $$3 (script arguments), $$1- $$2-
// $$3- (arguments from there up to the script's argument count), $?=prompt
// (an input box titled "Question"), $?COLOR and $?FONT (the modal choosers),
// $?FILE (an open-file prompt; nothing at all when cancelled), $MYIP, $TIME,
// $DATE, $WEEKDAY (from the program's clock), $VERSION, $CHAN and $NICK (of
// the window the line came from).

#include <QString>

class Program;

// The longest expanded line, in characters.
inline constexpr int MaxExpandedLine = 65536;

// `tag` names the window the line came from; "" stands for the frame's
// active child.
QString ExpandLine(Program& program, const QString& line, const QString& tag = QString());
