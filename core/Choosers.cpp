#include "core/Choosers.h"

#include "config/frm_twColor.h"
#include "config/frm_twFont.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/ShowModal.h"
#include "platform/dialogs/Dialogs.h"

#include <optional>

using platform::DialogRequest;

bool ShowColorChooser(Program& program, Form* owner) {
    std::optional<QString> pick;
    if (platform::AnswerChooser(DialogRequest::ColorChooser, &pick)) {
        if (program.hasColorChooser())
            program.colorChooser().Unload();
        if (!pick)
            return false;
        bool ok = false;
        const int index = pick->trimmed().toInt(&ok);
        if (!ok || index < 0 || index > 15)
            return false;
        program.PickedColorIndex = index;
        return true;
    }
    frm_twColor& chooser = program.colorChooser();
    bool chose = false;
    QObject::connect(&chooser, &frm_twColor::chosen, &chooser, [&chose] { chose = true; });
    ShowModal(chooser, owner ? *owner : program.mainFrame());
    return chose;
}

bool ShowFontChooser(Program& program, Form* owner) {
    std::optional<QString> pick;
    if (platform::AnswerChooser(DialogRequest::FontChooser, &pick)) {
        if (program.hasFontChooser())
            program.fontChooser().Unload();
        if (!pick)
            return false;
        program.PickedFont = *pick;
        return true;
    }
    frm_twFont& chooser = program.fontChooser();
    bool chose = false;
    QObject::connect(&chooser, &frm_twFont::selected, &chooser, [&chose] { chose = true; });
    ShowModal(chooser, owner ? *owner : program.mainFrame());
    return chose;
}
