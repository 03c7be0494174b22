#include "config/ServerList.h"

#include "core/RecordFile.h"

namespace {

bool isBlank(const QString& s) {
    for (QChar c : s) {
        if (c != u' ')
            return false;
    }
    return true;
}

// A field as an entry holds it: without the separator and line breaks.
QString entryField(QString field) {
    field.remove(ServerList::Separator);
    field.remove(u'\r');
    field.remove(u'\n');
    return field;
}

} // namespace

ServerList::ServerList() : m_slots(Capacity + 1) {}

int ServerList::ServerCount() const {
    for (int i = 0; i < m_slots.size(); ++i) {
        if (isBlank(m_slots.at(i)))
            return i;
    }
    return Capacity;
}

bool ServerList::ServerExists(const QString& entry) const {
    const int count = ServerCount();
    for (int i = 0; i <= count && i < m_slots.size(); ++i) {
        if (m_slots.at(i) == entry)
            return true;
    }
    return false;
}

QString ServerList::entry(int index) const {
    return index >= 0 && index < m_slots.size() ? m_slots.at(index) : QString();
}

QString ServerList::GetServerField(int index, const QString& field) const {
    const QString e = entry(index);
    const QString which = field.toUpper();
    const qsizetype first = e.indexOf(Separator);
    const qsizetype second = first < 0 ? -1 : e.indexOf(Separator, first + 1);
    const qsizetype third = second < 0 ? -1 : e.indexOf(Separator, second + 1);
    if (which == u"URL")
        return first < 0 ? QString() : e.left(first);
    if (which == u"PORT")
        return second < 0 ? QString() : e.mid(first + 1, second - first - 1);
    if (which == u"FRIENDLY")
        return third < 0 ? QString() : e.mid(second + 1, third - second - 1);
    if (which == u"STYLE") {
        const qsizetype last = e.lastIndexOf(Separator);
        return last < 0 ? QString() : e.mid(last + 1);
    }
    return QString();
}

void ServerList::clear() {
    m_slots.fill(QString());
}

void ServerList::readFile(const QString& text) {
    readLines(text.split(u'\n'));
}

void ServerList::readLines(const QStringList& lines) {
    clear();
    int next = 0;
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        // An empty line is passed over, and so is one too short to hold its
        // two quotes.
        if (line.size() < 2)
            continue;
        QString value = line.mid(1, line.size() - 2);
        value.replace(QStringLiteral("\"\""), QStringLiteral("\""));
        if (isBlank(value) || next == Capacity)
            break;
        m_slots[next++] = value;
    }
}

ServerList::AddResult ServerList::AddServer(const QString& url, const QString& port,
                                            const QString& friendly, const QString& style) {
    const QString entry =
        QStringList{entryField(url), entryField(port), entryField(friendly), entryField(style)}
            .join(Separator);
    if (ServerExists(entry))
        return AddResult::AlreadyListed;
    const int count = ServerCount();
    if (count == Capacity)
        return AddResult::Full;
    m_slots[count] = entry;
    return AddResult::Added;
}

bool ServerList::remove(int index) {
    if (index < 0 || index >= ServerCount())
        return false;
    m_slots.remove(index);
    m_slots.append(QString());
    return true;
}

QByteArray ServerList::fileBytes() const {
    QList<QStringList> records;
    const int count = ServerCount();
    // The entries, then the marker that ends them.
    for (int i = 0; i <= count; ++i)
        records.append(QStringList{m_slots.at(i)});
    return RecordFile::format(records);
}
