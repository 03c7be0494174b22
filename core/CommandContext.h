#pragma once
// One command being run by the interpreter: the program, the trimmed command
// line, the window it came from and its words. The words are the split the
// interpreter made for this command, kept here so that a command still reads
// its own words after something it called has split another line.

#include <QString>
#include <QStringList>

class Form;
class Program;

class CommandContext {
public:
    CommandContext(Program& owner, const QString& commandLine, const QString& windowTag,
                   const QStringList& words);

    Program& program;
    // The command line, trimmed, without its leading "/".
    const QString line;
    // The tag of the window the line was typed in; "" for the active child.
    const QString tag;

    // Word `index` of the line (0 is the keyword); "" past the last word.
    const QString& word(qsizetype index) const;
    // The index of the last word (0 for a one-word line).
    qsizetype wordCount() const { return m_words.size() - 1; }
    // Words `from` to the last, each followed by one blank; "" when `from`
    // is past the last word. Runs of blanks survive as empty words.
    QString tail(qsizetype from) const;
    QString trimmedTail(qsizetype from) const { return tail(from).trimmed(); }

    // The window the command acts on (see CommandWindow); nullptr for none.
    Form* window() const;

    // Set by a command that did not do what was asked (it said why), so a
    // caller waiting on its result does not report success.
    bool refused = false;

private:
    QStringList m_words;
};
