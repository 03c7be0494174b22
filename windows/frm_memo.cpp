#include "windows/frm_memo.h"

frm_memo::frm_memo(Program& program) : Form(program, Kind::MdiChild) {
    setCaption(QStringLiteral("Memo"));
}
