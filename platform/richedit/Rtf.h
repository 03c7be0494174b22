#pragma once
// A small RTF writer and reader for what a console holds: a font table and a
// colour table, bold, italic, underline, strike-through, sub- and
// superscript, fore and back colours, paragraphs and their alignment.
// Text the writer produces is plain ASCII; the reader takes the text of the
// file as Windows-1252 (or \u escapes).

#include "platform_export.h"

#include <QString>

class QFont;
class QTextDocument;

namespace platform {

// Whether the text starts as an RTF document does.
PLATFORM_EXPORT bool LooksLikeRtf(const QString& text);

// The characters of `document` from `from` up to `to` (document positions,
// paragraph separators counting one). Every paragraph piece ends with \par.
PLATFORM_EXPORT QString WriteRtf(const QTextDocument& document, int from, int to);

// Appends the content of `rtf` to `into` (an empty document). Formatting that
// equals `into`'s default font is left unset, so the text follows the box's
// font as text typed into it would. A \par that ends the document does not
// start another, empty paragraph. False when `rtf` is not RTF.
PLATFORM_EXPORT bool ReadRtf(const QString& rtf, QTextDocument& into);

} // namespace platform
