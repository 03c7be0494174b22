#include "core/ProgramFiles.h"

#include "platform/text/DecodeText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QString FindPathNoCase(const QString& folder, const QString& relative) {
    QString current = folder;
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        QString found = part;
        const QDir dir(current);
        if (!dir.exists(part)) {
            const QStringList entries = dir.entryList(QDir::AllEntries | QDir::Hidden |
                                                      QDir::System | QDir::NoDotAndDotDot);
            for (const QString& entry : entries) {
                if (entry.compare(part, Qt::CaseInsensitive) == 0) {
                    found = entry;
                    break;
                }
            }
        }
        current = current.endsWith(u'/') ? current + found : current + u'/' + found;
    }
    return current;
}

QString ProgramFolderPath(const QString& folder, const QString& path) {
    if (QDir::isAbsolutePath(path))
        return path;
    return QDir::cleanPath(FindPathNoCase(folder, path));
}

QString DecodeText(const QByteArray& bytes) {
    return platform::DecodeUtf8OrLatin1(bytes);
}

QStringList DecodeLines(QByteArrayView bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes = bytes.sliced(3);
    QStringList lines;
    const qsizetype n = bytes.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = bytes[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(platform::DecodeUtf8OrLatin1(bytes.sliced(start, i - start)));
        if (c == '\r' && i + 1 < n && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(platform::DecodeUtf8OrLatin1(bytes.sliced(start)));
    return lines;
}

bool OpenRegularFile(QFile& file, const QString& path, QIODevice::OpenMode mode) {
    int flags = O_NONBLOCK | O_CLOEXEC;
    if (mode & QIODevice::WriteOnly) {
        flags |= O_WRONLY | O_CREAT;
        flags |= (mode & QIODevice::Append) ? O_APPEND : O_TRUNC;
    } else {
        flags |= O_RDONLY;
    }
    // Opened first, then checked on the open file itself, so that nothing
    // put at the path between a check and the open is used.
    const int fd = ::open(QFile::encodeName(path).constData(), flags, 0666);
    if (fd < 0)
        return false;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

bool WriteRegularFile(const QString& path, QByteArrayView bytes) {
    QFile file;
    if (!OpenRegularFile(file, path, QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
}

bool ReadFileBytes(const QString& path, QByteArray* bytes, QString* error) {
    const auto fail = [error](const QString& reason) {
        if (error != nullptr)
            *error = reason;
        return false;
    };
    const QFileInfo info(path);
    if (!info.exists())
        return fail(QStringLiteral("no such file"));
    if (!info.isFile())
        return fail(info.isDir() ? QStringLiteral("it is a folder")
                                 : QStringLiteral("it is not a regular file"));
    QFile file;
    if (!OpenRegularFile(file, path, QIODevice::ReadOnly))
        return fail(QStringLiteral("it cannot be opened"));
    *bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(file.errorString());
    return true;
}

bool ReadTextFile(const QString& path, QString* text) {
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes))
        return false;
    *text = DecodeText(bytes);
    return true;
}

bool AppendToFile(const QString& path, QByteArrayView bytes) {
    QFile file;
    if (!OpenRegularFile(file, path, QIODevice::WriteOnly | QIODevice::Append))
        return false;
    return file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
}
