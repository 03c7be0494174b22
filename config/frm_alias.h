#pragma once
// The alias manager: one tool window, tagged "Alias" like its switchbar
// panel, in which the user edits the alias scripts of the cmd folder.

#include "core/Form.h"

class frm_alias : public Form {
    Q_OBJECT
public:
    explicit frm_alias(Program& program);
};
