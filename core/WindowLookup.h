#pragma once
// Finding windows by tag and the frame's switchbar panels by text.

class Form;
class Program;
class QString;

namespace platform {
class SwitchBarPanel;
}

// The index in the program's open windows (load order) of the first window
// whose tag equals `tag` without regard to case; -1 when none. An empty tag
// finds nothing: windows without a tag are not conversations.
int FindForm(const Program& program, const QString& tag);
// The 1-based index of the first switchbar panel whose text, trimmed, equals
// `text` trimmed, without regard to case; 0 when none.
int FindPanel(Program& program, const QString& text);
// The 1-based index of the first switchbar panel whose text is exactly
// `text`, letter case included: the panel a conversation window owns. 0 when
// none.
int FindOwnPanel(Program& program, const QString& text);
// Shows every panel raised and the panels whose text is exactly `text` pressed.
void SelectPanel(Program& program, const QString& text);
// Removes the first switchbar panel whose text equals `text` without regard
// to case; nothing when there is none.
void RemovePanel(Program& program, const QString& text);
// The window switchbar panel `index` stands for: the window that owns the
// panel (a DCC chat), else the first window tagged with the panel's text
// that owns no panel of its own; nullptr for none.
Form* WindowOfPanel(Program& program, int index);
// The 1-based index of `panel` on the switchbar; 0 when it is not there.
int PanelIndex(Program& program, const platform::SwitchBarPanel* panel);
