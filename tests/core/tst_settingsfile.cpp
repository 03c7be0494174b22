// settings.ini: every saved key survives a save and a load, the file's exact
// shape, damaged lines and failed stores cost only themselves, and a failed
// write keeps the old file.

#include "config/frm_popups.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/SettingsFile.h"
#include "core/mod_set.h"
#include "platform/window/SystemMenu.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>

namespace {

// The keys of a saved settings.ini, in order.
const QStringList kSavedOrder{
    "BEEPS",
    "SHOW_SETUP",
    "MAINFORM_HEIGHT",
    "MAINFORM_LEFT",
    "MAINFORM_ONTOP",
    "MAINFORM_TOP",
    "MAINFORM_WIDTH",
    "PROFILE_ALTERNATE",
    "PROFILE_EMAIL",
    "PROFILE_NICKNAME",
    "PROFILE_REALNAME",
    "PROFILE_USERNAME",
    "SERVER_FRIENDLY_NAME",
    "SERVER_PORT",
    "SERVER_STYLE",
    "SERVER_URL",
    "SHOW_CHANNELMODE",
    "SHOW_CTCP",
    "SHOW_CTCPREPLY",
    "SHOW_ERROR",
    "SHOW_IRCMESSAGES",
    "SHOW_JOIN",
    "SHOW_KICK",
    "SHOW_MOTD",
    "SHOW_NAMES",
    "SHOW_NICK",
    "SHOW_NOTICE",
    "SHOW_NOTICEACTIVE",
    "SHOW_PART",
    "SHOW_QUERY",
    "SHOW_QUIT",
    "SHOW_QUITACTIVE",
    "SHOW_SERVERERROR",
    "SHOW_SERVERNOTICE",
    "SHOW_SERVERPING",
    "SHOW_WELCOME",
    "WIN_QUERY_COMMAND_BACKCOLOR",
    "WIN_QUERY_COMMAND_FORECOLOR",
    "WIN_QUERY_COMMAND_FONT",
    "WIN_QUERY_COMMAND_FONTSIZE",
    "WIN_QUERY_CONSOLE_BACKCOLOR",
    "WIN_QUERY_CONSOLE_FONT",
    "WIN_QUERY_CONSOLE_FORECOLOR",
    "WIN_QUERY_TIMESTAMP",
    "WIN_QUERY_LOGGING",
    "WIN_QUERY_BACKPIC",
    "WIN_QUERY_BACKTILE",
    "WIN_QUERY_CONSOLE_FONTSIZE",
    "WIN_QUERY_CONSOLE_URL",
    "WIN_QUERY_NOTICECOLOR",
    "WIN_QUERY_ACTIONCOLOR",
    "WIN_QUERY_MSGCOLOR",
    "WIN_SERVER_COMMAND_BACKCOLOR",
    "WIN_SERVER_COMMAND_FORECOLOR",
    "WIN_SERVER_COMMAND_FONT",
    "WIN_SERVER_COMMAND_FONTSIZE",
    "WIN_SERVER_CONSOLE_BACKCOLOR",
    "WIN_SERVER_CONSOLE_FONT",
    "WIN_SERVER_CONSOLE_FORECOLOR",
    "WIN_SERVER_TIMESTAMP",
    "WIN_SERVER_LOGGING",
    "WIN_SERVER_BACKPIC",
    "WIN_SERVER_BACKTILE",
    "WIN_SERVER_CONSOLE_FONTSIZE",
    "WIN_SERVER_CONSOLE_URL",
    "WIN_SERVER_SETVAR",
    "WIN_SERVER_CTCPCOLOR",
    "WIN_SERVER_ERRORCOLOR",
    "WIN_SERVER_IRCMESSAGECOLOR",
    "WIN_SERVER_KICKCOLOR",
    "WIN_SERVER_NICKCOLOR",
    "WIN_SERVER_NOTICECOLOR",
    "WIN_SERVER_QUERYCOLOR",
    "WIN_SERVER_QUITCOLOR",
    "WIN_SERVER_MOTDCOLOR",
    "WIN_SERVER_NAMESCOLOR",
    "WIN_SERVER_SERVERNOTICECOLOR",
    "WIN_SERVER_SERVERPINGCOLOR",
    "WIN_SERVER_SERVERWELCOMECOLOR",
    "WIN_CHAN_COMMAND_BACKCOLOR",
    "WIN_CHAN_COMMAND_FORECOLOR",
    "WIN_CHAN_COMMAND_FONT",
    "WIN_CHAN_COMMAND_FONTSIZE",
    "WIN_CHAN_CONSOLE_BACKCOLOR",
    "WIN_CHAN_CONSOLE_FORECOLOR",
    "WIN_CHAN_CONSOLE_FONT",
    "WIN_CHAN_CONSOLE_FONTSIZE",
    "WIN_CHAN_TIMESTAMP",
    "WIN_CHAN_LOGGING",
    "WIN_CHAN_LIST_BACKCOLOR",
    "WIN_CHAN_LIST_FORECOLOR",
    "WIN_CHAN_LIST_FONT",
    "WIN_CHAN_LIST_FONTSIZE",
    "WIN_CHAN_JOINCOLOR",
    "WIN_CHAN_PARTCOLOR",
    "WIN_CHAN_QUITCOLOR",
    "WIN_CHAN_KICKCOLOR",
    "WIN_CHAN_NICKCOLOR",
    "WIN_CHAN_MSGCOLOR",
    "WIN_CHAN_NOTICECOLOR",
    "WIN_CHAN_ACTIONCOLOR",
    "USE_TRAY",
    "USE_CONFIRM_EXIT",
    "USE_BUDDY",
    "USE_MINISTART",
    "USE_INSTANTCONNECT",
    "USE_RECONNECT",
    "USE_STARTUPINI",
    "USE_DEFAULT_QUIT",
    "USE_MSNTILE",
    "USE_MSNSOUND",
    "DEF_GET_DIR",
    "USE_MSN_TRANS",
    "PROMPT_SWIZ",
    "START_SKIN",
    "USE_SKINS",
    "SET_DCC_PORT",
};

// A value each kind of key takes and keeps, distinct per key where the kind
// allows it.
QString valueFor(const SettingKey& key, int n) {
    switch (key.kind) {
    case SettingKind::Text:
        return QStringLiteral("v%1 \"quoted\", caf\u00e9").arg(n);
    case SettingKind::Host:
        return QStringLiteral("irc.example.org");
    case SettingKind::Port:
        return QString::number(6000 + n);
    case SettingKind::TwipsNumber:
        return QString::number(100 * n);
    case SettingKind::TrueFalse:
        return n % 2 ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case SettingKind::NumberBox:
        return QString::number(n % 3);
    case SettingKind::Switch:
    case SettingKind::ZeroOneText:
        return QString::number(n % 2);
    case SettingKind::LookColor:
    case SettingKind::EventColor:
        return QString::number(n % 16);
    case SettingKind::Face:
        return QStringLiteral("DejaVu Serif");
    case SettingKind::Size:
        return QString::number(6 + n % 10);
    case SettingKind::Folder:
        return QStringLiteral("/tmp/dl%1").arg(n);
    case SettingKind::Nick:
    case SettingKind::Ignored:
        break;
    }
    return QString();
}

QStringList notifyEntries(Program& p) {
    QStringList entries;
    const QListWidget* list = p.notifyWindow().List1;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    entries.sort();
    return entries;
}

} // namespace

class TestSettingsFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void roundTripOfEverySavedKey();
    void savedFileOrderAndCount();
    void quotesAndCommas();
    void missingFileAppliesNothing();
    void recordsInFileOrder();
    void malformedLineInTheMiddle();
    void truncatedLastLine();
    void strayLatin1ByteCostsOnlyItsLine();
    void failingStoreIsReportedAndLoadGoesOn();
    void notifyRecords();
    void colourFields_data();
    void colourFields();
    void coloursSurviveARestart();
    void popupsAreWrittenAroundTheSettings();
    void failedWriteKeepsTheOldFile();
    void failedWriteSaysWhatIsTrue_data();
    void failedWriteSaysWhatIsTrue();
    void unreadableFileGivesItsReason();
    void damagedFileIsKeptAsItWas();
    void damagedFileWithoutCopyIsNotReplaced();
    void unreadableFileIsNotReplaced();
    void plainFileWhereTheFolderShouldBe();

private:
    // A second program on the same folder, as at the next start.
    std::unique_ptr<Program> restart() const;
    QStringList lines(Program& p) const;
    // The records of the saved file.
    QList<QStringList> savedRecords() const;

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestSettingsFile::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = restart();
}

void TestSettingsFile::cleanup() {
    m_p.reset();
    m_folder.reset();
}

