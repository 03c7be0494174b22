#pragma once
// A text box's scroll bars as its window procedure hears them. Each action
// of a bar (a step, a page, the thumb dragged, either end) is held back and
// sent to the box's window as WM_VSCROLL or WM_HSCROLL with its code; the
// handling of that message moves the view. Releasing the mouse sends the
// thumb's final position, then the end of the action.

#include "platform/window/Window.h"

#include <QObject>

#include <functional>
#include <optional>

class QScrollBar;

namespace platform {

// Scroll-bar codes in the low word of a scroll message.
enum ScrollCode : int {
    SB_LINEUP = 0,
    SB_LINELEFT = 0,
    SB_LINEDOWN = 1,
    SB_LINERIGHT = 1,
    SB_PAGEUP = 2,
    SB_PAGELEFT = 2,
    SB_PAGEDOWN = 3,
    SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4,
    SB_THUMBTRACK = 5,
    SB_TOP = 6,
    SB_LEFT = 6,
    SB_BOTTOM = 7,
    SB_RIGHT = 7,
    SB_ENDSCROLL = 8,
};

constexpr WPARAM MakeWParam(int low, int high) {
    return static_cast<WPARAM>((static_cast<quint32>(high & 0xFFFF) << 16) |
                               static_cast<quint32>(low & 0xFFFF));
}
constexpr int LoWord(WPARAM w) {
    return static_cast<int>(static_cast<quint32>(w) & 0xFFFF);
}
constexpr int HiWord(WPARAM w) {
    return static_cast<int>((static_cast<quint32>(w) >> 16) & 0xFFFF);
}

class ScrollBarMessages : public QObject {
public:
    // `pressed` runs when the mouse is pressed on a bar.
    ScrollBarMessages(HWND hwnd, QScrollBar* vertical, QScrollBar* horizontal,
                      std::function<void()> pressed);
    ~ScrollBarMessages() override;
    ScrollBarMessages(const ScrollBarMessages&) = delete;
    ScrollBarMessages& operator=(const ScrollBarMessages&) = delete;

    // The position the thumb asks for while its message is handled (the
    // message's own word holds only 16 bits of it).
    std::optional<int> trackPosition() const { return m_trackPosition; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void action(QScrollBar* bar, int action);
    void released(QScrollBar* bar);
    void send(QScrollBar* bar, int code, int position);

    HWND m_hwnd;
    QScrollBar* m_vertical;
    QScrollBar* m_horizontal;
    std::function<void()> m_pressed;
    std::optional<int> m_trackPosition;
    // Whether the press that is held has sent an action.
    bool m_actionSent = false;
};

} // namespace platform
