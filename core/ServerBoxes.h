#pragma once
// The boxes that a server or peer line raises (the nick in use box, the
// prompts of DCC offers). They never wait on the user: the box is shown, the
// call returns, and whatever the answer decides goes on from `answered`,
// later, from the event loop. Their prompts are plain text.
//
// At most one of them is open at a time, whoever raised it: the mark is
// Program::serverBoxOpen. While one is open another is left out (nothing is
// shown, `answered` never runs) and the call returns false. The mark is
// cleared when the box closes, before `answered` runs, so `answered` may open
// the next one. `answered` does not run once the program is gone; it checks
// again what it depends on (Program::closing, a window that may have closed:
// QPointer, Program::forms()).

#include "platform/dialogs/Dialogs.h"

#include <QString>

class Program;

// A message box: `answered` gets one of platform::MsgBoxResult.
bool ServerMsgBox(Program& program, const QString& prompt, int buttons, const QString& title,
                  platform::MsgBoxAnswered answered = {});
// An input box: `answered` gets the typed text, or nothing when cancelled.
bool ServerInputBox(Program& program, const QString& prompt, const QString& title,
                    const QString& defaultText, platform::InputBoxAnswered answered);
