#include "platform/richedit/RichTextBox.h"

#include "platform/com/ComError.h"
#include "platform/richedit/OleColor.h"
#include "platform/richedit/Rtf.h"
#include "platform/richedit/VbKeys.h"
#include "platform/text/DecodeText.h"
#include "platform/window/Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QTextList>

#include <algorithm>
#include <cmath>
#include <vector>

namespace platform {

namespace {

const QString errorSource = QStringLiteral("RichTextBox");

// Where a paragraph keeps the line-spacing rule it was given.
constexpr int LineSpacingRuleProperty = QTextFormat::UserProperty + 1;

// One line break for CR LF, CR or LF.
QString normalizedBreaks(const QString& text) {
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

QTextListFormat::Style listStyleOf(int kind) {
    switch (kind) {
    case NumberingBullet:
        return QTextListFormat::ListDisc;
    case NumberingArabic:
        return QTextListFormat::ListDecimal;
    case NumberingLowerLetters:
        return QTextListFormat::ListLowerAlpha;
    case NumberingUpperLetters:
        return QTextListFormat::ListUpperAlpha;
    case NumberingLowerRoman:
        return QTextListFormat::ListLowerRoman;
    case NumberingUpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListStyleUndefined;
    }
}

int numberingOf(QTextListFormat::Style style) {
    switch (style) {
    case QTextListFormat::ListDisc:
    case QTextListFormat::ListCircle:
    case QTextListFormat::ListSquare:
        return NumberingBullet;
    case QTextListFormat::ListDecimal:
        return NumberingArabic;
    case QTextListFormat::ListLowerAlpha:
        return NumberingLowerLetters;
    case QTextListFormat::ListUpperAlpha:
        return NumberingUpperLetters;
    case QTextListFormat::ListLowerRoman:
        return NumberingLowerRoman;
    case QTextListFormat::ListUpperRoman:
        return NumberingUpperRoman;
    default:
        return NumberingNone;
    }
}

// The text a key produces, for a key code a handler put in place of the
// pressed one.
QString textForKeyCode(int keyCode, int shift) {
    if (keyCode >= 'A' && keyCode <= 'Z') {
        if (shift & 2)
            return QString(QChar(static_cast<char16_t>(keyCode - 64)));
        return QString(QChar(static_cast<char16_t>((shift & 1) ? keyCode : keyCode + 32)));
    }
    if (keyCode >= '0' && keyCode <= '9' && !(shift & 3))
        return QString(QChar(static_cast<char16_t>(keyCode)));
    switch (keyCode) {
    case 8:
    case 9:
    case 13:
    case 27:
    case 32:
        return QString(QChar(static_cast<char16_t>(keyCode)));
    default:
        return QString();
    }
}

int keyForCharacter(int ch) {
    switch (ch) {
    case 8:
        return Qt::Key_Backspace;
    case 9:
        return Qt::Key_Tab;
    case 13:
        return Qt::Key_Return;
    case 27:
        return Qt::Key_Escape;
    case 32:
        return Qt::Key_Space;
    default:
        break;
    }
    if (ch >= 'a' && ch <= 'z')
        return Qt::Key_A + (ch - 'a');
    if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
        return ch;
    return Qt::Key_unknown;
}

} // namespace

// The first visual line of every paragraph, rebuilt when the text or its
// layout changed.
struct RichTextBox::LineTable {
    std::vector<qint32> firstLine;
    qint32 total = 1;
};

// The text laid out for a printing device, kept between pages.
struct RichTextBox::PrintLayout {
    std::unique_ptr<QTextDocument> document;
    QPaintDevice* device = nullptr;
    qreal width = 0;
};

RichTextBox::RichTextBox(QWidget* parent)
    : QTextEdit(parent), m_backColor(vbWindowBackground),
      m_lineTable(std::make_unique<LineTable>()) {
    m_font = QTextEdit::font();
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setContextMenuPolicy(Qt::PreventContextMenu);

    m_hwnd = CreatePlatformWindow(this, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
        return defaultWindowProc(msg, wParam, lParam);
    });
    SetStyleChangedHandler(m_hwnd, [this](HWND, int index, qint64, qint64 value) {
        if (index == GWL_STYLE)
            QTextEdit::setReadOnly((value & ES_READONLY) != 0);
    });

    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int action) { scrollBarAction(bar, action); });
    }
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, this, &RichTextBox::viewMoved);

    QTextDocument* doc = document();
    connect(doc, &QTextDocument::contentsChange, this, [this] { invalidateLines(); });
    connect(doc->documentLayout(), &QAbstractTextDocumentLayout::update, this,
            [this] { invalidateLines(); });
    connect(doc->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { invalidateLines(); });
    connect(this, &QTextEdit::textChanged, this, &RichTextBox::Change);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextBox::selectionMoved);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextBox::selectionMoved);
    applyPalette();
}

