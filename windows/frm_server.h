#pragma once
// The server window: the one window for server messages and the program's
// own output, a child of the main frame.

#include "core/Form.h"

class QLineEdit;
class absRichEdit;

class frm_server : public Form {
    Q_OBJECT
public:
    explicit frm_server(Program& program);

    // Re-lays the controls after the command line's height changed.
    void Form_Resize();

    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
};
