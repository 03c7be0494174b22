#include "core/ProgramRecordFiles.h"

#include "core/Program.h"
#include "core/ServerEcho.h"
#include "platform/com/ComError.h"

#include <QFile>
#include <QFileInfo>

bool LoadRecordFile(Program& p, const QString& path, int fieldsPerRecord,
                    RecordFile::Content* content) {
    const QString name = QFileInfo(path).fileName();
    switch (RecordFile::read(path, fieldsPerRecord, content)) {
    case RecordFile::Status::Missing:
        return false;
    case RecordFile::Status::Unreadable: {
        QFile file(path);
        const QString reason = file.open(QIODevice::ReadOnly) ? QString() : file.errorString();
        ServerEcho(p, QStringLiteral("Error: %1 could not be read: %2").arg(name, reason));
        return false;
    }
    case RecordFile::Status::Read:
        break;
    }
    if (content->malformedLines > 0)
        ServerEcho(p, QStringLiteral("Error: ") + QString::number(content->malformedLines) +
                          QStringLiteral(" malformed lines skipped in ") + name);
    return true;
}

bool SaveRecordFile(Program& p, const QString& path, const QList<QStringList>& records) {
    QString reason;
    if (p.fileWriter(path, RecordFile::format(records), &reason))
        return true;
    ServerEcho(p, QStringLiteral("Error: %1 could not be written (%2); the previous file is kept.")
                      .arg(QFileInfo(path).fileName(), reason));
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
