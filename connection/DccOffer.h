#pragma once
// DCC offers as other users send them in a CTCP DCC request, read and
// checked before anything is put to the user:
//
//   CHAT chat <address word> <port>
//   SEND <file name> <address word> <port> <size>
//
// The file name may be quoted ("a b.txt") when it holds blanks. An offer is
// refused when its address word is 0 or no 32-bit number, its port is not
// from 1 to 65535, its size is no whole number from 0 up, or its file name
// leaves nothing once made safe. "CHAT accept ..." (the reply some clients
// give to an offer) and any other kind are no offer at all.

#include <QString>
#include <QStringView>

enum class DccOfferKind { None, Chat, Send };

struct DccOffer {
    DccOfferKind kind = DccOfferKind::None;
    // Why the offer is refused; empty for one that may be put to the user.
    QString refusal;
    // The file name as offered, without its quotes.
    QString fileName;
    // Its last path component made safe to write, and the name the user is
    // shown: never empty in an offer that is not refused.
    QString safeName;
    quint32 address = 0;
    quint16 port = 0;
    qint64 size = 0;
    // The words as received, for the prompt.
    QString sizeWord;
};

// Reads the parameters of a CTCP DCC request.
DccOffer ReadDccOffer(QStringView params);

// Why a nick cannot be the other side of a DCC chat or transfer: empty, a
// query tag ("?"), a channel (a first character in `channelTypes`), a list
// of nicks (a ","), or the tag of one of the program's own windows
// ("Server", "Notify", "Alias", "Popups" in any case). Empty when it can.
QString DccNickRefusal(const QString& nick, QStringView channelTypes);
