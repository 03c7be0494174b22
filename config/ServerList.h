#pragma once
// The list of IRC servers to choose from. Each entry is one string of four
// fields joined by character 21: URL, port, friendly name and network style.
// The list is the run of slots from 0 up to the first slot that is blank after
// trimming spaces; that slot is the end marker and its index the count.

#include <QList>
#include <QString>

class ServerList {
public:
    static constexpr int Capacity = 10000;
    static constexpr QChar Separator = QChar(21);

    ServerList();

    int ServerCount() const;
    bool ServerExists(const QString& entry) const;
    // "URL", "PORT", "FRIENDLY" or "STYLE" (any case) of entry `index`.
    QString GetServerField(int index, const QString& field) const;
    QString entry(int index) const;

    // Replaces the list with the entries of servers.ini's lines: each line but
    // empty ones loses its first and last character (the quotes) and fills the
    // next slot; a doubled quote inside reads back as one.
    void readLines(const QStringList& lines);
    // The same for a whole text, its lines ended by CR LF or LF.
    void readFile(const QString& text);
    void clear();

private:
    QList<QString> m_slots;
};
