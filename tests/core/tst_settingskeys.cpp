// The settings key table: every key's row, the counts, the save order and the
// defaults order, checked against the key list as the program documents it.

#include "core/SettingsKeys.h"

#include <QtTest>

#include <set>

namespace {

SettingKind kindNamed(const QString& kind) {
    static const QHash<QString, SettingKind> kinds{
        {"nick", SettingKind::Nick},
        {"text", SettingKind::Text},
        {"number text (twips)", SettingKind::TwipsNumber},
        {"TRUE/FALSE", SettingKind::TrueFalse},
        {"port text", SettingKind::Port},
        {"host text", SettingKind::Host},
        {"number box", SettingKind::NumberBox},
        {"0/1 switch", SettingKind::Switch},
        {"0/1 text", SettingKind::ZeroOneText},
        {"look colour", SettingKind::LookColor},
        {"event colour", SettingKind::EventColor},
        {"face", SettingKind::Face},
        {"size", SettingKind::Size},
        {"folder", SettingKind::Folder},
        {"ignored", SettingKind::Ignored},
    };
    return kinds.value(kind);
}

} // namespace

class TestSettingsKeys : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyKey_data();
    void everyKey();
    void counts();
    void saveOrder();
    void defaultsOrder_data();
    void defaultsOrder();
    void find_data();
    void find();
};

