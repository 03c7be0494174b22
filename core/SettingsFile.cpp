#include "core/SettingsFile.h"

#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ProgramRecordFiles.h"
#include "core/ServerEcho.h"
#include "core/SettingsKeys.h"
#include "core/mod_set.h"
#include "windows/frm_notify.h"

#include <QListWidget>

namespace {

QString settingsPath(const Program& p) {
    return FindPathNoCase(p.folder(), QStringLiteral("settings.ini"));
}

// A colour as the file holds it: the palette index of the stored colour
// number. An empty colour stays empty, so that a window whose colour was
// never set keeps its own look. A look colour that is not in the palette and
// is above 16 is written as its number, which the accessor keeps as it is
// when the file is read, so a colour of the user's own survives. Any other
// colour that is not in the palette, a text that is no colour number
// included, is written as index 1.
QString colourField(const Program& p, const SettingKey& key, const QString& stored) {
    if (stored.trimmed().isEmpty())
        return QString();
    const qint32 colour = ColourNumber(stored);
    const int index = p.palette.findIndex(colour);
    if (index >= 0)
        return QString::number(index);
    if (key.kind == SettingKind::LookColor && colour > 16)
        return QString::number(colour);
    return QString::number(p.palette.ColorIndex(colour));
}

QString savedField(const Program& p, const SettingKey& key) {
    const QString stored = p.settings.value(key);
    switch (key.saveForm) {
    case SaveForm::Trimmed:
        return stored.trimmed();
    case SaveForm::Raw:
        return stored;
    case SaveForm::Color:
        return colourField(p, key, stored);
    case SaveForm::NotSaved:
        break;
    }
    return QString();
}

} // namespace

void LoadSettings(Program& p) {
    RecordFile::Content content;
    if (!LoadRecordFile(p, settingsPath(p), 2, &content))
        return;
    for (const QStringList& record : std::as_const(content.records)) {
        QString key = record.at(0);
        QString value = record.at(1);
        try {
            Setting(p, key, value);
        } catch (const std::exception& error) {
            ServerEcho(p, QStringLiteral("Error: ") + key +
                              QStringLiteral(" could not be applied: ") + DescribeError(error));
        }
    }
}

void SaveSettings(Program& p) {
    SavePopups(p);
    QList<QStringList> records;
    for (const SettingKey* key : SettingsKeys::inSaveOrder()) {
        if (key->store == StoreProcedure::NotifyEntry) {
            // The list lives in the notify window; without one nothing was
            // ever added, and none is made for the save (the exit saves
            // while no window may be created).
            if (!p.hasNotifyWindow())
                continue;
            const QListWidget* list = p.notifyWindow().List1;
            for (int i = 0; i < list->count(); ++i)
                records.append({QString(key->name), list->item(i)->text().trimmed()});
            continue;
        }
        records.append({QString(key->name), savedField(p, *key)});
    }
    SaveRecordFile(p, settingsPath(p), 2, records);
    SavePopups(p);
}
