#include "core/WordArray.h"

const QString& WordArray::operator[](qsizetype index) const {
    static const QString empty;
    if (index < 0 || index >= m_words.size())
        return empty;
    return m_words[index];
}

void WordArray::set(qsizetype index, const QString& word) {
    if (index < 0)
        return;
    if (index >= m_words.size())
        m_words.resize(index + 1);
    m_words[index] = word;
}
