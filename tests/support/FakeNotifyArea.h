#pragma once
// A notification area for tests: it records every call, keeps the icon's
// last record, and can click the icon as the desktop would (the record's
// callback message to its window). Installed for its lifetime.

#include "platform/shell/NotifyIcon.h"

#include <QList>

class FakeNotifyArea : public platform::NotifyArea {
public:
    struct Call {
        platform::DWORD message;
        platform::NOTIFYICONDATA data;
    };

    explicit FakeNotifyArea(bool available = true) : m_available(available) {
        platform::SetNotifyArea(this);
    }
    ~FakeNotifyArea() override { platform::SetNotifyArea(nullptr); }
    FakeNotifyArea(const FakeNotifyArea&) = delete;
    FakeNotifyArea& operator=(const FakeNotifyArea&) = delete;

    bool available() const override { return m_available; }
    bool notify(platform::DWORD message, const platform::NOTIFYICONDATA& data) override {
        calls.append({message, data});
        if (message == platform::NIM_ADD)
            shown = true;
        else if (!shown)
            return false;
        if (message == platform::NIM_DELETE)
            shown = false;
        else
            icon = data;
        return true;
    }

    // A click: the action's message number as the callback's lParam.
    void click(platform::UINT action) const {
        platform::SendMessageA(icon.hWnd, icon.uCallbackMessage, platform::WPARAM(icon.uID),
                               platform::LPARAM(action));
    }

    QList<Call> calls;
    bool shown = false;
    platform::NOTIFYICONDATA icon;

private:
    bool m_available;
};
