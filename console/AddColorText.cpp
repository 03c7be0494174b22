#include "console/AddColorText.h"

#include "console/absRichEdit.h"
#include "core/Program.h"

#include <array>

namespace {

bool isDigitAt(const QString& text, qsizetype i) {
    return i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
}

bool isCommaAt(const QString& text, qsizetype i) {
    return i < text.size() && text.at(i) == QLatin1Char(',');
}

int digitAt(const QString& text, qsizetype i) {
    return text.at(i).unicode() - '0';
}

// Writes characters at the console's caret. Characters that share one
// formatting go in as one insertion: every call that changes or reads the
// caret's formatting first writes what has gathered, so each character gets
// exactly the formatting that was set at the caret when the walk reached it.
class CaretWriter {
public:
    explicit CaretWriter(absRichEdit& console) : m_console(console) {}

    void add(QChar ch) { m_pending += ch; }

    absRichEdit& console() {
        flush();
        return m_console;
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        m_console.setSelText(m_pending);
        m_pending.clear();
    }

private:
    absRichEdit& m_console;
    QString m_pending;
};

} // namespace

void AddColorText(absRichEdit& console, const QString& text) {
    const Palette& palette = console.program().palette;
    std::array<qint32, 16> table{};
    for (int i = 0; i < 16; ++i)
        table[static_cast<size_t>(i)] = palette.GetColor(QString::number(i));

    // One edit for the whole call: the box lays the text out once.
    const platform::RichTextBox::EditBatch batch(*console.rtfText);
    CaretWriter out(console);

    out.console().setSelBold(false);
    out.console().setSelUnderline(false);
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
            if (!isDigitAt(text, position + 1)) {
                // A bare colour code shows the default pair but leaves the
                // current one alone.
                out.console().setSelColor(table[1]);
                out.console().setSelFontBackColor(table[0]);
                position += 1;
                break;
            }
            const qsizetype p = position;
            qsizetype consumed = 0;
            if (isDigitAt(text, p + 2)) {
                fore = digitAt(text, p + 1) * 10 + digitAt(text, p + 2);
                if (isCommaAt(text, p + 3)) {
                    if (isDigitAt(text, p + 4)) {
                        if (isDigitAt(text, p + 5)) {
                            back = digitAt(text, p + 4) * 10 + digitAt(text, p + 5);
                            consumed = 5;
                        } else {
                            back = digitAt(text, p + 4);
                            consumed = 4;
                        }
                    } else {
                        consumed = 3;
                    }
                } else {
                    consumed = 2;
                }
            } else if (isCommaAt(text, p + 2)) {
                fore = digitAt(text, p + 1);
                if (isDigitAt(text, p + 3)) {
                    if (isDigitAt(text, p + 4)) {
                        back = digitAt(text, p + 3) * 10 + digitAt(text, p + 4);
                        consumed = 4;
                    } else {
                        back = digitAt(text, p + 3);
                        consumed = 3;
                    }
                } else {
                    consumed = 2;
                }
            } else {
                fore = digitAt(text, p + 1);
                consumed = 1;
            }
            if (fore > 15)
                fore = 1;
            if (back > 15)
                back = 0;
            out.console().setSelColor(table[static_cast<size_t>(fore)]);
            out.console().setSelFontBackColor(table[static_cast<size_t>(back)]);
            position += 1 + consumed;
            break;
        }
        case 2:
            out.console().setSelBold(!out.console().SelBold());
            position += 1;
            break;
        case 31:
            out.console().setSelUnderline(!out.console().SelUnderline());
            position += 1;
            break;
        case 22:
            // Reverse always shows palette 0 on palette 1; switching it off
            // brings back the pair from before it was switched on.
            out.console().setSelColor(table[static_cast<size_t>(fore)]);
            out.console().setSelFontBackColor(table[static_cast<size_t>(back)]);
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
            out.console().setSelColor(table[static_cast<size_t>(fore)]);
            out.console().setSelFontBackColor(table[static_cast<size_t>(back)]);
            position += 1;
            break;
        default:
            out.add(ch);
            position += 1;
            break;
        }
    }

    out.console().setSelColor(table[1]);
    out.console().setSelFontBackColor(table[0]);
    out.console().setSelBold(false);
    out.console().setSelUnderline(false);
}
