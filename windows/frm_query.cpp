#include "windows/frm_query.h"

#include "console/absRichEdit.h"

#include <QLineEdit>
#include <QVBoxLayout>

frm_query::frm_query(Program& program) : Form(program, Kind::MdiChild) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    console = new absRichEdit(program, this);
    layout->addWidget(console, 1);
    commandline = new QLineEdit(this);
    layout->addWidget(commandline);
}

void frm_query::Form_Resize() {
    layout()->activate();
}
