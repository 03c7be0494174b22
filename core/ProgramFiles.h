#pragma once
// Files of the program folder: names are matched without regard to letter
// case (so "cmd" and "CMD" are one folder), and text files are read as UTF-8,
// or as Latin-1 when they are not valid UTF-8.

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QString>
#include <QStringList>

class QFile;

// The path of `relative` (components separated by "/") under `folder`, each
// component replaced by an existing entry whose name differs only in letter
// case; components that do not exist keep their spelling.
QString FindPathNoCase(const QString& folder, const QString& relative);

// Where `path` points when the program is told it: an absolute path as it
// is, a relative one under `folder` (the program folder), its components
// matched as FindPathNoCase does, never under the working folder the program
// happened to start in.
QString ProgramFolderPath(const QString& folder, const QString& path);

// Text of a file's bytes: UTF-8 when valid, Latin-1 otherwise.
QString DecodeText(const QByteArray& bytes);

// The lines of a text file's bytes. A line ends at CR LF, CR or LF; the end
// of the last line starts no line of its own, and a UTF-8 byte order mark at
// the start is left out. Each line is decoded on its own (UTF-8 when valid,
// Latin-1 otherwise), so a stray byte costs only its own line.
QStringList DecodeLines(QByteArrayView bytes);

// Opens the file at `path` without waiting and keeps it open only when it is
// a regular file: a pipe with nobody at its other end would keep a plain open
// (or the first read or write) waiting for ever, and a device is no file.
// `mode` is ReadOnly, or WriteOnly with Truncate or Append (the file is
// created when absent). False when nothing was opened.
bool OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode);

// Writes `bytes` as the whole content of the file at `path`, created when
// absent; only a regular file is written to. False when it was not written.
bool WriteRegularFile(const QString& path, QByteArrayView bytes);

// Reads a whole regular file. False when `path` names none: a folder, a pipe
// or a device (a pipe with no writer would keep the open waiting for ever),
// or a file that cannot be opened or read; then *error, when given, says
// why.
bool ReadFileBytes(const QString& path, QByteArray* bytes, QString* error = nullptr);

// Reads a whole text file (a regular file only, as ReadFileBytes); false
// when it cannot be read.
bool ReadTextFile(const QString& path, QString* text);

// Appends bytes to the file at `path`, which is created when absent. Only a
// regular file is written to: a pipe at the path would keep the write waiting
// for a reader, and a device is no log. False when nothing was written.
bool AppendToFile(const QString& path, QByteArrayView bytes);