void TestSettingsKeys::everyKey_data() {
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("store");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("defaultValue");
    QTest::addColumn<bool>("saved");

    int order = 0;
    const auto row = [&order](const char* name, const char* kind, int store, const char* setup,
                              const char* defaultValue, bool saved) {
        QTest::newRow(name) << order++ << QString::fromLatin1(name) << QString::fromLatin1(kind)
                            << store << QString::fromLatin1(setup)
                            << QString::fromLatin1(defaultValue) << saved;
    };
    // clang-format off
    row("ADD_NOTIFY", "nick", 12, "", "", true);
    row("BEEPS", "text", 1, "", "", true);
    row("MAINFORM_HEIGHT", "number text (twips)", 1, "", "", true);
    row("MAINFORM_LEFT", "number text (twips)", 1, "", "", true);
    row("MAINFORM_TOP", "number text (twips)", 1, "", "", true);
    row("MAINFORM_WIDTH", "number text (twips)", 1, "", "", true);
    row("MAINFORM_ONTOP", "TRUE/FALSE", 6, "Check1", "", true);
    row("PROFILE_NICKNAME", "text", 2, "profile(0)", "", true);
    row("PROFILE_ALTERNATE", "text", 2, "profile(1)", "", true);
    row("PROFILE_USERNAME", "text", 2, "profile(2)", "", true);
    row("PROFILE_EMAIL", "text", 2, "profile(3)", "", true);
    row("PROFILE_REALNAME", "text", 2, "profile(4)", "", true);
    row("SERVER_FRIENDLY_NAME", "text", 1, "", "", true);
    row("SERVER_PORT", "port text", 1, "", "", true);
    row("SERVER_STYLE", "text", 1, "", "", true);
    row("SERVER_URL", "host text", 1, "", "", true);
    row("SHOW_CTCP", "number box", 4, "chk_md(0)", "1", true);
    row("SHOW_CTCPREPLY", "number box", 4, "chk_md(1)", "1", true);
    row("SHOW_ERROR", "number box", 4, "chk_md(2)", "1", true);
    row("SHOW_IRCMESSAGES", "number box", 4, "chk_md(3)", "1", true);
    row("SHOW_JOIN", "number box", 4, "chk_md(4)", "1", true);
    row("SHOW_KICK", "number box", 4, "chk_md(6)", "1", true);
    row("SHOW_NICK", "number box", 4, "chk_md(7)", "1", true);
    row("SHOW_NOTICE", "number box", 4, "chk_md(8)", "1", true);
    row("SHOW_NOTICEACTIVE", "number box", 4, "chk_md(9)", "1", true);
    row("SHOW_PART", "number box", 4, "chk_md(5)", "1", true);
    row("SHOW_QUERY", "number box", 4, "chk_md(10)", "1", true);
    row("SHOW_QUIT", "number box", 4, "chk_md(11)", "1", true);
    row("SHOW_QUITACTIVE", "number box", 4, "chk_md(12)", "1", true);
    row("SHOW_CHANNELMODE", "number box", 4, "chk_md(13)", "1", true);
    row("SHOW_MOTD", "number box", 4, "chk_md(15)", "1", true);
    row("SHOW_NAMES", "number box", 4, "chk_md(14)", "0", true);
    row("SHOW_SERVERNOTICE", "number box", 4, "chk_md(19)", "1", true);
    row("SHOW_SERVERPING", "number box", 4, "chk_md(16)", "0", true);
    row("SHOW_SERVERERROR", "number box", 4, "chk_md(17)", "1", true);
    row("SHOW_SETUP", "number box", 4, "chk_show_setup_startup", "", true);
    row("SHOW_WELCOME", "number box", 4, "chk_md(18)", "1", true);
    row("WIN_CHAN_LIST_BACKCOLOR", "look colour", 9, "UpdateSetupChan", "", true);
    row("WIN_CHAN_LIST_FORECOLOR", "look colour", 9, "UpdateSetupChan", "", true);
    row("WIN_CHAN_LIST_FONT", "face", 10, "UpdateSetupChan", "", true);
    row("WIN_CHAN_LIST_FONTSIZE", "size", 11, "UpdateSetupChan", "", true);
    row("WIN_CHAN_CONSOLE_BACKCOLOR", "look colour", 9, "UpdateSetupChan", "", true);
    row("WIN_CHAN_CONSOLE_FORECOLOR", "look colour", 9, "UpdateSetupChan", "", true);
    row("WIN_CHAN_CONSOLE_FONT", "face", 10, "UpdateSetupChan", "", true);
    row("WIN_CHAN_CONSOLE_FONTSIZE", "size", 11, "UpdateSetupChan", "", true);
    row("WIN_CHAN_COMMAND_BACKCOLOR", "look colour", 9, "UpdateSetupChan", "", true);
    row("WIN_CHAN_COMMAND_FORECOLOR", "look colour", 9, "UpdateSetupChan", "", true);
    row("WIN_CHAN_COMMAND_FONT", "face", 10, "UpdateSetupChan", "", true);
    row("WIN_CHAN_COMMAND_FONTSIZE", "size", 11, "UpdateSetupChan", "", true);
    row("WIN_CHAN_LOGGING", "TRUE/FALSE", 7, "UpdateSetupChan", "", true);
    row("WIN_CHAN_TIMESTAMP", "TRUE/FALSE", 7, "UpdateSetupChan", "", true);
    row("WIN_CHAN_JOINCOLOR", "event colour", 8, "UpdateSetupChan", "10", true);
    row("WIN_CHAN_PARTCOLOR", "event colour", 8, "UpdateSetupChan", "6", true);
    row("WIN_CHAN_QUITCOLOR", "event colour", 8, "UpdateSetupChan", "5", true);
    row("WIN_CHAN_KICKCOLOR", "event colour", 8, "UpdateSetupChan", "11", true);
    row("WIN_CHAN_NICKCOLOR", "event colour", 8, "UpdateSetupChan", "1", true);
    row("WIN_CHAN_MSGCOLOR", "event colour", 8, "UpdateSetupChan", "2", true);
    row("WIN_CHAN_NOTICECOLOR", "event colour", 8, "UpdateSetupChan", "3", true);
    row("WIN_CHAN_ACTIONCOLOR", "event colour", 8, "UpdateSetupChan", "13", true);
    row("WIN_QUERY_COMMAND_BACKCOLOR", "look colour", 9, "UpdateSetupQuery", "14", true);
    row("WIN_QUERY_COMMAND_FORECOLOR", "look colour", 9, "UpdateSetupQuery", "6", true);
    row("WIN_QUERY_COMMAND_FONTSIZE", "size", 11, "UpdateSetupQuery", "9", true);
    row("WIN_QUERY_COMMAND_FONT", "face", 10, "UpdateSetupQuery", "FixedSys", true);
    row("WIN_QUERY_BACKPIC", "ignored", 13, "", "", true);
    row("WIN_QUERY_BACKTILE", "ignored", 13, "", "", true);
    row("WIN_QUERY_CONSOLE_BACKCOLOR", "look colour", 9, "UpdateSetupQuery", "13", true);
    row("WIN_QUERY_CONSOLE_URL", "ignored", 13, "", "", true);
    row("WIN_QUERY_CONSOLE_FONT", "face", 10, "UpdateSetupQuery", "FixedSys", true);
    row("WIN_QUERY_CONSOLE_FONTSIZE", "size", 11, "UpdateSetupQuery", "9", true);
    row("WIN_QUERY_CONSOLE_FORECOLOR", "look colour", 9, "UpdateSetupQuery", "10", true);
    row("WIN_QUERY_LOGGING", "TRUE/FALSE", 7, "UpdateSetupQuery", "", true);
    row("WIN_QUERY_TIMESTAMP", "TRUE/FALSE", 7, "UpdateSetupQuery", "", true);
    row("WIN _QUERY_BACKTILE", "ignored", 13, "", "", false);
    row("WIN_QUERY_NOTICECOLOR", "event colour", 8, "UpdateSetupQuery", "3", true);
    row("WIN_QUERY_ACTIONCOLOR", "event colour", 8, "UpdateSetupQuery", "7", true);
    row("WIN_QUERY_MSGCOLOR", "event colour", 8, "UpdateSetupQuery", "4", true);
    row("WIN_SERVER_CONSOLE_FONT", "face", 10, "UpdateSetupServer", "Fixedsys", true);
    row("WIN_SERVER_CONSOLE_URL", "ignored", 13, "", "", true);
    row("WIN_SERVER_CONSOLE_FORECOLOR", "look colour", 9, "UpdateSetupServer", "1", true);
    row("WIN_SERVER_CONSOLE_BACKCOLOR", "look colour", 9, "UpdateSetupServer", "8", true);
    row("WIN_SERVER_COMMAND_FONT", "face", 10, "UpdateSetupServer", "Fixedsys", true);
    row("WIN_SERVER_COMMAND_FORECOLOR", "look colour", 9, "UpdateSetupServer", "14", true);
    row("WIN_SERVER_COMMAND_BACKCOLOR", "look colour", 9, "UpdateSetupServer", "2", true);
    row("WIN_SERVER_TIMESTAMP", "TRUE/FALSE", 7, "UpdateSetupServer", "", true);
    row("WIN_SERVER_LOGGING", "TRUE/FALSE", 7, "UpdateSetupServer", "", true);
    row("WIN_SERVER_BACKPIC", "ignored", 13, "", "", true);
    row("WIN_SERVER_BACKTILE", "ignored", 13, "", "", true);
    row("WIN_SERVER_COMMAND_FONTSIZE", "size", 11, "UpdateSetupServer", "", true);
    row("WIN_SERVER_CONSOLE_FONTSIZE", "size", 11, "UpdateSetupServer", "", true);
    row("WIN_SERVER_SETVAR", "0/1 text", 1, "", "", true);
    row("WIN_SERVER_CTCPCOLOR", "event colour", 8, "UpdateSetupServer", "5", true);
    row("WIN_SERVER_ERRORCOLOR", "event colour", 8, "UpdateSetupServer", "10", true);
    row("WIN_SERVER_IRCMESSAGECOLOR", "event colour", 8, "UpdateSetupServer", "7", true);
    row("WIN_SERVER_KICKCOLOR", "event colour", 8, "UpdateSetupServer", "6", true);
    row("WIN_SERVER_NICKCOLOR", "event colour", 8, "UpdateSetupServer", "1", true);
    row("WIN_SERVER_NOTICECOLOR", "event colour", 8, "UpdateSetupServer", "3", true);
    row("WIN_SERVER_QUERYCOLOR", "event colour", 8, "UpdateSetupServer", "0", true);
    row("WIN_SERVER_QUITCOLOR", "event colour", 8, "UpdateSetupServer", "2", true);
    row("WIN_SERVER_MOTDCOLOR", "event colour", 8, "UpdateSetupServer", "4", true);
    row("WIN_SERVER_NAMESCOLOR", "event colour", 8, "UpdateSetupServer", "5", true);
    row("WIN_SERVER_SERVERNOTICECOLOR", "event colour", 8, "UpdateSetupServer", "2", true);
    row("WIN_SERVER_SERVERPINGCOLOR", "event colour", 8, "UpdateSetupServer", "3", true);
    row("WIN_SERVER_SERVERWELCOMECOLOR", "event colour", 8, "UpdateSetupServer", "4", true);
    row("USE_TRAY", "0/1 switch", 5, "chk_use_tray", "", true);
    row("USE_BUDDY", "0/1 switch", 5, "chk_use_buddy", "", true);
    row("USE_CONFIRM_EXIT", "0/1 switch", 5, "chk_use_confirm_exit", "", true);
    row("USE_MINISTART", "0/1 switch", 5, "chk_useministart", "", true);
    row("USE_INSTANTCONNECT", "0/1 switch", 5, "chk_use_instantconnect", "", true);
    row("USE_RECONNECT", "0/1 switch", 5, "chk_use_reconnect", "", true);
    row("USE_AUTOREJOIN", "0/1 switch", 5, "chk_use_autorejoin", "", false);
    row("USE_STARTUPINI", "0/1 switch", 5, "chk_use_startupini", "", true);
    row("USE_DEFAULT_QUIT", "text", 2, "default_quit", "", true);
    row("USE_MSNTILE", "number box", 4, "chk_USE_MSNTILE", "0", true);
    row("USE_MSNSOUND", "number box", 4, "chk_USE_MSNSOUND", "0", true);
    row("DEF_GET_DIR", "folder", 3, "txt_dcc_get", "", true);
    row("USE_MSN_TRANS", "number box", 4, "chk_USE_MSN_TRANS", "", true);
    row("PROMPT_SWIZ", "0/1 text", 1, "", "", true);
    row("START_SKIN", "text", 1, "", "", true);
    row("USE_SKINS", "text", 1, "", "", true);
    row("SET_DCC_PORT", "port text", 2, "txt_dcc_port", "4000", true);
    // clang-format on
}

