#include "config/frm_alias.h"

frm_alias::frm_alias(Program& program) : Form(program, Kind::MdiChild, QStringLiteral("Alias")) {
    setCaption(QStringLiteral("Alias Script Manager"));
}
