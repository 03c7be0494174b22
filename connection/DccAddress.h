#pragma once
// The address word of DCC offers: an IPv4 address as one unsigned 32-bit
// number in decimal, the first octet most significant (a.b.c.d is
// a*16777216 + b*65536 + c*256 + d).

#include <QString>
#include <QStringView>

#include <optional>

// The address word of a dotted IPv4 address ("192.168.0.1" gives
// "3232235521"); "" for text that is no dotted IPv4 address.
QString EncodeIPAddr(const QString& ip);
// The dotted address of an address word; "0.0.0.0" for a word that is empty,
// not a whole number from 0 up, or beyond 32 bits.
QString LongIP2Dotted(const QString& number);
// The number of an address word, when it is one: decimal digits alone,
// within 32 bits.
std::optional<quint32> DccAddressNumber(QStringView word);
