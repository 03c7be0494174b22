#pragma once
// The list of IRC servers to choose from. Each entry is one string of four
// fields joined by character 21: URL, port, friendly name and network style.
// The list is the run of slots from 0 up to the first slot that is blank after
// trimming spaces; that slot is the end marker and its index the count. The
// last slot is always a marker, so the list holds at most Capacity entries.

#include <QByteArray>
#include <QList>
#include <QString>

class ServerList {
public:
    static constexpr int Capacity = 10000;
    static constexpr QChar Separator = QChar(21);

    ServerList();

    int ServerCount() const;
    // Whether an entry equal to `entry` (letter case counting) is listed.
    bool ServerExists(const QString& entry) const;
    // "URL", "PORT", "FRIENDLY" or "STYLE" (any case) of entry `index`.
    QString GetServerField(int index, const QString& field) const;
    QString entry(int index) const;

    enum class AddResult { Added, AlreadyListed, Full };
    // Appends the entry of the four fields, each without character 21, CR and
    // LF (which would break the entry or its line in servers.ini); otherwise
    // they are kept as given. An entry already listed is not added again.
    AddResult AddServer(const QString& url, const QString& port, const QString& friendly,
                        const QString& style);
    // Removes entry `index`; the entries after it move up one place. False,
    // changing nothing, when there is no such entry.
    bool remove(int index);

    // Replaces the list with the entries of servers.ini's lines: each line but
    // empty ones loses its first and last character (the quotes) and fills the
    // next slot; a doubled quote inside reads back as one. Reading stops at
    // the end marker (a line that is blank inside its quotes) and once the
    // list is full, so lines after the marker are never taken in.
    void readLines(const QStringList& lines);
    // The same for a whole text, its lines ended by CR LF or LF.
    void readFile(const QString& text);
    void clear();

    // servers.ini's bytes: each entry and then the end marker, in double
    // quotes (a quote inside doubled), one a line.
    QByteArray fileBytes() const;

private:
    QList<QString> m_slots;
};