RichTextBox::~RichTextBox() {
    // Nothing may reach this object's handlers while the text widget below
    // it is taken down.
    disconnect(this, nullptr, this, nullptr);
    document()->disconnect(this);
    document()->documentLayout()->disconnect(this);
    for (QScrollBar* bar : {verticalScrollBar(), horizontalScrollBar()}) {
        bar->disconnect(this);
        bar->removeEventFilter(this);
    }
    DestroyPlatformWindow(m_hwnd);
}

// ---- positions ---------------------------------------------------------

int RichTextBox::toDocument(qint32 position) const {
    if (position <= 0)
        return 0;
    const QTextDocument* doc = document();
    // The paragraph whose CR LF start is the last at or before `position`:
    // paragraph k starts at its document position + k.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= position)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const qint64 offset = qint64(position) - (block.position() + low);
    return block.position() + static_cast<int>(qMin<qint64>(offset, block.length() - 1));
}

qint32 RichTextBox::fromDocument(int documentPosition) const {
    const QTextBlock block = document()->findBlock(documentPosition);
    return documentPosition +
           (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

QString RichTextBox::plainText(int from, int to) const {
    QTextCursor c(document());
    c.setPosition(from);
    c.setPosition(to, QTextCursor::KeepAnchor);
    QString text = c.selectedText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return text;
}

// ---- text and selection ------------------------------------------------

QString RichTextBox::Text() const {
    return plainText(0, document()->characterCount() - 1);
}

void RichTextBox::setDocumentText(const QString& text) {
    setPlainText(normalizedBreaks(text));
}

void RichTextBox::setText(const QString& text) {
    setDocumentText(text);
}

qint32 RichTextBox::TextLength() const {
    const QTextDocument* doc = document();
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

qint32 RichTextBox::SelStart() const {
    return fromDocument(textCursor().selectionStart());
}

void RichTextBox::setSelStart(qint32 start) {
    QTextCursor c = textCursor();
    c.setPosition(toDocument(qBound(0, start, TextLength())));
    setTextCursor(c);
}

qint32 RichTextBox::SelLength() const {
    const QTextCursor c = textCursor();
    return fromDocument(c.selectionEnd()) - fromDocument(c.selectionStart());
}

void RichTextBox::setSelLength(qint32 length) {
    QTextCursor c = textCursor();
    const qint32 start = fromDocument(c.selectionStart());
    c.setPosition(c.selectionStart());
    c.setPosition(toDocument(qBound(start, start + qMax(length, 0), TextLength())),
                  QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString RichTextBox::SelText() const {
    const QTextCursor c = textCursor();
    return plainText(c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelText(const QString& text) {
    insertPlainText(normalizedBreaks(text));
}

QString RichTextBox::TextRTF() const {
    return WriteRtf(*document(), 0, document()->characterCount() - 1);
}

void RichTextBox::setTextRTF(const QString& rtf) {
    if (!LooksLikeRtf(rtf)) {
        setDocumentText(rtf);
        return;
    }
    QTextDocument parsed;
    parsed.setDefaultFont(m_font);
    ReadRtf(rtf, parsed);
    setPlainText(QString());
    QTextCursor c(document());
    c.insertFragment(QTextDocumentFragment(&parsed));
    c.setPosition(0);
    setTextCursor(c);
}

QString RichTextBox::SelRTF() const {
    const QTextCursor c = textCursor();
    return WriteRtf(*document(), c.selectionStart(), c.selectionEnd());
}

void RichTextBox::setSelRTF(const QString& rtf) {
    if (!LooksLikeRtf(rtf)) {
        setSelText(rtf);
        return;
    }
    QTextDocument parsed;
    parsed.setDefaultFont(m_font);
    ReadRtf(rtf, parsed);
    QTextCursor c = textCursor();
    c.insertFragment(QTextDocumentFragment(&parsed));
    setTextCursor(c);
}

void RichTextBox::removeHead(qint32 count) {
    if (count <= 0)
        return;
    const EditBatch batch(*this);
    QTextCursor c(document());
    c.setPosition(toDocument(qMin(count, TextLength())), QTextCursor::KeepAnchor);
    c.removeSelectedText();
}

RichTextBox::EditBatch::EditBatch(RichTextBox& box)
    : m_box(&box), m_cursor(box.document()), m_undo(box.document()->isUndoRedoEnabled()) {
    ++box.m_batchDepth;
    box.document()->setUndoRedoEnabled(false);
    m_cursor.beginEditBlock();
}

RichTextBox::EditBatch::~EditBatch() {
    m_cursor.endEditBlock();
    if (!m_box)
        return;
    m_box->document()->setUndoRedoEnabled(m_undo);
    if (--m_box->m_batchDepth == 0)
        m_box->selectionMoved();
}

// ---- character formatting ----------------------------------------------

QTextCharFormat RichTextBox::selectionFormat() const {
    const QTextCursor c = textCursor();
    if (!c.hasSelection())
        return c.charFormat();
    QTextCursor first(document());
    first.setPosition(c.selectionStart());
    first.setPosition(c.selectionStart() + 1, QTextCursor::KeepAnchor);
    return first.charFormat();
}

void RichTextBox::mergeFormat(const QTextCharFormat& format) {
    mergeCurrentCharFormat(format);
}

void RichTextBox::clearFormatProperty(int property) {
    const QTextCursor c = textCursor();
    if (!c.hasSelection()) {
        QTextCharFormat format = c.charFormat();
        format.clearProperty(property);
        setCurrentCharFormat(format);
        return;
    }
    struct Piece {
        int start;
        int end;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    const int start = c.selectionStart();
    const int end = c.selectionEnd();
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const int a = qMax(start, f.position());
            const int z = qMin(end, f.position() + f.length());
            if (a < z && f.charFormat().hasProperty(property))
                pieces.push_back({a, z, f.charFormat()});
        }
    }
    QTextCursor edit(document());
    edit.beginEditBlock();
    for (Piece& p : pieces) {
        QTextCursor r(document());
        r.setPosition(p.start);
        r.setPosition(p.end, QTextCursor::KeepAnchor);
        p.format.clearProperty(property);
        r.setCharFormat(p.format);
    }
    edit.endEditBlock();
}

namespace {

QFont resolvedFont(const QTextCharFormat& format, const QFont& base) {
    return format.font().resolve(base);
}

} // namespace

bool RichTextBox::SelBold() const {
    return resolvedFont(selectionFormat(), m_font).weight() >= QFont::DemiBold;
}

void RichTextBox::setSelBold(bool on) {
    QTextCharFormat f;
    f.setFontWeight(on ? QFont::Bold : QFont::Normal);
    mergeFormat(f);
}

bool RichTextBox::SelItalic() const {
    return resolvedFont(selectionFormat(), m_font).italic();
}

void RichTextBox::setSelItalic(bool on) {
    QTextCharFormat f;
    f.setFontItalic(on);
    mergeFormat(f);
}

bool RichTextBox::SelUnderline() const {
    return resolvedFont(selectionFormat(), m_font).underline();
}

void RichTextBox::setSelUnderline(bool on) {
    QTextCharFormat f;
    f.setFontUnderline(on);
    mergeFormat(f);
}

bool RichTextBox::SelStrikeThru() const {
    return resolvedFont(selectionFormat(), m_font).strikeOut();
}

void RichTextBox::setSelStrikeThru(bool on) {
    QTextCharFormat f;
    f.setFontStrikeOut(on);
    mergeFormat(f);
}

qint32 RichTextBox::SelColor() const {
    const QTextCharFormat f = selectionFormat();
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        return RgbFromColor(f.foreground().color());
    return RgbFromColor(palette().color(QPalette::Text));
}

void RichTextBox::setSelColor(qint32 colour) {
    const qint32 rgb = OleTranslateColor(colour);
    if (rgb == -1)
        return;
    QTextCharFormat f;
    f.setForeground(ColorFromRgb(rgb));
    mergeFormat(f);
}

qint32 RichTextBox::SelFontBackColor() const {
    const QTextCharFormat f = selectionFormat();
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        return RgbFromColor(f.background().color());
    return -1;
}

void RichTextBox::setSelFontBackColor(qint32 colour) {
    const qint32 rgb = colour == -1 ? -1 : OleTranslateColor(colour);
    if (rgb == -1) {
        clearFormatProperty(QTextFormat::BackgroundBrush);
        return;
    }
    QTextCharFormat f;
    f.setBackground(ColorFromRgb(rgb));
    mergeFormat(f);
}

bool RichTextBox::SelSubScript() const {
    return selectionFormat().verticalAlignment() == QTextCharFormat::AlignSubScript;
}

void RichTextBox::setSelSubScript(bool on) {
    QTextCharFormat f;
    f.setVerticalAlignment(on ? QTextCharFormat::AlignSubScript : QTextCharFormat::AlignNormal);
    mergeFormat(f);
}

bool RichTextBox::SelSuperScript() const {
    return selectionFormat().verticalAlignment() == QTextCharFormat::AlignSuperScript;
}

void RichTextBox::setSelSuperScript(bool on) {
    QTextCharFormat f;
    f.setVerticalAlignment(on ? QTextCharFormat::AlignSuperScript : QTextCharFormat::AlignNormal);
    mergeFormat(f);
}

QString RichTextBox::SelFontName() const {
    return resolvedFont(selectionFormat(), m_font).family();
}

void RichTextBox::setSelFontName(const QString& name) {
    QTextCharFormat f;
    f.setFontFamilies({name});
    mergeFormat(f);
}

int RichTextBox::SelFontSize() const {
    return qRound(resolvedFont(selectionFormat(), m_font).pointSizeF());
}

void RichTextBox::setSelFontSize(int points) {
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mergeFormat(f);
}

// ---- paragraph formatting ----------------------------------------------

qint32 RichTextBox::SelAlignment() const {
    const Qt::Alignment a =
        document()->findBlock(textCursor().selectionStart()).blockFormat().alignment();
    if (a & Qt::AlignRight)
        return rtfRight;
    if (a & Qt::AlignHCenter)
        return rtfCenter;
    return rtfLeft;
}

void RichTextBox::setSelAlignment(qint32 alignment) {
    QTextBlockFormat f;
    switch (alignment) {
    case rtfRight:
        f.setAlignment(Qt::AlignRight);
        break;
    case rtfCenter:
        f.setAlignment(Qt::AlignHCenter);
        break;
    default:
        f.setAlignment(Qt::AlignLeft);
        break;
    }
    textCursor().mergeBlockFormat(f);
}

bool RichTextBox::SelBullet() const {
    return SelNumbering() == NumberingBullet;
}

void RichTextBox::setSelBullet(bool on) {
    setSelNumbering(on ? NumberingBullet : NumberingNone);
}

int RichTextBox::SelNumbering() const {
    const QTextBlock block = document()->findBlock(textCursor().selectionStart());
    const QTextList* list = block.textList();
    return list ? numberingOf(list->format().style()) : NumberingNone;
}

void RichTextBox::setSelNumbering(int kind) {
    QTextCursor c = textCursor();
    const QTextListFormat::Style style = listStyleOf(kind);
    c.beginEditBlock();
    if (style == QTextListFormat::ListStyleUndefined) {
        const int end = c.selectionEnd();
        for (QTextBlock b = document()->findBlock(c.selectionStart()); b.isValid(); b = b.next()) {
            if (QTextList* list = b.textList()) {
                list->remove(b);
                QTextCursor bc(b);
                QTextBlockFormat f = b.blockFormat();
                f.setIndent(0);
                bc.setBlockFormat(f);
            }
            if (b.position() + b.length() > end)
                break;
        }
    } else {
        QTextListFormat format;
        format.setStyle(style);
        format.setIndent(1);
        c.createList(format);
    }
    c.endEditBlock();
}

int RichTextBox::SelSpacing() const {
    const QTextBlockFormat f = document()->findBlock(textCursor().selectionStart()).blockFormat();
    return f.hasProperty(LineSpacingRuleProperty) ? f.intProperty(LineSpacingRuleProperty)
                                                  : SpacingSingle;
}

void RichTextBox::setSelSpacing(int rule) {
    QTextBlockFormat f;
    f.setProperty(LineSpacingRuleProperty, rule);
    switch (rule) {
    case SpacingOneAndHalf:
        f.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
        break;
    case SpacingDouble:
        f.setLineHeight(200, QTextBlockFormat::ProportionalHeight);
        break;
    default:
        // Single, and the rules whose amount is given separately (here 0),
        // show single spacing.
        f.setLineHeight(0, QTextBlockFormat::SingleHeight);
        break;
    }
    textCursor().mergeBlockFormat(f);
}

void RichTextBox::setBulletIndent(float twips) {
    m_bulletIndent = twips;
    if (twips > 0)
        document()->setIndentWidth(twips / TwipsPerPixelX());
    else
        document()->setIndentWidth(40);
}

// ---- box properties ----------------------------------------------------

void RichTextBox::setFont(const QFont& font) {
    m_font = font;
    applyFont();
    // Text that names a face or size of its own takes the box's instead.
    QTextDocument* doc = document();
    struct Piece {
        int start;
        int end;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat format = f.charFormat();
            if (format.hasProperty(QTextFormat::FontFamilies) ||
                format.hasProperty(QTextFormat::FontPointSize) ||
                format.hasProperty(QTextFormat::FontPixelSize))
                pieces.push_back({f.position(), f.position() + f.length(), format});
        }
    }
    if (pieces.empty())
        return;
    QTextCursor edit(doc);
    edit.beginEditBlock();
    for (Piece& p : pieces) {
        QTextCursor r(doc);
        r.setPosition(p.start);
        r.setPosition(p.end, QTextCursor::KeepAnchor);
        p.format.clearProperty(QTextFormat::FontFamilies);
        p.format.clearProperty(QTextFormat::FontPointSize);
        p.format.clearProperty(QTextFormat::FontPixelSize);
        r.setCharFormat(p.format);
    }
    edit.endEditBlock();
}

void RichTextBox::applyFont() {
    QFont shown = m_font;
    if (m_zoom != 1.0 && shown.pointSizeF() > 0)
        shown.setPointSizeF(shown.pointSizeF() * m_zoom);
    QWidget::setFont(shown);
    invalidateLines();
}

void RichTextBox::setBackColor(qint32 colour) {
    m_backColor = colour;
    applyPalette();
}

void RichTextBox::applyPalette() {
    QPalette p = palette();
    const qint32 rgb = OleTranslateColor(m_backColor);
    const QColor base =
        rgb == -1 ? QGuiApplication::palette().color(QPalette::Base) : ColorFromRgb(rgb);
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(g, QPalette::Base, base);
    if (m_hideSelection) {
        // Without the focus the selection is not shown.
        p.setColor(QPalette::Inactive, QPalette::Highlight, base);
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Inactive, QPalette::Text));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight,
                   p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Active, QPalette::HighlightedText));
    }
    setPalette(p);
}

void RichTextBox::setBorderStyle(int style) {
    m_borderStyle = style;
    setFrameShape(style != rtfNoBorder ? QFrame::Box : QFrame::NoFrame);
    setFrameShadow(QFrame::Plain);
    setLineWidth(1);
}

bool RichTextBox::ReadOnly() const {
    return (GetWindowLongA(m_hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

void RichTextBox::setReadOnly(bool on) {
    const qint64 style = GetWindowLongA(m_hwnd, GWL_STYLE);
    SetWindowLongA(m_hwnd, GWL_STYLE, on ? (style | ES_READONLY) : (style & ~ES_READONLY));
}

void RichTextBox::setHideSelection(bool on) {
    m_hideSelection = on;
    applyPalette();
}

void RichTextBox::setAutoVerbMenu(bool on) {
    m_autoVerbMenu = on;
    setContextMenuPolicy(on ? Qt::DefaultContextMenu : Qt::PreventContextMenu);
}

// ---- lines -------------------------------------------------------------

const RichTextBox::LineTable& RichTextBox::lines() const {
    if (m_linesValid)
        return *m_lineTable;
    const QTextDocument* doc = document();
    // Lays the whole text out, so every paragraph knows its lines.
    doc->documentLayout()->blockBoundingRect(doc->lastBlock());
    LineTable& t = *m_lineTable;
    t.firstLine.resize(static_cast<size_t>(doc->blockCount()));
    qint32 line = 0;
    size_t k = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && k < t.firstLine.size(); b = b.next(), ++k) {
        t.firstLine[k] = line;
        const QTextLayout* layout = b.layout();
        line += qMax(1, layout ? layout->lineCount() : 0);
    }
    t.total = qMax(1, line);
    m_linesValid = true;
    return t;
}

qint32 RichTextBox::lineCount() const {
    return lines().total;
}

qint32 RichTextBox::lineFromChar(qint32 position) const {
    if (position == -1)
        position = SelStart();
    const LineTable& t = lines();
    const int documentPosition = toDocument(qBound(0, position, TextLength()));
    const QTextBlock block = document()->findBlock(documentPosition);
    if (!block.isValid())
        return t.total - 1;
    const QTextLayout* layout = block.layout();
    int within = 0;
    if (layout && layout->lineCount() > 0) {
        const QTextLine line = layout->lineForTextPosition(documentPosition - block.position());
        within = line.isValid() ? line.lineNumber() : layout->lineCount() - 1;
    }
    return t.firstLine[static_cast<size_t>(block.blockNumber())] + within;
}

qint32 RichTextBox::lineIndex(qint32 line) const {
    if (line == -1)
        line = lineFromChar(-1);
    const LineTable& t = lines();
    if (line < 0 || line >= t.total)
        return -1;
    const auto it = std::upper_bound(t.firstLine.begin(), t.firstLine.end(), line);
    const int k = static_cast<int>(it - t.firstLine.begin()) - 1;
    const QTextBlock block = document()->findBlockByNumber(k);
    const QTextLayout* layout = block.layout();
    const int within = line - t.firstLine[static_cast<size_t>(k)];
    int start = block.position();
    if (layout && within < layout->lineCount())
        start += layout->lineAt(within).textStart();
    return fromDocument(start);
}

qint32 RichTextBox::lineLength(qint32 position) const {
    if (position == -1)
        position = SelStart();
    lines();
    const int documentPosition = toDocument(qBound(0, position, TextLength()));
    const QTextBlock block = document()->findBlock(documentPosition);
    if (!block.isValid())
        return 0;
    const QTextLayout* layout = block.layout();
    const int textLength = block.length() - 1;
    if (!layout || layout->lineCount() == 0)
        return textLength;
    QTextLine line = layout->lineForTextPosition(documentPosition - block.position());
    if (!line.isValid())
        line = layout->lineAt(layout->lineCount() - 1);
    if (line.lineNumber() == layout->lineCount() - 1)
        return textLength - line.textStart();
    return line.textLength();
}

qreal RichTextBox::lineTop(qint32 line) const {
    const LineTable& t = lines();
    line = qBound(0, line, t.total - 1);
    const auto it = std::upper_bound(t.firstLine.begin(), t.firstLine.end(), line);
    const int k = static_cast<int>(it - t.firstLine.begin()) - 1;
    const QTextBlock block = document()->findBlockByNumber(k);
    const QTextLayout* layout = block.layout();
    if (!layout)
        return 0;
    const int within = line - t.firstLine[static_cast<size_t>(k)];
    qreal y = layout->position().y();
    if (within < layout->lineCount())
        y += layout->lineAt(within).y();
    return y;
}

qint32 RichTextBox::firstVisibleLine() const {
    const LineTable& t = lines();
    const QTextDocument* doc = document();
    const qreal y = verticalScrollBar()->value();
    // The last paragraph that starts at or above the top of the view.
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) {
        const int mid = (low + high + 1) / 2;
        const QTextLayout* layout = doc->findBlockByNumber(mid).layout();
        if (layout && layout->position().y() <= y)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const QTextLayout* layout = block.layout();
    int within = 0;
    if (layout) {
        for (int i = 1; i < layout->lineCount(); ++i) {
            if (layout->position().y() + layout->lineAt(i).y() <= y)
                within = i;
            else
                break;
        }
    }
    return t.firstLine[static_cast<size_t>(low)] + within;
}

void RichTextBox::lineScroll(qint32 lines) {
    if (lines == 0)
        return;
    const qint32 target = qBound(0, firstVisibleLine() + lines, lineCount() - 1);
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(target == 0 ? bar->minimum()
                              : static_cast<int>(std::ceil(lineTop(target) - 1e-6)));
}

void RichTextBox::scrollPages(qint32 pages) {
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() + pages * bar->pageStep());
}

// ---- scrolling through the window procedure ----------------------------

void RichTextBox::scrollBarAction(QScrollBar* bar, int action) {
    if (m_trackPosition)
        return;
    int code = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        code = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = SB_LINEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = SB_BOTTOM;
        break;
    case QAbstractSlider::SliderMove:
        // The wheel moves the slider too; only dragging the thumb is a
        // scroll-bar action.
        if (!bar->isSliderDown())
            return;
        code = SB_THUMBTRACK;
        break;
    default:
        return;
    }
    const int target = bar->sliderPosition();
    // Nothing moves until the message has been handled.
    bar->setSliderPosition(bar->value());
    m_scrollActionSent = true;
    m_trackPosition = target;
    const UINT msg = bar->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(m_hwnd, msg, MakeWParam(code, qBound(0, target, 0xFFFF)), 0);
    m_trackPosition.reset();
}

void RichTextBox::scrollBarReleased(QScrollBar* bar) {
    if (!m_scrollActionSent)
        return;
    m_scrollActionSent = false;
    const UINT msg = bar->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
    if (bar->isSliderDown()) {
        const int position = bar->sliderPosition();
        m_trackPosition = position;
        SendMessageA(m_hwnd, msg, MakeWParam(SB_THUMBPOSITION, qBound(0, position, 0xFFFF)), 0);
        m_trackPosition.reset();
    }
    SendMessageA(m_hwnd, msg, MakeWParam(SB_ENDSCROLL, 0), 0);
}

bool RichTextBox::eventFilter(QObject* watched, QEvent* event) {
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (bar && (bar == verticalScrollBar() || bar == horizontalScrollBar())) {
        if (event->type() == QEvent::MouseButtonPress)
            m_scrollActionSent = false;
        else if (event->type() == QEvent::MouseButtonRelease)
            scrollBarReleased(bar);
    }
    return QTextEdit::eventFilter(watched, event);
}

void RichTextBox::scroll(QScrollBar* bar, bool vertical, int code, int trackPosition) {
    switch (code) {
    case SB_LINEUP:
        if (vertical)
            lineScroll(-1);
        else
            bar->setValue(bar->value() - bar->singleStep());
        break;
    case SB_LINEDOWN:
        if (vertical)
            lineScroll(1);
        else
            bar->setValue(bar->value() + bar->singleStep());
        break;
    case SB_PAGEUP:
        bar->setValue(bar->value() - bar->pageStep());
        break;
    case SB_PAGEDOWN:
        bar->setValue(bar->value() + bar->pageStep());
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        bar->setValue(trackPosition);
        break;
    case SB_TOP:
        bar->setValue(bar->minimum());
        break;
    case SB_BOTTOM:
        bar->setValue(bar->maximum());
        break;
    default:
        break;
    }
}

LRESULT RichTextBox::defaultWindowProc(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
        const bool vertical = msg == WM_VSCROLL;
        const int track = m_trackPosition ? *m_trackPosition : HiWord(wParam);
        scroll(vertical ? verticalScrollBar() : horizontalScrollBar(), vertical, LoWord(wParam),
               track);
        return 0;
    }
    case EM_SCROLL: {
        if (wParam < SB_LINEUP || wParam > SB_PAGEDOWN)
            return 0;
        const qint32 before = firstVisibleLine();
        scroll(verticalScrollBar(), true, wParam, 0);
        const qint32 moved = firstVisibleLine() - before;
        return static_cast<LRESULT>((1u << 16) | (static_cast<quint32>(moved) & 0xFFFF));
    }
    case WM_GETTEXTLENGTH:
        return TextLength();
    default:
        return 0;
    }
}

