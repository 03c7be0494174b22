#pragma once
// The window a command acts on: the window the line was typed in (found by
// its tag), or the main frame's active child when the line names none.

class Form;
class Program;
class QString;

// The frame's active child window: the one last activated inside the frame,
// also while another application has the focus. nullptr when there is none
// (or no frame yet).
Form* ActiveChild(Program& program);
// The window whose tag is `tag` (without regard to case); for an empty tag
// the window the command was typed in when it is set (Program::commandOrigin),
// else the active child; nullptr when no open window carries the tag.
Form* CommandWindow(Program& program, const QString& tag);
