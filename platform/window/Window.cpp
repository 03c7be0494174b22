#include "platform/window/Window.h"

#include <QHash>
#include <QMap>
#include <QObject>
#include <QWidget>

#include <unistd.h>

namespace platform {
namespace {

struct WindowEntry {
    QWidget* widget = nullptr;
    DWORD processId = 0;
    WNDPROC defaultProc = 0;
    WNDPROC currentProc = 0;
    qint64 style = 0;
    qint64 exStyle = 0;
    QMap<QString, qint64> props;
    quint64 propsRevision = 1;
    StyleChangedFn styleChanged;
    QMetaObject::Connection destroyedConnection;
};

// One table per process; the platform library is shared so that every
// library of the program sees the same windows.
struct Table {
    HWND nextHandle = 0x100;
    WNDPROC nextProc = 1;
    QHash<HWND, WindowEntry> windows;
    QHash<const QWidget*, HWND> byWidget;
    QHash<WNDPROC, WindowProcFn> procs;
};

Table& table() {
    static Table t;
    return t;
}

WindowEntry* entry(HWND hwnd) {
    auto it = table().windows.find(hwnd);
    return it == table().windows.end() ? nullptr : &it.value();
}

} // namespace

HWND CreatePlatformWindow(QWidget* widget, WindowProcFn defaultProc) {
    Table& t = table();
    if (widget) {
        if (HWND existing = t.byWidget.value(widget, 0))
            return existing;
    }
    const HWND hwnd = t.nextHandle++;
    WindowEntry e;
    e.widget = widget;
    e.processId = GetCurrentProcessId();
    if (!defaultProc)
        defaultProc = [](HWND, UINT, WPARAM, LPARAM) -> LRESULT { return 0; };
    e.defaultProc = RegisterWindowProc(std::move(defaultProc));
    e.currentProc = e.defaultProc;
    if (widget) {
        t.byWidget.insert(widget, hwnd);
        e.destroyedConnection =
            QObject::connect(widget, &QObject::destroyed, [hwnd] { DestroyPlatformWindow(hwnd); });
    }
    t.windows.insert(hwnd, std::move(e));
    return hwnd;
}

HWND RegisterForeignWindow(DWORD processId) {
    const HWND hwnd = CreatePlatformWindow(nullptr);
    entry(hwnd)->processId = processId;
    return hwnd;
}

void DestroyPlatformWindow(HWND hwnd) {
    Table& t = table();
    auto it = t.windows.find(hwnd);
    if (it == t.windows.end())
        return;
    WindowEntry e = std::move(it.value());
    t.windows.erase(it);
    if (e.widget) {
        QObject::disconnect(e.destroyedConnection);
        t.byWidget.remove(e.widget);
    }
    UnregisterWindowProc(e.defaultProc);
}

bool IsWindow(HWND hwnd) {
    return entry(hwnd) != nullptr;
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(::getpid());
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
    const WindowEntry* e = entry(hwnd);
    if (processId)
        *processId = e ? e->processId : 0;
    return e ? 1 : 0;
}

QWidget* WidgetFromHandle(HWND hwnd) {
    const WindowEntry* e = entry(hwnd);
    return e ? e->widget : nullptr;
}

HWND HandleOfWidget(const QWidget* widget) {
    return table().byWidget.value(widget, 0);
}

bool SetPropA(HWND hwnd, const QString& name, qint64 value) {
    WindowEntry* e = entry(hwnd);
    if (!e)
        return false;
    e->props.insert(name, value);
    ++e->propsRevision;
    return true;
}

qint64 GetPropA(HWND hwnd, const QString& name) {
    const WindowEntry* e = entry(hwnd);
    return e ? e->props.value(name, 0) : 0;
}

qint64 RemovePropA(HWND hwnd, const QString& name) {
    WindowEntry* e = entry(hwnd);
    if (!e)
        return 0;
    ++e->propsRevision;
    return e->props.take(name);
}

bool HasPropA(HWND hwnd, const QString& name) {
    const WindowEntry* e = entry(hwnd);
    return e && e->props.contains(name);
}

QStringList EnumPropNames(HWND hwnd) {
    const WindowEntry* e = entry(hwnd);
    return e ? e->props.keys() : QStringList();
}

quint64 PropRevision(HWND hwnd) {
    const WindowEntry* e = entry(hwnd);
    return e ? e->propsRevision : 0;
}

qint64 GetWindowLongA(HWND hwnd, int index) {
    const WindowEntry* e = entry(hwnd);
    if (!e)
        return 0;
    switch (index) {
    case GWL_WNDPROC:
        return e->currentProc;
    case GWL_STYLE:
        return e->style;
    case GWL_EXSTYLE:
        return e->exStyle;
    default:
        return 0;
    }
}

qint64 SetWindowLongA(HWND hwnd, int index, qint64 value) {
    WindowEntry* e = entry(hwnd);
    if (!e)
        return 0;
    qint64 old = 0;
    switch (index) {
    case GWL_WNDPROC:
        if (!table().procs.contains(value))
            return 0;
        old = e->currentProc;
        e->currentProc = value;
        return old;
    case GWL_STYLE:
    case GWL_EXSTYLE: {
        qint64& word = index == GWL_STYLE ? e->style : e->exStyle;
        old = word;
        word = value;
        if (e->styleChanged) {
            StyleChangedFn fn = e->styleChanged; // the handler may replace itself
            fn(hwnd, index, old, value);
        }
        return old;
    }
    default:
        return 0;
    }
}

void SetStyleChangedHandler(HWND hwnd, StyleChangedFn fn) {
    if (WindowEntry* e = entry(hwnd))
        e->styleChanged = std::move(fn);
}

WNDPROC RegisterWindowProc(WindowProcFn fn) {
    Table& t = table();
    const WNDPROC id = t.nextProc++;
    t.procs.insert(id, std::move(fn));
    return id;
}

void UnregisterWindowProc(WNDPROC proc) {
    table().procs.remove(proc);
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto it = table().procs.constFind(proc);
    if (it == table().procs.cend())
        return 0;
    // Copy: the procedure may unregister itself or others while it runs.
    WindowProcFn fn = it.value();
    return fn(hwnd, msg, wParam, lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WindowEntry* e = entry(hwnd);
    if (!e)
        return 0;
    return CallWindowProcA(e->currentProc, hwnd, msg, wParam, lParam);
}

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const WindowEntry* e = entry(hwnd);
    if (!e)
        return 0;
    return CallWindowProcA(e->defaultProc, hwnd, msg, wParam, lParam);
}

bool ExtendDefaultWindowProc(HWND hwnd, DefaultProcExtension fn) {
    const WindowEntry* e = entry(hwnd);
    if (!e || !fn)
        return false;
    auto it = table().procs.find(e->defaultProc);
    if (it == table().procs.end())
        return false;
    WindowProcFn base = it.value();
    it.value() = [base = std::move(base), fn = std::move(fn)](HWND h, UINT msg, WPARAM wp,
                                                              LPARAM lp) -> LRESULT {
        return fn(h, msg, wp, lp, base);
    };
    return true;
}

} // namespace platform