std::unique_ptr<Program> TestSettingsFile::restart() const {
    auto p = std::make_unique<Program>(m_folder->path());
    p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    p->serverWindow();
    return p;
}

QStringList TestSettingsFile::lines(Program& p) const {
    return p.serverWindow().console->Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

QList<QStringList> TestSettingsFile::savedRecords() const {
    const RecordFile::Content content =
        RecordFile::parse(m_folder->read(QStringLiteral("settings.ini")), 2);
    [&] { QCOMPARE(content.malformedLines, 0); }();
    return content.records;
}

void TestSettingsFile::roundTripOfEverySavedKey() {
    Program& p = *m_p;
    int n = 0;
    for (const SettingKey* key : SettingsKeys::inSaveOrder()) {
        if (key->store != StoreProcedure::NotifyEntry)
            Setting(p, QString(key->name), valueFor(*key, ++n));
    }
    Setting(p, QStringLiteral("USE_AUTOREJOIN"), QStringLiteral("1"));
    for (const char* nick : {"bob", "alice", "bob"})
        Setting(p, QStringLiteral("ADD_NOTIFY"), QString::fromLatin1(nick));
    QCOMPARE(lines(p), QStringList{});
    SaveSettings(p);

    std::unique_ptr<Program> next = restart();
    LoadSettings(*next);
    QCOMPARE(lines(*next), QStringList{});
    int compared = 0;
    for (const SettingKey* key : SettingsKeys::inSaveOrder()) {
        if (key->store == StoreProcedure::NotifyEntry)
            continue;
        QCOMPARE(next->settings.value(*key), p.settings.value(*key));
        compared += !p.settings.value(*key).isEmpty();
    }
    QCOMPARE(compared, 111);
    QCOMPARE(notifyEntries(*next), (QStringList{"alice", "bob", "bob"}));
    // The rejoin switch lasts for one run.
    QCOMPARE(next->settings.value(u"USE_AUTOREJOIN"), QString());
}

void TestSettingsFile::savedFileOrderAndCount() {
    Program& p = *m_p;
    Setting(p, QStringLiteral("ADD_NOTIFY"), QStringLiteral("zed"));
    Setting(p, QStringLiteral("ADD_NOTIFY"), QStringLiteral("amy"));
    Setting(p, QStringLiteral("BEEPS"), QStringLiteral("3"));
    SaveSettings(p);

    const QByteArray bytes = m_folder->read(QStringLiteral("settings.ini"));
    QVERIFY(bytes.startsWith("\"BEEPS\",\"3\"\r\n\"SHOW_SETUP\",\"\"\r\n"));
    QCOMPARE(bytes.count("\r\n"), 119);
    QVERIFY(!bytes.contains("\n\n"));

    const QList<QStringList> records = savedRecords();
    QStringList keys;
    for (const QStringList& record : records)
        keys << record.at(0);
    QCOMPARE(keys.size(), 119);
    QCOMPARE(keys.mid(0, 117), kSavedOrder);
    QCOMPARE(keys.mid(117), (QStringList{"ADD_NOTIFY", "ADD_NOTIFY"}));
    QCOMPARE(records.at(117).at(1) + records.at(118).at(1), QStringLiteral("amyzed"));
}

void TestSettingsFile::quotesAndCommas() {
    const QString quit = QStringLiteral("He said \"bye\", then \"left\",");
    Setting(*m_p, QStringLiteral("USE_DEFAULT_QUIT"), quit);
    SaveSettings(*m_p);
    QVERIFY(m_folder->read(QStringLiteral("settings.ini"))
                .contains("\"USE_DEFAULT_QUIT\",\"He said \"\"bye\"\", then \"\"left\"\",\"\r\n"));
    std::unique_ptr<Program> next = restart();
    LoadSettings(*next);
    QCOMPARE(next->settings.value(u"USE_DEFAULT_QUIT"), quit);
}

void TestSettingsFile::missingFileAppliesNothing() {
    LoadSettings(*m_p);
    QCOMPARE(lines(*m_p), QStringList{});
    for (const SettingKey& key : SettingsKeys::all())
        QVERIFY(m_p->settings.value(key).isEmpty());
}

void TestSettingsFile::recordsInFileOrder() {
    m_folder->write(QStringLiteral("settings.ini"), "\"BEEPS\",\"1\"\r\n"
                                                    "\" show_join \",\"1\"\r\n"
                                                    "\"BEEPS\",\"2\"\r\n"
                                                    "\"BEEPS\",\"\"\r\n"
                                                    "\"FOO\",\"x\"\r\n");
    LoadSettings(*m_p);
    // A later record wins; an empty value reads and changes nothing.
    QCOMPARE(m_p->settings.value(u"BEEPS"), QStringLiteral("2"));
    QCOMPARE(m_p->settings.value(u"SHOW_JOIN"), QStringLiteral("1"));
    QCOMPARE(lines(*m_p), QStringList{"Element not found: FOO"});
}

void TestSettingsFile::malformedLineInTheMiddle() {
    m_folder->write(QStringLiteral("Settings.INI"), "\"SHOW_JOIN\",\"1\"\r\n"
                                                    "\"BEEPS\",\"x\"garbage\r\n"
                                                    "\"SHOW_PART\",\"1\"\r\n"
                                                    "\r\n"
                                                    "   \r\n"
                                                    "  show_kick , 1 \n"
                                                    "\"SHOW_NICK\",\"1\"");
    LoadSettings(*m_p);
    for (const char16_t* key : {u"SHOW_JOIN", u"SHOW_PART", u"SHOW_KICK", u"SHOW_NICK"})
        QCOMPARE(m_p->settings.value(key), QStringLiteral("1"));
    QCOMPARE(m_p->settings.value(u"BEEPS"), QString());
    QCOMPARE(lines(*m_p),
             QStringList{"Error: 1 malformed lines skipped in Settings.INI (the original is kept "
                         "as Settings.INI.bak)"});
}

void TestSettingsFile::truncatedLastLine() {
    m_folder->write(QStringLiteral("settings.ini"), "\"SHOW_JOIN\",\"1\"\r\n"
                                                    "\"USE_DEFAULT_QUIT\",\"cut of");
    LoadSettings(*m_p);
    QCOMPARE(m_p->settings.value(u"SHOW_JOIN"), QStringLiteral("1"));
    QCOMPARE(m_p->settings.value(u"USE_DEFAULT_QUIT"), QString());
    QCOMPARE(lines(*m_p),
             QStringList{"Error: 1 malformed lines skipped in settings.ini (the original is kept "
                         "as settings.ini.bak)"});
}

// A hand edit in a Latin-1 editor leaves one such byte in a UTF-8 file: the
// other values keep their accents, and the next save writes every value as
// plain UTF-8, none of them encoded twice.
void TestSettingsFile::strayLatin1ByteCostsOnlyItsLine() {
    m_folder->write(QStringLiteral("settings.ini"),
                    "\"USE_DEFAULT_QUIT\",\"caf\xc3\xa9 \xe2\x82\xac\"\r\n"
                    "\"PROFILE_REALNAME\",\"Ren\xe9\"\r\n"
                    "\"BEEPS\",\"\xc3\xbc\"\r\n");
    LoadSettings(*m_p);
    QCOMPARE(m_p->settings.value(u"USE_DEFAULT_QUIT"), QStringLiteral("caf\u00e9 \u20ac"));
    QCOMPARE(m_p->settings.value(u"PROFILE_REALNAME"), QStringLiteral("Ren\u00e9"));
    QCOMPARE(m_p->settings.value(u"BEEPS"), QStringLiteral("\u00fc"));
    SaveSettings(*m_p);
    const QByteArray saved = m_folder->read(QStringLiteral("settings.ini"));
    QVERIFY(saved.contains("\"USE_DEFAULT_QUIT\",\"caf\xc3\xa9 \xe2\x82\xac\"\r\n"));
    QVERIFY(saved.contains("\"PROFILE_REALNAME\",\"Ren\xc3\xa9\"\r\n"));
    QVERIFY(saved.contains("\"BEEPS\",\"\xc3\xbc\"\r\n"));
}

// The frame without its "Always on top" item makes the on-top store fail;
// that record is reported and the rest of the file still applies.
void TestSettingsFile::failingStoreIsReportedAndLoadGoesOn() {
    frm_main& frame = m_p->mainFrame();
    QVERIFY(platform::DeleteMenu(platform::GetSystemMenu(frame.hwnd(), false), 100,
                                 platform::MF_BYCOMMAND));
    m_folder->write(QStringLiteral("settings.ini"), "\"SHOW_JOIN\",\"1\"\r\n"
                                                    "\"MAINFORM_ONTOP\",\"TRUE\"\r\n"
                                                    "\"SHOW_PART\",\"1\"\r\n");
    LoadSettings(*m_p);
    QCOMPARE(m_p->settings.value(u"SHOW_JOIN"), QStringLiteral("1"));
    QCOMPARE(m_p->settings.value(u"SHOW_PART"), QStringLiteral("1"));
    QCOMPARE(lines(*m_p), QStringList{"Error: MAINFORM_ONTOP could not be applied: error 1"});
}

void TestSettingsFile::notifyRecords() {
    m_folder->write(QStringLiteral("settings.ini"), "\"ADD_NOTIFY\",\"\"\r\n"
                                                    "\"ADD_NOTIFY\",\"bob\"\r\n"
                                                    "\"ADD_NOTIFY\",\"  \"\r\n"
                                                    "\"add_notify\",\" bob \"\r\n");
    LoadSettings(*m_p);
    QCOMPARE(notifyEntries(*m_p), (QStringList{"bob", "bob"}));
    SaveSettings(*m_p);
    const QList<QStringList> records = savedRecords();
    QCOMPARE(records.size(), 119);
    QCOMPARE(records.last(), (QStringList{"ADD_NOTIFY", "bob"}));
}

void TestSettingsFile::colourFields_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("written");

    Palette palette;
    palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    const auto c = [&palette](int i) { return QString::number(palette.color(i)); };

    QTest::newRow("never set stays empty") << "WIN_CHAN_CONSOLE_BACKCOLOR"
                                           << ""
                                           << "";
    QTest::newRow("palette colour") << "WIN_CHAN_LIST_FORECOLOR" << c(3) << "3";
    QTest::newRow("first matching index") << "WIN_SERVER_CTCPCOLOR" << c(15) << "15";
    QTest::newRow("own look colour") << "WIN_QUERY_CONSOLE_BACKCOLOR"
                                     << "12345678"
                                     << "12345678";
    QTest::newRow("own look colour, channel spelling") << "WIN_CHAN_COMMAND_FORECOLOR"
                                                       << "+0017"
                                                       << "17";
    QTest::newRow("small look number not in palette") << "WIN_CHAN_LIST_BACKCOLOR"
                                                      << "5"
                                                      << "1";
    QTest::newRow("event colour not in palette") << "WIN_SERVER_QUERYCOLOR"
                                                 << "0"
                                                 << "1";
    QTest::newRow("event colour number of its own") << "WIN_CHAN_JOINCOLOR"
                                                    << "254"
                                                    << "1";
    QTest::newRow("word") << "WIN_SERVER_COMMAND_BACKCOLOR"
                          << "abc"
                          << "1";
    QTest::newRow("look number past white") << "WIN_QUERY_CONSOLE_BACKCOLOR"
                                            << "16777216"
                                            << "1";
    QTest::newRow("look number past every integer") << "WIN_CHAN_LIST_BACKCOLOR"
                                                    << "1e20"
                                                    << "1";
    QTest::newRow("event number far negative") << "WIN_SERVER_CTCPCOLOR"
                                               << "-1e20"
                                               << "1";
    QTest::newRow("fraction rounds to a palette colour")
        << "WIN_CHAN_JOINCOLOR" << QString::number(palette.color(4) - 0.4) << "4";
}

