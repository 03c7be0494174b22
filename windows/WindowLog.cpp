#include "windows/WindowLog.h"

#include "core/ProgramFiles.h"
#include "core/SafeFileName.h"

#include <QFileInfo>

WindowLog::WindowLog(const QString& programFolder, QObject* parent)
    : QObject(parent), m_folder(programFolder) {}

QString WindowLog::pathFor(const QString& name) const {
    const QString logs = FindPathNoCase(m_folder, QStringLiteral("logs"));
    QStringList reserved = LogFolderFiles();
    if (!m_chatLog)
        reserved << QStringLiteral("DCC-*");
    const QString safe = SafeFileName(QString(), name, reserved, IfExists::Reuse);
    return safe.isEmpty() ? QString() : FindPathNoCase(logs, safe);
}

bool WindowLog::append(const QString& name, const QString& line) {
    if (!m_file.isOpen() || name != m_name) {
        close();
        const QString path = pathFor(name);
        // Only a regular file (or none yet): a pipe there would hold the
        // open until someone reads it.
        if (path.isEmpty() ||
            !OpenRegularFile(m_file, path,
                             QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
            return false;
        m_name = name;
    }
    if (!m_closeQueued) {
        m_closeQueued = true;
        QMetaObject::invokeMethod(this, &WindowLog::close, Qt::QueuedConnection);
    }
    const QByteArray bytes = (line + QStringLiteral("\r\n")).toUtf8();
    return m_file.write(bytes) == bytes.size();
}

void WindowLog::close() {
    m_closeQueued = false;
    m_file.close();
}
