#pragma once
// One IRC protocol line taken apart: IRCv3 tags (with their escapes undone),
// the source prefix, the command and the parameters (the trailing one without
// its ":"). Pure code on Qt Core, so it can be tested and fuzzed on its own.

#include <QByteArrayView>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace platform {

struct IrcMessage {
    QMap<QString, QString> tags;
    QString source;
    QString command;
    QStringList params;

    // Parses one line without its line end. A line without a command (empty,
    // blanks only, tags or a prefix alone) cannot be parsed and gives nothing;
    // so does a line holding a NUL, which the protocol never carries. A CR
    // inside the line is dropped: it cannot end a line there, and it must
    // not reach the prefix, command or parameters.
    static std::optional<IrcMessage> parse(QStringView line);

    // The text of a line read from the network: UTF-8 when the bytes are valid
    // UTF-8, otherwise Latin-1, so that every byte still shows as a character
    // (DecodeUtf8OrLatin1, as for files).
    static QString decode(QByteArrayView bytes);

    // Undoes the escapes of a tag value: \: ; \s blank, \\ backslash, \r CR,
    // \n LF; a backslash before any other character is dropped, and so is a
    // lone backslash at the end.
    static QString unescapeTagValue(QStringView value);
};

} // namespace platform
