#pragma once
// Commands of the interpreter that act on windows: emptying and closing the
// window a command came from, the main frame's state and the arrangement of
// its children, and "window", with which the switchbar's menus and scripts
// maximise, minimise, restore, close, detach or save the text of the server
// window or of a window named by its tag. Sizes are in twips.

class CommandContext;

// "clear": empties the console of the channel, query or server window; for a
// query also the console of its hidden twin ("?" & its tag).
void clearCommand(CommandContext& command);
// "close": closes the channel or query window as its close box does (a
// channel is parted).
void closeCommand(CommandContext& command);
// "max": frame and server window maximised, tray icon removed, the frame to
// the foreground. "min": the frame minimised. "restore": the frame in its
// normal state at (1, 1), half the screen wide and a third high.
void maxCommand(CommandContext& command);
void minCommand(CommandContext& command);
void restoreCommand(CommandContext& command);
// "winarrange" n: 0 cascade, 1 tile one above another, 2 side by side, 3 line
// up the minimised windows; a word that is no number cascades, a number
// outside 0 to 3 does nothing.
void winarrangeCommand(CommandContext& command);
// "window" server max|min|rest|save file, "window" normal
// close|max|min|rest|detach|save tag [file].
void windowCommand(CommandContext& command);
