#pragma once
// Small text and file routines shared by every subsystem: the word splitter
// that command and event handling rest on, the splitter of mode strings into
// two-character pieces, the remover of colour and attribute codes, nickname
// and address routines, the block-list test, file name and size, and the
// duration text. Pure logic on Qt Core.

#include "core/WordArray.h"

#include <QString>
#include <QStringList>

// Splits `text` at every single blank into `words` (0-based): two blanks in a
// row give an empty word between them, a leading or trailing blank an empty
// first or last word, an empty text one empty word. Only the blank separates;
// tabs stay inside words. Returns the index of the last word.
qsizetype SplitWords(WordArray& words, const QString& text);

// Cuts `text` into two-character pieces from index 1 of `pairs` (index 0 stays
// empty); an odd length leaves a one-character last piece. Returns the number
// of pieces, so pieces 1 to the result are filled.
qsizetype SplitPairs(WordArray& pairs, const QString& text);

// The colour code that starts right after a Chr(3) at `pos`, read the way the
// console renders it: one or two digits of foreground, then optionally ","
// and up to two digits of background. A "," after the foreground is part of
// the code even without digits after it; a third digit is not. Without a
// digit at `pos` the code is bare: nothing after the Chr(3) belongs to it.
struct ColorCode {
    int fore = -1;        // -1: bare code
    int back = -1;        // -1: no background given
    qsizetype length = 0; // characters after the Chr(3) that belong to the code
};
ColorCode ReadColorCode(const QString& text, qsizetype pos);

// The text without its colour codes (Chr(3) with the characters the code
// takes, and one CR or LF right after them) and without any other character
// below 32 except CR and LF.
QString StripColorCodes(const QString& text);

// Trims `nick` and removes one leading "@", "+" or "-"; the result is also
// written back to `nick`.
QString StripNickPrefix(QString& nick);

// The user-and-host part of nick!user@host: everything after the first "!";
// empty when there is no "!" or it is the last character.
QString GetUserHost(const QString& mask);

// True when an entry of `blocked`, compared in lower case, equals `nick` or
// is "*". No block kind restricts a match, so `kind` is not consulted.
bool IsBlocked(const QStringList& blocked, const QString& nick, const QString& kind = QString());

// The last component of a path, separated by "/" or "\"; the whole path when
// it has neither.
QString GetFileName(const QString& path);

// The length in bytes of the file at `path`; -1 when it is no regular file
// (a folder, a pipe, a device) or cannot be opened for reading.
qint64 GetFileSize(const QString& path);

// A number of seconds as "<m> mins and <s> secs". The number is a whole,
// non-negative decimal that fits 64 bits (blanks around it allowed); anything
// else, such as "abc", "-5", "12.5" or "1e300", counts as 0.
QString FormatDuration(const QString& number);
