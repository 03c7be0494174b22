#include "console/AddColorText.h"

#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/TextUtils.h"

#include <array>
#include <optional>

namespace {

// The formatting at the console's caret, and the characters that wait to be
// written with it. The walk sets and reads the caret's formatting here; the
// console gets a format write only when characters are about to go in with
// a formatting it does not have yet, and characters that share one
// formatting go in as one insertion. Each character so gets exactly the
// formatting that was set at the caret when the walk reached it.
class Caret {
public:
    explicit Caret(absRichEdit& console) : m_console(console) {}

    void setColor(qint32 colour) {
        flushIfChanging(m_colour, colour);
        m_colour = colour;
    }
    void setBackColor(qint32 colour) {
        flushIfChanging(m_back, colour);
        m_back = colour;
    }
    bool bold() const { return m_bold; }
    void setBold(bool on) {
        flushIfChanging(m_bold, on);
        m_bold = on;
    }
    bool underline() const { return m_underline; }
    void setUnderline(bool on) {
        flushIfChanging(m_underline, on);
        m_underline = on;
    }

    void add(QChar ch) { m_pending += ch; }

    // Writes what waits, then gives the caret all of its formatting.
    void finish() {
        flush();
        apply();
    }

private:
    template <typename T> void flushIfChanging(const std::optional<T>& now, T next) {
        if (!m_pending.isEmpty() && now != next)
            flush();
    }
    template <typename T> void flushIfChanging(const T& now, T next) {
        if (!m_pending.isEmpty() && now != next)
            flush();
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        apply();
        m_console.setSelText(m_pending);
        m_pending.clear();
    }

    // Text inserted at the caret takes the caret's formatting and keeps it
    // there, so what was written once need not be written again.
    void apply() {
        if (m_colour && m_colour != m_shownColour)
            m_console.setSelColor(*m_colour);
        if (m_back && m_back != m_shownBack)
            m_console.setSelFontBackColor(*m_back);
        if (m_bold != m_shownBold)
            m_console.setSelBold(m_bold);
        if (m_underline != m_shownUnderline)
            m_console.setSelUnderline(m_underline);
        m_shownColour = m_colour;
        m_shownBack = m_back;
        m_shownBold = m_bold;
        m_shownUnderline = m_underline;
    }

    absRichEdit& m_console;
    QString m_pending;
    // Unset colours: the caret keeps the colours it has.
    std::optional<qint32> m_colour;
    std::optional<qint32> m_back;
    bool m_bold = false;
    bool m_underline = false;
    std::optional<qint32> m_shownColour;
    std::optional<qint32> m_shownBack;
    std::optional<bool> m_shownBold;
    std::optional<bool> m_shownUnderline;
};

} // namespace

void AddColorText(absRichEdit& console, const QString& text) {
    const Palette& palette = console.program().palette;
    std::array<qint32, 16> table{};
    for (int i = 0; i < 16; ++i)
        table[static_cast<size_t>(i)] = palette.GetColor(QString::number(i));

    // One edit for the whole call: the box lays the text out once.
    const platform::RichTextBox::EditBatch batch(*console.rtfText);
    Caret caret(console);

    caret.setBold(false);
    caret.setUnderline(false);
    int fore = 1;
    int back = 0;
    bool reversed = false;
    int savedFore = 1;
    int savedBack = 0;

    const qsizetype length = text.size();
    qsizetype position = 0;
    while (position < length) {
        const QChar ch = text.at(position);
        switch (ch.unicode()) {
        case 3: {
            const ColorCode code = ReadColorCode(text, position + 1);
            if (code.fore < 0) {
                // A bare colour code shows the default pair but leaves the
                // current one alone.
                caret.setColor(table[1]);
                caret.setBackColor(table[0]);
                position += 1;
                break;
            }
            fore = code.fore;
            if (code.back >= 0)
                back = code.back;
            const qsizetype consumed = code.length;
            if (fore > 15)
                fore = 1;
            if (back > 15)
                back = 0;
            caret.setColor(table[static_cast<size_t>(fore)]);
            caret.setBackColor(table[static_cast<size_t>(back)]);
            position += 1 + consumed;
            break;
        }
        case 2:
            caret.setBold(!caret.bold());
            position += 1;
            break;
        case 31:
            caret.setUnderline(!caret.underline());
            position += 1;
            break;
        case 22:
            // Reverse always shows palette 0 on palette 1; switching it off
            // brings back the pair from before it was switched on.
            caret.setColor(table[static_cast<size_t>(fore)]);
            caret.setBackColor(table[static_cast<size_t>(back)]);
            if (reversed) {
                reversed = false;
                fore = savedFore;
                back = savedBack;
            } else {
                reversed = true;
                savedFore = fore;
                savedBack = back;
                fore = 0;
                back = 1;
            }
            caret.setColor(table[static_cast<size_t>(fore)]);
            caret.setBackColor(table[static_cast<size_t>(back)]);
            position += 1;
            break;
        default:
            caret.add(ch);
            position += 1;
            break;
        }
    }

    caret.setColor(table[1]);
    caret.setBackColor(table[0]);
    caret.setBold(false);
    caret.setUnderline(false);
    caret.finish();
}
