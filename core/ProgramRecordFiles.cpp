#include "core/ProgramRecordFiles.h"

#include "core/Program.h"
#include "core/ServerEcho.h"
#include "platform/com/ComError.h"

#include <QFileInfo>

bool LoadRecordFile(Program& p, const QString& path, int fieldsPerRecord,
                    RecordFile::Content* content) {
    const QString name = QFileInfo(path).fileName();
    QString reason;
    switch (RecordFile::read(path, fieldsPerRecord, content, &reason)) {
    case RecordFile::Status::Missing:
        return false;
    case RecordFile::Status::Unreadable:
        ServerEcho(p, QStringLiteral("Error: %1 could not be read: %2").arg(name, reason));
        return false;
    case RecordFile::Status::Read:
        break;
    }
    if (content->malformedLines > 0)
        ServerEcho(p, QStringLiteral("Error: ") + QString::number(content->malformedLines) +
                          QStringLiteral(" malformed lines skipped in ") + name);
    return true;
}

bool SaveRecordFile(Program& p, const QString& path, const QList<QStringList>& records) {
    // Whether a failed write leaves a file behind: the writer replaces the
    // file whole or not at all, so the one there before is kept.
    const bool hadFile = QFileInfo::exists(path);
    QString reason;
    if (p.fileWriter(path, RecordFile::format(records), &reason))
        return true;
    QString text = QStringLiteral("Error: ") + QFileInfo(path).fileName() +
                   QStringLiteral(" could not be written");
    if (!reason.isEmpty())
        text += QStringLiteral(" (") + reason + u')';
    text += hadFile ? QStringLiteral("; the previous file is kept.") : QStringLiteral(".");
    ServerEcho(p, text);
    return false;
}

QString DescribeError(const std::exception& error) {
    if (const auto* com = dynamic_cast<const platform::ComError*>(&error)) {
        QString text = QStringLiteral("error %1").arg(com->number());
        if (!com->description().isEmpty())
            text += QStringLiteral(": ") + com->description();
        return text;
    }
    return QString::fromLocal8Bit(error.what());
}
