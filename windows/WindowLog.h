#pragma once
// A conversation window's log in the program's logs folder: one line per
// shown line, ended by CR LF. The lines of one event-loop turn are gathered
// and go out when the turn ends, in one write per file and in the order they
// were shown, also when two windows share a file (a channel "#x" and the
// query "x" both write x.log). The file is opened only for that write, so no
// handle outlives a turn, and a log moved or removed meanwhile is made anew.
//
// The name comes from the network (a channel or a nick): it is mapped to a
// safe name inside logs, matched there without regard to letter case (so
// "#Chan" and "#chan" write one file), and never lands on the server log or
// a DCC chat's "DCC-" file. A window maps its name once and again only after
// a write failed.

#include <QObject>
#include <QString>

class WindowLog : public QObject {
    Q_OBJECT
public:
    WindowLog(const QString& programFolder, QObject* parent = nullptr);
    // What the logs hold is written first.
    ~WindowLog() override;

    // A DCC chat's log may write the "DCC-" files, which every other log is
    // kept from.
    void setChatLog(bool chat) { m_chatLog = chat; }

    // The file `name` ("chan.log") is written as in the logs folder: empty
    // when no file can be made of the name.
    QString pathFor(const QString& name) const;
    // Appends `line` to the log `name` when the turn ends. False when the
    // name maps to no file.
    bool append(const QString& name, const QString& line);
    // Writes the lines every log holds now. A file that is not a regular
    // file (or cannot be made) is not written to.
    static void writePending();

private:
    QString m_folder;
    bool m_chatLog = false;
    QString m_name;
    QString m_path;
    quint64 m_failures = 0;
};
