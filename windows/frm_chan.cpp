#include "windows/frm_chan.h"

#include "console/absRichEdit.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>

frm_chan::frm_chan(Program& program) : Form(program, Kind::MdiChild) {
    // Console and nick list side by side, the command line across the bottom.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    console = new absRichEdit(program, this);
    layout->addWidget(console, 0, 0);
    list_nicks = new QListWidget(this);
    layout->addWidget(list_nicks, 0, 1);
    commandline = new QLineEdit(this);
    layout->addWidget(commandline, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);
}

void frm_chan::Form_Resize() {
    layout()->activate();
}
