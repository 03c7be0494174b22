#pragma once
// The window procedure installed on every hooked window: it hands each message
// to the sinks attached to it and to the window's previous procedure, and keeps
// per thread what the most recent dispatch to a sink was.

#include "platform/window/Window.h"

namespace loomhook {

class Dispatcher {
public:
    // The dispatcher's id in the procedure registry, registered once per process.
    static platform::WNDPROC proc();

    static qint32 currentMessage();
    // Calls the previous procedure recorded at this thread's most recent
    // dispatch to a sink; 0 when there was none.
    static platform::LRESULT callOldWindowProc(platform::HWND hwnd, platform::UINT msg,
                                               platform::WPARAM wParam, platform::LPARAM lParam);

private:
    static platform::LRESULT dispatch(platform::HWND hwnd, platform::UINT msg,
                                      platform::WPARAM wParam, platform::LPARAM lParam);
    static platform::LRESULT dispatchToSinks(platform::HWND hwnd, platform::UINT msg,
                                             platform::WPARAM wParam, platform::LPARAM lParam);
};

} // namespace loomhook
