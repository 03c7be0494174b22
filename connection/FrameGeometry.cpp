#include "connection/FrameGeometry.h"

#include <QtMath>

#include <algorithm>

std::optional<QRect> ShrunkFrame(const QRect& frame, const QSize& screen) {
    const double tenthHigh = screen.height() / 10.0;
    const double tenthWide = screen.width() / 10.0;
    if (frame.height() <= screen.height() - tenthHigh ||
        frame.width() <= screen.width() - tenthWide)
        return std::nullopt;
    return QRect(1, 1, qRound(frame.width() / 1.7), qRound(frame.height() / 1.3));
}

std::optional<QRect> RescuedChild(const QSize& child, const QSize& frame) {
    if (child.height() >= 500 && child.width() >= 500)
        return std::nullopt;
    return QRect(100, 100, frame.width() - 200, frame.height() - 200);
}

std::optional<QRect> OntoScreens(const QRect& frame, const QList<QRect>& screens,
                                 const QRect& primary) {
    const bool shows = std::any_of(screens.cbegin(), screens.cend(),
                                   [&](const QRect& screen) { return screen.intersects(frame); });
    if (shows)
        return std::nullopt;
    return QRect(primary.topLeft(), frame.size());
}