void TestSettingsFile::colourFields() {
    QFETCH(QString, key);
    QFETCH(QString, stored);
    QFETCH(QString, written);
    for (int i = 0; i < Palette::Size; ++i)
        QVERIFY(m_p->palette.color(i) != 0 && m_p->palette.color(i) != 5);
    m_p->settings.setValue(key, stored);
    SaveSettings(*m_p);
    const QList<QStringList> records = savedRecords();
    const auto it = std::find_if(records.cbegin(), records.cend(),
                                 [&key](const QStringList& r) { return r.at(0) == key; });
    QVERIFY(it != records.cend());
    QCOMPARE(it->at(1), written);
}

// Channel windows whose colours were never set keep their own look after a
// restart, and a colour of the user's own comes back as it was.
void TestSettingsFile::coloursSurviveARestart() {
    Setting(*m_p, QStringLiteral("WIN_CHAN_LIST_BACKCOLOR"), QStringLiteral("12345678"));
    Setting(*m_p, QStringLiteral("WIN_QUERY_CONSOLE_BACKCOLOR"), QStringLiteral("4210752"));
    Setting(*m_p, QStringLiteral("WIN_CHAN_JOINCOLOR"), QStringLiteral("4"));
    SaveSettings(*m_p);
    std::unique_ptr<Program> next = restart();
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    LoadSettings(*next);
    SetDefaults(*next);
    QCOMPARE(next->settings.value(u"WIN_CHAN_CONSOLE_BACKCOLOR"), QString());
    QCOMPARE(next->settings.value(u"WIN_CHAN_COMMAND_FORECOLOR"), QString());
    QCOMPARE(next->settings.value(u"WIN_CHAN_LIST_BACKCOLOR"), QStringLiteral("12345678"));
    QCOMPARE(next->settings.value(u"WIN_QUERY_CONSOLE_BACKCOLOR"), QStringLiteral("4210752"));
    QCOMPARE(next->settings.value(u"WIN_CHAN_JOINCOLOR"), QString::number(next->palette.color(4)));
}

