#pragma once
// How each character of a console looks: its text colour and back colour
// (RGB numbers, -1 where the character has none of its own), bold and
// underline. Line breaks are left out.

#include "console/absRichEdit.h"

#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

struct CharLook {
    QChar ch;
    qint32 fore = -1;
    qint32 back = -1;
    bool bold = false;
    bool underline = false;

    bool operator==(const CharLook&) const = default;
};

inline qint32 lookColour(const QTextCharFormat& format, int property) {
    if (!format.hasProperty(property) || format.brushProperty(property).style() == Qt::NoBrush)
        return -1;
    const QColor c = format.brushProperty(property).color();
    return c.red() + 256 * c.green() + 65536 * c.blue();
}

inline QList<CharLook> consoleLooks(const absRichEdit& console) {
    QList<CharLook> looks;
    const QTextDocument* doc = console.rtfText->document();
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            CharLook look;
            look.fore = lookColour(format, QTextFormat::ForegroundBrush);
            look.back = lookColour(format, QTextFormat::BackgroundBrush);
            look.bold = format.fontWeight() >= QFont::DemiBold;
            look.underline = format.fontUnderline();
            for (const QChar ch : f.text()) {
                look.ch = ch;
                looks.append(look);
            }
        }
    }
    return looks;
}

inline QString describe(const CharLook& look) {
    return QStringLiteral("'%1' (U+%2) fore %3 back %4%5%6")
        .arg(look.ch.isPrint() ? QString(look.ch) : QStringLiteral("?"))
        .arg(look.ch.unicode(), 4, 16, QLatin1Char('0'))
        .arg(look.fore)
        .arg(look.back)
        .arg(look.bold ? QStringLiteral(" bold") : QString())
        .arg(look.underline ? QStringLiteral(" underline") : QString());
}

// The first difference between two look lists, or "" when they are equal.
inline QString firstDifference(const QList<CharLook>& actual, const QList<CharLook>& expected) {
    const qsizetype n = qMin(actual.size(), expected.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (!(actual.at(i) == expected.at(i)))
            return QStringLiteral("character %1: got %2, expected %3")
                .arg(i)
                .arg(describe(actual.at(i)), describe(expected.at(i)));
    }
    if (actual.size() != expected.size())
        return QStringLiteral("%1 characters, expected %2").arg(actual.size()).arg(expected.size());
    return QString();
}
