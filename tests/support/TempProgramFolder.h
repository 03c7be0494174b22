#pragma once
// A fresh, empty program folder for one test, removed afterwards.

#include <QString>
#include <QTemporaryDir>

class TempProgramFolder {
public:
    TempProgramFolder();
    bool isValid() const { return m_dir.isValid(); }
    QString path() const { return m_dir.path(); }
    // Absolute path of a name inside the folder.
    QString file(const QString& name) const;
    // Writes a file (folders are created as needed) and returns its path.
    QString write(const QString& name, const QByteArray& content) const;
    QByteArray read(const QString& name) const;

private:
    QTemporaryDir m_dir;
};
