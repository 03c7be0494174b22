#pragma once
// Font faces against the fonts installed on this system. A Windows face name
// counts as installed when the face or its substitute is (see
// FontSubstitutes.h), and code that sets a face uses FontFamilyFor so that it
// gets that same family.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// The installed family to use for `face`; `face` unchanged when neither it
// nor a substitute is installed.
QString FontFamilyFor(const QString& face);

// The font names a user may pick: every installed family, and every face of
// the substitution table whose stand-in is installed (so that a stored
// "Fixedsys" is found among them), sorted without regard to letter case.
QStringList ScreenFontNames();

// True when an installed screen font's family equals `name` without regard
// to letter case, or when a substitute of `name` is installed.
bool FontExists(const QString& name);

// When `name` is not installed, shows "Error: Font not found '" & name (no
// closing quote) through `show`, the server window's output in its own
// colours.
void CheckFont(const QString& name, const std::function<void(const QString&)>& show);

// Gives `widget` the face (through FontFamilyFor), keeping the font's size
// and style.
void SetFontFace(QWidget& widget, const QString& face);
