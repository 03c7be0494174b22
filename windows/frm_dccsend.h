#pragma once
// The DCC send window: picks a file and a nick and offers the file.

#include "core/Form.h"

class frm_dccsend : public Form {
    Q_OBJECT
public:
    explicit frm_dccsend(Program& program);
};
