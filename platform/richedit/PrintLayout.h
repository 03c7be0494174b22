#pragma once
// A text box's text laid out for a printing device: a copy of its document,
// laid out whole with every paragraph format, wrapped at the printed width
// whatever the box's view does. Kept between the pages of one printing.

#include <QPointF>

#include <memory>

class QFont;
class QPaintDevice;
class QPainter;
class QTextDocument;

namespace platform {

class PrintLayout {
public:
    PrintLayout(const QTextDocument& source, const QFont& font, QPaintDevice* device, qreal width);
    ~PrintLayout();
    PrintLayout(const PrintLayout&) = delete;
    PrintLayout& operator=(const PrintLayout&) = delete;

    bool isFor(const QPaintDevice* device, qreal width) const;

    // Draws at `origin` (or, without `render`, only measures) the lines from
    // document position `from` that fit into `height` and start before
    // `end`; answers where the first line that did not fit starts, `end`
    // when all did, or `from` when not even one line could be placed.
    int formatPage(QPainter& painter, QPointF origin, qreal height, int from, int end,
                   bool render) const;

private:
    std::unique_ptr<QTextDocument> m_document;
    const QPaintDevice* m_device;
    qreal m_width;
};

} // namespace platform
