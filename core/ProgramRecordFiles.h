#pragma once
// The program's record files as the program reads and writes them: damaged
// lines, unreadable files and failed writes are reported in the server
// window, and writes go through the program's file writer.

#include "core/RecordFile.h"

#include <exception>

class Program;

// Reads the record file at `path`. True when the file was read: then
// `content` holds its well-formed records, and a count of skipped lines has
// been shown as "Error: N malformed lines skipped in " & the file name, with
// where the original is kept: a file with skipped lines is copied, as it was,
// to its name with ".bak" (through the program's writer), so that no save
// loses what the reader could not take. A missing file is no error; one that
// exists but cannot be read is reported.
bool LoadRecordFile(Program& program, const QString& path, int fieldsPerRecord,
                    RecordFile::Content* content);

// Replaces the file at `path` with the records. A file there that cannot be
// read, or that has damaged lines and no copy of them can be kept, is not
// replaced; an "Error: " line says so. When the write fails, the old file,
// if there was one, stays as it was; an "Error: " line gives the writer's
// reason and says that the old file is kept only when there was one.
bool SaveRecordFile(Program& program, const QString& path, int fieldsPerRecord,
                    const QList<QStringList>& records);

// What went wrong, for an "Error: " line.
QString DescribeError(const std::exception& error);
