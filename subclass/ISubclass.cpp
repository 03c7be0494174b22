#include "subclass/Loomhook.h"

namespace loomhook {

ISubclass::ISubclass() = default;

// The dispatcher keeps only this object's address in window properties, so it
// leaves every message it is still attached to before it goes away.
ISubclass::~ISubclass() {
    GSubclass hooks;
    const auto attachments = m_attachments;
    for (const auto& [hwnd, iMsg] : attachments)
        hooks.DetachMessage(this, hwnd, iMsg);
}

EMsgResponse ISubclass::MsgResponse() const {
    return emrConsume;
}

LRESULT ISubclass::WindowProc(HWND, qint32, WPARAM, LPARAM) {
    return 0;
}

} // namespace loomhook