void TestSettingsFile::popupsAreWrittenAroundTheSettings() {
    m_p->popupsWindow().AddPopUp(QStringLiteral("SERVER"), QStringLiteral("List"),
                                 QStringLiteral("/list"));
    QStringList written;
    m_p->fileWriter = [&written](const QString& path, const QByteArray& bytes, QString* error) {
        written << QFileInfo(path).fileName();
        return RecordFile::saveAtomically(path, bytes, error);
    };
    SaveSettings(*m_p);
    QCOMPARE(written, (QStringList{"popups.ini", "settings.ini", "popups.ini"}));
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini")),
             QByteArray("\"SERVER\",\"List\",\"/list\"\r\n"));
}

void TestSettingsFile::failedWriteKeepsTheOldFile() {
    const QByteArray old = "\"BEEPS\",\"old\"\r\n";
    m_folder->write(QStringLiteral("settings.ini"), old);
    QStringList attempted;
    m_p->fileWriter = [&attempted](const QString& path, const QByteArray&, QString* error) {
        attempted << QFileInfo(path).fileName();
        *error = QStringLiteral("No space left on device");
        return false;
    };
    Setting(*m_p, QStringLiteral("BEEPS"), QStringLiteral("new"));
    SaveSettings(*m_p);
    QCOMPARE(attempted, QStringList{"settings.ini"});
    QCOMPARE(m_folder->read(QStringLiteral("settings.ini")), old);
    QCOMPARE(lines(*m_p), QStringList{"Error: settings.ini could not be written (No space left on "
                                      "device); the previous file is kept."});
}

