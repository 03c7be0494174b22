#include "console/toolkit/mod_tbscroll.h"

#include "platform/richedit/RichTextBox.h"
#include "platform/window/Window.h"

#include <QVariant>
#include <QWidget>

using namespace platform;

namespace {

HWND handleOf(const QObject* ctl) {
    if (!ctl)
        return 0;
    const QVariant named = ctl->property("hWnd");
    if (named.isValid()) {
        bool ok = false;
        const int h = named.toInt(&ok);
        return ok ? h : 0;
    }
    if (const auto* widget = qobject_cast<const QWidget*>(ctl))
        return HandleOfWidget(widget);
    return 0;
}

} // namespace

void TBScroll(QObject* ctl, bool Up, bool Page) {
    try {
        const HWND h = handleOf(ctl);
        if (h == 0)
            return;
        const WPARAM action =
            Up ? (Page ? SB_PAGEUP : SB_LINEUP) : (Page ? SB_PAGEDOWN : SB_LINEDOWN);
        SendMessageA(h, EM_SCROLL, action, 0);
    } catch (...) {
        // Scrolling is a courtesy: nothing it meets goes further.
    }
}
