#include "platform/window/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace platform {
namespace {

// 1440 twips to the logical inch: 15 per pixel at 96 DPI.
int twipsPerPixel(bool horizontal) {
    const QScreen* screen = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::primaryScreen()
                                : nullptr;
    const double dpi =
        screen ? (horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY())
               : 96.0;
    return dpi > 0 ? qMax(1, static_cast<int>(std::lround(1440.0 / dpi))) : 15;
}

} // namespace

int TwipsPerPixelX() {
    return twipsPerPixel(true);
}
int TwipsPerPixelY() {
    return twipsPerPixel(false);
}
int TwipsToPixelsX(int twips) {
    return twips / TwipsPerPixelX();
}
int TwipsToPixelsY(int twips) {
    return twips / TwipsPerPixelY();
}
int PixelsToTwipsX(int pixels) {
    return pixels * TwipsPerPixelX();
}
int PixelsToTwipsY(int pixels) {
    return pixels * TwipsPerPixelY();
}

} // namespace platform
