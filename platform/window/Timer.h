#pragma once
// Timers on the UI thread with the classic SetTimer/KillTimer shape.

#include "platform/window/Window.h"

namespace platform {

using UINT_PTR = quint64;
// Called on every tick with the window, WM_TIMER, the timer id and the tick time in ms.
using TimerProc = std::function<void(HWND, UINT, UINT_PTR, DWORD)>;

// Starts (or, for an existing window and id, restarts) a timer. With no
// window the id is ignored and a new id is returned. Returns 0 on failure.
PLATFORM_EXPORT UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TimerProc proc);
PLATFORM_EXPORT bool KillTimer(HWND hwnd, UINT_PTR id);

} // namespace platform
