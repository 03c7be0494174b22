#pragma once
// The numeric reading of a text: the longest leading part that reads as a
// number (blanks, tabs and line feeds inside are passed over, "&H" and "&O"
// introduce hexadecimal and octal), 0 when there is none.
// Settings, ports and colours are texts, and the program reads their numbers
// this way.

#include <QString>

double Val(const QString& text);
