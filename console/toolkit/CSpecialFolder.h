#pragma once
// The path of a shell special folder, chosen by its number.

#include <QString>

class CSpecialFolder {
public:
    qint32 SpecialFolder() const { return m_specialFolder; }
    void setSpecialFolder(qint32 folder) { m_specialFolder = folder; }

    // The folder's path as the shell gives it, "" when it gives none.
    QString GetSpecialFolderPath() const;

private:
    qint32 m_specialFolder = 0;
};
