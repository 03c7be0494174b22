#pragma once
// Buddy mode: while the frame sits minimised in the tray, a private message,
// a private action, a notice and a buddy coming or going raise an alert
// tile. USE_MSNTILE chooses which: "0" the note tile (one line in the
// user's colours), "1" the toast (two lines); any other value none.

#include <QString>

class Program;

// The one gate of every alert: USE_TRAY and USE_BUDDY "1" and the frame
// minimised.
bool alertsWanted(Program& p);

struct Alert {
    // The note tile's line and its colours (palette indexes).
    QString note;
    int fore = -1;
    int back = -1;
    // The toast's two lines: the message and the kind of alert.
    QString first;
    QString second;
};

// Shows the alert on the tile USE_MSNTILE chooses, made on first use; none
// while the program ends. The caller has asked alertsWanted.
void RaiseAlert(Program& p, const Alert& alert);

// The alert of a buddy who came online (`online`) or went.
Alert BuddyAlert(Program& p, const QString& buddy, bool online);
