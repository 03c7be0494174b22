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

} // namespace

QString ColourField(const Program& p, const SettingKey& key, const QString& stored) {
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

namespace {

QString savedField(const Program& p, const SettingKey& key) {
    const QString stored = p.settings.value(key);
    switch (key.saveForm) {
    case SaveForm::Trimmed:
        return stored.trimmed();
    case SaveForm::Raw:
        return stored;
    case SaveForm::Color:
        return ColourField(p, key, stored);
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