// ---- view --------------------------------------------------------------

void RichTextBox::setTargetDevice(QPaintDevice* device, qint32 lineWidthTwips) {
    if (!device) {
        if (lineWidthTwips == 1) {
            setLineWrapMode(QTextEdit::NoWrap);
        } else if (lineWidthTwips == 0) {
            setLineWrapMode(QTextEdit::WidgetWidth);
        } else {
            setLineWrapMode(QTextEdit::FixedPixelWidth);
            setLineWrapColumnOrWidth(TwipsToPixelsX(lineWidthTwips));
        }
    } else {
        // Wrap where the device would: its width in twips, shown on screen.
        setLineWrapMode(QTextEdit::FixedPixelWidth);
        setLineWrapColumnOrWidth(qMax(1, TwipsToPixelsX(lineWidthTwips)));
    }
    invalidateLines();
    Q_EMIT viewMoved();
}

bool RichTextBox::setZoom(int numerator, int denominator) {
    if (numerator == 0 && denominator == 0) {
        m_zoom = 1.0;
    } else {
        if (numerator <= 0 || denominator <= 0)
            return false;
        const qreal ratio = qreal(numerator) / denominator;
        if (ratio <= 1.0 / 64 || ratio >= 64)
            return false;
        m_zoom = ratio;
    }
    applyFont();
    Q_EMIT viewMoved();
    return true;
}

