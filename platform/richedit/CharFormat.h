#pragma once
// Character formatting over a stretch of a document.

#include <initializer_list>

class QTextDocument;

namespace platform {

// Takes the properties away from the formats of the characters between
// document positions `from` and `to`; the rest of each format stays. One
// edit.
void ClearCharProperties(QTextDocument& document, int from, int to,
                         std::initializer_list<int> properties);

} // namespace platform
