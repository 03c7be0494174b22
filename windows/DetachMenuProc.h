#pragma once
// The window procedure of the query windows and of the server window: it
// catches the "&Detach" item of a query window's system menu and passes
// every other message to the procedure it replaced. Each window keeps the
// procedure it replaced in its own "PrevWndProc" property, so every window's
// messages reach its own previous procedure.

#include "platform/window/Window.h"

// The system-menu command of "&Detach".
inline constexpr platform::WPARAM IDM_DETACH = 1011;

// WM_SYSCOMMAND with IDM_DETACH moves the conversation of the query window
// whose menu was used onto the desktop and goes no further (for any other
// window it does nothing); any other message goes to the window's previous
// procedure.
platform::LRESULT DetachMenuProc(platform::HWND hWnd, platform::UINT msg, platform::WPARAM wParam,
                                 platform::LPARAM lParam);

// Makes DetachMenuProc the window's procedure; a window that has it already
// keeps it as it is (it would call itself).
void InstallDetachMenuProc(platform::HWND hWnd);
// Gives the window back the procedure DetachMenuProc replaced, when
// DetachMenuProc is still its procedure.
void RemoveDetachMenuProc(platform::HWND hWnd);
