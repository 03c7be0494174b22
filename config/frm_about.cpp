#include "config/frm_about.h"

frm_about::frm_about(Program& program) : Form(program, Kind::Dialog) {
    setCaption(QStringLiteral("About Parlone"));
}