void TestSettingsFile::failedWriteSaysWhatIsTrue_data() {
    QTest::addColumn<bool>("previous");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("line");
    QTest::newRow("a previous file") << true << "Disk quota exceeded"
                                     << "Error: settings.ini could not be written (Disk quota "
                                        "exceeded); the previous file is kept.";
    QTest::newRow("no previous file") << false << "Disk quota exceeded"
                                      << "Error: settings.ini could not be written (Disk quota "
                                         "exceeded).";
    QTest::newRow("no reason given") << true << ""
                                     << "Error: settings.ini could not be written; the previous "
                                        "file is kept.";
}

void TestSettingsFile::failedWriteSaysWhatIsTrue() {
    QFETCH(bool, previous);
    QFETCH(QString, reason);
    QFETCH(QString, line);
    if (previous)
        m_folder->write(QStringLiteral("settings.ini"), "\"BEEPS\",\"old\"\r\n");
    m_p->fileWriter = [reason](const QString&, const QByteArray&, QString* error) {
        *error = reason;
        return false;
    };
    SaveSettings(*m_p);
    QCOMPARE(lines(*m_p), QStringList{line});
    QCOMPARE(QFileInfo::exists(m_folder->file(QStringLiteral("settings.ini"))), previous);
}

// A folder where the file should be: the line says why it was not read.
void TestSettingsFile::unreadableFileGivesItsReason() {
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("settings.ini")));
    LoadSettings(*m_p);
    QCOMPARE(lines(*m_p),
             QStringList{"Error: settings.ini could not be read: it is a folder (it is not "
                         "replaced while it cannot be read)"});
}

