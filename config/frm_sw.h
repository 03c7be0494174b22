#pragma once
// The setup walkthrough: a first-run guide through the few settings needed
// to connect, shown modally over the main frame.

#include "core/Form.h"

class frm_sw : public Form {
    Q_OBJECT
public:
    explicit frm_sw(Program& program);
};
