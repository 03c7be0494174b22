#pragma once
// Paragraph formatting as the rich text box keeps it in its document, shared
// by the box and its RTF reader and writer: the line-spacing rule in a
// property of the block format (beside the line height it gives when the
// text is printed), numbering and bullets as text lists.

#include <QTextBlockFormat>
#include <QTextFormat>
#include <QTextListFormat>

class QTextBlock;
class QTextCursor;

namespace platform {

// Line-spacing rules of a paragraph.
enum LineSpacingRule : int {
    SpacingSingle = 0,
    SpacingOneAndHalf = 1,
    SpacingDouble = 2,
    SpacingAtLeast = 3,
    SpacingExactly = 4,
    SpacingMultiple = 5,
};

// Numbering kinds of a paragraph.
enum Numbering : int {
    NumberingNone = 0,
    NumberingBullet = 1,
    NumberingArabic = 2,
    NumberingLowerLetters = 3,
    NumberingUpperLetters = 4,
    NumberingLowerRoman = 5,
    NumberingUpperRoman = 6,
};

// The block format properties that give paragraphs a line-spacing rule (the
// rules whose amount is given separately have amount 0 and space singly).
QTextBlockFormat SpacingFormat(int rule);
int SpacingRuleOf(const QTextBlockFormat& format);

// The list format of a numbering kind; its style is ListStyleUndefined for
// none.
QTextListFormat ListFormatOf(int kind);
int NumberingOf(const QTextBlock& block);
// Numbers (or bullets, or un-numbers) the paragraphs the cursor's selection
// touches.
void SetNumbering(QTextCursor& cursor, int kind);

} // namespace platform
