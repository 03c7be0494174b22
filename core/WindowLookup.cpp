#include "core/WindowLookup.h"

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/PanelOwner.h"
#include "core/Program.h"

using platform::SwitchBarPanel;

int FindForm(const Program& program, const QString& tag) {
    if (tag.isEmpty())
        return -1;
    const QList<Form*>& forms = program.forms();
    for (int i = 0; i < forms.size(); ++i) {
        if (forms.at(i)->Tag().compare(tag, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

int FindPanel(Program& program, const QString& text) {
    // No frame, no panels: a lookup never brings the frame up.
    if (!program.hasMainFrame())
        return 0;
    const platform::SwitchBar* bar = program.mainFrame().StatusBar1;
    const QString wanted = text.trimmed();
    for (int i = 1; i <= bar->Count(); ++i) {
        if (bar->Panel(i)->Text().trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return 0;
}

int FindOwnPanel(Program& program, const QString& text) {
    if (!program.hasMainFrame())
        return 0;
    const platform::SwitchBar* bar = program.mainFrame().StatusBar1;
    for (int i = 1; i <= bar->Count(); ++i) {
        if (bar->Panel(i)->Text() == text)
            return i;
    }
    return 0;
}

void SelectPanel(Program& program, const QString& text) {
    if (!program.hasMainFrame())
        return;
    const platform::SwitchBar* bar = program.mainFrame().StatusBar1;
    for (int i = 1; i <= bar->Count(); ++i) {
        SwitchBarPanel* panel = bar->Panel(i);
        panel->setBevel(SwitchBarPanel::sbrRaised);
        if (panel->Text() == text)
            panel->setBevel(SwitchBarPanel::sbrInset);
    }
}

void RemovePanel(Program& program, const QString& text) {
    if (!program.hasMainFrame())
        return;
    platform::SwitchBar* bar = program.mainFrame().StatusBar1;
    for (int i = 1; i <= bar->Count(); ++i) {
        if (bar->Panel(i)->Text().compare(text, Qt::CaseInsensitive) == 0) {
            bar->Remove(i);
            return;
        }
    }
}

Form* WindowOfPanel(Program& program, int index) {
    if (!program.hasMainFrame())
        return nullptr;
    const SwitchBarPanel* panel = program.mainFrame().StatusBar1->Panel(index);
    if (panel == nullptr)
        return nullptr;
    for (Form* form : program.forms()) {
        if (const auto* owner = dynamic_cast<const PanelOwner*>(form);
            owner && owner->ownPanel() == panel)
            return form;
    }
    const QString text = panel->Text();
    if (text.isEmpty())
        return nullptr;
    for (Form* form : program.forms()) {
        if (dynamic_cast<const PanelOwner*>(form) == nullptr &&
            form->Tag().compare(text, Qt::CaseInsensitive) == 0)
            return form;
    }
    return nullptr;
}

int PanelIndex(Program& program, const SwitchBarPanel* panel) {
    if (!program.hasMainFrame() || panel == nullptr)
        return 0;
    const platform::SwitchBar* bar = program.mainFrame().StatusBar1;
    for (int i = 1; i <= bar->Count(); ++i) {
        if (bar->Panel(i) == panel)
            return i;
    }
    return 0;
}
