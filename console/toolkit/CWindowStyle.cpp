#include "console/toolkit/CWindowStyle.h"

#include "platform/window/SystemMenu.h"
#include "platform/window/WindowStyle.h"

#include <QMouseEvent>
#include <QWidget>

using namespace platform;

CWindowStyle::~CWindowStyle() {
    if (m_client)
        m_client->removeEventFilter(this);
}

void CWindowStyle::setClient(QWidget* form) {
    if (m_client)
        m_client->removeEventFilter(this);
    m_client = form;
    m_hwnd = form ? HandleOfWidget(form) : 0;
    if (!form)
        return;
    form->installEventFilter(this);
    if (m_hwnd) {
        UseStyleWords(m_hwnd);
        // The right-click menu needs the form's system menu.
        GetSystemMenu(m_hwnd, false);
    }
}

qint64 CWindowStyle::word(int index) const {
    return m_hwnd ? GetWindowLongA(m_hwnd, index) : 0;
}

bool CWindowStyle::setBit(int index, qint64 mask, bool on) {
    if (!m_hwnd || !IsWindow(m_hwnd))
        return false;
    const qint64 current = GetWindowLongA(m_hwnd, index);
    const qint64 wanted = on ? (current | mask) : (current & ~mask);
    // Written even when it comes to 0: clearing the last bit is a change too.
    SetWindowLongA(m_hwnd, index, wanted);
    pRedraw();
    return GetWindowLongA(m_hwnd, index) == wanted;
}

bool CWindowStyle::SetStyleBit(qint64 mask, bool on) {
    return setBit(GWL_STYLE, mask, on);
}

bool CWindowStyle::SetExStyleBit(qint64 mask, bool on) {
    return setBit(GWL_EXSTYLE, mask, on);
}

bool CWindowStyle::ControlBox() const {
    return word(GWL_STYLE) & WS_SYSMENU;
}
void CWindowStyle::setControlBox(bool on) {
    SetStyleBit(WS_SYSMENU, on);
}
bool CWindowStyle::MaxButton() const {
    return word(GWL_STYLE) & WS_MAXIMIZEBOX;
}
void CWindowStyle::setMaxButton(bool on) {
    SetStyleBit(WS_MAXIMIZEBOX, on);
}
bool CWindowStyle::MinButton() const {
    return word(GWL_STYLE) & WS_MINIMIZEBOX;
}
void CWindowStyle::setMinButton(bool on) {
    SetStyleBit(WS_MINIMIZEBOX, on);
}
bool CWindowStyle::Sizable() const {
    return word(GWL_STYLE) & WS_THICKFRAME;
}
void CWindowStyle::setSizable(bool on) {
    SetStyleBit(WS_THICKFRAME, on);
}
bool CWindowStyle::Titlebar() const {
    return word(GWL_STYLE) & WS_CAPTION;
}
void CWindowStyle::setTitlebar(bool on) {
    SetStyleBit(WS_CAPTION, on);
}
bool CWindowStyle::ToolWindow() const {
    return word(GWL_EXSTYLE) & WS_EX_TOOLWINDOW;
}
void CWindowStyle::setToolWindow(bool on) {
    SetExStyleBit(WS_EX_TOOLWINDOW, on);
}
bool CWindowStyle::WhatsThisButton() const {
    return word(GWL_EXSTYLE) & WS_EX_CONTEXTHELP;
}
void CWindowStyle::setWhatsThisButton(bool on) {
    SetExStyleBit(WS_EX_CONTEXTHELP, on);
}

bool CWindowStyle::TopMost() const {
    return word(GWL_EXSTYLE) & WS_EX_TOPMOST;
}
void CWindowStyle::setTopMost(bool on) {
    if (!m_hwnd)
        return;
    SetWindowPos(m_hwnd, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CWindowStyle::pRedraw() {
    if (!m_hwnd)
        return;
    SetWindowPos(m_hwnd, 0, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

qint32 CWindowStyle::MakeLong(qint32 hi, qint32 lo) {
    return qint32((quint32(quint16(hi)) << 16) | quint16(lo));
}

void CWindowStyle::ShowSysMenu(int x, int y) {
    if (!m_hwnd)
        return;
    SendMessageA(m_hwnd, WM_POPUPSYSTEMMENU, 0, MakeLong(y, x));
}

bool CWindowStyle::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_client || !m_hwnd)
        return QObject::eventFilter(watched, event);
    try {
        if (event->type() == QEvent::MouseButtonPress && m_autoDrag &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            ReleaseCapture();
            SendMessageA(m_hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        } else if (event->type() == QEvent::MouseButtonRelease && m_autoSysMenu &&
                   static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
            QPoint p;
            GetCursorPos(&p);
            ShowSysMenu(p.x(), p.y());
        }
    } catch (...) {
        // The form's own procedures answer for themselves.
    }
    return QObject::eventFilter(watched, event);
}
