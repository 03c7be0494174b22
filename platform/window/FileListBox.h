#pragma once
// A list of the files of one folder that match a pattern, sorted by name;
// hidden files are left out.

#include "platform_export.h"

#include <QListWidget>

namespace platform {

class PLATFORM_EXPORT FileListBox : public QListWidget {
    Q_OBJECT
public:
    explicit FileListBox(QWidget* parent = nullptr);

    QString Path() const { return m_path; }
    // Setting the path re-reads the folder.
    void setPath(const QString& path);
    QString Pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    int ListCount() const { return count(); }
    QString List(int index) const;
    void Refresh();

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

} // namespace platform
