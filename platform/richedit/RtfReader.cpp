#include "platform/richedit/Rtf.h"

#include "platform/richedit/ParagraphFormat.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QList>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>

#include <array>
#include <climits>
#include <cmath>
#include <utility>

namespace platform {

namespace {

// Windows-1252 in the range where it differs from Latin-1; 0 where it has no
// character (those bytes are read as Latin-1).
constexpr std::array<char16_t, 32> cp1252High{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

QChar fromAnsi(int byte) {
    if (byte >= 0x80 && byte < 0xA0 && cp1252High[byte - 0x80] != 0)
        return QChar(cp1252High[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

// Starred: a group opened with \* whose first word is not read yet (it is
// skipped unless that word is one the reader knows).
enum class Destination { Text, FontTable, ColourTable, Numbering, Starred, Skip };

struct CharState {
    int font = -1;       // -1: the default font
    int halfPoints = -1; // -1: not given
    int fore = 0;
    int back = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int script = 0;

    bool operator==(const CharState&) const = default;
};

// What a paragraph is given: its alignment, its line spacing (\sl, in
// twips, and whether \slmult makes it a multiple of single lines) and its
// numbering.
struct ParagraphState {
    Qt::Alignment alignment = Qt::AlignLeft;
    int lineSpacing = 0;
    bool spacingMultiple = false;
    int numbering = NumberingNone;

    int spacingRule() const {
        if (lineSpacing == 0)
            return SpacingSingle;
        if (!spacingMultiple)
            return lineSpacing > 0 ? SpacingAtLeast : SpacingExactly;
        switch (lineSpacing) {
        case 240:
            return SpacingSingle;
        case 360:
            return SpacingOneAndHalf;
        case 480:
            return SpacingDouble;
        default:
            return SpacingMultiple;
        }
    }
};

struct GroupState {
    CharState chars;
    ParagraphState paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1;
};

struct Run {
    QString text;
    CharState chars;
};

struct Paragraph {
    ParagraphState format;
    QList<Run> runs;
};

// Destinations whose text is not part of the document.
bool skippedDestination(QStringView word) {
    static const char* const words[] = {
        "info",         "stylesheet", "pict",      "object",     "header",
        "headerl",      "headerr",    "headerf",   "footer",     "footerl",
        "footerr",      "footerf",    "footnote",  "annotation", "fldinst",
        "pntext",       "pntxta",     "pntxtb",    "listtable",  "listoverridetable",
        "revtbl",       "rsidtbl",    "generator", "themedata",  "colorschememapping",
        "latentstyles", "datastore",  "xmlnstbl",  "filetbl",    "template",
        "xe",           "tc",         "bkmkstart", "bkmkend",    "private",
        "mmathPr",      "userprops",  "docvar",    "nonshppict", "shp",
    };
    for (const char* w : words) {
        if (word == QLatin1String(w))
            return true;
    }
    return false;
}

class Reader {
public:
    Reader(const QString& rtf, QTextDocument& into)
        : m_in(rtf), m_document(into), m_defaultFont(into.defaultFont()) {}

    void read() {
        const qsizetype n = m_in.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar ch = m_in.at(i);
            if (ch == QLatin1Char('{')) {
                // Groups nested deeper than any document needs share the
                // state of the deepest one kept.
                if (m_stack.size() < MaxDepth)
                    m_stack.append(m_state);
                else
                    ++m_overflow;
                ++i;
                m_groupStart = true;
                continue;
            }
            if (ch == QLatin1Char('}')) {
                endGroupText();
                if (m_overflow > 0) {
                    --m_overflow;
                } else if (!m_stack.isEmpty()) {
                    const GroupState closed = std::exchange(m_state, m_stack.takeLast());
                    // A numbering group numbers the paragraph it stands in.
                    if (closed.destination == Destination::Numbering)
                        m_state.paragraph.numbering = closed.paragraph.numbering;
                }
                ++i;
                m_groupStart = false;
                m_skipChars = 0;
                continue;
            }
            if (ch == QLatin1Char('\\')) {
                i = controlWord(i);
                m_groupStart = false;
                continue;
            }
            m_groupStart = false;
            ++i;
            if (ch == QLatin1Char('\r') || ch == QLatin1Char('\n'))
                continue;
            text(ch.unicode() < 0x100 ? fromAnsi(ch.unicode()) : ch);
        }
        flush();
        // The text after the last \par is a paragraph of its own only when
        // there is some.
        if (!m_current.runs.isEmpty() || m_paragraphs.isEmpty())
            m_paragraphs.append(m_current);
        build();
    }

private:
    qsizetype controlWord(qsizetype i) {
        const qsizetype n = m_in.size();
        ++i; // the backslash
        if (i >= n)
            return i;
        const QChar c = m_in.at(i);
        if (!c.isLetter() || c.unicode() > 0x7F) {
            ++i;
            switch (c.unicode()) {
            case '\'': {
                bool ok = false;
                const int byte = m_in.mid(i, 2).toInt(&ok, 16);
                i += 2;
                if (ok)
                    text(fromAnsi(byte));
                break;
            }
            case '*':
                if (m_groupStart)
                    m_state.destination = m_state.destination == Destination::Text
                                              ? Destination::Starred
                                              : Destination::Skip;
                break;
            case '~':
                text(QChar(0x00A0));
                break;
            case '-':
                text(QChar(0x00AD));
                break;
            case '_':
                text(QChar(0x2011));
                break;
            case '\r':
            case '\n':
                paragraph();
                break;
            default: // \\ \{ \} and any other symbol stand for themselves
                text(c);
                break;
            }
            return i;
        }
        const qsizetype wordStart = i;
        while (i < n && m_in.at(i).unicode() < 0x80 && m_in.at(i).isLetter())
            ++i;
        const QStringView word = QStringView(m_in).mid(wordStart, i - wordStart);
        bool hasParameter = false;
        qint64 parameter = 0;
        const qsizetype numberStart = i;
        if (i < n && m_in.at(i) == QLatin1Char('-'))
            ++i;
        qsizetype digits = 0;
        while (i < n && m_in.at(i).isDigit() && m_in.at(i).unicode() < 0x80) {
            if (digits < 10)
                parameter = parameter * 10 + (m_in.at(i).unicode() - '0');
            ++digits;
            ++i;
        }
        if (digits > 0) {
            hasParameter = true;
            if (m_in.at(numberStart) == QLatin1Char('-'))
                parameter = -parameter;
        } else {
            i = numberStart;
        }
        if (i < n && m_in.at(i) == QLatin1Char(' '))
            ++i;
        m_groupStart = false;
        if (word == QLatin1String("bin")) {
            // Binary data: skipped whole.
            return qMin(n, i + qMax<qint64>(parameter, 0));
        }
        apply(word, hasParameter,
              static_cast<int>(qBound<qint64>(qint64(INT_MIN), parameter, qint64(INT_MAX))));
        return i;
    }

    void apply(QStringView word, bool hasParameter, int parameter) {
        const bool on = !hasParameter || parameter != 0;
        CharState& chars = m_state.chars;
        if (word == QLatin1String("fonttbl")) {
            m_state.destination = Destination::FontTable;
        } else if (word == QLatin1String("colortbl")) {
            m_state.destination = Destination::ColourTable;
            m_colourSeen = false;
        } else if (skippedDestination(word)) {
            m_state.destination = Destination::Skip;
        } else if (m_state.destination == Destination::Starred) {
            if (word == QLatin1String("pn")) {
                m_state.destination = Destination::Numbering;
                m_state.paragraph.numbering = NumberingNone;
            } else {
                m_state.destination = Destination::Skip;
            }
        } else if (m_state.destination == Destination::Skip) {
            return;
        } else if (m_state.destination == Destination::Numbering) {
            numberingWord(word);
        } else if (word == QLatin1String("u")) {
            int code = parameter;
            if (code < 0)
                code += 65536;
            if (code >= 0 && code <= 0xFFFF)
                text(QChar(static_cast<char16_t>(code)));
            m_skipChars = m_state.unicodeSkip;
            return;
        } else if (m_state.destination == Destination::FontTable) {
            if (word == QLatin1String("f") && hasParameter) {
                m_fontNumber = parameter;
                m_fontName.clear();
            }
        } else if (m_state.destination == Destination::ColourTable) {
            int* component = nullptr;
            if (word == QLatin1String("red"))
                component = &m_red;
            else if (word == QLatin1String("green"))
                component = &m_green;
            else if (word == QLatin1String("blue"))
                component = &m_blue;
            if (component) {
                *component = qBound(0, parameter, 255);
                m_colourSeen = true;
            }
        } else if (word == QLatin1String("par") || word == QLatin1String("line") ||
                   word == QLatin1String("sect") || word == QLatin1String("page")) {
            paragraph();
        } else if (word == QLatin1String("tab")) {
            text(QLatin1Char('\t'));
        } else if (word == QLatin1String("emdash")) {
            text(QChar(0x2014));
        } else if (word == QLatin1String("endash")) {
            text(QChar(0x2013));
        } else if (word == QLatin1String("bullet")) {
            text(QChar(0x2022));
        } else if (word == QLatin1String("lquote")) {
            text(QChar(0x2018));
        } else if (word == QLatin1String("rquote")) {
            text(QChar(0x2019));
        } else if (word == QLatin1String("ldblquote")) {
            text(QChar(0x201C));
        } else if (word == QLatin1String("rdblquote")) {
            text(QChar(0x201D));
        } else if (word == QLatin1String("uc")) {
            m_state.unicodeSkip = qBound(0, parameter, 8);
        } else if (word == QLatin1String("deff")) {
            m_defaultFontNumber = parameter;
        } else if (word == QLatin1String("plain")) {
            chars = CharState();
        } else if (word == QLatin1String("pard")) {
            m_state.paragraph = ParagraphState();
        } else if (word == QLatin1String("ql")) {
            m_state.paragraph.alignment = Qt::AlignLeft;
        } else if (word == QLatin1String("qr")) {
            m_state.paragraph.alignment = Qt::AlignRight;
        } else if (word == QLatin1String("qc")) {
            m_state.paragraph.alignment = Qt::AlignHCenter;
        } else if (word == QLatin1String("qj")) {
            m_state.paragraph.alignment = Qt::AlignJustify;
        } else if (word == QLatin1String("sl")) {
            m_state.paragraph.lineSpacing = hasParameter ? parameter : 0;
        } else if (word == QLatin1String("slmult")) {
            m_state.paragraph.spacingMultiple = on;
        } else if (word == QLatin1String("f")) {
            chars.font = hasParameter ? parameter : -1;
        } else if (word == QLatin1String("fs")) {
            if (hasParameter && parameter > 0)
                chars.halfPoints = qMin(parameter, 3276);
        } else if (word == QLatin1String("cf")) {
            chars.fore = hasParameter ? parameter : 0;
        } else if (word == QLatin1String("cb") || word == QLatin1String("highlight")) {
            chars.back = hasParameter ? parameter : 0;
        } else if (word == QLatin1String("b")) {
            chars.bold = on;
        } else if (word == QLatin1String("i")) {
            chars.italic = on;
        } else if (word == QLatin1String("ulnone")) {
            chars.underline = false;
        } else if (word == QLatin1String("ul") || word == QLatin1String("uld") ||
                   word == QLatin1String("uldb") || word == QLatin1String("ulw") ||
                   word == QLatin1String("uldash") || word == QLatin1String("ulwave") ||
                   word == QLatin1String("ulth")) {
            chars.underline = on;
        } else if (word == QLatin1String("strike")) {
            chars.strike = on;
        } else if (word == QLatin1String("sub")) {
            chars.script = 1;
        } else if (word == QLatin1String("super")) {
            chars.script = 2;
        } else if (word == QLatin1String("nosupersub")) {
            chars.script = 0;
        }
    }

    // The words of a numbering group (\pn): the level says bullet or
    // number, the style word which numbers.
    void numberingWord(QStringView word) {
        static const std::pair<const char*, int> kinds[] = {
            {"pnlvlblt", NumberingBullet},      {"pnlvlbody", NumberingArabic},
            {"pndec", NumberingArabic},         {"pnlcltr", NumberingLowerLetters},
            {"pnucltr", NumberingUpperLetters}, {"pnlcrm", NumberingLowerRoman},
            {"pnucrm", NumberingUpperRoman},
        };
        for (const auto& [name, kind] : kinds) {
            if (word == QLatin1String(name)) {
                // The level word comes first; a bullet keeps its bullet.
                if (m_state.paragraph.numbering != NumberingBullet)
                    m_state.paragraph.numbering = kind;
                return;
            }
        }
    }

    void text(QChar ch) {
        if (m_skipChars > 0) {
            --m_skipChars;
            return;
        }
        switch (m_state.destination) {
        case Destination::Skip:
        case Destination::Starred:
        case Destination::Numbering:
            return;
        case Destination::FontTable:
            if (ch == QLatin1Char(';')) {
                m_fonts.insert(m_fontNumber, m_fontName.trimmed());
                m_fontName.clear();
            } else {
                m_fontName += ch;
            }
            return;
        case Destination::ColourTable:
            if (ch == QLatin1Char(';')) {
                m_colours.append(m_colourSeen ? QColor(m_red, m_green, m_blue) : QColor());
                m_red = m_green = m_blue = 0;
                m_colourSeen = false;
            }
            return;
        case Destination::Text:
            break;
        }
        if (!m_pending.isEmpty() && !(m_pendingChars == m_state.chars))
            flush();
        if (m_pending.isEmpty())
            m_pendingChars = m_state.chars;
        m_pending += ch;
        m_current.format = m_state.paragraph;
    }

    // A font name written without a closing ";" ends with its group.
    void endGroupText() {
        if (m_state.destination == Destination::FontTable && !m_fontName.trimmed().isEmpty()) {
            m_fonts.insert(m_fontNumber, m_fontName.trimmed());
            m_fontName.clear();
        }
    }

    void flush() {
        if (m_pending.isEmpty())
            return;
        m_current.runs.append({m_pending, m_pendingChars});
        m_pending.clear();
    }

    void paragraph() {
        if (m_state.destination != Destination::Text)
            return;
        m_skipChars = 0;
        flush();
        m_current.format = m_state.paragraph;
        m_paragraphs.append(m_current);
        m_current = Paragraph();
    }

    QTextCharFormat formatOf(const CharState& s) const {
        QTextCharFormat f;
        const QString family = m_fonts.value(s.font >= 0 ? s.font : m_defaultFontNumber);
        if (!family.isEmpty() && family != m_defaultFont.family())
            f.setFontFamilies({family});
        if (s.halfPoints > 0) {
            const int defaultHalfPoints =
                static_cast<int>(std::lround(qMax(m_defaultFont.pointSizeF(), 0.0) * 2));
            if (s.halfPoints != defaultHalfPoints)
                f.setFontPointSize(s.halfPoints / 2.0);
        }
        if (s.fore > 0 && s.fore < m_colours.size() && m_colours.at(s.fore).isValid())
            f.setForeground(m_colours.at(s.fore));
        if (s.back > 0 && s.back < m_colours.size() && m_colours.at(s.back).isValid())
            f.setBackground(m_colours.at(s.back));
        if (s.bold)
            f.setFontWeight(QFont::Bold);
        if (s.italic)
            f.setFontItalic(true);
        if (s.underline)
            f.setFontUnderline(true);
        if (s.strike)
            f.setFontStrikeOut(true);
        if (s.script == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        else if (s.script == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        return f;
    }

    void build() {
        QTextCursor cursor(&m_document);
        cursor.beginEditBlock();
        bool first = true;
        // Numbered paragraphs in a row of one kind are one list.
        QTextList* list = nullptr;
        for (const Paragraph& p : std::as_const(m_paragraphs)) {
            QTextBlockFormat blockFormat = SpacingFormat(p.format.spacingRule());
            blockFormat.setAlignment(p.format.alignment);
            const QTextCharFormat blockChars =
                p.runs.isEmpty() ? QTextCharFormat() : formatOf(p.runs.first().chars);
            if (first) {
                cursor.setBlockFormat(blockFormat);
                cursor.setBlockCharFormat(blockChars);
                first = false;
            } else {
                cursor.insertBlock(blockFormat, blockChars);
            }
            if (p.format.numbering == NumberingNone)
                list = nullptr;
            else if (list && NumberingOf(list->item(0)) == p.format.numbering)
                list->add(cursor.block());
            else
                list = cursor.createList(ListFormatOf(p.format.numbering));
            for (const Run& run : p.runs)
                cursor.insertText(run.text, formatOf(run.chars));
        }
        cursor.endEditBlock();
    }

    const QString& m_in;
    QTextDocument& m_document;
    QFont m_defaultFont;
    static constexpr qsizetype MaxDepth = 1000;
    GroupState m_state;
    QList<GroupState> m_stack;
    qsizetype m_overflow = 0;
    bool m_groupStart = false;
    int m_skipChars = 0;

    QHash<int, QString> m_fonts;
    int m_fontNumber = 0;
    int m_defaultFontNumber = 0;
    QString m_fontName;
    QList<QColor> m_colours;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colourSeen = false;

    QList<Paragraph> m_paragraphs;
    Paragraph m_current;
    QString m_pending;
    CharState m_pendingChars;
};

} // namespace

bool ReadRtf(const QString& rtf, QTextDocument& into) {
    if (!LooksLikeRtf(rtf))
        return false;
    Reader(rtf, into).read();
    return true;
}

} // namespace platform
