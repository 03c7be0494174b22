#include "connection/DccAddress.h"

#include <QStringList>

std::optional<quint32> DccAddressNumber(QStringView word) {
    if (word.isEmpty() || word.size() > 10)
        return std::nullopt;
    quint64 value = 0;
    for (const QChar c : word) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<quint64>(c.unicode() - u'0');
    }
    if (value > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<quint32>(value);
}

QString EncodeIPAddr(const QString& ip) {
    const QStringList pieces = ip.trimmed().split(u'.');
    if (pieces.size() != 4)
        return QString();
    quint32 word = 0;
    for (const QString& piece : pieces) {
        const std::optional<quint32> octet = DccAddressNumber(piece);
        if (!octet || *octet > 255 || piece.size() > 3)
            return QString();
        word = word * 256 + *octet;
    }
    return QString::number(word);
}

QString LongIP2Dotted(const QString& number) {
    const std::optional<quint32> word = DccAddressNumber(number);
    if (!word)
        return QStringLiteral("0.0.0.0");
    return QStringLiteral("%1.%2.%3.%4")
        .arg(*word >> 24)
        .arg((*word >> 16) & 0xFF)
        .arg((*word >> 8) & 0xFF)
        .arg(*word & 0xFF);
}
