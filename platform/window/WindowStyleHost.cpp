#include "platform/window/WindowStyleHost.h"

#include "platform/window/SystemMenuHost.h"
#include "platform/window/WindowStyle.h"

#include <QEvent>
#include <QHash>
#include <QMdiSubWindow>
#include <QWidget>
#include <QWindow>

namespace platform {
namespace {

QHash<HWND, QPointer<WindowStyleHost>>& hosts() {
    static QHash<HWND, QPointer<WindowStyleHost>> h;
    return h;
}

constexpr qint64 knownStyleBits =
    WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr qint64 knownExStyleBits = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_CONTEXTHELP;

// The flags this layer decides; any other flag of the frame is left alone.
constexpr Qt::WindowFlags managedFlags =
    Qt::WindowType_Mask | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint |
    Qt::WindowContextHelpButtonHint | Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint;

bool isFixedSize(const QWidget* w) {
    return w->minimumSize() == w->maximumSize();
}

} // namespace

WindowStyleHost* WindowStyleHost::of(HWND hwnd) {
    return hosts().value(hwnd).data();
}

WindowStyleHost* WindowStyleHost::attach(HWND hwnd) {
    if (WindowStyleHost* existing = of(hwnd))
        return existing;
    QWidget* widget = WidgetFromHandle(hwnd);
    if (!widget)
        return nullptr;
    auto* host = new WindowStyleHost(hwnd, widget);
    hosts().insert(hwnd, host);
    host->seedWords();
    SetStyleChangedHandler(hwnd, [](HWND h, int index, qint64 oldValue, qint64 newValue) {
        if (WindowStyleHost* styleHost = of(h))
            styleHost->wordChanged(index, oldValue, newValue);
    });
    // A press on the caption area moves a top-level window.
    ExtendDefaultWindowProc(
        hwnd, [](HWND h, UINT msg, WPARAM wp, LPARAM lp, const WindowProcFn& base) -> LRESULT {
            if (msg == WM_NCLBUTTONDOWN && wp == HTCAPTION) {
                QWidget* frame = FrameWidgetOf(h);
                if (frame && frame->isWindow() && frame->windowHandle())
                    frame->windowHandle()->startSystemMove();
                return 0;
            }
            return base(h, msg, wp, lp);
        });
    return host;
}

WindowStyleHost::WindowStyleHost(HWND hwnd, QWidget* widget)
    : QObject(widget), m_hwnd(hwnd), m_widget(widget) {
    widget->installEventFilter(this);
    const HWND handle = hwnd;
    connect(this, &QObject::destroyed, [handle] { hosts().remove(handle); });
}

void WindowStyleHost::seedWords() {
    QWidget* frame = FrameWidgetOf(m_hwnd);
    if (!frame)
        frame = m_widget;
    m_frame = frame;
    const Qt::WindowFlags f = frame->windowFlags();
    const Qt::WindowType type = frame->windowType();
    // The kind of window it goes back to when it stops being a tool window;
    // a parentless plain widget is a window.
    m_type =
        (type == Qt::Dialog || type == Qt::Popup || type == Qt::SplashScreen) ? type : Qt::Window;

    qint64 style = 0;
    if (f & Qt::FramelessWindowHint) {
        style = 0;
    } else if (!(f & Qt::CustomizeWindowHint)) {
        // Qt's default decoration for the kind of window.
        style = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
        if (type == Qt::Window || type == Qt::SubWindow || type == Qt::Widget)
            style |= WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    } else {
        style = (f & Qt::WindowTitleHint) ? WS_CAPTION : WS_BORDER;
        if (f & Qt::WindowSystemMenuHint)
            style |= WS_SYSMENU;
        if (f & Qt::WindowMinimizeButtonHint)
            style |= WS_MINIMIZEBOX;
        if (f & Qt::WindowMaximizeButtonHint)
            style |= WS_MAXIMIZEBOX;
        style |= WS_THICKFRAME;
    }
    if (isFixedSize(frame)) {
        style &= ~WS_THICKFRAME;
        // Made sizable later, the frame may take any size.
        m_fixed = true;
        m_savedMinimum = QSize(0, 0);
        m_savedMaximum = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    qint64 ex = 0;
    if (type == Qt::Tool)
        ex |= WS_EX_TOOLWINDOW;
    if (f & Qt::WindowStaysOnTopHint)
        ex |= WS_EX_TOPMOST;
    if (f & Qt::WindowContextHelpButtonHint)
        ex |= WS_EX_CONTEXTHELP;

    // No handler is installed yet, so filling the words applies nothing.
    const qint64 oldStyle = GetWindowLongA(m_hwnd, GWL_STYLE);
    const qint64 oldEx = GetWindowLongA(m_hwnd, GWL_EXSTYLE);
    SetWindowLongA(m_hwnd, GWL_STYLE, (oldStyle & ~knownStyleBits) | style);
    SetWindowLongA(m_hwnd, GWL_EXSTYLE, (oldEx & ~knownExStyleBits) | ex);
}

void WindowStyleHost::wordChanged(int index, qint64 oldValue, qint64 newValue) {
    if (index == GWL_EXSTYLE && (oldValue & WS_EX_LAYERED) && !(newValue & WS_EX_LAYERED)) {
        // A window that stops being layered is opaque again.
        QWidget* frame = FrameWidgetOf(m_hwnd);
        if (frame && frame->isWindow())
            frame->setWindowOpacity(1.0);
    }
    apply();
}

void WindowStyleHost::apply() {
    QWidget* frame = FrameWidgetOf(m_hwnd);
    if (!frame)
        return;
    if (frame != m_frame) {
        m_frame = frame;
        m_fixed = isFixedSize(frame);
        m_savedMinimum = QSize(0, 0);
        m_savedMaximum = QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    const qint64 style = GetWindowLongA(m_hwnd, GWL_STYLE);
    const qint64 ex = GetWindowLongA(m_hwnd, GWL_EXSTYLE);
    const bool subWindow = qobject_cast<QMdiSubWindow*>(frame) != nullptr;

    Qt::WindowFlags f = Qt::CustomizeWindowHint;
    if (subWindow)
        f |= Qt::SubWindow;
    else
        f |= (ex & WS_EX_TOOLWINDOW) ? Qt::Tool : m_type;
    const bool caption = (style & WS_CAPTION) == WS_CAPTION;
    if (caption)
        f |= Qt::WindowTitleHint;
    if (style & WS_SYSMENU)
        f |= Qt::WindowSystemMenuHint;
    // The buttons sit in the caption beside the system menu; without either
    // there are none (Qt would bring caption and menu back for them).
    if (caption && (style & WS_SYSMENU)) {
        f |= Qt::WindowCloseButtonHint;
        if (style & WS_MINIMIZEBOX)
            f |= Qt::WindowMinimizeButtonHint;
        if (style & WS_MAXIMIZEBOX)
            f |= Qt::WindowMaximizeButtonHint;
        if (ex & WS_EX_CONTEXTHELP)
            f |= Qt::WindowContextHelpButtonHint;
    }
    if (ex & WS_EX_TOPMOST)
        f |= Qt::WindowStaysOnTopHint;
    if (!(style & (WS_CAPTION | WS_THICKFRAME)))
        f |= Qt::FramelessWindowHint;

    const Qt::WindowFlags wanted = (frame->windowFlags() & ~managedFlags) | f;
    if (wanted != frame->windowFlags()) {
        // Changing the flags hides a window; it comes back as it was.
        const bool visible = frame->isVisible();
        frame->setWindowFlags(wanted);
        if (visible)
            frame->show();
    }

    const bool sizable = style & WS_THICKFRAME;
    if (!sizable && !m_fixed) {
        m_savedMinimum = frame->minimumSize();
        m_savedMaximum = frame->maximumSize();
        frame->setFixedSize(frame->size());
        m_fixed = true;
    } else if (sizable && m_fixed) {
        frame->setMinimumSize(m_savedMinimum);
        frame->setMaximumSize(m_savedMaximum);
        m_fixed = false;
    }
    // Whether the window shows its system-menu button follows its caption.
    if (SystemMenuHost* menuHost = SystemMenuHost::of(m_hwnd))
        menuHost->updateDecorations();
}

bool WindowStyleHost::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_widget && event->type() == QEvent::ParentChange) {
        // A child of the frame gets its sub-window after it was made; the
        // words then apply to that one, once it has settled.
        QMetaObject::invokeMethod(this, &WindowStyleHost::apply, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
