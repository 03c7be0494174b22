#pragma once
// The popup wizard: a short series of message and input boxes that asks for a
// new popup-menu item (its window kind, caption and command) and files it
// with the popup editor.

#include <QString>

class Program;

// `kind` is "server", "channel", "nicklist", "query", or empty to ask. The
// wizard stops without adding anything on an empty (or cancelled) caption, on
// Cancel at the question about an empty command, and when every kind
// question is answered No.
void AddPopupWizard(Program& program, const QString& kind);
