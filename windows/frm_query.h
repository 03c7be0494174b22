#pragma once
// A query window: one private conversation, one window per nick, tagged
// "?" & nick.

#include "core/Form.h"

class QLineEdit;
class absRichEdit;

class frm_query : public Form {
    Q_OBJECT
public:
    explicit frm_query(Program& program);

    // Re-lays the controls after the command line's height changed.
    void Form_Resize();
    // Moves the conversation onto a desktop window of its own. Desktop
    // windows are not there yet, so it does nothing.
    void Desktop() {}

    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
};
