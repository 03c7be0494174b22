#include "config/frm_sw.h"

frm_sw::frm_sw(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("Setup Walkthrough"));
}
