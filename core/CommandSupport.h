#pragma once
// What the chat and window commands share: the IRC connection, the kind of
// the window a command acts on, and the line display of a window.

#include <QString>

class ConversationWindow;
class Form;
class Program;

namespace platform {
class Yarv;
}

// The frame's IRC control; nullptr while there is no frame (and so no
// connection to send on).
platform::Yarv* CommandIrc(Program& program);
// The profile's nick, shown in the lines the commands echo.
QString OwnNick(const Program& program);

// Whether `window` is the server window (by identity, not by its tag).
bool IsServerWindow(Program& program, const Form* window);
// Whether `window` is a channel window (by its class: channel names are the
// server's, so a tag's first character says nothing) that has its channel,
// or a query window (its tag begins with "?").
bool IsChannelWindow(const Form* window);
bool IsQueryWindow(const Form* window);
// The line display of `window`; nullptr for none (no window, a tool window).
ConversationWindow* LineDisplay(Form* window);
