#pragma once
// The about box: the program's name, version and description, shown
// modally over the main frame.

#include "core/Form.h"

class frm_about : public Form {
    Q_OBJECT
public:
    explicit frm_about(Program& program);
};
