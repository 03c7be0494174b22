#pragma once
// The main frame: the top-level window that holds the server, channel, query
// and tool windows in its MDI area, with the window switcher `StatusBar1`
// along its bottom edge. Panel 1 is the server window's and the connection's.

#include "core/Form.h"
#include "ident/Ostrane.h"
#include "platform/irc/Yarv.h"
#include "platform/window/SwitchBar.h"
#include "sysmenu/Sysdeck.h"

class QMdiArea;

class frm_main : public Form {
    Q_OBJECT
public:
    explicit frm_main(Program& program);

    QMdiArea* mdiArea() const { return m_mdiArea; }
    platform::SwitchBar* StatusBar1 = nullptr;
    // The frame's system-menu control, with "Always on top" (100) and
    // "Minimise to tray" (111).
    Sysdeck* Sysdeck1 = nullptr;
    // The IRC connection.
    platform::Yarv* Yarv1 = nullptr;
    // The ident server; it listens from load on the program's ident port.
    Ostrane* Ostrane1 = nullptr;

private:
    QMdiArea* m_mdiArea = nullptr;
};