// The lines the reader skipped would be gone after the next save: the file
// as it was is kept first. The copy is replaced by a newer damaged file, but
// never by a good one.
void TestSettingsFile::damagedFileIsKeptAsItWas() {
    const QByteArray damaged = "\"BEEPS\",\"1\"\r\n\"USE_DEFAULT_QUIT\",\"bye \"now\"\"\r\n";
    m_folder->write(QStringLiteral("settings.ini"), damaged);
    LoadSettings(*m_p);
    QCOMPARE(lines(*m_p), QStringList{"Error: 1 malformed lines skipped in settings.ini (the "
                                      "original is kept as settings.ini.bak)"});
    QCOMPARE(m_folder->read(QStringLiteral("settings.ini.bak")), damaged);
    SaveSettings(*m_p);
    QCOMPARE(savedRecords().size(), 117);
    QCOMPARE(m_folder->read(QStringLiteral("settings.ini.bak")), damaged);

    // A good file loads and saves without touching the copy.
    std::unique_ptr<Program> next = restart();
    LoadSettings(*next);
    SaveSettings(*next);
    QCOMPARE(lines(*next), QStringList{});
    QCOMPARE(m_folder->read(QStringLiteral("settings.ini.bak")), damaged);

    const QByteArray newer = "\"BEEPS\",\"2\"\r\nBEEPS\",\"3\"\r\n";
    m_folder->write(QStringLiteral("settings.ini"), newer);
    next = restart();
    LoadSettings(*next);
    QCOMPARE(m_folder->read(QStringLiteral("settings.ini.bak")), newer);
}

