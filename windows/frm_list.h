#pragma once
// The channel-list window: the server's channels, one line each, as the
// LIST replies bring them. One instance, tagged "/LIST" like its panel.

#include "core/Form.h"

class QListWidget;

class frm_list : public Form {
    Q_OBJECT
public:
    explicit frm_list(Program& program);

    // One item per channel: its name, its number of users and its topic.
    QListWidget* List1 = nullptr;
};
