#include "platform/richedit/RichTextBox.h"

#include "platform/com/ComError.h"
#include "platform/richedit/CharFormat.h"
#include "platform/richedit/EditBatch.h"
#include "platform/richedit/OleColor.h"
#include "platform/richedit/PrintLayout.h"
#include "platform/richedit/Rtf.h"
#include "platform/richedit/ScrollBarMessages.h"
#include "platform/richedit/VisualLines.h"
#include "platform/text/DecodeText.h"
#include "platform/window/Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <utility>

namespace platform {

namespace {

const QString errorSource = QStringLiteral("RichTextBox");

// One line break for CR LF, CR or LF.
QString normalizedBreaks(const QString& text) {
    if (!text.contains(QLatin1Char('\r')))
        return text;
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace

RichTextBox::RichTextBox(QWidget* parent)
    : QPlainTextEdit(parent), m_backColor(vbWindowBackground),
      m_batch(std::make_unique<EditBatch>(*document(), *this, [this] { closeBatch(); })),
      m_lines(std::make_unique<VisualLines>(*document())) {
    m_font = QPlainTextEdit::font();
    applyFont();
    setFrameShape(QFrame::NoFrame);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setContextMenuPolicy(Qt::PreventContextMenu);
    // The mouse is heard moving over the text, buttons pressed or not.
    viewport()->setMouseTracking(true);

    m_hwnd = CreatePlatformWindow(this, [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
        return defaultWindowProc(msg, wParam, lParam);
    });
    SetStyleChangedHandler(m_hwnd, [this](HWND, int index, qint64, qint64 value) {
        if (index == GWL_STYLE)
            QPlainTextEdit::setReadOnly((value & ES_READONLY) != 0);
    });

    // The scroll bars' actions reach the window procedure first, and the box
    // scrolls as its procedure says, not as the widget would by itself.
    disconnect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, nullptr);
    // The user scrolls the text as it stands.
    m_scrollBars = std::make_unique<ScrollBarMessages>(
        m_hwnd, verticalScrollBar(), horizontalScrollBar(), [this] { closeBatch(); });
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, this, &RichTextBox::viewMoved);

    connect(document(), &QTextDocument::contentsChange, this, [this](int from, int, int) {
        m_lastRunEnd = -1;
        m_lines->forget(document()->findBlock(from).blockNumber());
    });
    connect(this, &QPlainTextEdit::textChanged, this, &RichTextBox::textChanged);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &RichTextBox::selectionMoved);
    connect(this, &QPlainTextEdit::selectionChanged, this, &RichTextBox::selectionMoved);
    applyPalette();
}

RichTextBox::~RichTextBox() {
    closeBatch();
    // Nothing may reach this object's handlers while the text widget below
    // it is taken down.
    disconnect(this, nullptr, this, nullptr);
    document()->disconnect(this);
    verticalScrollBar()->disconnect(this);
    m_scrollBars.reset();
    document()->documentLayout()->setPaintDevice(viewport());
    DestroyPlatformWindow(m_hwnd);
}

// ---- positions ---------------------------------------------------------

int RichTextBox::toDocument(qint32 position) const {
    if (position <= 0)
        return 0;
    const QTextDocument* doc = document();
    if (position >= TextLength())
        return documentCharacters() - 1;
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
    closeBatch();
    setPlainText(normalizedBreaks(text));
}

void RichTextBox::setText(const QString& text) {
    setDocumentText(text);
}

qint32 RichTextBox::TextLength() const {
    return documentCharacters() - 1 + document()->blockCount() - 1;
}

int RichTextBox::documentCharacters() const {
    if (!m_batch->isOpen())
        return document()->characterCount();
    if (m_batchCharacters < 0)
        m_batchCharacters = document()->characterCount();
    return m_batchCharacters;
}

qint32 RichTextBox::SelStart() const {
    return fromDocument(textCursor().selectionStart());
}

QTextCharFormat RichTextBox::formatBefore(int position) const {
    // Right behind the last run written, its own format: no need to look.
    if (position == m_lastRunEnd)
        return m_lastRunFormat;
    if (m_batch->isOpen()) {
        QTextCursor& w = m_batch->open();
        w.setPosition(position);
        return w.charFormat();
    }
    QTextCursor at(document());
    at.setPosition(position);
    return at.charFormat();
}

