#pragma once
// What the X server and its window manager make of this program's windows,
// read through Qt's own connection to the server. For tests that run on the
// X platform (XvfbSession); elsewhere every answer is empty.

#include <QList>
#include <QString>
#include <QtGui/qwindowdefs.h>

namespace x11probe {

// The windows the window manager manages, bottom first
// (_NET_CLIENT_LIST_STACKING on the root window).
QList<WId> stacking();
// The window that `window`'s WM_TRANSIENT_FOR names; 0 when none.
WId transientFor(WId window);
// Whether `window` is mapped and viewable.
bool viewable(WId window);
// Takes `window` off the screen behind Qt's back, as a window manager that
// lost it would leave it: unmapped and withdrawn, while Qt counts it visible.
void withdraw(WId window);

} // namespace x11probe
