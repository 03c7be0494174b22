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

    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
};
