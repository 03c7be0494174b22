#include "platform/window/FileListBox.h"

#include <QDir>
#include <QRegularExpression>

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
    // inside the program folder. A pattern ending in "." asks for names
    // without an extension: "*." lists "greet" and not "startup.ini". Hidden
    // files are left out: a file named ".app" is no appearance profile of
    // the user's.
    struct Filter {
        QRegularExpression name;
        bool withoutExtension;
    };
    QList<Filter> filters;
    for (QString pattern : m_pattern.split(u';', Qt::SkipEmptyParts)) {
        const bool withoutExtension = pattern.endsWith(u'.');
        if (withoutExtension)
            pattern.chop(1);
        filters.append({QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption),
                        withoutExtension});
    }
    QDir dir(m_path);
    dir.setFilter(QDir::Files);
    dir.setSorting(QDir::Name | QDir::IgnoreCase);
    const QStringList names = dir.entryList();
    for (const QString& name : names) {
        for (const Filter& filter : std::as_const(filters)) {
            if (filter.withoutExtension && name.contains(u'.'))
                continue;
            if (filter.name.match(name).hasMatch()) {
                addItem(name);
                break;
            }
        }
    }
}

} // namespace platform
