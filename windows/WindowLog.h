#pragma once
// A conversation window's log in the program's logs folder: one line per
// shown line, ended by CR LF. Each line is in the file when append returns.
// The file stays open while lines keep coming and is closed as soon as the
// event loop runs again, so no handle outlives a burst of lines, and a log
// moved or removed meanwhile is made anew by the next line.
//
// The name comes from the network (a channel or a nick): it is mapped to a
// safe name inside logs, matched there without regard to letter case (so
// "#Chan" and "#chan" write one file), and never lands on the server log or
// a DCC chat's "DCC-" file.

#include <QFile>
#include <QObject>
#include <QString>

class WindowLog : public QObject {
    Q_OBJECT
public:
    WindowLog(const QString& programFolder, QObject* parent = nullptr);

    // A DCC chat's log may write the "DCC-" files, which every other log is
    // kept from.
    void setChatLog(bool chat) { m_chatLog = chat; }

    // The file `name` ("chan.log") is written as in the logs folder: empty
    // when no file can be made of the name.
    QString pathFor(const QString& name) const;
    // Appends `line` to the log `name`. False when it could not be written
    // (no logs folder, a name that maps to nothing, a full disk).
    bool append(const QString& name, const QString& line);

private:
    void close();

    QString m_folder;
    bool m_chatLog = false;
    QString m_name;
    QFile m_file;
    bool m_closeQueued = false;
};
