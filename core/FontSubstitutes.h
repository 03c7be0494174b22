#pragma once
// Windows face names that settings files and the program's defaults use
// ("Fixedsys", "Arial", "Verdana", ...) and the families that stand in for
// them on this system. This is the one table of such substitutes; the font
// check and every piece of code that sets a face go through it.

#include <QString>
#include <QStringList>

// The families that may stand in for `face`, best first; empty for a face
// the table does not know. Letter case of `face` does not matter.
QStringList FontSubstitutes(const QString& face);

// Every face the table knows, in the table's order.
QStringList SubstitutedFaces();

// The family to use for `face` among the `installed` families: the face
// itself when installed (in the installed spelling), otherwise the first
// installed substitute; empty when there is neither.
QString ResolveFontFamily(const QString& face, const QStringList& installed);
