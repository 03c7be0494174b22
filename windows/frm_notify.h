#pragma once
// The notify list window: the buddies the user watches, and which of them
// are online. One instance, loaded without being shown the first time its
// lists are touched.

#include "core/Form.h"

class QListWidget;
class QTabWidget;

class frm_notify : public Form {
    Q_OBJECT
public:
    explicit frm_notify(Program& program);

    // Closing hides the window: its lists are the program's only copy of
    // the watched nicks.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    QTabWidget* SSTab1 = nullptr;
    // The watched nicks; sorted.
    QListWidget* List1 = nullptr;
    // Watched nicks seen online, and the others; sorted.
    QListWidget* l_online = nullptr;
    QListWidget* l_offline = nullptr;
};
