#include "windows/frm_list.h"

#include <QListWidget>
#include <QVBoxLayout>

frm_list::frm_list(Program& program) : Form(program, Kind::MdiChild, QStringLiteral("/LIST")) {
    setCaption(QStringLiteral("/LIST"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    List1 = new QListWidget(this);
    layout->addWidget(List1);
}