void RichTextBox::setSelStart(qint32 start) {
    // The end, where the hosts put the caret, without a second look at the
    // text's length.
    const qint32 length = TextLength();
    const int position =
        start >= length ? length - (document()->blockCount() - 1) : toDocument(qMax(start, 0));
    QTextCursor c = textCursor();
    if (!c.hasSelection() && c.position() == position) {
        // The caret stays: it takes the formatting before it, as a move
        // gives it, and comes into view (while a batch is open, when the
        // batch closes). Nothing is repainted for it.
        const QTextCharFormat before = formatBefore(position);
        if (!(before == currentCharFormat()))
            setCurrentCharFormat(before);
        if (!m_batch->isOpen())
            ensureCursorVisible();
        return;
    }
    closeBatch();
    c.setPosition(position);
    setTextCursor(c);
}

qint32 RichTextBox::SelLength() const {
    const QTextCursor c = textCursor();
    return fromDocument(c.selectionEnd()) - fromDocument(c.selectionStart());
}

void RichTextBox::setSelLength(qint32 length) {
    closeBatch();
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
    QTextCharFormat format = textCursor().charFormat();
    format.clearProperty(QTextFormat::ObjectType);
    writeRun(text, format);
}

QString RichTextBox::TextRTF() const {
    return WriteRtf(*document(), 0, document()->characterCount() - 1);
}

void RichTextBox::setTextRTF(const QString& rtf) {
    if (!LooksLikeRtf(rtf)) {
        setDocumentText(rtf);
        return;
    }
    closeBatch();
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
    closeBatch();
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
    const int end = toDocument(qMin(count, TextLength()));
    m_lastRunEnd = -1;
    QTextCursor& w = m_batch->open();
    w.setPosition(0);
    w.setPosition(end, QTextCursor::KeepAnchor);
    w.removeSelectedText();
    m_batchCharacters = -1;
}

// ---- the program's writes ----------------------------------------------

bool RichTextBox::editBatchOpen() const {
    return m_batch->isOpen();
}

void RichTextBox::closeEditBatch() const {
    // Closing changes no text, format or position: only when the layout and
    // the view learn of them.
    const_cast<RichTextBox*>(this)->closeBatch();
}

void RichTextBox::closeBatch() {
    if (!m_batch->isOpen())
        return;
    m_closing = true;
    m_changedWhileClosing = false;
    m_batchCharacters = -1;
    m_batch->close();
    showCaret();
    // What the view shows is laid out now, so that painting it changes no
    // line count and moves no scroll bar.
    m_lines->linesFitting(top(), viewport()->height());
    m_closing = false;
    const QPointer<RichTextBox> self(this);
    if (std::exchange(m_changedWhileClosing, false))
        Q_EMIT Change();
    if (!self)
        return;
    selectionMoved();
    if (!self)
        return;
    Q_EMIT viewMoved();
}

void RichTextBox::showCaret() {
    // A caret at the end of the text, where the program writes, needs the
    // view at the end. Far from it, the view jumps there unpainted and is
    // painted whole: the blocks below the old view are not laid out to
    // scroll the old picture.
    const QTextCursor caret = textCursor();
    QScrollBar* bar = verticalScrollBar();
    if (isVisible() && !caret.hasSelection() && caret.atEnd() &&
        bar->maximum() - bar->value() > 2 * bar->pageStep()) {
        viewport()->setUpdatesEnabled(false);
        bar->setValue(bar->maximum());
        viewport()->setUpdatesEnabled(true);
    }
    ensureCursorVisible();
}

QTextCursor& RichTextBox::writer() {
    QTextCursor& w = m_batch->open();
    const QTextCursor caret = textCursor();
    if (w.anchor() != caret.anchor() || w.position() != caret.position()) {
        w.setPosition(caret.anchor());
        w.setPosition(caret.position(), QTextCursor::KeepAnchor);
    }
    return w;
}

