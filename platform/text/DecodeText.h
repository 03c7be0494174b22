#pragma once
// Text from outside the program (a line from the network, a file on disk):
// UTF-8 when the bytes are valid UTF-8, otherwise Latin-1, so that every
// byte still shows as a character. A UTF-8 byte order mark at the start is
// left out. Qt Core only, for the pure code as much as for the widgets.

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>

namespace platform {

inline QString DecodeUtf8OrLatin1(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (utf8.hasError())
        return QString::fromLatin1(bytes);
    return text;
}

} // namespace platform
