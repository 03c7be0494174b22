#pragma once
// Arranging the children of an MDI frame: cascade, tile one above another,
// tile side by side, and lining up the minimised children along the bottom.

#include "platform_export.h"

class QMdiArea;

namespace platform {

enum MdiArrangement : int {
    vbCascade = 0,
    vbTileHorizontal = 1, // one above another, each as wide as the frame
    vbTileVertical = 2,   // side by side, each as high as the frame
    vbArrangeIcons = 3,
};

// Arranges the visible children of `area`; minimised ones take part only in
// vbArrangeIcons, which puts them in rows along the bottom edge. A maximised
// child is restored before it is tiled or cascaded. Any other number does
// nothing.
PLATFORM_EXPORT void Arrange(QMdiArea* area, int arrangement);

} // namespace platform
