#pragma once
// What every window tagged "?" (a query window, a detached query and its
// hidden twin) offers: the count of lines it showed while it was not the
// active window. The tray status adds them up.

class UnreadLines {
public:
    virtual ~UnreadLines() = default;
    virtual int mwait() const = 0;
};
