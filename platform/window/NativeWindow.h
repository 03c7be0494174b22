#pragma once
// What the window manager is told about a shown top-level window, changed in
// place, where Qt tells it only when a window is shown. On X these go through
// Qt's own connection to the server; on other platforms (offscreen) they only
// do what Qt does.

#include "platform_export.h"

class QWindow;

namespace platform {

// Makes `window` belong to `parent`'s current native window. Qt writes
// WM_TRANSIENT_FOR only when a window is shown, so when the parent's native
// window is replaced (new window flags) or managed anew (shown again) the
// property names a window that is gone or forgotten. Hiding and showing the
// transient to refresh it races the window manager; the property is
// rewritten in place instead, which the window manager reads at once.
PLATFORM_EXPORT void SetTransientParentInPlace(QWindow& window, QWindow& parent);

// Asks the window manager to map a window Qt counts visible, without
// unmapping it first. A window already mapped, or on its way, stays as it is.
PLATFORM_EXPORT void MapAgain(QWindow& window);

} // namespace platform
