#include "windows/NickList.h"

#include "core/TextUtils.h"

#include <QListWidget>

#include <algorithm>

namespace {

// Up to this many names go into the box one by one; more are one fill.
constexpr qsizetype kLargestDirectBatch = 8;

bool sortsBefore(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

bool matches(const QString& entry, const QString& name) {
    return NickWithoutStatus(entry).compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

NickList::NickList(QListWidget& box) : m_box(box) {}

qsizetype NickList::insertionRow(const QString& entry) const {
    return std::upper_bound(m_entries.cbegin(), m_entries.cend(), entry, sortsBefore) -
           m_entries.cbegin();
}

void NickList::AddNames(const QString& names) {
    QStringList words = names.split(u' ', Qt::SkipEmptyParts);
    if (words.size() <= kLargestDirectBatch) {
        for (const QString& word : std::as_const(words)) {
            const qsizetype row = insertionRow(word);
            m_entries.insert(row, word);
            if (!m_fillPending)
                m_box.insertItem(static_cast<int>(row), word);
        }
        return;
    }
    // Merge the sorted batch in, the entries already listed first among equals.
    std::stable_sort(words.begin(), words.end(), sortsBefore);
    const qsizetype before = m_entries.size();
    m_entries.append(words);
    std::inplace_merge(m_entries.begin(), m_entries.begin() + before, m_entries.end(), sortsBefore);
    if (!m_fillPending) {
        m_fillPending = true;
        // The box belongs to the window that owns this list, so the call is
        // dropped with them.
        QMetaObject::invokeMethod(
            &m_box, [this] { fill(); }, Qt::QueuedConnection);
    }
}

void NickList::fill() {
    m_fillPending = false;
    const QListWidgetItem* current = m_box.currentItem();
    const QString selected = current ? current->text() : QString();
    m_box.clear();
    m_box.addItems(m_entries);
    if (!selected.isEmpty()) {
        const qsizetype row = m_entries.indexOf(selected);
        if (row >= 0)
            m_box.setCurrentRow(static_cast<int>(row));
    }
}

void NickList::RemoveName(const QString& name) {
    for (qsizetype row = m_entries.size() - 1; row >= 0; --row) {
        if (!matches(m_entries.at(row), name))
            continue;
        m_entries.removeAt(row);
        if (!m_fillPending)
            delete m_box.takeItem(static_cast<int>(row));
    }
}

void NickList::clear() {
    m_entries.clear();
    m_box.clear();
}

bool NickList::IsONChan(const QString& name) const {
    return std::any_of(m_entries.cbegin(), m_entries.cend(),
                       [&name](const QString& entry) { return matches(entry, name); });
}

QString NickList::UserChanStat(const QString& name) const {
    for (const QString& entry : m_entries) {
        if (matches(entry, name))
            return NickStatusOf(entry);
    }
    return {};
}

void NickList::DoMode(const QString& action, const QString& user) {
    if (!IsONChan(user))
        return;
    // The highest status decides; "~" and "&" rank above an operator and no
    // operator or voice change touches them, "%" ranks below an operator.
    const QString status = UserChanStat(user);
    const QChar top = status.isEmpty() ? QChar() : status.front();
    const QString change = action.toLower();
    QString entry;
    if (change == u"+o" && (status.isEmpty() || top == u'+' || top == u'%'))
        entry = u'@' + user;
    else if (change == u"-o" && top == u'@')
        entry = user;
    else if (change == u"-o" && top == u'^')
        entry = u'+' + user;
    else if (change == u"+v" && (status.isEmpty() || top == u'@'))
        entry = u'+' + user;
    else if (change == u"-v" && top == u'+')
        entry = user;
    else
        return;
    RemoveName(user);
    AddNames(entry);
}
