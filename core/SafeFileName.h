#pragma once
// The one way a name from the network or the keyboard becomes a file the
// program writes: log files named after channels and nicks, received DCC
// files, alias, profile and window-state names. The name is mapped rather
// than refused:
//
// - blanks around it are dropped; "/", "\", control characters, the
//   invisible characters that can disguise it (bidirectional controls,
//   zero-width and other invisible format characters, the line and paragraph
//   separators) and a leading "." become "_", so the result is one component
//   that stays in its folder, is never "." or ".." nor hidden, and shows as
//   one plain name in a prompt;
// - it is cut to fit the file system's 255 bytes, keeping a short extension;
// - a name that would land on one of the program's own files (compared
//   without regard to letter case, since names in the program folder match
//   that way) gets "_" in front, and when a wildcard for a whole kind of
//   file still matches, its dots become "_" too ("settings.ini" ->
//   "_settings.ini", "x.win" -> "_x_win" against "*.win");
// - with IfExists::NewName an existing entry of that name (any letter case,
//   a dangling link included) is never written over: "name_1.ext",
//   "name_2.ext", ... is chosen instead.
//
// Only a name that is empty once trimmed is refused.

#include <QString>
#include <QStringList>

enum class IfExists {
    Reuse,   // the caller appends to or rewrites its own file (logs, states)
    NewName, // a file from outside never replaces an existing one
};

// The program's fixed files and folders in the program folder: the settings,
// popup and server files, the window-state files of the program's own
// windows, the help program, the executable and its libraries, and the logs
// and cmd folders. For names the program gives its own extension, such as a
// detached query's "<nick>.win" or a profile's "<name>.app".
QStringList ProgramFixedFiles();
// The fixed files plus every window state (*.win) and profile (*.app): for
// files received from outside that land in the program folder.
QStringList ProgramOwnFiles();
// The program's own files in the logs folder (the server log).
QStringList LogFolderFiles();
// The program's own files in the cmd folder (the start-up script).
QStringList CmdFolderFiles();
// The names a file received into `folder` must not take: the program
// folder's own files (ProgramOwnFiles) when `folder` is the program folder
// `programFolder`, those of its cmd or logs folder when it is one of them,
// none elsewhere.
QStringList ReceivedFileReserved(const QString& programFolder, const QString& folder);

// The mapping of one name alone, without looking at a folder or a list:
// trimmed, separators, control and invisible characters and a leading "."
// made "_", cut to fit. Empty only for a name that is empty once trimmed.
QString SafeFileNameComponent(const QString& name);

// The path in `folder` to write for `name`, following the rules above.
// `reservedNames` are names or wildcards ("*", "?") of the folder's own
// files. Empty when the name is empty once trimmed (or when the list
// reserves every candidate). Between this call and the write another file
// may appear; a caller that must not replace one opens the path with
// QIODevice::NewOnly.
QString SafeFileName(const QString& folder, const QString& name, const QStringList& reservedNames,
                     IfExists ifExists);
