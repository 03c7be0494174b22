#pragma once
// Tooltips that show text as written. Qt renders a tooltip that looks like
// markup; text from the network (nicks, channel topics) must never be read
// as markup.

#include "platform_export.h"

#include <QString>

namespace platform {

// The tooltip that shows `text` literally: `text` itself when Qt would not
// take it for markup, else the text escaped inside a paragraph that keeps
// its blanks.
PLATFORM_EXPORT QString PlainToolTip(const QString& text);

} // namespace platform