// ---- printing ----------------------------------------------------------

qint32 RichTextBox::formatRange(const FormatRange& range, bool render) {
    QPainter* painter = range.painter;
    const qint32 length = TextLength();
    const qint32 end = range.cpMax < 0 || range.cpMax > length ? length : range.cpMax;
    if (range.cpMin >= end)
        return end;
    if (!painter || !painter->device())
        return range.cpMin;
    QPaintDevice* device = painter->device();
    const qreal sx = device->logicalDpiX() / 1440.0;
    const qreal sy = device->logicalDpiY() / 1440.0;
    const qreal width = (range.rc.right - range.rc.left) * sx;
    const qreal height = (range.rc.bottom - range.rc.top) * sy;
    if (width < 1 || height < 1)
        return range.cpMin;

    if (!m_print || m_print->device != device || m_print->width != width) {
        m_print = std::make_unique<PrintLayout>();
        m_print->document.reset(document()->clone());
        m_print->document->setDefaultFont(m_font);
        m_print->document->setDocumentMargin(0);
        m_print->document->documentLayout()->setPaintDevice(device);
        m_print->document->setTextWidth(width);
        m_print->device = device;
        m_print->width = width;
    }
    QTextDocument* doc = m_print->document.get();
    QAbstractTextDocumentLayout* layout = doc->documentLayout();
    layout->blockBoundingRect(doc->lastBlock());

    const int startPosition = toDocument(range.cpMin);
    const int endPosition = toDocument(end);
    QTextBlock block = doc->findBlock(startPosition);
    if (!block.isValid())
        return range.cpMin;
    int firstLine = 0;
    if (const QTextLayout* l = block.layout(); l && l->lineCount() > 0) {
        const QTextLine line = l->lineForTextPosition(startPosition - block.position());
        firstLine = line.isValid() ? line.lineNumber() : 0;
    }
    qreal top = -1;
    qreal bottom = 0;
    int next = -1;
    for (; block.isValid() && next < 0; block = block.next(), firstLine = 0) {
        const QTextLayout* l = block.layout();
        if (!l)
            continue;
        for (int i = firstLine; i < l->lineCount(); ++i) {
            const QTextLine line = l->lineAt(i);
            const int lineStart = block.position() + line.textStart();
            const qreal lineTopY = l->position().y() + line.y();
            const qreal lineBottom = lineTopY + line.height();
            if (top >= 0 && (lineStart >= endPosition || lineBottom - top > height)) {
                next = lineStart;
                break;
            }
            if (top < 0)
                top = lineTopY;
            bottom = lineBottom;
        }
    }
    if (top < 0)
        return range.cpMin;
    if (render) {
        painter->save();
        painter->translate(range.rc.left * sx, range.rc.top * sy - top);
        const QRectF clip(0, top, width, bottom - top);
        painter->setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        layout->draw(painter, context);
        painter->restore();
    }
    return next < 0 ? end : qMin(end, fromDocument(next));
}

