#include "platform/window/FileListBox.h"

#include <QDir>

namespace platform {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {}

void FileListBox::setPath(const QString& path) {
    m_path = path;
    Refresh();
}

void FileListBox::setPattern(const QString& pattern) {
    m_pattern = pattern;
    Refresh();
}

QString FileListBox::List(int index) const {
    const QListWidgetItem* it = item(index);
    return it ? it->text() : QString();
}

void FileListBox::Refresh() {
    clear();
    if (m_path.isEmpty())
        return;
    // Patterns match names without regard to letter case, as file names do
    // inside the program folder. Hidden files are left out: a file named
    // ".app" is no appearance profile of the user's.
    QDir dir(m_path);
    dir.setNameFilters(m_pattern.split(u';', Qt::SkipEmptyParts));
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    dir.setPath(m_path);
    addItems(dir.entryList());
}

} // namespace platform
