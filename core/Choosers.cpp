#include "core/Choosers.h"

#include "core/Program.h"
#include "platform/dialogs/Dialogs.h"

#include <optional>

using platform::DialogRequest;

void ShowColorChooser(Program& program) {
    std::optional<QString> pick;
    if (!platform::AnswerChooser(DialogRequest::ColorChooser, &pick))
        return; // the chooser window is not part of the program yet: nothing is picked
    if (!pick)
        return;
    bool ok = false;
    const int index = pick->trimmed().toInt(&ok);
    if (ok && index >= 0 && index <= 15)
        program.PickedColorIndex = index;
}

void ShowFontChooser(Program& program) {
    std::optional<QString> pick;
    if (!platform::AnswerChooser(DialogRequest::FontChooser, &pick))
        return; // the chooser window is not part of the program yet: nothing is picked
    if (pick)
        program.PickedFont = *pick;
}