// Each key is found by its name, in its place in dispatch order, with its kind,
// store procedure, setup binding, default and whether it is saved.
void TestSettingsKeys::everyKey() {
    QFETCH(int, order);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(int, store);
    QFETCH(QString, setup);
    QFETCH(QString, defaultValue);
    QFETCH(bool, saved);

    const SettingKey* key = SettingsKeys::find(name);
    QVERIFY(key != nullptr);
    QCOMPARE(QString(key->name), name);
    QCOMPARE(SettingsKeys::indexOf(*key), order);
    QCOMPARE(&SettingsKeys::all()[order], key);
    QCOMPARE(key->kind, kindNamed(kind));
    QCOMPARE(key->storeNumber(), store);
    QCOMPARE(QString(key->setupBinding), setup);
    QCOMPARE(QString(key->defaultValue), defaultValue);
    QCOMPARE(key->isSaved(), saved);
    QCOMPARE(key->saveForm == SaveForm::NotSaved, !saved);
    // Only the notify-list key and the misspelt ignored key have no field.
    QCOMPARE(key->ownsField, name != "ADD_NOTIFY" && name != "WIN _QUERY_BACKTILE");
}

void TestSettingsKeys::counts() {
    const auto keys = SettingsKeys::all();
    QCOMPARE(int(keys.size()), 120);

    std::set<QString> names;
    int storing = 0, ignored = 0, ignoredWithField = 0, withDefault = 0;
    for (const SettingKey& key : keys) {
        names.insert(key.name);
        if (key.store == StoreProcedure::Ignored) {
            ++ignored;
            ignoredWithField += key.ownsField ? 1 : 0;
        } else if (key.store != StoreProcedure::NotifyEntry) {
            ++storing;
            QVERIFY2(key.ownsField, key.name.data());
        }
        withDefault += key.hasDefault() ? 1 : 0;
    }
    QCOMPARE(int(names.size()), 120);
    QCOMPARE(storing, 112);
    QCOMPARE(ignored, 7);
    QCOMPARE(ignoredWithField, 6);
    QCOMPARE(withDefault, 61);

    const SettingKey* notify = SettingsKeys::find(u"ADD_NOTIFY");
    QVERIFY(notify != nullptr);
    QCOMPARE(notify->store, StoreProcedure::NotifyEntry);
    QVERIFY(!notify->ownsField);
}

