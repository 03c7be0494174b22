#include "platform/richedit/ScrollBarMessages.h"

#include <QEvent>
#include <QScrollBar>

namespace platform {

ScrollBarMessages::ScrollBarMessages(HWND hwnd, QScrollBar* vertical, QScrollBar* horizontal,
                                     std::function<void()> pressed)
    : m_hwnd(hwnd), m_vertical(vertical), m_horizontal(horizontal), m_pressed(std::move(pressed)) {
    for (QScrollBar* bar : {vertical, horizontal}) {
        bar->installEventFilter(this);
        connect(bar, &QAbstractSlider::actionTriggered, this,
                [this, bar](int code) { action(bar, code); });
    }
}

ScrollBarMessages::~ScrollBarMessages() {
    for (QScrollBar* bar : {m_vertical, m_horizontal}) {
        bar->disconnect(this);
        bar->removeEventFilter(this);
    }
}

void ScrollBarMessages::send(QScrollBar* bar, int code, int position) {
    const UINT msg = bar->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
    m_trackPosition = position;
    SendMessageA(m_hwnd, msg, MakeWParam(code, qBound(0, position, 0xFFFF)), 0);
    m_trackPosition.reset();
}

void ScrollBarMessages::action(QScrollBar* bar, int action) {
    if (m_trackPosition)
        return;
    int code = 0;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        code = SB_LINEDOWN;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        code = SB_LINEUP;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        code = SB_PAGEDOWN;
        break;
    case QAbstractSlider::SliderPageStepSub:
        code = SB_PAGEUP;
        break;
    case QAbstractSlider::SliderToMinimum:
        code = SB_TOP;
        break;
    case QAbstractSlider::SliderToMaximum:
        code = SB_BOTTOM;
        break;
    case QAbstractSlider::SliderMove:
        // The wheel moves the slider too; only dragging the thumb is a
        // scroll-bar action.
        if (!bar->isSliderDown())
            return;
        code = SB_THUMBTRACK;
        break;
    default:
        return;
    }
    const int target = bar->sliderPosition();
    // Nothing moves until the message has been handled.
    bar->setSliderPosition(bar->value());
    m_actionSent = true;
    send(bar, code, target);
}

void ScrollBarMessages::released(QScrollBar* bar) {
    if (!m_actionSent)
        return;
    m_actionSent = false;
    if (bar->isSliderDown())
        send(bar, SB_THUMBPOSITION, bar->sliderPosition());
    const UINT msg = bar->orientation() == Qt::Vertical ? WM_VSCROLL : WM_HSCROLL;
    SendMessageA(m_hwnd, msg, MakeWParam(SB_ENDSCROLL, 0), 0);
}

bool ScrollBarMessages::eventFilter(QObject* watched, QEvent* event) {
    auto* bar = qobject_cast<QScrollBar*>(watched);
    if (bar && (bar == m_vertical || bar == m_horizontal)) {
        if (event->type() == QEvent::MouseButtonPress) {
            m_pressed();
            m_actionSent = false;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            released(bar);
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
