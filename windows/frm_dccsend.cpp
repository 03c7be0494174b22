#include "windows/frm_dccsend.h"

frm_dccsend::frm_dccsend(Program& program) : Form(program, Kind::MdiChild) {
    setCaption(QStringLiteral("DCC File Send"));
}
