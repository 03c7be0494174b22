#pragma once
// Timers on the UI thread with the classic SetTimer/KillTimer shape.

#include "platform/window/Window.h"

namespace platform {

using UINT_PTR = quint64;
// Called on every tick with the window, WM_TIMER, the timer id and the tick time in ms.
using TimerProc = std::function<void(HWND, UINT, UINT_PTR, DWORD)>;

// Starts (or, for an existing window and id, restarts) a timer. With no
// window the id is ignored and a new id is returned, which KillTimer takes.
// With a window the timer keeps the id it was given (0 included) and the
// result is only non-zero for success. Returns 0 on failure. A callback that
// throws loses its exception there.
PLATFORM_EXPORT UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TimerProc proc);
PLATFORM_EXPORT bool KillTimer(HWND hwnd, UINT_PTR id);

} // namespace platform
