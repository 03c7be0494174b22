// Fuzz target: the parameters of a CTCP DCC request read as an offer, with
// the file-name cleaner the reader calls. The bytes are read as UTF-8, as
// the wire brings them, and, when there is an even number of them, also as
// UTF-16 code units, so that lone surrogates arrive too. Besides crashes and
// sanitizer reports it stops on a broken promise: an offer let through with
// an address of 0, a port out of range, a negative size or no file name, a
// "none" that carries anything, or a cleaned name that could leave its
// folder, hide, forge a line or disguise itself.

#include "connection/DccOffer.h"

#include <QByteArrayView>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

// Characters a cleaned name never holds: separators of paths, lines and
// paragraphs, control characters, and the invisible characters that can
// disguise a name (the zero-width non-joiner and joiner may stay).
bool mustBeMapped(QChar c) {
    const char16_t u = c.unicode();
    return u == u'/' || u == u'\\' || c.category() == QChar::Other_Control || u == 0x061C ||
           u == 0x200B || u == 0x200E || u == 0x200F || u == 0x2028 || u == 0x2029 ||
           (u >= 0x202A && u <= 0x202E) || (u >= 0x2060 && u <= 0x2064) ||
           (u >= 0x2066 && u <= 0x2069) || u == 0xFEFF;
}

void checkName(const QString& name) {
    check(!name.isEmpty() && name != u"." && name != u".." && !name.startsWith(u'.'));
    check(name.toUtf8().size() <= 255);
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        check(!mustBeMapped(c));
        if (c.isHighSurrogate()) {
            check(i + 1 < name.size() && name[i + 1].isLowSurrogate());
            ++i;
        } else {
            check(!c.isLowSurrogate());
        }
    }
}

void checkOffer(const QString& params) {
    const DccOffer offer = ReadDccOffer(params);
    switch (offer.kind) {
    case DccOfferKind::None:
        check(offer.refusal.isEmpty() && offer.safeName.isEmpty() && offer.address == 0 &&
              offer.port == 0 && offer.size == 0);
        return;
    case DccOfferKind::Chat:
        check(offer.safeName.isEmpty());
        if (offer.refusal.isEmpty())
            check(offer.address != 0 && offer.port != 0);
        return;
    case DccOfferKind::Send:
        if (!offer.safeName.isEmpty())
            checkName(offer.safeName);
        if (offer.refusal.isEmpty())
            check(!offer.safeName.isEmpty() && offer.address != 0 && offer.port != 0 &&
                  offer.size >= 0);
        return;
    }
    check(false);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkOffer(QString::fromUtf8(bytes));
    if (size % 2 == 0) {
        QString units(qsizetype(size / 2), Qt::Uninitialized);
        std::memcpy(units.data(), data, size);
        checkOffer(units);
    }
    return 0;
}
