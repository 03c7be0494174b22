#include "platform/richedit/PrintLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace platform {

PrintLayout::PrintLayout(const QTextDocument& source, const QFont& font, QPaintDevice* device,
                         qreal width)
    : m_document(source.clone()), m_device(device), m_width(width) {
    m_document->setDefaultFont(font);
    QTextOption option = m_document->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_document->setDefaultTextOption(option);
    m_document->setDocumentMargin(0);
    m_document->documentLayout()->setPaintDevice(device);
    m_document->setTextWidth(width);
    QAbstractTextDocumentLayout* layout = m_document->documentLayout();
    layout->blockBoundingRect(m_document->lastBlock());
}

PrintLayout::~PrintLayout() = default;

bool PrintLayout::isFor(const QPaintDevice* device, qreal width) const {
    return device == m_device && width == m_width;
}

int PrintLayout::formatPage(QPainter& painter, QPointF origin, qreal height, int from, int end,
                            bool render) const {
    QTextBlock block = m_document->findBlock(from);
    if (!block.isValid())
        return from;
    int firstLine = 0;
    if (const QTextLayout* l = block.layout(); l && l->lineCount() > 0) {
        const QTextLine line = l->lineForTextPosition(from - block.position());
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
            const qreal lineTop = l->position().y() + line.y();
            const qreal lineBottom = lineTop + line.height();
            if (top >= 0 && (lineStart >= end || lineBottom - top > height)) {
                next = lineStart;
                break;
            }
            if (top < 0)
                top = lineTop;
            bottom = lineBottom;
        }
    }
    if (top < 0)
        return from;
    if (render) {
        painter.save();
        painter.translate(origin.x(), origin.y() - top);
        const QRectF clip(0, top, m_width, bottom - top);
        painter.setClipRect(clip);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = clip;
        context.palette.setColor(QPalette::Text, Qt::black);
        m_document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return next < 0 ? end : next;
}

} // namespace platform
