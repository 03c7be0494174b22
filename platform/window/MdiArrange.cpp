#include "platform/window/MdiArrange.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace platform {

namespace {

QList<QMdiSubWindow*> shownChildren(const QMdiArea* area, bool minimised) {
    QList<QMdiSubWindow*> children;
    for (QMdiSubWindow* sub : area->subWindowList(QMdiArea::CreationOrder)) {
        if (sub->isVisible() && sub->isMinimized() == minimised)
            children.append(sub);
    }
    return children;
}

void tile(QMdiArea* area, Qt::Orientation stacking) {
    const QList<QMdiSubWindow*> children = shownChildren(area, false);
    if (children.isEmpty())
        return;
    const QRect room = area->viewport()->rect();
    const int count = static_cast<int>(children.size());
    for (int i = 0; i < count; ++i) {
        QMdiSubWindow* sub = children.at(i);
        if (sub->isMaximized())
            sub->showNormal();
        if (stacking == Qt::Vertical) {
            const int top = room.height() * i / count;
            const int bottom = room.height() * (i + 1) / count;
            sub->setGeometry(0, top, room.width(), bottom - top);
        } else {
            const int left = room.width() * i / count;
            const int right = room.width() * (i + 1) / count;
            sub->setGeometry(left, 0, right - left, room.height());
        }
    }
}

void lineUpIcons(QMdiArea* area) {
    const QRect room = area->viewport()->rect();
    int x = 0;
    int y = room.height();
    int rowHeight = 0;
    for (QMdiSubWindow* sub : shownChildren(area, true)) {
        const QSize size = sub->size();
        if (x > 0 && x + size.width() > room.width()) {
            x = 0;
            y -= rowHeight;
            rowHeight = 0;
        }
        rowHeight = qMax(rowHeight, size.height());
        sub->move(x, y - size.height());
        x += size.width();
    }
}

} // namespace

void Arrange(QMdiArea* area, int arrangement) {
    switch (arrangement) {
    case vbCascade:
        area->cascadeSubWindows();
        break;
    case vbTileHorizontal:
        tile(area, Qt::Vertical);
        break;
    case vbTileVertical:
        tile(area, Qt::Horizontal);
        break;
    case vbArrangeIcons:
        lineUpIcons(area);
        break;
    default:
        break;
    }
}

} // namespace platform
