#include "core/ServerBoxes.h"

#include "core/Program.h"

bool ServerMsgBox(Program& program, const QString& prompt, int buttons, const QString& title,
                  platform::MsgBoxAnswered answered) {
    if (program.serverBoxOpen)
        return false;
    program.serverBoxOpen = true;
    platform::ShowMsgBox(
        prompt, buttons, title,
        [&program, answered = std::move(answered)](int result) {
            program.serverBoxOpen = false;
            if (answered)
                answered(result);
        },
        program.lifetime());
    return true;
}

bool ServerInputBox(Program& program, const QString& prompt, const QString& title,
                    const QString& defaultText, platform::InputBoxAnswered answered) {
    if (program.serverBoxOpen)
        return false;
    program.serverBoxOpen = true;
    platform::ShowInputBox(
        prompt, title, defaultText,
        [&program, answered = std::move(answered)](const std::optional<QString>& text) {
            program.serverBoxOpen = false;
            if (answered)
                answered(text);
        },
        program.lifetime());
    return true;
}
