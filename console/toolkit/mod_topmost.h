#pragma once
// Keeping a window above all others.

#include <QtGlobal>

class Form;

// Puts the form above every window that is not top-most (OnTop) or back
// among them, without moving or sizing it. For MenuId 100 the main frame's
// "Always on top" item follows: its check mark is set to OnTop (Sysdeck's
// error 1 when the frame lacks the item).
void SetTopMost(Form& frm, bool OnTop, qint16 MenuId);
