#include "config/mod_servers.h"

#include "config/frm_setup.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"

#include <QComboBox>
#include <QSignalBlocker>

void LoadServers(Program& program) {
    // Each line is decoded on its own, so one stray byte costs one entry.
    QByteArray bytes;
    if (!ReadFileBytes(FindPathNoCase(program.folder(), QStringLiteral("servers.ini")), &bytes))
        bytes.clear();
    program.servers.readLines(DecodeLines(bytes));
    FillServerCombo(program, QStringLiteral("1"));
}

void FillServerCombo(Program& program, const QString& mode) {
    QComboBox* box = program.setupDialog().List1;
    // Refilling is not a pick: the box is left without a selection.
    const QSignalBlocker blocker(box);
    box->clear();
    const QString field = mode == u"1"   ? QStringLiteral("FRIENDLY")
                          : mode == u"2" ? QStringLiteral("URL")
                                         : QString();
    if (field.isEmpty())
        return;
    const ServerList& servers = program.servers;
    const int count = servers.ServerCount();
    for (int i = 0; i < count; ++i)
        box->addItem(servers.GetServerField(i, field));
    box->setCurrentIndex(-1);
}
