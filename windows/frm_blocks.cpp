#include "windows/frm_blocks.h"

#include "core/Program.h"
#include "core/TextUtils.h"

#include <QHBoxLayout>
#include <QListWidget>

frm_blocks::frm_blocks(Program& program) : Form(program, Kind::MdiChild) {
    auto* layout = new QHBoxLayout(this);
    lst_blocked = new QListWidget(this);
    lst_blocktype = new QListWidget(this);
    layout->addWidget(lst_blocked, 2);
    layout->addWidget(lst_blocktype, 1);
}

QStringList frm_blocks::blockedEntries() const {
    QStringList entries;
    entries.reserve(lst_blocked->count());
    for (int i = 0; i < lst_blocked->count(); ++i)
        entries.append(lst_blocked->item(i)->text());
    return entries;
}

bool IsBlocked(Program& program, const QString& nick, const QString& kind) {
    return IsBlocked(program.blocksWindow().blockedEntries(), nick, kind);
}
