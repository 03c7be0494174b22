#include "connection/FrameSystemMenu.h"

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "console/toolkit/mod_topmost.h"
#include "core/Program.h"

#include <QCheckBox>

FrameSystemMenu::FrameSystemMenu(Program& program, QObject* parent)
    : QObject(parent), m_program(program) {}

void FrameSystemMenu::Sysdeck1_UserSysClick(int identifier) {
    Program& p = m_program;
    frm_main& frame = p.mainFrame();
    Sysdeck& deck = *frame.Sysdeck1;
    if (identifier == IDM_ONTOP) {
        const bool on = !deck.GetSysMenuCheck(IDM_ONTOP);
        deck.SysMenuCheck(IDM_ONTOP, on);
        SetTopMost(frame, on, IDM_ONTOP);
        p.settings.setValue(QStringLiteral("MAINFORM_ONTOP"),
                            on ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
        p.setupDialog().Check1->setChecked(on);
    } else if (identifier == IDM_TRAY) {
        const bool on = !deck.GetSysMenuCheck(IDM_TRAY);
        deck.SysMenuCheck(IDM_TRAY, on);
        p.settings.setValue(QStringLiteral("USE_TRAY"),
                            on ? QStringLiteral("1") : QStringLiteral("0"));
        p.setupDialog().chk_use_tray->setChecked(on);
    }
}
