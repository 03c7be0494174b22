#include "core/CommandWindow.h"

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/WindowLookup.h"

#include <QMdiArea>
#include <QMdiSubWindow>

Form* ActiveChild(Program& program) {
    if (!program.hasMainFrame())
        return nullptr;
    // currentSubWindow keeps the last active child while the frame itself is
    // not the active window, which activeSubWindow does not.
    const QMdiSubWindow* sub = program.mainFrame().mdiArea()->currentSubWindow();
    if (!sub)
        return nullptr;
    for (Form* form : program.forms()) {
        if (form->subWindow() == sub)
            return form;
    }
    return nullptr;
}

Form* CommandWindow(Program& program, const QString& tag) {
    if (tag.isEmpty())
        return program.commandOrigin ? program.commandOrigin.data() : ActiveChild(program);
    const int index = FindForm(program, tag);
    return index < 0 ? nullptr : program.forms().at(index);
}
