#pragma once
// The memo window: never shown; it is loaded only to be unloaded with the
// program.

#include "core/Form.h"

class frm_memo : public Form {
    Q_OBJECT
public:
    explicit frm_memo(Program& program);
};
