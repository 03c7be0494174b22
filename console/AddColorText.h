#pragma once
// Draws a piece of IRC text into a console, turning the in-line attribute
// codes into formatting: Chr(3) colours (foreground, optionally "," and
// background, one or two digits each, palette indexes), Chr(2) bold, Chr(31)
// underline, Chr(22) reverse. Every other character is written as it is.
// The colours come from the program's palette at each call.
//
// The text goes in at the console's caret; the caret is not moved otherwise,
// no line break is added. At the end the caret's formatting is palette 1 on
// palette 0, neither bold nor underlined.

#include <QString>

class absRichEdit;

void AddColorText(absRichEdit& console, const QString& text);