void RichTextBox::releaseFormatRange() {
    m_print.reset();
}

// ---- files -------------------------------------------------------------

void RichTextBox::LoadFile(const QString& fileName, int fileType) {
    if (fileType != rtfRTF && fileType != rtfText)
        throw ComError(380, errorSource, QStringLiteral("Invalid property value"));
    QFile file(fileName);
    if (!file.exists())
        throw ComError(53, errorSource, QStringLiteral("File not found"));
    if (!file.open(QIODevice::ReadOnly))
        throw ComError(75, errorSource, QStringLiteral("Path/File access error"));
    const QByteArray bytes = file.readAll();
    if (fileType == rtfRTF && LooksLikeRtf(QString::fromLatin1(bytes.left(8))))
        setTextRTF(QString::fromLatin1(bytes));
    else
        setText(DecodeUtf8OrLatin1(bytes));
    m_fileName = fileName;
}

void RichTextBox::SaveFile(const QString& fileName, int fileType) const {
    if (fileType != rtfRTF && fileType != rtfText)
        throw ComError(380, errorSource, QStringLiteral("Invalid property value"));
    const QByteArray bytes = fileType == rtfText ? Text().toUtf8() : TextRTF().toLatin1();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ComError(75, errorSource, QStringLiteral("Path/File access error"));
}

