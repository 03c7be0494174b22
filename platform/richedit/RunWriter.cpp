#include "platform/richedit/RunWriter.h"

#include "platform/richedit/OleColor.h"
#include "platform/richedit/RichTextBox.h"

namespace platform {

namespace {

// What a look sets on the base.
constexpr int lookProperties[] = {QTextFormat::ForegroundBrush, QTextFormat::BackgroundBrush,
                                  QTextFormat::FontWeight, QTextFormat::TextUnderlineStyle,
                                  QTextFormat::FontUnderline};

qint32 colourOf(const QTextCharFormat& format, int property) {
    if (!format.hasProperty(property) || format.brushProperty(property).style() == Qt::NoBrush)
        return -1;
    return RgbFromColor(format.brushProperty(property).color());
}

// Formats of runs in colours the palette no longer has are dropped past
// this many.
constexpr qsizetype MaxFormats = 4096;

} // namespace

void RunFormats::setCaret(const QTextCharFormat& caret, qint32* fore, qint32* back) {
    // The caret mostly has the formatting it had last time.
    if (!(caret == m_caret)) {
        m_caret = caret;
        m_fore = colourOf(caret, QTextFormat::ForegroundBrush);
        m_back = colourOf(caret, QTextFormat::BackgroundBrush);
        QTextCharFormat base = caret;
        base.clearProperty(QTextFormat::ObjectType);
        for (const int property : lookProperties)
            base.clearProperty(property);
        if (!(base == m_base)) {
            m_base = base;
            m_formats.clear();
        }
    }
    *fore = m_fore;
    *back = m_back;
}

const QTextCharFormat& RunFormats::format(qint32 fore, qint32 back, bool bold, bool underline) {
    // Colours -1 to 0xFFFFFF take 25 bits each.
    const quint64 key = (quint64(quint32(fore + 1) & 0x1FFFFFF) << 27) |
                        (quint64(quint32(back + 1) & 0x1FFFFFF) << 2) | (bold ? 2u : 0u) |
                        (underline ? 1u : 0u);
    auto it = m_formats.constFind(key);
    if (it != m_formats.cend())
        return *it;
    if (m_formats.size() >= MaxFormats)
        m_formats.clear();
    QTextCharFormat format = m_base;
    if (fore != -1)
        format.setForeground(ColorFromRgb(fore));
    if (back != -1)
        format.setBackground(ColorFromRgb(back));
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontUnderline(underline);
    return *m_formats.insert(key, format);
}

RunWriter::RunWriter(RichTextBox& box) : m_box(box) {
    box.m_runFormats.setCaret(box.textCursor().charFormat(), &m_fore, &m_back);
}

QTextCharFormat RunWriter::formatOf(const RunLook& look) const {
    return m_box.m_runFormats.format(look.fore.value_or(m_fore), look.back.value_or(m_back),
                                     look.bold, look.underline);
}

void RunWriter::write(const QString& text, const RunLook& look) {
    if (!text.isEmpty())
        m_box.writeRun(text, formatOf(look));
}

void RunWriter::setCaretLook(const RunLook& look) {
    if (!m_box.textCursor().hasSelection()) {
        m_box.setCurrentCharFormat(formatOf(look));
        return;
    }
    // A selection keeps the rest of its formatting.
    if (look.fore)
        m_box.setSelColor(*look.fore);
    if (look.back)
        m_box.setSelFontBackColor(*look.back);
    m_box.setSelBold(look.bold);
    m_box.setSelUnderline(look.underline);
}

} // namespace platform
