#include "connection/frm_main.h"

#include "connection/SendQueueWarning.h"
#include "core/Program.h"
#include "platform/com/ComError.h"

#include <QMdiArea>
#include <QVBoxLayout>

frm_main::frm_main(Program& program) : Form(program, Kind::TopLevel) {
    setCaption(QStringLiteral("Parlone"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_mdiArea = new QMdiArea(this);
    layout->addWidget(m_mdiArea, 1);
    StatusBar1 = new platform::SwitchBar(this);
    layout->addWidget(StatusBar1);
    StatusBar1->Add(1, QStringLiteral("Server"));

    Yarv1 = new platform::Yarv(this);
    new SendQueueWarning(program, Yarv1);

    // The frame's two system-menu items; the control reports them from now on.
    Sysdeck1 = new Sysdeck(this);
    try {
        Sysdeck1->AddSysMenu(QStringLiteral("Always on top"), 100);
        Sysdeck1->AddSysMenu(QStringLiteral("Minimise to tray"), 111);
    } catch (const platform::ComError&) {
        // A menu that refuses an item leaves the frame without it.
    }
    Sysdeck1->Start();

    Ostrane1 = new Ostrane(this);
    if (program.identPort) {
        Ostrane1->setLocalPort(*program.identPort);
        Ostrane1->Listen();
    }
    resize(800, 600);
}
