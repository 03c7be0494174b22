#include "connection/DccOffer.h"

#include "connection/DccAddress.h"
#include "core/SafeFileName.h"
#include "core/TextUtils.h"

#include <QStringList>

namespace {

// The words after the kind; a file name in double quotes is one word.
QStringList offerWords(QStringView rest, bool quotedFirst) {
    QStringList words;
    rest = rest.trimmed();
    if (quotedFirst && rest.startsWith(u'"')) {
        const qsizetype close = rest.indexOf(u'"', 1);
        if (close > 0) {
            words << rest.mid(1, close - 1).toString();
            rest = rest.mid(close + 1);
        }
    }
    for (const QStringView word : rest.split(u' ', Qt::SkipEmptyParts))
        words << word.toString();
    return words;
}

bool readPort(const QString& word, quint16* port) {
    const std::optional<quint32> value = DccAddressNumber(word);
    if (!value || *value < 1 || *value > 65535)
        return false;
    *port = static_cast<quint16>(*value);
    return true;
}

bool readSize(const QString& word, qint64* size) {
    if (word.isEmpty() || word.size() > 18)
        return false;
    for (const QChar c : word) {
        if (c < u'0' || c > u'9')
            return false;
    }
    *size = word.toLongLong();
    return true;
}

} // namespace

DccOffer ReadDccOffer(QStringView params) {
    DccOffer offer;
    params = params.trimmed();
    const qsizetype blank = params.indexOf(u' ');
    const QStringView kind = blank < 0 ? params : params.left(blank);
    const QStringView rest = blank < 0 ? QStringView() : params.mid(blank + 1);
    if (kind.compare(u"chat", Qt::CaseInsensitive) == 0) {
        const QStringList words = offerWords(rest, false);
        if (!words.isEmpty() && words.at(0).compare(u"accept", Qt::CaseInsensitive) == 0)
            return offer;
        offer.kind = DccOfferKind::Chat;
        const std::optional<quint32> address = DccAddressNumber(words.value(1));
        if (!address || *address == 0)
            offer.refusal = QStringLiteral("its address is not valid");
        else if (!readPort(words.value(2), &offer.port))
            offer.refusal = QStringLiteral("its port is not valid");
        else
            offer.address = *address;
        return offer;
    }
    if (kind.compare(u"send", Qt::CaseInsensitive) != 0)
        return offer;
    offer.kind = DccOfferKind::Send;
    const QStringList words = offerWords(rest, true);
    offer.fileName = words.value(0);
    offer.sizeWord = words.value(3);
    offer.safeName = SafeFileNameComponent(GetFileName(offer.fileName));
    const std::optional<quint32> address = DccAddressNumber(words.value(1));
    if (offer.safeName.isEmpty())
        offer.refusal = QStringLiteral("it names no file");
    else if (!address || *address == 0)
        offer.refusal = QStringLiteral("its address is not valid");
    else if (!readPort(words.value(2), &offer.port))
        offer.refusal = QStringLiteral("its port is not valid");
    else if (!readSize(offer.sizeWord, &offer.size))
        offer.refusal = QStringLiteral("its size is not valid");
    else
        offer.address = *address;
    return offer;
}

QString DccNickRefusal(const QString& nick, QStringView channelTypes) {
    if (nick.isEmpty())
        return QStringLiteral("no nick was given");
    // "," would make an offer to several nicks, the first to connect taking
    // it.
    if (nick.startsWith(u'?') || channelTypes.contains(nick.at(0)) || nick.contains(u','))
        return QStringLiteral("%1 is not a nick").arg(nick);
    for (const char* own : {"Server", "Notify", "Alias", "Popups"}) {
        if (nick.compare(QLatin1StringView(own), Qt::CaseInsensitive) == 0)
            return QStringLiteral("%1 is the name of one of Parlone's windows").arg(nick);
    }
    return QString();
}
