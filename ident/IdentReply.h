#pragma once
// The ident answer to one query line, as pure code: a line in, a reply out.
//
// A query is two port numbers (1 to 65535) around a ",", blanks allowed, e.g.
// "6193, 23". It is answered with the pair echoed as it arrived:
//   6193, 23 : USERID : UNIX : alice
// Anything else is answered with what arrived and the error form:
//   what arrived : ERROR : INVALID-PORT
// Every reply is one line ended by a single LF, which the ident clients of
// IRC servers read up to.

#include "ostrane_export.h"

#include <QByteArray>
#include <QString>

namespace IdentReply {

// The longest query line taken, in bytes without its line end.
constexpr qsizetype MaxLineBytes = 1000;

// `line` is one received line, with or without its line end (LF or CR LF).
// CR, LF and NUL never reach the reply from the line, `System` or `UserID`;
// an error reply echoes at most MaxLineBytes of the line.
OSTRANE_EXPORT QByteArray reply(QByteArray line, const QString& System, const QString& UserID);

} // namespace IdentReply
