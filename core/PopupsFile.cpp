#include "core/PopupsFile.h"

#include "config/frm_popups.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ProgramRecordFiles.h"
#include "core/ServerEcho.h"

#include <QListWidget>

namespace {

QString popupsPath(const Program& p) {
    return FindPathNoCase(p.folder(), QStringLiteral("popups.ini"));
}

} // namespace

bool SavePopups(Program& p) {
    // Without the editor no items were ever loaded or added, and the file,
    // if there is one, already holds everything.
    if (!p.hasPopupsWindow())
        return true;
    frm_popups& editor = p.popupsWindow();
    QList<QStringList> records;
    for (const QString& kind : frm_popups::kinds()) {
        const QListWidget* captions = editor.captionList(kind);
        const QListWidget* commands = editor.commandList(kind);
        for (int i = 0; i < captions->count(); ++i) {
            const QListWidgetItem* command = commands->item(i);
            records.append({kind.toUpper(), captions->item(i)->text(),
                            command != nullptr ? command->text() : QString()});
        }
    }
    return SaveRecordFile(p, popupsPath(p), 3, records);
}

void LoadPopups(Program& p) {
    RecordFile::Content content;
    if (!LoadRecordFile(p, popupsPath(p), 3, &content))
        return;
    frm_popups& editor = p.popupsWindow();
    editor.clearLists();
    for (const QStringList& record : std::as_const(content.records)) {
        try {
            editor.AddPopUp(record.at(0), record.at(1), record.at(2));
        } catch (const std::exception& error) {
            ServerEcho(p, QStringLiteral("Error: popup item ") + record.at(1) +
                              QStringLiteral(" could not be added: ") + DescribeError(error));
        }
    }
}
