#pragma once
// The frame's two text operations on IRC lines and masks, without widgets.

#include <QString>
#include <QStringList>

namespace FrameText {

// The parts of a raw protocol line. A line that begins with ":" gives ":"
// first and then its prefix (the next blank-separated word, whatever it
// holds). The rest is split at each blank; a word that begins with ":" opens
// the trailing part, which runs to the end of the line with its blanks and
// without that ":". One blank at the very end gives no empty part.
QStringList Analyse(const QString& line);

// The nick of a user mask: the text before its first "!", or the whole mask
// when it has none (a server name).
QString GetNick(const QString& mask);

} // namespace FrameText
