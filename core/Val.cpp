#include "core/Val.h"

#include <cmath>

namespace {

bool skippable(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

double readRadix(const QString& text, qsizetype pos, int radix) {
    double value = 0;
    for (; pos < text.size(); ++pos) {
        const int digit = QStringView(text).mid(pos, 1).toInt(nullptr, radix);
        const QChar c = text.at(pos);
        if (!(c.isDigit() || (radix == 16 && QStringLiteral("abcdefABCDEF").contains(c))))
            break;
        if (radix == 8 && digit > 7)
            break;
        value = value * radix + digit;
    }
    return value;
}

} // namespace

double Val(const QString& text) {
    qsizetype pos = 0;
    while (pos < text.size() && skippable(text.at(pos)))
        ++pos;
    if (pos + 1 < text.size() && text.at(pos) == u'&') {
        const QChar kind = text.at(pos + 1).toUpper();
        if (kind == u'H')
            return readRadix(text, pos + 2, 16);
        if (kind == u'O')
            return readRadix(text, pos + 2, 8);
    }
    // Gather the characters of a decimal number, passing over blanks.
    QString number;
    bool digits = false, point = false, exponent = false, exponentDigits = false;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (skippable(c))
            continue;
        if (c.isDigit() && c.unicode() < 128) {
            number += c;
            (exponent ? exponentDigits : digits) = true;
        } else if ((c == u'+' || c == u'-') &&
                   (number.isEmpty() || (exponent && number.back() == u'e'))) {
            number += c;
        } else if (c == u'.' && !point && !exponent) {
            number += c;
            point = true;
        } else if ((c == u'e' || c == u'E' || c == u'd' || c == u'D') && digits && !exponent) {
            number += u'e';
            exponent = true;
        } else {
            break;
        }
    }
    if (exponent && !exponentDigits) {
        // A dangling exponent mark (and its sign) is no part of the number.
        while (!number.isEmpty() && number.back() != u'e')
            number.chop(1);
        number.chop(1);
    }
    if (!digits)
        return 0;
    bool ok = false;
    const double value = number.toDouble(&ok);
    return ok && std::isfinite(value) ? value : 0;
}
