#pragma once
// A channel window: one per joined channel, with its console, command line
// and nick list. The default instance is loaded at start-up without being
// shown.

#include "core/Form.h"

class QLineEdit;
class QListWidget;
class absRichEdit;

class frm_chan : public Form {
    Q_OBJECT
public:
    explicit frm_chan(Program& program);

    // Re-lays the controls after the command line's height changed.
    void Form_Resize();

    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
    QListWidget* list_nicks = nullptr;
    // "TRUE" keeps this window's own look when the settings change.
    QString GLOBALUPDATE;
};
