#include "core/PopupWizard.h"

void AddPopupWizard(Program& program, const QString& kind) {
    // The wizard's questions come with the query and chat commands.
    Q_UNUSED(program);
    Q_UNUSED(kind);
}
