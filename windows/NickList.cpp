#include "windows/NickList.h"

#include "core/Program.h"

#include <QListWidget>

#include <algorithm>

namespace {

// Up to this many changes a turn go into the box one by one; more are one fill.
constexpr int kLargestDirectBatch = 8;

bool sortsBefore(const QString& a, const QString& b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

} // namespace

NickList::NickList(QListWidget& box, const Program& program) : m_box(box), m_program(program) {}

QString NickList::keyOf(QStringView nick) {
    return nick.toString().toCaseFolded();
}

QString NickList::entryKey(const QString& entry) const {
    return keyOf(QStringView(entry).sliced(m_program.serverSyntax().statusLength(entry)));
}

QHash<QString, QStringList>& NickList::index() const {
    const QString& symbols = m_program.serverSyntax().prefixSymbols();
    if (symbols != m_indexedSymbols) {
        m_indexedSymbols = symbols;
        m_index.clear();
        for (const QString& entry : m_entries)
            m_index[entryKey(entry)].append(entry);
    }
    return m_index;
}

qsizetype NickList::insertionRow(const QString& entry) const {
    return std::upper_bound(m_entries.cbegin(), m_entries.cend(), entry, sortsBefore) -
           m_entries.cbegin();
}

bool NickList::boxFollows() {
    if (m_fillPending)
        return false;
    if (++m_turnChanges == 1) {
        // The box belongs to the window that owns this list, so the call is
        // dropped with them.
        QMetaObject::invokeMethod(
            &m_box, [this] { m_turnChanges = 0; }, Qt::QueuedConnection);
    }
    if (m_turnChanges <= kLargestDirectBatch)
        return true;
    scheduleFill();
    return false;
}

void NickList::scheduleFill() {
    if (m_fillPending)
        return;
    m_fillPending = true;
    QMetaObject::invokeMethod(
        &m_box, [this] { fill(); }, Qt::QueuedConnection);
}

void NickList::AddNames(const QString& names) {
    QStringList words = names.split(u' ', Qt::SkipEmptyParts);
    QHash<QString, QStringList>& byNick = index();
    for (const QString& word : std::as_const(words))
        byNick[entryKey(word)].append(word);
    if (words.size() <= kLargestDirectBatch) {
        for (const QString& word : std::as_const(words)) {
            const qsizetype row = insertionRow(word);
            m_entries.insert(row, word);
            if (boxFollows())
                m_box.insertItem(static_cast<int>(row), word);
        }
        return;
    }
    // Merge the sorted batch in, the entries already listed first among equals.
    std::stable_sort(words.begin(), words.end(), sortsBefore);
    const qsizetype before = m_entries.size();
    m_entries.append(words);
    std::inplace_merge(m_entries.begin(), m_entries.begin() + before, m_entries.end(), sortsBefore);
    scheduleFill();
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
    QHash<QString, QStringList>& byNick = index();
    const auto found = byNick.find(keyOf(name));
    if (found == byNick.end())
        return;
    const QStringList listed = found.value();
    byNick.erase(found);
    // Every entry equal to one of the nick's, without regard to case, is one
    // of the nick's: same status, same nick.
    for (const QString& entry : listed) {
        const auto [first, last] =
            std::equal_range(m_entries.begin(), m_entries.end(), entry, sortsBefore);
        const auto row = static_cast<int>(first - m_entries.begin());
        const auto rows = static_cast<int>(last - first);
        if (rows == 0)
            continue;
        m_entries.erase(first, last);
        for (int i = rows - 1; i >= 0; --i) {
            if (boxFollows())
                delete m_box.takeItem(row + i);
        }
    }
}

void NickList::clear() {
    m_entries.clear();
    m_index.clear();
    m_box.clear();
}

bool NickList::IsONChan(const QString& name) const {
    return index().contains(keyOf(name));
}

QString NickList::UserChanStat(const QString& name) const {
    const QHash<QString, QStringList>& byNick = index();
    const auto found = byNick.constFind(keyOf(name));
    if (found == byNick.cend() || found->isEmpty())
        return {};
    // The first of the nick's entries in the list's order.
    const QString& first = *std::min_element(found->cbegin(), found->cend(), sortsBefore);
    return m_program.serverSyntax().statusOf(first);
}

void NickList::DoMode(const QString& action, const QString& user) {
    if (!IsONChan(user))
        return;
    // The highest status decides, ranked as the server's PREFIX lists them:
    // an operator change leaves a status above an operator ("~", "&") alone
    // and replaces one below ("%", "+").
    const platform::IrcServerSyntax& syntax = m_program.serverSyntax();
    const QChar op = syntax.symbolOfMode(u'o');
    const QChar voice = syntax.symbolOfMode(u'v');
    const QString status = UserChanStat(user);
    const QChar top = status.isEmpty() ? QChar() : status.front();
    const QString change = action.toLower();
    QString entry;
    if (change == u"+o" && !op.isNull() &&
        (status.isEmpty() || syntax.rankOf(top) > syntax.rankOf(op)))
        entry = op + user;
    else if (change == u"-o" && !op.isNull() && top == op)
        entry = user;
    else if (change == u"+v" && !voice.isNull() && (status.isEmpty() || top == op))
        entry = voice + user;
    else if (change == u"-v" && !voice.isNull() && top == voice)
        entry = user;
    else
        return;
    RemoveName(user);
    AddNames(entry);
}
