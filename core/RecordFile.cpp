#include "core/RecordFile.h"

#include "core/ProgramFiles.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

// A stray CR (one left by an editor that wrote CR CR LF) counts as a blank.
bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r';
}

} // namespace

bool RecordFile::parseLine(QStringView line, QStringList* fields) {
    fields->clear();
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && isBlank(line[i]))
            ++i;
        QString field;
        if (i < n && line[i] == u'"') {
            // A quoted field: up to the quote that is not doubled.
            ++i;
            bool closed = false;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                field += line[i++];
            }
            if (!closed)
                return false;
            while (i < n && isBlank(line[i]))
                ++i;
        } else {
            // A bare field runs to the next comma; a quote inside it means the
            // line is damaged.
            const qsizetype start = i;
            while (i < n && line[i] != u',') {
                if (line[i] == u'"')
                    return false;
                ++i;
            }
            field = line.mid(start, i - start).trimmed().toString();
        }
        fields->append(field);
        if (i >= n)
            return true;
        if (line[i] != u',')
            return false;
        ++i;
    }
}

RecordFile::Content RecordFile::parse(QByteArrayView bytes, int fieldsPerRecord) {
    Content content;
    QStringList fields;
    const QStringList lines = DecodeLines(bytes);
    for (const QString& line : lines) {
        if (line.trimmed().isEmpty())
            continue;
        if (parseLine(line, &fields) && fields.size() == fieldsPerRecord)
            content.records.append(fields);
        else
            ++content.malformedLines;
    }
    return content;
}

RecordFile::Status RecordFile::read(const QString& path, int fieldsPerRecord, Content* content,
                                    QString* error, QByteArray* original) {
    if (!QFileInfo::exists(path))
        return Status::Missing;
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes, error))
        return Status::Unreadable;
    *content = parse(bytes, fieldsPerRecord);
    if (original != nullptr)
        *original = bytes;
    return Status::Read;
}

QString RecordFile::formatLine(const QStringList& fields) {
    QString line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += u',';
        QString field = fields.at(i);
        field.replace(u'"', QStringLiteral("\"\""));
        field.replace(u'\r', u' ');
        field.replace(u'\n', u' ');
        line += u'"' + field + u'"';
    }
    return line;
}

QByteArray RecordFile::format(const QList<QStringList>& records) {
    QString text;
    for (const QStringList& record : records)
        text += formatLine(record) + QStringLiteral("\r\n");
    return text.toUtf8();
}

bool RecordFile::saveAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    const auto fail = [&] {
        if (error != nullptr)
            *error = file.errorString();
        return false;
    };
    if (!file.open(QIODevice::WriteOnly))
        return fail();
    if (file.write(bytes) != bytes.size()) {
        fail();
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail();
    return true;
}
