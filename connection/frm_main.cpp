#include "connection/frm_main.h"

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
    resize(800, 600);
}
