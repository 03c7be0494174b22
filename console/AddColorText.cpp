#include "console/AddColorText.h"

#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/TextUtils.h"

#include <array>

namespace {

// The formatting at the console's caret, and the text that waits to be
// written with it. The walk sets and reads the caret's formatting here;
// text that shares one formatting goes to the console as one run, so each
// character gets exactly the formatting set at the caret when the walk
// reached it.
class Caret {
public:
    explicit Caret(absRichEdit& console) : m_writer(*console.rtfText) {}

    void setColor(qint32 colour) { change(m_look.fore, colour); }
    // -1 is the console's own background.
    void setBackColor(qint32 colour) { change(m_look.back, colour); }
    bool bold() const { return m_look.bold; }
    void setBold(bool on) { change(m_look.bold, on); }
    bool underline() const { return m_look.underline; }
    void setUnderline(bool on) { change(m_look.underline, on); }

    void add(QStringView text) { m_pending += text; }
    void add(QChar ch) { m_pending += ch; }

    // Writes what waits, then gives the caret the formatting.
    void finish() {
        flush();
        m_writer.setCaretLook(m_look);
    }

private:
    template <typename T, typename V> void change(T& now, V next) {
        if (!m_pending.isEmpty() && now != next)
            flush();
        now = next;
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        m_writer.write(m_pending, m_look);
        m_pending.resize(0); // keeps the room for the next run
    }

    platform::RunWriter m_writer;
    // Unset colours: the caret keeps the colours it has.
    platform::RunLook m_look;
    QString m_pending;
};

// Characters the console would take as the start of a new line or
// paragraph: inside a received line they are a blank, so the line stays one.
bool breaksTheLine(QChar ch) {
    switch (ch.unicode()) {
    case 0x2028: // line separator
    case 0x2029: // paragraph separator
    case 0xFDD0: // the text widget's frame marks
    case 0xFDD1:
        return true;
    default:
        return false;
    }
}

bool isCode(QChar ch) {
    const char16_t u = ch.unicode();
    return u == 3 || u == 2 || u == 31 || u == 22 || breaksTheLine(ch);
}

} // namespace

void AddColorText(absRichEdit& console, const QString& text) {
    const Palette& palette = console.program().palette;
    std::array<qint32, 16> table{};
    for (int i = 0; i < 16; ++i)
        table[static_cast<size_t>(i)] = palette.color(i);
    const auto colour = [&table](int index) { return table[static_cast<size_t>(index)]; };

    Caret caret(console);
    caret.setBold(false);
    caret.setUnderline(false);
    int fore = 1;
    int back = 0;
    // Whether a background part of a code (0 to 15), or reverse, set `back`
    // in this call. Until one did, the text stands on the console's own
    // background, not on palette 0: on a dark console a line without a
    // background code shows no light strips.
    bool backSet = false;
    bool reversed = false;
    int savedFore = 1;
    int savedBack = 0;
    bool savedBackSet = false;
    const auto showPair = [&] {
        caret.setColor(colour(fore));
        caret.setBackColor(backSet ? colour(back) : -1);
    };

    const qsizetype length = text.size();
    qsizetype position = 0;
    while (position < length) {
        // The text up to the next code goes in as it is.
        qsizetype plain = position;
        while (plain < length && !isCode(text.at(plain)))
            ++plain;
        if (plain > position) {
            caret.add(QStringView(text).mid(position, plain - position));
            position = plain;
            continue;
        }
        const QChar ch = text.at(position);
        position += 1;
        switch (ch.unicode()) {
        case 3: {
            const ColorCode code = ReadColorCode(text, position);
            if (code.fore < 0) {
                // A bare colour code shows palette 1 on palette 0 but leaves
                // the current pair alone.
                caret.setColor(colour(1));
                caret.setBackColor(colour(0));
                break;
            }
            fore = code.fore > 15 ? 1 : code.fore;
            if (code.back >= 0) {
                // A background past 15 (99: "none") is no background part.
                backSet = code.back <= 15;
                back = backSet ? code.back : 0;
            }
            showPair();
            position += code.length;
            break;
        }
        case 2:
            caret.setBold(!caret.bold());
            break;
        case 31:
            caret.setUnderline(!caret.underline());
            break;
        case 22:
            // Reverse always shows palette 0 on palette 1; switching it off
            // brings back the pair from before it was switched on.
            showPair();
            if (reversed) {
                reversed = false;
                fore = savedFore;
                back = savedBack;
                backSet = savedBackSet;
            } else {
                reversed = true;
                savedFore = fore;
                savedBack = back;
                savedBackSet = backSet;
                fore = 0;
                back = 1;
                backSet = true;
            }
            showPair();
            break;
        default:
            // A character that would break the line.
            caret.add(QLatin1Char(' '));
            break;
        }
    }

    caret.setColor(colour(1));
    caret.setBackColor(colour(0));
    caret.setBold(false);
    caret.setUnderline(false);
    caret.finish();
}