// ---- events ------------------------------------------------------------

void RichTextBox::selectionMoved() {
    if (m_batchDepth > 0)
        return;
    const QTextCursor c = textCursor();
    if (c.anchor() == m_lastAnchor && c.position() == m_lastPosition)
        return;
    m_lastAnchor = c.anchor();
    m_lastPosition = c.position();
    Q_EMIT SelChange();
}

// A handler of the box's events may close the window that holds the box and
// so delete it: after every event raised, the box checks that it is still
// there before it goes on, and takes the event, so that nothing offers it to
// the widgets that went with the box.

void RichTextBox::keyPressEvent(QKeyEvent* event) {
    const QPointer<RichTextBox> self(this);
    const int pressedCode = VbKeyCodeFromQt(event->key());
    const int pressedShift = VbShiftFromQt(event->modifiers());
    int keyCode = pressedCode;
    int shift = pressedShift;
    Q_EMIT KeyDown(keyCode, shift);
    if (!self) {
        event->accept();
        return;
    }
    if (pressedCode != 0 && keyCode == 0) {
        event->accept();
        return;
    }
    int key = event->key();
    Qt::KeyboardModifiers modifiers = event->modifiers();
    QString text = event->text();
    if (keyCode != pressedCode || shift != pressedShift) {
        key = QtKeyFromVbKeyCode(keyCode);
        modifiers = QtModifiersFromVbShift(shift) | (event->modifiers() & Qt::KeypadModifier);
        text = textForKeyCode(keyCode, shift);
    }
    if (!text.isEmpty()) {
        const int typed = text.at(0).unicode();
        int keyAscii = typed;
        Q_EMIT KeyPress(keyAscii);
        if (!self) {
            event->accept();
            return;
        }
        if (keyAscii == 0) {
            event->accept();
            return;
        }
        if (keyAscii != typed) {
            text = QString(QChar(static_cast<char16_t>(keyAscii & 0xFFFF)));
            key = keyForCharacter(keyAscii);
        }
    }
    if (key == event->key() && modifiers == event->modifiers() && text == event->text()) {
        QTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(QEvent::KeyPress, key, modifiers, text, event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
    QTextEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event) {
    int keyCode = VbKeyCodeFromQt(event->key());
    int shift = VbShiftFromQt(event->modifiers());
    const QPointer<RichTextBox> self(this);
    Q_EMIT KeyUp(keyCode, shift);
    if (!self) {
        event->accept();
        return;
    }
    QTextEdit::keyReleaseEvent(event);
}

void RichTextBox::emitMouse(QMouseEvent* event, int which) {
    int button = VbButtonsFromQt(which == 1 ? event->buttons() : Qt::MouseButtons(event->button()));
    int shift = VbShiftFromQt(event->modifiers());
    float x = static_cast<float>(event->position().x() * TwipsPerPixelX());
    float y = static_cast<float>(event->position().y() * TwipsPerPixelY());
    switch (which) {
    case 0:
        Q_EMIT MouseDown(button, shift, x, y);
        break;
    case 1:
        Q_EMIT MouseMove(button, shift, x, y);
        break;
    default:
        Q_EMIT MouseUp(button, shift, x, y);
        break;
    }
}

void RichTextBox::mousePressEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    emitMouse(event, 0);
    if (!self) {
        event->accept();
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    emitMouse(event, 1);
    if (!self) {
        event->accept();
        return;
    }
    QTextEdit::mouseMoveEvent(event);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    QTextEdit::mouseReleaseEvent(event);
    if (!self) {
        event->accept();
        return;
    }
    emitMouse(event, 2);
    if (!self) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        Q_EMIT Click();
        if (!self)
            event->accept();
    }
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    QTextEdit::mouseDoubleClickEvent(event);
    if (!self) {
        event->accept();
        return;
    }
    Q_EMIT DblClick();
    if (!self)
        event->accept();
}

void RichTextBox::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    invalidateLines();
    Q_EMIT viewMoved();
}

} // namespace platform
