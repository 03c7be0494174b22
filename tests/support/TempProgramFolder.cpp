#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TempProgramFolder::TempProgramFolder()
    : m_dir(QDir::tempPath() + QStringLiteral("/parlone-XXXXXX")) {}

QString TempProgramFolder::file(const QString& name) const {
    return m_dir.filePath(name);
}

QString TempProgramFolder::write(const QString& name, const QByteArray& content) const {
    const QString path = file(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(content);
    return path;
}

QByteArray TempProgramFolder::read(const QString& name) const {
    QFile f(file(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