// The settings file's fixed records, then the notify-list records, each with
// its form: T trimmed, R as stored, C colour index.
void TestSettingsKeys::saveOrder() {
    const QList<QPair<QString, char>> expected{
        {"BEEPS", 'T'},
        {"SHOW_SETUP", 'T'},
        {"MAINFORM_HEIGHT", 'T'},
        {"MAINFORM_LEFT", 'T'},
        {"MAINFORM_ONTOP", 'T'},
        {"MAINFORM_TOP", 'T'},
        {"MAINFORM_WIDTH", 'T'},
        {"PROFILE_ALTERNATE", 'R'},
        {"PROFILE_EMAIL", 'R'},
        {"PROFILE_NICKNAME", 'R'},
        {"PROFILE_REALNAME", 'R'},
        {"PROFILE_USERNAME", 'R'},
        {"SERVER_FRIENDLY_NAME", 'T'},
        {"SERVER_PORT", 'T'},
        {"SERVER_STYLE", 'T'},
        {"SERVER_URL", 'T'},
        {"SHOW_CHANNELMODE", 'T'},
        {"SHOW_CTCP", 'T'},
        {"SHOW_CTCPREPLY", 'T'},
        {"SHOW_ERROR", 'T'},
        {"SHOW_IRCMESSAGES", 'T'},
        {"SHOW_JOIN", 'T'},
        {"SHOW_KICK", 'T'},
        {"SHOW_MOTD", 'T'},
        {"SHOW_NAMES", 'T'},
        {"SHOW_NICK", 'T'},
        {"SHOW_NOTICE", 'T'},
        {"SHOW_NOTICEACTIVE", 'T'},
        {"SHOW_PART", 'T'},
        {"SHOW_QUERY", 'T'},
        {"SHOW_QUIT", 'T'},
        {"SHOW_QUITACTIVE", 'T'},
        {"SHOW_SERVERERROR", 'T'},
        {"SHOW_SERVERNOTICE", 'T'},
        {"SHOW_SERVERPING", 'T'},
        {"SHOW_WELCOME", 'T'},
        {"WIN_QUERY_COMMAND_BACKCOLOR", 'C'},
        {"WIN_QUERY_COMMAND_FORECOLOR", 'C'},
        {"WIN_QUERY_COMMAND_FONT", 'T'},
        {"WIN_QUERY_COMMAND_FONTSIZE", 'T'},
        {"WIN_QUERY_CONSOLE_BACKCOLOR", 'C'},
        {"WIN_QUERY_CONSOLE_FONT", 'T'},
        {"WIN_QUERY_CONSOLE_FORECOLOR", 'C'},
        {"WIN_QUERY_TIMESTAMP", 'T'},
        {"WIN_QUERY_LOGGING", 'T'},
        {"WIN_QUERY_BACKPIC", 'T'},
        {"WIN_QUERY_BACKTILE", 'T'},
        {"WIN_QUERY_CONSOLE_FONTSIZE", 'T'},
        {"WIN_QUERY_CONSOLE_URL", 'T'},
        {"WIN_QUERY_NOTICECOLOR", 'C'},
        {"WIN_QUERY_ACTIONCOLOR", 'C'},
        {"WIN_QUERY_MSGCOLOR", 'C'},
        {"WIN_SERVER_COMMAND_BACKCOLOR", 'C'},
        {"WIN_SERVER_COMMAND_FORECOLOR", 'C'},
        {"WIN_SERVER_COMMAND_FONT", 'T'},
        {"WIN_SERVER_COMMAND_FONTSIZE", 'T'},
        {"WIN_SERVER_CONSOLE_BACKCOLOR", 'C'},
        {"WIN_SERVER_CONSOLE_FONT", 'T'},
        {"WIN_SERVER_CONSOLE_FORECOLOR", 'C'},
        {"WIN_SERVER_TIMESTAMP", 'T'},
        {"WIN_SERVER_LOGGING", 'T'},
        {"WIN_SERVER_BACKPIC", 'T'},
        {"WIN_SERVER_BACKTILE", 'T'},
        {"WIN_SERVER_CONSOLE_FONTSIZE", 'T'},
        {"WIN_SERVER_CONSOLE_URL", 'T'},
        {"WIN_SERVER_SETVAR", 'T'},
        {"WIN_SERVER_CTCPCOLOR", 'C'},
        {"WIN_SERVER_ERRORCOLOR", 'C'},
        {"WIN_SERVER_IRCMESSAGECOLOR", 'C'},
        {"WIN_SERVER_KICKCOLOR", 'C'},
        {"WIN_SERVER_NICKCOLOR", 'C'},
        {"WIN_SERVER_NOTICECOLOR", 'C'},
        {"WIN_SERVER_QUERYCOLOR", 'C'},
        {"WIN_SERVER_QUITCOLOR", 'C'},
        {"WIN_SERVER_MOTDCOLOR", 'C'},
        {"WIN_SERVER_NAMESCOLOR", 'C'},
        {"WIN_SERVER_SERVERNOTICECOLOR", 'C'},
        {"WIN_SERVER_SERVERPINGCOLOR", 'C'},
        {"WIN_SERVER_SERVERWELCOMECOLOR", 'C'},
        {"WIN_CHAN_COMMAND_BACKCOLOR", 'C'},
        {"WIN_CHAN_COMMAND_FORECOLOR", 'C'},
        {"WIN_CHAN_COMMAND_FONT", 'T'},
        {"WIN_CHAN_COMMAND_FONTSIZE", 'T'},
        {"WIN_CHAN_CONSOLE_BACKCOLOR", 'C'},
        {"WIN_CHAN_CONSOLE_FORECOLOR", 'C'},
        {"WIN_CHAN_CONSOLE_FONT", 'T'},
        {"WIN_CHAN_CONSOLE_FONTSIZE", 'T'},
        {"WIN_CHAN_TIMESTAMP", 'T'},
        {"WIN_CHAN_LOGGING", 'T'},
        {"WIN_CHAN_LIST_BACKCOLOR", 'C'},
        {"WIN_CHAN_LIST_FORECOLOR", 'C'},
        {"WIN_CHAN_LIST_FONT", 'T'},
        {"WIN_CHAN_LIST_FONTSIZE", 'T'},
        {"WIN_CHAN_JOINCOLOR", 'C'},
        {"WIN_CHAN_PARTCOLOR", 'C'},
        {"WIN_CHAN_QUITCOLOR", 'C'},
        {"WIN_CHAN_KICKCOLOR", 'C'},
        {"WIN_CHAN_NICKCOLOR", 'C'},
        {"WIN_CHAN_MSGCOLOR", 'C'},
        {"WIN_CHAN_NOTICECOLOR", 'C'},
        {"WIN_CHAN_ACTIONCOLOR", 'C'},
        {"USE_TRAY", 'T'},
        {"USE_CONFIRM_EXIT", 'T'},
        {"USE_BUDDY", 'T'},
        {"USE_MINISTART", 'R'},
        {"USE_INSTANTCONNECT", 'R'},
        {"USE_RECONNECT", 'R'},
        {"USE_STARTUPINI", 'R'},
        {"USE_DEFAULT_QUIT", 'R'},
        {"USE_MSNTILE", 'R'},
        {"USE_MSNSOUND", 'R'},
        {"DEF_GET_DIR", 'R'},
        {"USE_MSN_TRANS", 'R'},
        {"PROMPT_SWIZ", 'R'},
        {"START_SKIN", 'R'},
        {"USE_SKINS", 'R'},
        {"SET_DCC_PORT", 'R'},
        {"ADD_NOTIFY", 'T'},
    };
    const QList<const SettingKey*>& saved = SettingsKeys::inSaveOrder();
    QCOMPARE(saved.size(), expected.size());
    for (int i = 0; i < saved.size(); ++i) {
        const SettingKey& key = *saved[i];
        QCOMPARE(QString(key.name), expected[i].first);
        QCOMPARE(key.savePosition, i + 1);
        const SaveForm form = expected[i].second == 'C'   ? SaveForm::Color
                              : expected[i].second == 'R' ? SaveForm::Raw
                                                          : SaveForm::Trimmed;
        QCOMPARE(key.saveForm, form);
    }
    QCOMPARE(saved.last()->store, StoreProcedure::NotifyEntry);

    QStringList unsaved;
    for (const SettingKey& key : SettingsKeys::all()) {
        if (!key.isSaved())
            unsaved.append(key.name);
    }
    QCOMPARE(unsaved, QStringList({"WIN _QUERY_BACKTILE", "USE_AUTOREJOIN"}));
}

