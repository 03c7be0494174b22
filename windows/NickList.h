#pragma once
// A channel's nick list: the entries in the list box's order (alphabetical
// without regard to case, on the whole entry with its prefixes) and the
// operations the channel window offers on them. The entries are the truth;
// the list box shows them. An index from each nick to its entries answers
// the look-ups, so a member's quit or rename costs little in a large channel.
// A large batch (a names reply), and any change beyond the first few within
// one turn of the event loop (a netsplit), reach the box by one refill when
// control returns to the event loop; counts and look-ups are exact at once.

#include <QHash>
#include <QString>
#include <QStringList>

class Program;
class QListWidget;

class NickList {
public:
    // The status symbols are the server's (Program::serverSyntax).
    NickList(QListWidget& box, const Program& program);

    void AddNames(const QString& names);
    void RemoveName(const QString& name);
    bool IsONChan(const QString& name) const;
    QString UserChanStat(const QString& name) const;
    void DoMode(const QString& action, const QString& user);
    void clear();

    int count() const { return static_cast<int>(m_entries.size()); }
    const QStringList& entries() const { return m_entries; }
    // True while the box lags behind the entries (a refill is pending).
    bool boxLags() const { return m_fillPending; }

private:
    // Where an entry goes: after every entry that sorts before or with it.
    qsizetype insertionRow(const QString& entry) const;
    // The index key of a nick, and of the nick of an entry.
    static QString keyOf(QStringView nick);
    QString entryKey(const QString& entry) const;
    // The index, rebuilt when the server's status symbols have changed.
    QHash<QString, QStringList>& index() const;
    // Whether one more change goes straight to the box; when not, the box
    // is refilled on the next turn.
    bool boxFollows();
    void scheduleFill();
    // Shows the entries in the box, keeping the selected entry selected.
    void fill();

    QListWidget& m_box;
    const Program& m_program;
    QStringList m_entries;
    // Nick (case-folded, without status) to its entries, as listed.
    mutable QHash<QString, QStringList> m_index;
    // The status symbols the index was built with.
    mutable QString m_indexedSymbols;
    // The box lags behind the entries until the pending fill runs.
    bool m_fillPending = false;
    // Changes that went to the box in this turn of the event loop.
    int m_turnChanges = 0;
};
