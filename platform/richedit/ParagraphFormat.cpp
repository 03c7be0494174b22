#include "platform/richedit/ParagraphFormat.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

namespace platform {

namespace {

// Where a paragraph keeps the line-spacing rule it was given.
constexpr int LineSpacingRuleProperty = QTextFormat::UserProperty + 1;

int numberingOf(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return NumberingBullet;
    case QTextListFormat::ListDecimal:
        return NumberingArabic;
    case QTextListFormat::ListLowerAlpha:
        return NumberingLowerLetters;
    case QTextListFormat::ListUpperAlpha:
        return NumberingUpperLetters;
    case QTextListFormat::ListLowerRoman:
        return NumberingLowerRoman;
    case QTextListFormat::ListUpperRoman:
        return NumberingUpperRoman;
    default:
        return NumberingNone;
    }
}

QTextListFormat::Style listStyleOf(int kind) {
    switch (kind) {
    case NumberingBullet:
        return QTextListFormat::ListDisc;
    case NumberingArabic:
        return QTextListFormat::ListDecimal;
    case NumberingLowerLetters:
        return QTextListFormat::ListLowerAlpha;
    case NumberingUpperLetters:
        return QTextListFormat::ListUpperAlpha;
    case NumberingLowerRoman:
        return QTextListFormat::ListLowerRoman;
    case NumberingUpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListStyleUndefined;
    }
}

} // namespace

QTextBlockFormat SpacingFormat(int rule) {
    QTextBlockFormat f;
    f.setProperty(LineSpacingRuleProperty, rule);
    switch (rule) {
    case SpacingOneAndHalf:
        f.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        break;
    case SpacingDouble:
        f.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
        break;
    default:
        f.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    }
    return f;
}

int SpacingRuleOf(const QTextBlockFormat& format) {
    return format.hasProperty(LineSpacingRuleProperty) ? format.intProperty(LineSpacingRuleProperty)
                                                       : SpacingSingle;
}

QTextListFormat ListFormatOf(int kind) {
    QTextListFormat format;
    format.setStyle(listStyleOf(kind));
    format.setIndent(1);
    return format;
}

int NumberingOf(const QTextBlock& block) {
    const QTextList* list = block.textList();
    return list ? numberingOf(list->format().style()) : NumberingNone;
}

void SetNumbering(QTextCursor& cursor, int kind) {
    const QTextListFormat format = ListFormatOf(kind);
    cursor.beginEditBlock();
    if (format.style() == QTextListFormat::ListStyleUndefined) {
        const int end = cursor.selectionEnd();
        for (QTextBlock b = cursor.document()->findBlock(cursor.selectionStart()); b.isValid();
             b = b.next()) {
            if (QTextList* list = b.textList()) {
                list->remove(b);
                QTextCursor bc(b);
                QTextBlockFormat f = b.blockFormat();
                f.setIndent(0);
                bc.setBlockFormat(f);
            }
            if (b.position() + b.length() > end)
                break;
        }
    } else {
        cursor.createList(format);
    }
    cursor.endEditBlock();
}

} // namespace platform
