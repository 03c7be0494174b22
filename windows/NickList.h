#pragma once
// A channel's nick list: the entries in the list box's order (alphabetical
// without regard to case, on the whole entry with its prefixes) and the
// operations the channel window offers on them. The entries are the truth;
// the list box shows them. A large batch (a names reply) is merged into the
// entries at once and the box refilled once, when control returns to the
// event loop, so a burst of thousands of nicks costs one fill; small changes
// go straight to the box.

#include <QString>
#include <QStringList>

class QListWidget;

class NickList {
public:
    explicit NickList(QListWidget& box);

    void AddNames(const QString& names);
    void RemoveName(const QString& name);
    bool IsONChan(const QString& name) const;
    QString UserChanStat(const QString& name) const;
    void DoMode(const QString& action, const QString& user);
    void clear();

    int count() const { return static_cast<int>(m_entries.size()); }
    const QStringList& entries() const { return m_entries; }

private:
    // Where an entry goes: after every entry that sorts before or with it.
    qsizetype insertionRow(const QString& entry) const;
    // Shows the entries in the box, keeping the selected entry selected.
    void fill();

    QListWidget& m_box;
    QStringList m_entries;
    // The box lags behind the entries until the pending fill runs.
    bool m_fillPending = false;
};
