#pragma once
// The import of servers from the server list file of another IRC client (a
// servers.ini at a path the user gives). A server line reads, for example,
//   n0=Random serverSERVER:irc.example.net:6660-6669GROUP:ExampleNet
// an index after a lower-case "n", "=", the description, "SERVER:", the host,
// ":", a port or port range and, usually, "GROUP:" and the network's name.
// Everything else in the file (section headers, other keys) is passed over.
// Pure logic: the entries go into a ServerList, and the caller shows what
// went wrong.

#include <QString>
#include <QStringView>

class ServerList;

// The fields of one server line, trimmed of blanks at its ends. Matching is
// case-sensitive.
//
// The description: the text before the first "SERVER:", trimmed, after its
// first "=" (all of it when there is no "="; blanks right after the "=" are
// kept). Empty when the line has no "SERVER:".
QString MircDescription(QStringView line);
// The host: after the last "SERVER:" up to the next ":", or to the end of the
// line when no ":" follows. Empty when the line has no "SERVER:".
QString MircHost(QStringView line);
// The port: after the host's ":" up to "GROUP:" or the end of the line, so a
// range such as 6660-6669 stays whole. Empty when the host has no ":" after it.
QString MircPort(QStringView line);
// The network: the text after the "GROUP:" that ends the port; empty without
// one.
QString MircGroup(QStringView line);

struct MircImport {
    enum class Status {
        Done,
        // The file could not be read: it is missing, or no regular file.
        FileNotFound,
        // The list filled up; the lines after the one that found it full
        // were not read.
        ListFull,
    };
    Status status = Status::Done;
    // Entries added to the list.
    int added = 0;
};

// Adds the server of every line of the file at `path` that begins with "n"
// and holds "SERVER:" with a host after it; other lines are passed over. An
// entry already listed is not added again. Each line is decoded on its own
// (UTF-8, else Latin-1), its end being CR LF, CR or LF.
MircImport ImportMircServers(ServerList& list, const QString& path);
