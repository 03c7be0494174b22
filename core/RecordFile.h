#pragma once
// The program's record files (settings.ini, popups.ini and their kin): one
// record a line, each field in double quotes, fields separated by commas,
// lines ended by CR LF (read: CR LF, CR or LF). A double quote inside a field is written doubled
// and read back as one.
//
// Reading goes line by line so that one damaged line costs only itself:
// blank lines are passed over, a field without quotes is taken trimmed, and a
// line that does not hold exactly the expected number of fields, or whose
// quotes do not pair up, is skipped and counted. Writing replaces the file
// atomically: either the whole new file is in place or the old one stays.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class RecordFile {
public:
    struct Content {
        QList<QStringList> records;
        // Lines that were neither blank nor a well-formed record.
        int malformedLines = 0;
    };
    enum class Status { Read, Missing, Unreadable };

    // Writes a whole file; false with a reason in *error when it could not.
    using Writer =
        std::function<bool(const QString& path, const QByteArray& bytes, QString* error)>;

    // The records of a file's bytes, each with `fieldsPerRecord` fields. Each
    // line is decoded on its own (UTF-8, or Latin-1 when that line is not
    // valid UTF-8), so one stray byte costs only its own line's accents.
    static Content parse(QByteArrayView bytes, int fieldsPerRecord);
    // The fields of one line; false when the line is not a well-formed
    // sequence of fields.
    static bool parseLine(QStringView line, QStringList* fields);
    // Reads and parses the file at `path`. Only a regular file is read: a
    // folder, pipe or device there is Unreadable. When it is Unreadable,
    // *error, when given, says why; when it is Read, *original, when given,
    // holds the file's bytes as they were.
    static Status read(const QString& path, int fieldsPerRecord, Content* content,
                       QString* error = nullptr, QByteArray* original = nullptr);

    // One record as a line, without its line end. A line break inside a field
    // is written as a blank, since a record never spans lines.
    static QString formatLine(const QStringList& fields);
    // The whole file: every record followed by CR LF, as UTF-8.
    static QByteArray format(const QList<QStringList>& records);

    // Replaces the file at `path` with `bytes` through QSaveFile, so a failed
    // write leaves the old file as it was.
    static bool saveAtomically(const QString& path, const QByteArray& bytes, QString* error);
};
