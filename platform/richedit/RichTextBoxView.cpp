#include "platform/richedit/RichTextBox.h"

#include "platform/richedit/EditBatch.h"
#include "platform/richedit/VisualLines.h"
#include "platform/richedit/ZoomDevice.h"
#include "platform/window/Twips.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

// The box's lines, its scrolling (in lines, through its window procedure),
// its wrapping and its zoom.

namespace platform {

// ---- lines -------------------------------------------------------------

void RichTextBox::forgetLines() {
    if (m_lines)
        m_lines->forgetAll();
}

LinePlace RichTextBox::top() const {
    const QTextBlock block = firstVisibleBlock();
    m_lines->layOut(block);
    // The view's top edge lies below the lines of the block shown above it.
    return {block, VisualLines::lineReaching(block, -contentOffset().y() + 0.5)};
}

qint32 RichTextBox::firstVisibleLine() const {
    closeEditBatch();
    m_lines->layOutThrough(top().block);
    // The view keeps its block while the ones above it are laid out.
    const LinePlace at = top();
    m_lines->layOutThrough(at.block);
    return at.block.firstLineNumber() + at.line;
}

qint32 RichTextBox::lineFromChar(qint32 position) const {
    closeEditBatch();
    if (position == -1)
        position = SelStart();
    return m_lines->lineOf(toDocument(qBound(0, position, TextLength())));
}

qint32 RichTextBox::lineIndex(qint32 line) const {
    closeEditBatch();
    if (line == -1)
        line = lineFromChar(-1);
    const QTextBlock block = m_lines->blockOfLine(line);
    if (!block.isValid())
        return -1;
    const QTextLayout* layout = block.layout();
    const int within = line - block.firstLineNumber();
    int start = block.position();
    if (layout && within < layout->lineCount())
        start += layout->lineAt(within).textStart();
    return fromDocument(start);
}

qint32 RichTextBox::lineLength(qint32 position) const {
    closeEditBatch();
    if (position == -1)
        position = SelStart();
    const int documentPosition = toDocument(qBound(0, position, TextLength()));
    const QTextBlock block = document()->findBlock(documentPosition);
    if (!block.isValid())
        return 0;
    m_lines->layOut(block);
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

qint32 RichTextBox::lineCount() const {
    closeEditBatch();
    return m_lines->total();
}

qint32 RichTextBox::linesFromTop(qint32 atMost) const {
    closeEditBatch();
    return m_lines->linesFrom(top(), atMost);
}

qint32 RichTextBox::pageLines() const {
    return m_lines->linesFitting(top(), viewport()->height());
}

qint32 RichTextBox::lineScroll(qint32 lines) {
    closeBatch();
    const LinePlace from = top();
    if (lines == 0 || !from.block.isValid())
        return 0;
    const LinePlace to = m_lines->moved(from, lines);
    // The scroll bar counts lines as the view does.
    verticalScrollBar()->setValue(to.block.firstLineNumber() + to.line);
    // What moved, as far as the text let the view go.
    return VisualLines::linesBetween(from, top());
}

// ---- scrolling through the window procedure ----------------------------

void RichTextBox::scroll(QScrollBar* bar, bool vertical, int code, int trackPosition) {
    closeBatch();
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
        if (vertical)
            lineScroll(-pageLines());
        else
            bar->setValue(bar->value() - bar->pageStep());
        break;
    case SB_PAGEDOWN:
        if (vertical)
            lineScroll(pageLines());
        else
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

LRESULT RichTextBox::defaultWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_VSCROLL:
    case WM_HSCROLL: {
        const bool vertical = msg == WM_VSCROLL;
        const int track = m_scrollBars->trackPosition().value_or(HiWord(wParam));
        scroll(vertical ? verticalScrollBar() : horizontalScrollBar(), vertical, LoWord(wParam),
               track);
        return 0;
    }
    case EM_SCROLL: {
        qint32 moved = 0;
        switch (wParam) {
        case SB_LINEUP:
            moved = lineScroll(-1);
            break;
        case SB_LINEDOWN:
            moved = lineScroll(1);
            break;
        case SB_PAGEUP:
            closeBatch();
            moved = lineScroll(-pageLines());
            break;
        case SB_PAGEDOWN:
            closeBatch();
            moved = lineScroll(pageLines());
            break;
        default:
            return 0;
        }
        return static_cast<LRESULT>((1u << 16) | (static_cast<quint32>(moved) & 0xFFFF));
    }
    case WM_GETTEXTLENGTH:
        return TextLength();
    default:
        return editingWindowProc(msg, wParam, lParam);
    }
}

// ---- view --------------------------------------------------------------

void RichTextBox::setTargetDevice(QPaintDevice* device, qint32 lineWidthTwips) {
    closeBatch();
    m_lineWidthTwips = lineWidthTwips;
    if (!device && lineWidthTwips == 1)
        setLineWrapMode(QPlainTextEdit::NoWrap);
    else
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
    updateWrapMargin();
    forgetLines();
    Q_EMIT viewMoved();
}

// A wrapping width narrower than the view is a margin at the view's right;
// the text cannot be laid out wider than the view, so a wider one wraps at
// the window's edge.
void RichTextBox::updateWrapMargin() {
    const bool fixed = lineWrapMode() != QPlainTextEdit::NoWrap && m_lineWidthTwips != 0;
    const int width = fixed ? qMax(1, TwipsToPixelsX(m_lineWidthTwips)) : 0;
    const int natural = viewport()->width() + m_wrapMargin;
    const int margin = fixed && width < natural ? natural - width : 0;
    if (margin == m_wrapMargin)
        return;
    m_wrapMargin = margin;
    setViewportMargins(0, 0, margin, 0);
}

bool RichTextBox::setZoom(int numerator, int denominator) {
    qreal zoom = 1.0;
    if (numerator != 0 || denominator != 0) {
        if (numerator <= 0 || denominator <= 0)
            return false;
        zoom = qreal(numerator) / denominator;
        if (zoom <= 1.0 / 64 || zoom >= 64)
            return false;
    }
    closeBatch();
    // The text is laid out for a device of the view's resolution times the
    // zoom; the document keeps every size as it was given.
    std::unique_ptr<QPaintDevice> device;
    if (zoom != 1.0)
        device = std::make_unique<ZoomDevice>(*viewport(), zoom);
    document()->documentLayout()->setPaintDevice(device ? device.get() : viewport());
    m_zoomDevice = std::move(device);
    document()->setDefaultFont(document()->defaultFont());
    forgetLines();
    viewport()->update();
    Q_EMIT viewMoved();
    return true;
}

} // namespace platform
