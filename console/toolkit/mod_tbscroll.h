#pragma once
// Scrolling a text box by a line or a page.

class QObject;

// Asks the control's window to scroll up or down by a line or a page. The
// window is the control's `hWnd` (a property of that name, else the handle
// of its widget); a control without one is left alone.
void TBScroll(QObject* ctl, bool Up, bool Page);
