#pragma once
// A program-wide array of words, such as the words of the line being handled
// or the two-character pieces of a mode string. It grows as a split needs it,
// and any index past the last word (or below 0) reads as the empty text, so a
// handler may read word 5 of a two-word line.

#include <QString>
#include <QStringList>

class WordArray {
public:
    // The word at `index`; "" when there is none.
    const QString& operator[](qsizetype index) const;
    const QString& at(qsizetype index) const { return (*this)[index]; }

    // Slots in use: the index of the last word plus one (0 when empty).
    qsizetype size() const { return m_words.size(); }
    bool isEmpty() const { return m_words.isEmpty(); }
    const QStringList& toList() const { return m_words; }

    void clear() { m_words.clear(); }
    // Replaces every word.
    void assign(const QStringList& words) { m_words = words; }
    // Sets one word, growing the array with empty words up to it; a negative
    // index is ignored.
    void set(qsizetype index, const QString& word);

private:
    QStringList m_words;
};
