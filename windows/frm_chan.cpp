#include "windows/frm_chan.h"

#include <QHBoxLayout>
#include <QListWidget>

frm_chan::frm_chan(Program& program) : Form(program, Kind::MdiChild) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    list_nicks = new QListWidget(this);
    layout->addWidget(list_nicks);
}
