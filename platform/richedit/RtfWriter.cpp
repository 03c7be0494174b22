#include "platform/richedit/Rtf.h"

#include "platform/richedit/ParagraphFormat.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>

#include <cmath>

namespace platform {

namespace {

// The character formatting of a run as RTF states it.
struct RunState {
    int font = 0;
    int halfPoints = 24;
    int fore = 0; // colour table index, 0 automatic
    int back = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    int script = 0; // 0 normal, 1 subscript, 2 superscript

    bool operator==(const RunState&) const = default;
};

QString familyOf(const QTextCharFormat& format, const QFont& defaultFont) {
    if (format.hasProperty(QTextFormat::FontFamilies)) {
        const QStringList families = format.fontFamilies().toStringList();
        if (!families.isEmpty() && !families.first().isEmpty())
            return families.first();
    }
    return defaultFont.family();
}

int halfPointsOf(const QTextCharFormat& format, const QFont& defaultFont) {
    double points = format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize()
                                                                   : defaultFont.pointSizeF();
    if (points <= 0)
        points = 12;
    return static_cast<int>(std::lround(points * 2));
}

// The paragraph formatting as RTF states it.
struct ParagraphState {
    int alignment = 0; // 0 left, 1 right, 2 centre, 3 justified
    int spacing = SpacingSingle;
    int numbering = NumberingNone;

    bool operator==(const ParagraphState&) const = default;
};

bool hasColour(const QTextCharFormat& format, int property) {
    return format.hasProperty(property) && format.brushProperty(property).style() != Qt::NoBrush;
}

class Writer {
public:
    Writer(const QTextDocument& document, int from, int to)
        : m_document(document), m_from(from), m_to(to), m_defaultFont(document.defaultFont()) {
        m_fonts.append(m_defaultFont.family());
    }

