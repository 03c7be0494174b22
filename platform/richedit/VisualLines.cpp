#include "platform/richedit/VisualLines.h"

#include <QPlainTextDocumentLayout>
#include <QSignalBlocker>
#include <QTextDocument>
#include <QTextLayout>

namespace platform {

VisualLines::VisualLines(QTextDocument& document) : m_document(document) {}

QPlainTextDocumentLayout* VisualLines::layout() const {
    return qobject_cast<QPlainTextDocumentLayout*>(m_document.documentLayout());
}

void VisualLines::layOut(const QTextBlock& block) const {
    if (QPlainTextDocumentLayout* l = layout())
        l->ensureBlockLayout(block);
}

void VisualLines::layOutThrough(const QTextBlock& block) {
    if (!block.isValid())
        return;
    const int target = block.blockNumber();
    QPlainTextDocumentLayout* l = layout();
    if (!l || m_laidOut > target) {
        layOut(block);
        return;
    }
    {
        // Each block laid out may change the text's size; the views hear of
        // it once, below, not once a block.
        const QSignalBlocker quiet(l);
        int number = m_laidOut;
        for (QTextBlock b = m_document.findBlockByNumber(number); b.isValid() && number <= target;
             b = b.next(), ++number)
            l->ensureBlockLayout(b);
    }
    m_laidOut = target + 1;
    Q_EMIT l->documentSizeChanged(l->documentSize());
}

int VisualLines::linesOf(const QTextBlock& block) {
    const QTextLayout* layout = block.layout();
    return layout ? qMax(1, layout->lineCount()) : 1;
}

int VisualLines::lineWithinBlock(const QTextBlock& block, int documentPosition) const {
    const QTextLayout* layout = block.layout();
    if (!layout || layout->lineCount() == 0)
        return 0;
    const QTextLine line = layout->lineForTextPosition(documentPosition - block.position());
    return line.isValid() ? line.lineNumber() : layout->lineCount() - 1;
}

qint32 VisualLines::lineOf(int documentPosition) {
    const QTextBlock block = m_document.findBlock(documentPosition);
    if (!block.isValid())
        return total() - 1;
    layOutThrough(block);
    return block.firstLineNumber() + lineWithinBlock(block, documentPosition);
}

QTextBlock VisualLines::blockOfLine(qint32 line) {
    if (line < 0)
        return {};
    const auto holds = [line](const QTextBlock& b) {
        return b.firstLineNumber() + b.lineCount() > line;
    };
    // Lay out downwards in growing steps until the blocks laid out hold the
    // line: at most twice what the line needs.
    const int blocks = m_document.blockCount();
    for (int step = 64;; step = qMin(step * 2, blocks)) {
        if (m_laidOut > 0 && holds(m_document.findBlockByNumber(m_laidOut - 1)))
            return m_document.findBlockByLineNumber(line);
        if (m_laidOut >= blocks)
            return {};
        layOutThrough(m_document.findBlockByNumber(qMin(m_laidOut + step, blocks) - 1));
    }
}

int VisualLines::lineReaching(const QTextBlock& block, qreal y) {
    const QTextLayout* layout = block.layout();
    const int count = layout ? layout->lineCount() : 0;
    int line = 0;
    while (line < count - 1 && layout->lineAt(line).naturalTextRect().bottom() <= y)
        ++line;
    return line;
}

LinePlace VisualLines::moved(LinePlace from, qint32 lines) const {
    LinePlace at = from;
    for (qint32 left = qAbs(lines); left > 0;) {
        if (lines > 0) {
            const int below = linesOf(at.block) - 1 - at.line;
            const QTextBlock next = at.block.next();
            if (left <= below || !next.isValid()) {
                at.line += qMin(left, below);
                break;
            }
            left -= below + 1;
            at = {next, 0};
            layOut(next);
        } else {
            const QTextBlock previous = at.block.previous();
            if (left <= at.line || !previous.isValid()) {
                at.line -= qMin(left, at.line);
                break;
            }
            left -= at.line + 1;
            layOut(previous);
            at = {previous, linesOf(previous) - 1};
        }
    }
    return at;
}

qint32 VisualLines::linesBetween(const LinePlace& from, const LinePlace& to) {
    const bool down = to.block.blockNumber() > from.block.blockNumber() ||
                      (to.block == from.block && to.line >= from.line);
    const LinePlace& upper = down ? from : to;
    const LinePlace& lower = down ? to : from;
    qint32 lines = lower.line - upper.line;
    for (QTextBlock b = upper.block; b.isValid() && b != lower.block; b = b.next())
        lines += linesOf(b);
    return down ? lines : -lines;
}

qint32 VisualLines::linesFrom(LinePlace from, qint32 atMost) const {
    qint32 lines = linesOf(from.block) - from.line;
    for (QTextBlock b = from.block.next(); b.isValid() && lines < atMost; b = b.next()) {
        layOut(b);
        lines += linesOf(b);
    }
    return qMin(lines, atMost);
}

qint32 VisualLines::linesFitting(LinePlace from, qreal height) const {
    qreal used = 0;
    qint32 lines = 0;
    for (QTextBlock b = from.block; b.isValid(); b = b.next(), from.line = 0) {
        layOut(b);
        const QTextLayout* layout = b.layout();
        for (int i = from.line; layout && i < layout->lineCount(); ++i) {
            used += layout->lineAt(i).height();
            if (used > height)
                return qMax(1, lines);
            ++lines;
        }
    }
    return qMax(1, lines);
}

qint32 VisualLines::total() {
    layOutThrough(m_document.lastBlock());
    return qMax(1, m_document.lineCount());
}

} // namespace platform
