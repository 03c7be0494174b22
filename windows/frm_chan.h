#pragma once
// A channel window: one per joined channel, with its console, command line
// and nick list at the right. Plain lines go to the channel. The default
// instance is loaded at start-up without being shown.

#include "core/ConversationWindow.h"
#include "windows/ConversationForm.h"

class frm_chan : public ConversationForm, public ConversationWindow {
    Q_OBJECT
public:
    explicit frm_chan(Program& program);

    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;

    QListWidget* list_nicks = nullptr;
    // "TRUE" keeps this window's own look when the settings change.
    QString GLOBALUPDATE;

protected:
    // The nick list keeps its width at the right of the console; laid out
    // only when the window is wider and higher than 1000.
    void layOut() override;
};