void TestSettingsKeys::defaultsOrder_data() {
    QTest::addColumn<int>("order");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("defaultValue");

    int order = 1;
    const auto row = [&order](const char* name, const char* defaultValue) {
        QTest::newRow(name) << order++ << QString::fromLatin1(name)
                            << QString::fromLatin1(defaultValue);
    };
    // The walkthrough key has its place in the pass but no default: the pass
    // asks the first-run question there.
    row("WIN_CHAN_JOINCOLOR", "10");
    row("WIN_CHAN_PARTCOLOR", "6");
    row("WIN_CHAN_QUITCOLOR", "5");
    row("WIN_CHAN_KICKCOLOR", "11");
    row("WIN_CHAN_NICKCOLOR", "1");
    row("WIN_CHAN_MSGCOLOR", "2");
    row("WIN_CHAN_NOTICECOLOR", "3");
    row("WIN_CHAN_ACTIONCOLOR", "13");
    row("WIN_SERVER_CONSOLE_FONT", "Fixedsys");
    row("WIN_SERVER_COMMAND_FONT", "Fixedsys");
    row("WIN_SERVER_CONSOLE_FORECOLOR", "1");
    row("WIN_SERVER_CONSOLE_BACKCOLOR", "8");
    row("WIN_SERVER_COMMAND_BACKCOLOR", "2");
    row("WIN_SERVER_COMMAND_FORECOLOR", "14");
    row("WIN_SERVER_CTCPCOLOR", "5");
    row("WIN_SERVER_ERRORCOLOR", "10");
    row("WIN_SERVER_IRCMESSAGECOLOR", "7");
    row("WIN_SERVER_KICKCOLOR", "6");
    row("WIN_SERVER_NICKCOLOR", "1");
    row("WIN_SERVER_NOTICECOLOR", "3");
    row("WIN_SERVER_QUERYCOLOR", "0");
    row("WIN_SERVER_QUITCOLOR", "2");
    row("WIN_SERVER_MOTDCOLOR", "4");
    row("WIN_SERVER_NAMESCOLOR", "5");
    row("WIN_SERVER_SERVERNOTICECOLOR", "2");
    row("WIN_SERVER_SERVERPINGCOLOR", "3");
    row("WIN_SERVER_SERVERWELCOMECOLOR", "4");
    row("WIN_QUERY_COMMAND_FONT", "FixedSys");
    row("WIN_QUERY_COMMAND_FONTSIZE", "9");
    row("WIN_QUERY_COMMAND_FORECOLOR", "6");
    row("WIN_QUERY_COMMAND_BACKCOLOR", "14");
    row("WIN_QUERY_CONSOLE_BACKCOLOR", "13");
    row("WIN_QUERY_CONSOLE_FONT", "FixedSys");
    row("WIN_QUERY_CONSOLE_FONTSIZE", "9");
    row("WIN_QUERY_CONSOLE_FORECOLOR", "10");
    row("WIN_QUERY_MSGCOLOR", "4");
    row("WIN_QUERY_NOTICECOLOR", "3");
    row("WIN_QUERY_ACTIONCOLOR", "7");
    row("USE_MSNSOUND", "0");
    row("USE_MSNTILE", "0");
    row("SHOW_CTCP", "1");
    row("SHOW_CTCPREPLY", "1");
    row("SHOW_ERROR", "1");
    row("SHOW_IRCMESSAGES", "1");
    row("SHOW_JOIN", "1");
    row("SHOW_KICK", "1");
    row("SHOW_NICK", "1");
    row("SHOW_NOTICE", "1");
    row("SHOW_NOTICEACTIVE", "1");
    row("SHOW_PART", "1");
    row("SHOW_QUERY", "1");
    row("SHOW_QUIT", "1");
    row("SHOW_QUITACTIVE", "1");
    row("SHOW_CHANNELMODE", "1");
    row("SHOW_MOTD", "1");
    row("SHOW_NAMES", "0");
    row("SHOW_SERVERNOTICE", "1");
    row("SHOW_SERVERPING", "0");
    row("SHOW_SERVERERROR", "1");
    row("SHOW_WELCOME", "1");
    row("PROMPT_SWIZ", "");
    row("SET_DCC_PORT", "4000");
}

