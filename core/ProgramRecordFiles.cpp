#include "core/ProgramRecordFiles.h"

#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ServerEcho.h"
#include "platform/com/ComError.h"

#include <QFileInfo>

namespace {

// Where the copy of a damaged file is kept: its name with ".bak", in its
// folder.
QString copyPath(const QString& path) {
    const QFileInfo info(path);
    return FindPathNoCase(info.path(), info.fileName() + QStringLiteral(".bak"));
}

// Keeps `original`, the bytes of a damaged file, as its copy, through the
// program's writer. A copy that already holds these bytes is left alone.
bool keepCopy(Program& p, const QString& copy, const QByteArray& original, QString* reason) {
    QByteArray held;
    if (ReadFileBytes(copy, &held) && held == original)
        return true;
    return p.fileWriter(copy, original, reason);
}

QString withReason(const QString& text, const QString& reason) {
    return reason.isEmpty() ? text : text + QStringLiteral(": ") + reason;
}

// Whether the file at `path` may be replaced. A file that cannot be read is
// never replaced, since nothing of it could be saved first; one with lines
// the reader skipped is replaced only once a copy of it is kept. Otherwise
// the save would put a file with less in it in the place of the user's.
bool mayReplace(Program& p, const QString& path, int fieldsPerRecord, QString* why) {
    if (!QFileInfo::exists(path))
        return true;
    QByteArray original;
    QString reason;
    if (!ReadFileBytes(path, &original, &reason)) {
        *why = withReason(QStringLiteral("it could not be read"), reason);
        return false;
    }
    if (RecordFile::parse(original, fieldsPerRecord).malformedLines == 0)
        return true;
    const QString copy = copyPath(path);
    if (keepCopy(p, copy, original, &reason))
        return true;
    *why = withReason(QStringLiteral("no copy of its damaged lines could be kept as ") +
                          QFileInfo(copy).fileName(),
                      reason);
    return false;
}

} // namespace

bool LoadRecordFile(Program& p, const QString& path, int fieldsPerRecord,
                    RecordFile::Content* content) {
    const QString name = QFileInfo(path).fileName();
    QString reason;
    QByteArray original;
    switch (RecordFile::read(path, fieldsPerRecord, content, &reason, &original)) {
    case RecordFile::Status::Missing:
        return false;
    case RecordFile::Status::Unreadable:
        ServerEcho(p, QStringLiteral("Error: %1 could not be read: %2 (it is not replaced while it "
                                     "cannot be read)")
                          .arg(name, reason));
        return false;
    case RecordFile::Status::Read:
        break;
    }
    if (content->malformedLines > 0) {
        // The next save would drop the skipped lines: the original is kept
        // first, so that the user can take back what the reader could not.
        const QString copy = copyPath(path);
        const QString copyName = QFileInfo(copy).fileName();
        QString text = QStringLiteral("Error: ") + QString::number(content->malformedLines) +
                       QStringLiteral(" malformed lines skipped in ") + name;
        if (keepCopy(p, copy, original, &reason))
            text += QStringLiteral(" (the original is kept as ") + copyName + u')';
        else
            text +=
                QStringLiteral(" (") +
                withReason(QStringLiteral("no copy of the original could be kept as ") + copyName,
                           reason) +
                QStringLiteral("; ") + name + QStringLiteral(" is not replaced until one is)");
        ServerEcho(p, text);
    }
    return true;
}

bool SaveRecordFile(Program& p, const QString& path, int fieldsPerRecord,
                    const QList<QStringList>& records) {
    const QString name = QFileInfo(path).fileName();
    QString reason;
    if (!mayReplace(p, path, fieldsPerRecord, &reason)) {
        ServerEcho(p, QStringLiteral("Error: ") + name +
                          QStringLiteral(" was not written, to keep the file there: ") + reason +
                          u'.');
        return false;
    }
    // Whether a failed write leaves a file behind: the writer replaces the
    // file whole or not at all, so the one there before is kept.
    const bool hadFile = QFileInfo::exists(path);
    reason.clear();
    if (p.fileWriter(path, RecordFile::format(records), &reason))
        return true;
    QString text = QStringLiteral("Error: ") + name + QStringLiteral(" could not be written");
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
