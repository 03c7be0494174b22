#include "windows/frm_server.h"

#include "console/absRichEdit.h"

#include <QLineEdit>
#include <QVBoxLayout>

frm_server::frm_server(Program& program) : Form(program, Kind::MdiChild, QStringLiteral("Server")) {
    setCaption(QStringLiteral("Server"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    console = new absRichEdit(program, this);
    layout->addWidget(console, 1);
    commandline = new QLineEdit(this);
    layout->addWidget(commandline);
}

void frm_server::Form_Resize() {
    layout()->activate();
}