void TestSettingsKeys::defaultsOrder() {
    QFETCH(int, order);
    QFETCH(QString, name);
    QFETCH(QString, defaultValue);

    const QList<const SettingKey*>& pass = SettingsKeys::inDefaultsOrder();
    QCOMPARE(pass.size(), 62);
    const SettingKey& key = *pass[order - 1];
    QCOMPARE(QString(key.name), name);
    QCOMPARE(key.defaultsOrder, order);
    QCOMPARE(QString(key.defaultValue), defaultValue);
}

void TestSettingsKeys::find_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("found"); // "" when no key is found

    QTest::newRow("exact") << "SHOW_JOIN"
                           << "SHOW_JOIN";
    QTest::newRow("first key") << "ADD_NOTIFY"
                               << "ADD_NOTIFY";
    QTest::newRow("last key") << "SET_DCC_PORT"
                              << "SET_DCC_PORT";
    QTest::newRow("blank inside the name") << "WIN _QUERY_BACKTILE"
                                           << "WIN _QUERY_BACKTILE";
    QTest::newRow("its look-alike") << "WIN_QUERY_BACKTILE"
                                    << "WIN_QUERY_BACKTILE";
    QTest::newRow("lower case is not normalised") << "show_join"
                                                  << "";
    QTest::newRow("blanks are not normalised") << " SHOW_JOIN"
                                               << "";
    QTest::newRow("prefix of a key") << "SHOW_"
                                     << "";
    QTest::newRow("before every key") << "A"
                                      << "";
    QTest::newRow("after every key") << "ZZZ"
                                     << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSettingsKeys::find() {
    QFETCH(QString, given);
    QFETCH(QString, found);

    const SettingKey* key = SettingsKeys::find(given);
    QCOMPARE(key ? QString(key->name) : QString(), found);

    // The accessor's form of the name, in lower case with blanks around it,
    // finds the same key.
    const QString sloppy = QStringLiteral("  ") + given.toLower() + QStringLiteral("\t ");
    const SettingKey* normalised = SettingsKeys::find(SettingsKeys::normalise(sloppy));
    if (!found.isEmpty())
        QCOMPARE(normalised, key);
}

QTEST_APPLESS_MAIN(TestSettingsKeys)
#include "tst_settingskeys.moc"
