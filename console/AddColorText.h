#pragma once
// Draws a piece of IRC text into a console, turning the in-line attribute
// codes into formatting: Chr(3) colours (foreground, optionally "," and
// background, one or two digits each, palette indexes), Chr(2) bold, Chr(31)
// underline, Chr(22) reverse. The colours come from the program's palette at
// each call.
//
// Text stands on the console's own background until a background part of a
// code (0 to 15) or reverse gives it one; a background of 16 to 99 is none.
// Every other character is written as it is, except the four the console
// would break a line at (U+2028, U+2029, U+FDD0, U+FDD1), which are blanks.
//
// The text goes in at the console's caret; the caret is not moved otherwise,
// no line break is added. At the end the caret's formatting is palette 1 on
// palette 0, neither bold nor underlined.

#include <QString>

class absRichEdit;

void AddColorText(absRichEdit& console, const QString& text);
