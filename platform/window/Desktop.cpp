#include "platform/window/Desktop.h"

#include <QGuiApplication>
#include <QPropertyAnimation>
#include <QScreen>
#include <QWidget>

namespace platform {

namespace {

QWidget* topLevel(HWND hwnd) {
    QWidget* widget = WidgetFromHandle(hwnd);
    return widget != nullptr && widget->isWindow() ? widget : nullptr;
}

} // namespace

bool SystemParametersInfoA(UINT action, UINT param, RECT* rect, UINT winIni) {
    Q_UNUSED(param);
    Q_UNUSED(winIni);
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (action != SPI_GETWORKAREA || rect == nullptr || screen == nullptr)
        return false;
    const QRect work = screen->availableGeometry();
    *rect = {work.x(), work.y(), work.x() + work.width(), work.y() + work.height()};
    return true;
}

bool AnimateWindow(HWND hwnd, DWORD time, DWORD flags) {
    QWidget* window = topLevel(hwnd);
    if (window == nullptr)
        return false;
    const bool hiding = flags & AW_HIDE;
    const QPoint place = window->pos();
    // The way the window travels, a whole window's size.
    QPoint travel;
    if (flags & AW_VER_NEGATIVE)
        travel.ry() -= window->height();
    if (flags & AW_VER_POSITIVE)
        travel.ry() += window->height();
    if (flags & AW_HOR_NEGATIVE)
        travel.rx() -= window->width();
    if (flags & AW_HOR_POSITIVE)
        travel.rx() += window->width();

    auto* slide = new QPropertyAnimation(window, "pos", window);
    slide->setDuration(static_cast<int>(time));
    if (hiding) {
        slide->setStartValue(place);
        slide->setEndValue(place + travel);
        QObject::connect(slide, &QPropertyAnimation::finished, window, [window, place] {
            window->hide();
            window->move(place);
        });
    } else {
        slide->setStartValue(place - travel);
        slide->setEndValue(place);
        window->move(place - travel);
        window->show();
        if (flags & AW_ACTIVATE)
            window->activateWindow();
    }
    slide->start(QAbstractAnimation::DeleteWhenStopped);
    return true;
}

bool SetForegroundWindow(HWND hwnd) {
    QWidget* window = topLevel(hwnd);
    if (window == nullptr)
        return false;
    window->raise();
    window->activateWindow();
    return true;
}

} // namespace platform