// When the copy cannot be written, the damaged file is not replaced either.
void TestSettingsFile::damagedFileWithoutCopyIsNotReplaced() {
    const QByteArray damaged = "\"BEEPS\",\"1\"\r\n\"BEEPS\"\"2\"\r\n";
    m_folder->write(QStringLiteral("settings.ini"), damaged);
    QStringList attempted;
    m_p->fileWriter = [&attempted](const QString& path, const QByteArray&, QString* error) {
        attempted << QFileInfo(path).fileName();
        *error = QStringLiteral("No space left on device");
        return false;
    };
    LoadSettings(*m_p);
    SaveSettings(*m_p);
    QCOMPARE(attempted, (QStringList{"settings.ini.bak", "settings.ini.bak"}));
    QCOMPARE(m_folder->read(QStringLiteral("settings.ini")), damaged);
    QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("settings.ini.bak"))));
    QCOMPARE(lines(*m_p),
             (QStringList{"Error: 1 malformed lines skipped in settings.ini (no copy of the "
                          "original could be kept as settings.ini.bak: No space left on device; "
                          "settings.ini is not replaced until one is)",
                          "Error: settings.ini was not written, to keep the file there: no copy of "
                          "its damaged lines could be kept as settings.ini.bak: No space left on "
                          "device."}));
}

// A FIFO stands where settings.ini should be: the start does not wait on
// it, and no save replaces it, since nothing of it could be kept.
void TestSettingsFile::unreadableFileIsNotReplaced() {
    const QString path = m_folder->file(QStringLiteral("settings.ini"));
    QVERIFY(FifoWatchdog::make(path));
    QStringList attempted;
    m_p->fileWriter = [&attempted](const QString& to, const QByteArray& bytes, QString* error) {
        attempted << QFileInfo(to).fileName();
        return RecordFile::saveAtomically(to, bytes, error);
    };
    FifoWatchdog guard(path);
    LoadSettings(*m_p);
    Setting(*m_p, QStringLiteral("BEEPS"), QStringLiteral("1"));
    SaveSettings(*m_p);
    QVERIFY2(!guard.release(), "a reader waited on the FIFO");
    QCOMPARE(attempted, QStringList{});
    QVERIFY(QFileInfo::exists(path) && !QFileInfo(path).isFile());
    QCOMPARE(lines(*m_p),
             (QStringList{"Error: settings.ini could not be read: it is not a regular file (it is "
                          "not replaced while it cannot be read)",
                          "Error: settings.ini was not written, to keep the file there: it could "
                          "not be read: it is not a regular file."}));
}

// For root too: a plain file stands where the program folder should be.
void TestSettingsFile::plainFileWhereTheFolderShouldBe() {
    const QString blocker = m_folder->write(QStringLiteral("blocker"), "not a folder");
    Program p(blocker);
    p.serverWindow();
    SaveSettings(p);
    const QStringList shown = lines(p);
    QCOMPARE(shown.size(), 1);
    QVERIFY2(shown.at(0).startsWith(u"Error: settings.ini could not be written ("),
             qPrintable(shown.at(0)));
    QCOMPARE(m_folder->read(QStringLiteral("blocker")), QByteArray("not a folder"));
}

PARLONE_TEST_MAIN(TestSettingsFile)
#include "tst_settingsfile.moc"
