#include "platform/window/NativeWindow.h"

#include <QGuiApplication>
#include <QWindow>

#include <xcb/xcb.h>

namespace platform {
namespace {

// Qt's connection to the X server, when it runs on X.
xcb_connection_t* xConnection() {
    const auto* x11 =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return x11 ? x11->connection() : nullptr;
}

} // namespace

void SetTransientParentInPlace(QWindow& window, QWindow& parent) {
    window.setTransientParent(&parent);
    xcb_connection_t* connection = xConnection();
    // Windows without a native window yet get the property when Qt shows them.
    if (!connection || !window.handle() || !parent.handle())
        return;
    const auto parentWindow = xcb_window_t(parent.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, xcb_window_t(window.winId()),
                        XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &parentWindow);
    xcb_flush(connection);
}

void MapAgain(QWindow& window) {
    xcb_connection_t* connection = xConnection();
    if (!connection || !window.handle() || !window.isVisible())
        return;
    // For a window it manages and shows, the window manager takes the request
    // as nothing new; one it lost gets managed and mapped again.
    xcb_map_window(connection, xcb_window_t(window.winId()));
    xcb_flush(connection);
}

} // namespace platform
