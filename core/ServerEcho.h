#pragma once
// The server window's output: the one path by which text reaches its
// console, with the optional timestamp, the colour code in front, the trim
// that keeps the console small, and the server log.

#include <QString>

class Program;

// The colour code that starts a drawn line: Chr(3), the foreground index and
// "," and the background index, both written with two digits, so a text that
// begins with a digit or a comma keeps it.
QString ColorCodePrefix(int fore, int back);
// The same without a background: the background part is 99, none, so the
// line stands on the console's own background.
QString ColorCodePrefix(int fore);

// Shows one line in the server window. `colour` is an RGB number as decimal
// text, or empty for the server console's own colours; `mode` 0 draws the
// colour on the console's default background, 1 or more on the server
// console's background colour. Lines shown before the server window exists
// are kept and drawn when it appears.
void ServerEcho(Program& program, QString text, const QString& colour = QString(), int mode = 0);
// Draws the lines kept while there was no server window.
void FlushServerEcho(Program& program);
