#include "tests/support/X11Probe.h"

#include <QGuiApplication>

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace x11probe {
namespace {

struct FreeReply {
    void operator()(void* reply) const { std::free(reply); }
};
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, FreeReply>;

xcb_connection_t* connection() {
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The 32-bit window values of a property, in their order.
QList<WId> windowsOf(xcb_connection_t* c, xcb_window_t window, xcb_atom_t property) {
    const ReplyPtr<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, property, XCB_ATOM_WINDOW, 0, 4096), nullptr));
    QList<WId> windows;
    if (!reply || reply->format != 32)
        return windows;
    const auto* values = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        windows.append(values[i]);
    return windows;
}

} // namespace

QList<WId> stacking() {
    xcb_connection_t* c = connection();
    if (!c)
        return {};
    const char name[] = "_NET_CLIENT_LIST_STACKING";
    const ReplyPtr<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr));
    if (!atom || atom->atom == XCB_ATOM_NONE)
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    return windowsOf(c, root, atom->atom);
}

WId transientFor(WId window) {
    xcb_connection_t* c = connection();
    if (!c)
        return 0;
    const QList<WId> named = windowsOf(c, xcb_window_t(window), XCB_ATOM_WM_TRANSIENT_FOR);
    return named.value(0);
}

bool viewable(WId window) {
    xcb_connection_t* c = connection();
    if (!c)
        return false;
    const ReplyPtr<xcb_get_window_attributes_reply_t> reply(xcb_get_window_attributes_reply(
        c, xcb_get_window_attributes(c, xcb_window_t(window)), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

void withdraw(WId window) {
    xcb_connection_t* c = connection();
    if (!c)
        return;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    xcb_unmap_window(c, xcb_window_t(window));
    // The window manager lets go of a client that says it withdraws.
    xcb_unmap_notify_event_t notify{};
    notify.response_type = XCB_UNMAP_NOTIFY;
    notify.event = root;
    notify.window = xcb_window_t(window);
    xcb_send_event(c, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&notify));
    xcb_flush(c);
}

} // namespace x11probe