void RichTextBox::writeRun(const QString& text, const QTextCharFormat& format) {
    // The caret is carried along behind the text, as every cursor at the
    // place of an insertion is.
    QTextCursor& w = writer();
    // The run replaces the selection and the writer ends behind it.
    const int from = w.selectionStart();
    const int removed = w.selectionEnd() - from;
    w.insertText(text, format);
    const int end = w.position();
    if (m_batchCharacters >= 0)
        m_batchCharacters += end - from - removed;
    // A caret at the start of a paragraph that has text takes the format of
    // that text, not of the run before.
    const char16_t last = text.isEmpty() ? 0 : text.back().unicode();
    const bool startsParagraph =
        last == u'\n' || last == u'\r' || last == 0x2029 || last == 0xFDD0 || last == 0xFDD1;
    m_lastRunEnd = !startsParagraph || end == documentCharacters() - 1 ? end : -1;
    m_lastRunFormat = format;
    // Clearing detaches the shared format: only when there is something to clear.
    if (m_lastRunFormat.hasProperty(QTextFormat::ObjectIndex))
        m_lastRunFormat.clearProperty(QTextFormat::ObjectIndex);
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
    m_lastRunEnd = -1;
    mergeCurrentCharFormat(format);
}

void RichTextBox::clearFormatProperty(int property) {
    m_lastRunEnd = -1;
    const QTextCursor c = textCursor();
    if (c.hasSelection()) {
        ClearCharProperties(*document(), c.selectionStart(), c.selectionEnd(), {property});
        return;
    }
    QTextCharFormat format = c.charFormat();
    format.clearProperty(property);
    setCurrentCharFormat(format);
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
    return NumberingOf(document()->findBlock(textCursor().selectionStart()));
}

void RichTextBox::setSelNumbering(int kind) {
    QTextCursor c = textCursor();
    SetNumbering(c, kind);
}

int RichTextBox::SelSpacing() const {
    return SpacingRuleOf(document()->findBlock(textCursor().selectionStart()).blockFormat());
}

void RichTextBox::setSelSpacing(int rule) {
    textCursor().mergeBlockFormat(SpacingFormat(rule));
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
    closeBatch();
    m_font = font;
    applyFont();
    // Text that names a face or size of its own takes the box's instead.
    ClearCharProperties(
        *document(), 0, document()->characterCount(),
        {QTextFormat::FontFamilies, QTextFormat::FontPointSize, QTextFormat::FontPixelSize});
}

void RichTextBox::applyFont() {
    // Latin text drawn without shaping loses only ligatures and kerning and
    // lays out much faster; scripts that need shaping keep it.
    QFont shown = m_font;
    shown.setStyleStrategy(QFont::StyleStrategy(shown.styleStrategy() | QFont::PreferNoShaping));
    QWidget::setFont(shown);
    forgetLines();
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
    for (QPalette::ColorGroup g : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(g, QPalette::Base, base);
        // Beside a narrowed view (fixed-width wrapping) the box shows its
        // background too.
        p.setColor(g, QPalette::Window, base);
    }
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
    setAutoFillBackground(true);
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
    if (on == m_hideSelection)
        return;
    m_hideSelection = on;
    applyPalette();
}

void RichTextBox::setAutoVerbMenu(bool on) {
    m_autoVerbMenu = on;
    setContextMenuPolicy(on ? Qt::DefaultContextMenu : Qt::PreventContextMenu);
}

// ---- printing ----------------------------------------------------------

qint32 RichTextBox::formatRange(const FormatRange& range, bool render) {
    closeBatch();
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
    if (!m_print || !m_print->isFor(device, width))
        m_print = std::make_unique<PrintLayout>(*document(), m_font, device, width);
    const int from = toDocument(range.cpMin);
    const int next = m_print->formatPage(*painter, QPointF(range.rc.left * sx, range.rc.top * sy),
                                         height, from, toDocument(end), render);
    if (next == from)
        return range.cpMin;
    return qMin(end, fromDocument(next));
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
    closeBatch();
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
    closeEditBatch();
    const QByteArray bytes = fileType == rtfText ? Text().toUtf8() : TextRTF().toLatin1();
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ComError(75, errorSource, QStringLiteral("Path/File access error"));
}

} // namespace platform
