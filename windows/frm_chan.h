#pragma once
// A channel window: one per joined channel, with its nick list. The default
// instance is loaded at start-up without being shown.

#include "core/Form.h"

class QListWidget;

class frm_chan : public Form {
    Q_OBJECT
public:
    explicit frm_chan(Program& program);

    QListWidget* list_nicks = nullptr;
    // "TRUE" keeps this window's own look when the settings change.
    QString GLOBALUPDATE;
};