    QString write() {
        // First pass: the tables; second pass: the body.
        forEachFragment([this](const QTextFragment& fragment) {
            const QTextCharFormat format = fragment.charFormat();
            fontIndex(familyOf(format, m_defaultFont));
            if (hasColour(format, QTextFormat::ForegroundBrush))
                colourIndex(format.foreground().color());
            if (hasColour(format, QTextFormat::BackgroundBrush))
                colourIndex(format.background().color());
        });

        QString out;
        out += QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl");
        for (int i = 0; i < m_fonts.size(); ++i) {
            out += QStringLiteral("{\\f%1\\fnil\\fcharset0 ").arg(i);
            out += escaped(m_fonts.at(i));
            out += QStringLiteral(";}");
        }
        out += QStringLiteral("}\r\n{\\colortbl ;");
        for (const QColor& c : std::as_const(m_colours))
            out += QStringLiteral("\\red%1\\green%2\\blue%3;")
                       .arg(c.red())
                       .arg(c.green())
                       .arg(c.blue());
        out += QStringLiteral("}\r\n\\viewkind4\\uc1\\pard ");

        // What the text starts with: the default font, and no size yet. A
        // reader takes text without a size as 12 pt, so the first run always
        // states its own, the box's own size included.
        RunState current;
        current.halfPoints = 0;
        ParagraphState paragraph;
        QTextBlock block = m_document.findBlock(m_from);
        const QTextBlock last = m_document.findBlock(m_to);
        while (block.isValid()) {
            const ParagraphState blockParagraph = paragraphOf(block);
            if (!(blockParagraph == paragraph)) {
                out += paragraphWords(blockParagraph);
                paragraph = blockParagraph;
            }
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const int start = qMax(fragment.position(), m_from);
                const int end = qMin(fragment.position() + fragment.length(), m_to);
                if (start >= end)
                    continue;
                const RunState state = stateOf(fragment.charFormat());
                const QString changes = changeWords(current, state);
                current = state;
                out += changes;
                const QString text = fragment.text().mid(start - fragment.position(), end - start);
                if (!changes.isEmpty())
                    out += QLatin1Char(' ');
                out += escaped(text);
            }
            out += QStringLiteral("\\par\r\n");
            if (block == last)
                break;
            block = block.next();
        }
        out += QLatin1Char('}');
        return out;
    }

private:
    template <typename Fn> void forEachFragment(Fn fn) const {
        QTextBlock block = m_document.findBlock(m_from);
        const QTextBlock last = m_document.findBlock(m_to);
        while (block.isValid()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.position() < m_to && fragment.position() + fragment.length() > m_from)
                    fn(fragment);
            }
            if (block == last)
                break;
            block = block.next();
        }
    }

    int fontIndex(const QString& family) {
        const int i = static_cast<int>(m_fonts.indexOf(family));
        if (i >= 0)
            return i;
        m_fonts.append(family);
        return static_cast<int>(m_fonts.size() - 1);
    }

    int colourIndex(const QColor& colour) {
        const QColor opaque = QColor(colour.red(), colour.green(), colour.blue());
        const int i = static_cast<int>(m_colours.indexOf(opaque));
        if (i >= 0)
            return i + 1;
        m_colours.append(opaque);
        return static_cast<int>(m_colours.size());
    }

    RunState stateOf(const QTextCharFormat& format) {
        RunState s;
        s.font = fontIndex(familyOf(format, m_defaultFont));
        s.halfPoints = halfPointsOf(format, m_defaultFont);
        if (hasColour(format, QTextFormat::ForegroundBrush))
            s.fore = colourIndex(format.foreground().color());
        if (hasColour(format, QTextFormat::BackgroundBrush))
            s.back = colourIndex(format.background().color());
        s.bold = format.fontWeight() >= QFont::DemiBold;
        s.italic = format.fontItalic();
        s.underline = format.fontUnderline();
        s.strike = format.fontStrikeOut();
        switch (format.verticalAlignment()) {
        case QTextCharFormat::AlignSubScript:
            s.script = 1;
            break;
        case QTextCharFormat::AlignSuperScript:
            s.script = 2;
            break;
        default:
            s.script = 0;
        }
        return s;
    }

    static QString changeWords(const RunState& from, const RunState& to) {
        QString w;
        if (from.font != to.font)
            w += QStringLiteral("\\f%1").arg(to.font);
        if (from.halfPoints != to.halfPoints)
            w += QStringLiteral("\\fs%1").arg(to.halfPoints);
        if (from.fore != to.fore)
            w += QStringLiteral("\\cf%1").arg(to.fore);
        if (from.back != to.back)
            w += QStringLiteral("\\highlight%1").arg(to.back);
        if (from.bold != to.bold)
            w += to.bold ? QStringLiteral("\\b") : QStringLiteral("\\b0");
        if (from.italic != to.italic)
            w += to.italic ? QStringLiteral("\\i") : QStringLiteral("\\i0");
        if (from.underline != to.underline)
            w += to.underline ? QStringLiteral("\\ul") : QStringLiteral("\\ulnone");
        if (from.strike != to.strike)
            w += to.strike ? QStringLiteral("\\strike") : QStringLiteral("\\strike0");
        if (from.script != to.script) {
            static const char* const words[] = {"\\nosupersub", "\\sub", "\\super"};
            w += QLatin1String(words[to.script]);
        }
        return w;
    }

    static ParagraphState paragraphOf(const QTextBlock& block) {
        ParagraphState p;
        const QTextBlockFormat format = block.blockFormat();
        const Qt::Alignment a = format.alignment();
        if (a & Qt::AlignRight)
            p.alignment = 1;
        else if (a & Qt::AlignHCenter)
            p.alignment = 2;
        else if (a & Qt::AlignJustify)
            p.alignment = 3;
        p.spacing = SpacingRuleOf(format);
        p.numbering = NumberingOf(block);
        return p;
    }

    // The words that start a paragraph of these properties: \pard resets
    // them all, then those that are not the default follow.
    static QString paragraphWords(const ParagraphState& p) {
        QString w = QStringLiteral("\\pard");
        // The numbering group first: the last word before the text is then a
        // control word, which the blank after it ends.
        switch (p.numbering) {
        case NumberingNone:
            break;
        case NumberingBullet:
            w += QStringLiteral("{\\*\\pn\\pnlvlblt\\pnindent0{\\pntxtb\\'b7}}");
            break;
        default: {
            static const char* const styles[] = {"",          "",         "\\pndec", "\\pnlcltr",
                                                 "\\pnucltr", "\\pnlcrm", "\\pnucrm"};
            w += QStringLiteral("{\\*\\pn\\pnlvlbody\\pnindent0\\pnstart1") +
                 QLatin1String(styles[p.numbering]) + QStringLiteral("{\\pntxta.}}");
            break;
        }
        }
        static const char* const alignments[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
        w += QLatin1String(alignments[p.alignment]);
        // Spacing as a multiple of single lines (240 a line); the rules
        // whose amount is given separately have none here and space singly.
        if (p.spacing == SpacingOneAndHalf)
            w += QStringLiteral("\\sl360\\slmult1");
        else if (p.spacing == SpacingDouble)
            w += QStringLiteral("\\sl480\\slmult1");
        return w + QLatin1Char(' ');
    }

    static QString escaped(const QString& text) {
        QString out;
        out.reserve(text.size() + 8);
        for (const QChar ch : text) {
            const char16_t u = ch.unicode();
            if (u == '\\' || u == '{' || u == '}') {
                out += QLatin1Char('\\');
                out += ch;
            } else if (u == '\t') {
                out += QStringLiteral("\\tab ");
            } else if (u == QChar::LineSeparator) {
                out += QStringLiteral("\\line ");
            } else if (u < 0x20) {
                out += QStringLiteral("\\'%1").arg(static_cast<int>(u), 2, 16, QLatin1Char('0'));
            } else if (u < 0x80) {
                out += ch;
            } else {
                // Signed 16-bit, as RTF readers expect, with "?" for those
                // that cannot read \u.
                out += QStringLiteral("\\u%1?").arg(static_cast<int>(static_cast<qint16>(u)));
            }
        }
        return out;
    }

    const QTextDocument& m_document;
    int m_from;
    int m_to;
    QFont m_defaultFont;
    QStringList m_fonts;
    QList<QColor> m_colours;
};

} // namespace

QString WriteRtf(const QTextDocument& document, int from, int to) {
    return Writer(document, from, to).write();
}

bool LooksLikeRtf(const QString& text) {
    return text.startsWith(QLatin1String("{\\rtf"));
}

} // namespace platform
