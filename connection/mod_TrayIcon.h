#pragma once
// The main frame's icon in the notification area while the frame is
// minimised to the tray, and, in buddy mode, the status it shows: the
// connection state, unread query lines per conversation and the watched
// nicks online. One record for the program (Program::trayIcon); every call
// sends callback, icon and tip together.

class Program;
class QString;

// The tray's callback message: its actions arrive as mouse moves over the
// frame, whose x coordinate in pixels is the action's message number.
inline constexpr unsigned TrayCallbackMessage = 512;

// Fills the record from the main frame (its window and its own icon), with
// the tip "Parlone", and adds the icon.
void TrayAdd(Program& program);
// The tip, cut at 64 characters or filled up to them with blanks.
void TraySetTip(Program& program, const QString& tip);
// The icon of the handle written as a decimal number.
void TraySetIcon(Program& program, const QString& handle);
void TrayRemove(Program& program);
// Rebuilds icon and tip from the program's state, while the frame is
// minimised with USE_TRAY and USE_BUDDY not "0"; otherwise changes nothing.
void UpdateTrayStatus(Program& program);
