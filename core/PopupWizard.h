#pragma once
// The popup wizard: asks the user, step by step, for a popup item of one
// window kind ("server", "channel", "nicklist", "query") and files it with
// the popup editor.

#include <QString>

class Program;

void AddPopupWizard(Program& program, const QString& kind);
