#include "windows/frm_list.h"

frm_list::frm_list(Program& program) : Form(program, Kind::MdiChild, QStringLiteral("/LIST")) {
    setCaption(QStringLiteral("/LIST"));
}
