#pragma once
// The widget side of a window's style words (internal to the platform
// library): fills the words from the widget's look once, then applies every
// change of a word to the widget that carries the window's frame.

#include "platform/window/Window.h"

#include <QObject>
#include <QPointer>
#include <QSize>

namespace platform {

class WindowStyleHost : public QObject {
public:
    // The host of a window that uses its style words, nullptr when it does not.
    static WindowStyleHost* of(HWND hwnd);
    // The host of a window, created on first need; nullptr without a widget.
    static WindowStyleHost* attach(HWND hwnd);

    // Brings the frame's flags, resizability and opacity in line with the words.
    void apply();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    WindowStyleHost(HWND hwnd, QWidget* widget);
    void wordChanged(int index, qint64 oldValue, qint64 newValue);
    void seedWords();

    HWND m_hwnd;
    QPointer<QWidget> m_widget;
    // The frame the sizing state below belongs to.
    QPointer<QWidget> m_frame;
    Qt::WindowType m_type = Qt::Window;
    bool m_fixed = false;
    QSize m_savedMinimum;
    QSize m_savedMaximum;
};

} // namespace platform
