#include "console/toolkit/mod_topmost.h"

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/Program.h"
#include "platform/window/WindowStyle.h"
#include "sysmenu/Sysdeck.h"

using namespace platform;

void SetTopMost(Form& frm, bool OnTop, qint16 MenuId) {
    SetWindowPos(frm.hwnd(), OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE);
    if (MenuId == 100)
        frm.program().mainFrame().Sysdeck1->SysMenuCheck(100, OnTop);
}
