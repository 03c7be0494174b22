#pragma once
// Lines as a plain-text layout shows them, numbered from the blocks' own line
// counts. The layout lays out only what is shown; a block it has not laid out
// counts as one line. So a block's count is right once the block is laid
// out, and an absolute line number is right once every block above it is:
// these helpers lay out what a number needs, once, and remember how far from
// the top everything is laid out until the text or its layout changes there.

#include <QTextBlock>

#include <QtGlobal>

class QPlainTextDocumentLayout;
class QTextDocument;

namespace platform {

// A place among the lines: a block and a line within it.
struct LinePlace {
    QTextBlock block;
    int line = 0;
};

class VisualLines {
public:
    explicit VisualLines(QTextDocument& document);

    // The blocks from `blockNumber` on may have lost their layout.
    void forget(int blockNumber) { m_laidOut = qMin(m_laidOut, qMax(blockNumber, 0)); }
    void forgetAll() { m_laidOut = 0; }

    // Lays out the block, and every block above it.
    void layOutThrough(const QTextBlock& block);
    // Lays out one block; its own line count is then right.
    void layOut(const QTextBlock& block) const;

    // The 0-based line of a document position.
    qint32 lineOf(int documentPosition);
    // The block that holds a line, or an invalid block past the last line.
    QTextBlock blockOfLine(qint32 line);
    qint32 total();

    // The line within its block of a document position (the block laid out).
    int lineWithinBlock(const QTextBlock& block, int documentPosition) const;
    // The lines of a block (the block laid out).
    static int linesOf(const QTextBlock& block);
    // The first line of a laid-out block that reaches below `y` (in the
    // block's own coordinates): the line shown at a view's top edge.
    static int lineReaching(const QTextBlock& block, qreal y);

    // The place `lines` lines below (above, when negative) `from`, or the
    // text's first or last line; lays out only the blocks it crosses.
    LinePlace moved(LinePlace from, qint32 lines) const;
    // The lines from `from` to `to` (negative when `to` lies above), over
    // laid-out blocks.
    static qint32 linesBetween(const LinePlace& from, const LinePlace& to);
    // The lines from `from` to the end, counted up to `atMost`.
    qint32 linesFrom(LinePlace from, qint32 atMost) const;
    // The whole lines from `from` that fit into `height`, at least one.
    qint32 linesFitting(LinePlace from, qreal height) const;

private:
    QPlainTextDocumentLayout* layout() const;

    QTextDocument& m_document;
    // Blocks 0 to m_laidOut - 1 are laid out.
    int m_laidOut = 0;
};

} // namespace platform
