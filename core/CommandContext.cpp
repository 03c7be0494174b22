#include "core/CommandContext.h"

#include "core/CommandWindow.h"

CommandContext::CommandContext(Program& owner, const QString& commandLine, const QString& windowTag,
                               const QStringList& words)
    : program(owner), line(commandLine), tag(windowTag), m_words(words) {
    if (m_words.isEmpty())
        m_words.append(QString());
}

const QString& CommandContext::word(qsizetype index) const {
    static const QString empty;
    return index >= 0 && index < m_words.size() ? m_words.at(index) : empty;
}

QString CommandContext::tail(qsizetype from) const {
    QString text;
    for (qsizetype i = qMax<qsizetype>(from, 0); i < m_words.size(); ++i)
        text += m_words.at(i) + u' ';
    return text;
}

Form* CommandContext::window() const {
    return CommandWindow(program, tag);
}
