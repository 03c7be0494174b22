#include "config/AppearanceProfile.h"

#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/SettingsFile.h"
#include "core/SettingsKeys.h"
#include "core/mod_set.h"

#include <exception>

const std::array<const char*, 52>& AppearanceProfileKeys() {
    static constexpr std::array<const char*, 52> keys{
        "WIN_QUERY_COMMAND_BACKCOLOR",  "WIN_QUERY_COMMAND_FORECOLOR",
        "WIN_QUERY_COMMAND_FONT",       "WIN_QUERY_COMMAND_FONTSIZE",
        "WIN_QUERY_CONSOLE_BACKCOLOR",  "WIN_QUERY_CONSOLE_FONT",
        "WIN_QUERY_CONSOLE_FORECOLOR",  "WIN_QUERY_CONSOLE_FONTSIZE",
        "WIN_QUERY_NOTICECOLOR",        "WIN_QUERY_ACTIONCOLOR",
        "WIN_QUERY_MSGCOLOR",           "WIN_SERVER_COMMAND_BACKCOLOR",
        "WIN_SERVER_COMMAND_FORECOLOR", "WIN_SERVER_COMMAND_FONT",
        "WIN_SERVER_COMMAND_FONTSIZE",  "WIN_SERVER_CONSOLE_BACKCOLOR",
        "WIN_SERVER_CONSOLE_FONT",      "WIN_SERVER_CONSOLE_FORECOLOR",
        "WIN_SERVER_CONSOLE_FONTSIZE",  "WIN_SERVER_CTCPCOLOR",
        "WIN_SERVER_ERRORCOLOR",        "WIN_SERVER_IRCMESSAGECOLOR",
        "WIN_SERVER_KICKCOLOR",         "WIN_SERVER_NICKCOLOR",
        "WIN_SERVER_NOTICECOLOR",       "WIN_SERVER_QUERYCOLOR",
        "WIN_SERVER_QUITCOLOR",         "WIN_SERVER_MOTDCOLOR",
        "WIN_SERVER_NAMESCOLOR",        "WIN_SERVER_SERVERNOTICECOLOR",
        "WIN_SERVER_SERVERPINGCOLOR",   "WIN_SERVER_SERVERWELCOMECOLOR",
        "WIN_CHAN_COMMAND_BACKCOLOR",   "WIN_CHAN_COMMAND_FORECOLOR",
        "WIN_CHAN_COMMAND_FONT",        "WIN_CHAN_COMMAND_FONTSIZE",
        "WIN_CHAN_CONSOLE_BACKCOLOR",   "WIN_CHAN_CONSOLE_FORECOLOR",
        "WIN_CHAN_CONSOLE_FONT",        "WIN_CHAN_CONSOLE_FONTSIZE",
        "WIN_CHAN_LIST_BACKCOLOR",      "WIN_CHAN_LIST_FORECOLOR",
        "WIN_CHAN_LIST_FONT",           "WIN_CHAN_LIST_FONTSIZE",
        "WIN_CHAN_JOINCOLOR",           "WIN_CHAN_PARTCOLOR",
        "WIN_CHAN_QUITCOLOR",           "WIN_CHAN_KICKCOLOR",
        "WIN_CHAN_NICKCOLOR",           "WIN_CHAN_MSGCOLOR",
        "WIN_CHAN_NOTICECOLOR",         "WIN_CHAN_ACTIONCOLOR",
    };
    return keys;
}

QList<QStringList> AppearanceProfileRecords(const Program& p) {
    QList<QStringList> records;
    for (const char* name : AppearanceProfileKeys()) {
        const QString key = QString::fromLatin1(name);
        const QString stored = p.settings.value(key);
        QString field;
        if (key.endsWith(u"COLOR")) {
            const SettingKey* entry = SettingsKeys::find(key);
            field = entry ? ColourField(p, *entry, stored) : QString();
        } else {
            field = stored.trimmed();
        }
        records.append({key, field});
    }
    return records;
}

bool SaveAppearanceProfile(Program& p, const QString& path, QString* error) {
    return p.fileWriter(path, RecordFile::format(AppearanceProfileRecords(p)), error);
}

void LoadAppearanceProfile(Program& p, const QString& path) {
    RecordFile::Content content;
    if (RecordFile::read(path, 2, &content) != RecordFile::Status::Read)
        return;
    for (const QStringList& record : std::as_const(content.records)) {
        try {
            Setting(p, record.at(0), record.at(1));
        } catch (const std::exception&) {
            // A record whose side effect fails is passed over; the rest apply.
        }
    }
}
