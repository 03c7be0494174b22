#include "core/mod_kernel.h"

#include "connection/frm_main.h"
#include "core/CommandContext.h"
#include "core/CommandTable.h"
#include "core/ExpandLine.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

namespace {

// A script name is one path component: no separator, no control character,
// and not "." or ".." as a whole (dots inside a name are fine).
bool isScriptName(const QString& name) {
    if (name.isEmpty() || name == u"." || name == u"..")
        return false;
    for (const QChar c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

// The script of that name in the cmd folder, matched without regard to
// letter case; "" when the name is no script name or names no regular file.
QString findScript(const Program& p, const QString& name) {
    if (!isScriptName(name))
        return {};
    const QFileInfo info(FindPathNoCase(p.folder(), QStringLiteral("cmd/") + name));
    return info.isFile() ? info.absoluteFilePath() : QString();
}

// The lines of a script file, read whole so that the file is closed before
// the first command runs: commands may write files, even this one. Lines end
// at CR LF, CR or LF.
bool readScript(const QString& path, QStringList* lines) {
    QByteArray bytes;
    if (!ReadFileBytes(path, &bytes))
        return false;
    *lines = DecodeLines(bytes);
    return true;
}

void sendCommand(Program& p, const QString& line) {
    // The IRC control lives on the main frame; without a frame there is no
    // connection to send on.
    if (p.hasMainFrame())
        p.mainFrame().Yarv1->SendCommand(line);
}

// A script started while another runs works on its own arguments; the outer
// script gets its own back, with its count, when the inner one ends.
class ScriptArgsScope {
public:
    explicit ScriptArgsScope(Program& p)
        : m_p(p), m_nested(!p.runningScripts.isEmpty()), m_args(p.BatchArgs),
          m_count(p.scriptArgCount) {}
    ~ScriptArgsScope() {
        if (m_nested) {
            m_p.BatchArgs = m_args;
            m_p.scriptArgCount = m_count;
        }
    }
    ScriptArgsScope(const ScriptArgsScope&) = delete;
    ScriptArgsScope& operator=(const ScriptArgsScope&) = delete;

private:
    Program& m_p;
    bool m_nested;
    WordArray m_args;
    qsizetype m_count;
};

// Marks a script as running for as long as it runs.
class RunningScript {
public:
    RunningScript(Program& p, const QString& path) : m_p(p) { m_p.runningScripts.append(path); }
    ~RunningScript() { m_p.runningScripts.removeLast(); }
    RunningScript(const RunningScript&) = delete;
    RunningScript& operator=(const RunningScript&) = delete;

private:
    Program& m_p;
};

// "/~": `rest` is the script name and its arguments.
void runScript(Program& p, const QString& rest, const QString& tag) {
    const ScriptArgsScope args(p);
    p.WordCount = SplitWords(p.words, rest);
    // A script has arguments 1 to MaxScriptArgs; the rest of the line is not
    // an argument, so a script cannot multiply its arguments without end.
    p.scriptArgCount = qMin<qsizetype>(p.WordCount, MaxScriptArgs);
    const QStringList words = p.words.toList();
    for (qsizetype i = 1; i <= p.scriptArgCount; ++i)
        p.BatchArgs.set(i, words.at(i).trimmed());

    const QString path = findScript(p, words.at(0).trimmed());
    if (path.isEmpty()) {
        ServerEcho(p,
                   QStringLiteral("-!- ") + rest + QStringLiteral(" \\cmd\\ batch doesnt exist"));
        return;
    }
    if (p.runningScripts.size() >= MaxScriptDepth) {
        ServerEcho(
            p,
            QStringLiteral("-!- ") + rest +
                QStringLiteral(" \\cmd\\ batch nested deeper than %1 scripts").arg(MaxScriptDepth));
        return;
    }
    QStringList lines;
    if (!readScript(path, &lines))
        return;

    const RunningScript running(p, path);
    try {
        for (const QString& line : lines)
            ExecCommand(p, ExpandLine(p, line, tag), tag);
    } catch (const std::exception&) {
        // A command that fails ends its script; the lines already run stay run.
    }
}

// A keyword that is no command: a script of that name, else the server.
void fallback(Program& p, const QString& line, const QString& keyword, const QString& tag) {
    const QString path = findScript(p, keyword.trimmed());
    bool runnable = !path.isEmpty() && !p.runningScripts.contains(path);
    if (runnable) {
        QFile file(path);
        runnable = file.open(QIODevice::ReadOnly);
    }
    if (runnable) {
        QString script = QStringLiteral("/~") + line;
        ParseLine(p, script, tag);
        return;
    }
    sendCommand(p, line);
}

} // namespace

void ParseLine(Program& p, QString& line, const QString& tag, const QString& extra) {
    Q_UNUSED(extra);
    line = line.trimmed();
    if (line.startsWith(u"//")) {
        ExecCommand(p, ExpandLine(p, line.mid(2), tag), tag);
    } else if (line.startsWith(u'/') && !line.startsWith(u"/~") && !line.startsWith(u"/!")) {
        ExecCommand(p, line.mid(1).trimmed(), tag);
    } else if (line.startsWith(u"/~")) {
        runScript(p, line.mid(2).trimmed(), tag);
    } else if (line.startsWith(u"/!")) {
        const QString rest = line.mid(2).trimmed();
        try {
            ServerEcho(p, QStringLiteral("!-> ") + rest);
        } catch (const std::exception&) {
            // The line goes out whether or not its echo could be shown.
        }
        if (p.hasMainFrame())
            p.mainFrame().Yarv1->SendRaw(rest + QStringLiteral("\r\n"));
    }
}

CommandResult ExecCommand(Program& p, const QString& cmd, const QString& tag) {
    const QString line = cmd.trimmed();
    if (line.isEmpty())
        return CommandResult::Done;
    p.WordCount = SplitWords(p.words, line);
    CommandContext command(p, line, tag, p.words.toList());
    const Command* entry = FindCommand(command.word(0).toLower());
    if (entry && entry->handler) {
        entry->handler(command);
        return command.refused ? CommandResult::Refused : CommandResult::Done;
    }
    fallback(p, line, command.word(0), tag);
    return CommandResult::Done;
}
