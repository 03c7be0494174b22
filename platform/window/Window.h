#pragma once
// The window layer: handles, properties, window procedures and messages.
//
// Every form and every control that the program treats as a window gets a
// small integer handle from one table per process (handles are never reused
// in a run). Each window carries named 64-bit properties and a current window
// procedure; messages sent to a window go through that procedure, which may be
// replaced by a hook that later calls the previous one. The functions keep the
// names and shapes of the classic window API so that code written against it
// reads the same here.

#include "platform_export.h"

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace platform {

using HWND = qint32;
using UINT = quint32;
using WPARAM = qint32;
using LPARAM = qint32;
using LRESULT = qint32;
using DWORD = quint32;
// A window procedure is referred to by its id in the procedure registry, so a
// window property can hold one. 0 is no procedure.
using WNDPROC = qint64;
using WindowProcFn = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;

constexpr int GWL_WNDPROC = -4;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_POPUPSYSTEMMENU = 0x0313;
constexpr UINT WM_USER = 0x0400;

// Registers a widget as a window of this process and returns its handle. The
// default procedure is what the window does with a message nobody else takes
// (for a Qt widget, what Qt would have done); without one the window answers
// 0. The window leaves the table, with all its properties, when the widget is
// destroyed.
PLATFORM_EXPORT HWND CreatePlatformWindow(QWidget* widget, WindowProcFn defaultProc = {});
// A window owned by another process: it exists but cannot be hooked. For tests.
PLATFORM_EXPORT HWND RegisterForeignWindow(DWORD processId);
// Removes a window from the table (its properties and procedure go with it).
PLATFORM_EXPORT void DestroyPlatformWindow(HWND hwnd);

PLATFORM_EXPORT bool IsWindow(HWND hwnd);
PLATFORM_EXPORT DWORD GetCurrentProcessId();
// Returns the owning thread id (always the UI thread's, 1) and stores the
// owning process id in *processId when it is given.
PLATFORM_EXPORT DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId);
PLATFORM_EXPORT QWidget* WidgetFromHandle(HWND hwnd);
// The handle of a registered widget, 0 when it has none.
PLATFORM_EXPORT HWND HandleOfWidget(const QWidget* widget);

PLATFORM_EXPORT bool SetPropA(HWND hwnd, const QString& name, qint64 value);
PLATFORM_EXPORT qint64 GetPropA(HWND hwnd, const QString& name);
PLATFORM_EXPORT qint64 RemovePropA(HWND hwnd, const QString& name);
PLATFORM_EXPORT bool HasPropA(HWND hwnd, const QString& name);
// The names of all properties of a window, sorted.
PLATFORM_EXPORT QStringList EnumPropNames(HWND hwnd);
// A number that changes whenever a property of the window is set or removed,
// so that a reader can keep what it read until then; 0 when there is no such
// window.
PLATFORM_EXPORT quint64 PropRevision(HWND hwnd);

// GWL_WNDPROC, GWL_STYLE and GWL_EXSTYLE. Set returns the previous value, or 0
// when the window or index is not valid (a procedure id of 0 is refused).
PLATFORM_EXPORT qint64 GetWindowLongA(HWND hwnd, int index);
PLATFORM_EXPORT qint64 SetWindowLongA(HWND hwnd, int index, qint64 value);
// Called after a window's style word changed: the widget side applies the bits.
using StyleChangedFn = std::function<void(HWND, int index, qint64 oldValue, qint64 newValue)>;
PLATFORM_EXPORT void SetStyleChangedHandler(HWND hwnd, StyleChangedFn fn);

PLATFORM_EXPORT WNDPROC RegisterWindowProc(WindowProcFn fn);
PLATFORM_EXPORT void UnregisterWindowProc(WNDPROC proc);
// Calls a registered procedure; an unknown id answers 0.
PLATFORM_EXPORT LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam,
                                        LPARAM lParam);
// Sends a message through the window's current procedure; 0 for no window.
PLATFORM_EXPORT LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// The window's own default handling, whatever procedure is current.
PLATFORM_EXPORT LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Widens a window's default handling: `fn` sees every message that reaches the
// default procedure, together with the handling it wraps, and may pass the
// message on to it. The procedure keeps its id, so chains that end in the
// default procedure see the change. False for no window.
using DefaultProcExtension =
    std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, const WindowProcFn& base)>;
PLATFORM_EXPORT bool ExtendDefaultWindowProc(HWND hwnd, DefaultProcExtension fn);

} // namespace platform
