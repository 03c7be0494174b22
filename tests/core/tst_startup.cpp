// Start-up in a temporary program folder, offscreen.

#include "config/frm_popups.h"
#include "config/frm_setup.h"
#include "config/frm_sw.h"
#include "config/mod_servers.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/SettingsFile.h"
#include "core/SettingsKeys.h"
#include "core/mod_startup.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextEdit>

namespace {

// Two entries share an address, with different ports.
const QByteArray kServers = "\"irc.one.example\x15"
                            "6667\x15One\x15OneNet\"\r\n"
                            "\"Irc.Two.Example\x15"
                            "7000\x15Two\x15TwoNet\"\r\n"
                            "\"irc.two.example\x15"
                            "7001\x15Two again\x15TwoNet\"\r\n"
                            "\"\"\r\n";

const QString kWalkthroughQuestion =
    QStringLiteral("Would you like to use the Setup Walkthrough\r\nfor easy configuration?");

// Records, with each question, whether any window was on screen by then.
class WatchingAnswerer : public ScriptedAnswerer {
public:
    explicit WatchingAnswerer(Program& program) : m_program(program) {}
    int messageBox(const platform::DialogRequest& request) override {
        bool shown = false;
        for (const Form* form : m_program.forms())
            shown = shown || form->isVisible();
        windowsShown.append(shown);
        return ScriptedAnswerer::messageBox(request);
    }
    QList<bool> windowsShown;

private:
    Program& m_program;
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyFolder();
    void serverUrlSelectsEntryIgnoringCase();
    void unknownServerUrlSelectsNothing();
    void startupScriptIsLoadedNotRewritten();
    void missingStartupScriptIsCreatedByFirstEdit();
    void unreadableStartupScriptKeepsTheEditorLocked();
    void failedStartupScriptWriteIsReportedOnce();
    void instantConnectWithAnIncompleteProfile();
    void setupShownAndFrameMinimised();
    void firstStartGetsEveryDefaultAndOneQuestion();
    void firstStartShowsWhatTheServerSays_data();
    void firstStartShowsWhatTheServerSays();
    void aSavedDisplaySwitchIsKept();
    void answerNoIsRemembered();
    void answerYesAsksAgain();
    void questionComesBeforeAnyWindowIsShown();
    void filesAreLoadedBeforeTheDefaults();
    void serverListAtStart_data();
    void serverListAtStart();
    void firstStartOffersTheLocalServer();
};

void TestStartup::emptyFolder() {
    // The first-run question is answered No.
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    Program p(folder.path());
    Main(p);

    QVERIFY(QFileInfo(folder.file(QStringLiteral("logs"))).isDir());
    QVERIFY(QFileInfo(folder.file(QStringLiteral("cmd"))).isDir());
    QCOMPARE(p.palette.GetColor(QStringLiteral("1")), 10 + 256 * 10 + 65536 * 10);
    QCOMPARE(p.palette.GetColor(QStringLiteral("LGREY")), 212 + 256 * 208 + 65536 * 200);

    frm_main& frame = p.mainFrame();
    QVERIFY(frame.isVisible());
    QCOMPARE(frame.Caption(), QStringLiteral("Parlone"));
    QCOMPARE(frame.StatusBar1->Count(), 1);
    QCOMPARE(frame.StatusBar1->Panel(1)->Text(), QStringLiteral("Server"));

    frm_server& server = p.serverWindow();
    QVERIFY(server.Visible());
    QCOMPARE(server.Tag(), QStringLiteral("Server"));
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.mdiArea()->subWindowList().constFirst()->widget(), &server);

    // The channel window was loaded and not shown. It is looked for among
    // the open windows: asking the program for it would load it now.
    QList<const frm_chan*> channels;
    for (const Form* form : p.forms()) {
        if (const auto* chan = qobject_cast<const frm_chan*>(form))
            channels << chan;
    }
    QCOMPARE(channels.size(), 1);
    QVERIFY(!channels.constFirst()->isVisible());
    QCOMPARE(&p.defaultChannel(), channels.constFirst());
    QVERIFY(!p.setupDialog().isVisible());
    QCOMPARE(frame.WindowState(), int(Form::vbNormal));
}

void TestStartup::serverUrlSelectsEntryIgnoringCase() {
    // The first-run question is answered No.
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    folder.write(QStringLiteral("servers.ini"), kServers);
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("IRC.two.EXAMPLE"));
    p.settings.setValue(QStringLiteral("SERVER_FRIENDLY_NAME"), QStringLiteral("Mine"));
    // The selection turns the dialog to its first page.
    p.setupDialog().SSTab1->setCurrentIndex(2);
    Main(p);

    frm_setup& setup = p.setupDialog();
    QCOMPARE(setup.List1->count(), 3);
    QCOMPARE(setup.List1->itemText(0), QStringLiteral("One"));
    // The first entry of that address, not a later one.
    QCOMPARE(setup.List1->currentIndex(), 1);
    QCOMPARE(setup.SSTab1->currentIndex(), 0);
    // List1_Click copied the entry, with the list's own spelling.
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_URL")), QStringLiteral("Irc.Two.Example"));
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_PORT")), QStringLiteral("7000"));
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_STYLE")), QStringLiteral("TwoNet"));
    QCOMPARE(setup.txt_si_name->text(), QStringLiteral("Two"));
    QCOMPARE(setup.txt_si_url->text(), QStringLiteral("Irc.Two.Example"));
    // The friendly name is shown, not stored.
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_FRIENDLY_NAME")), QStringLiteral("Mine"));
}

void TestStartup::unknownServerUrlSelectsNothing() {
    // The first-run question is answered No.
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    folder.write(QStringLiteral("servers.ini"), kServers);
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("irc.three.example"));
    p.setupDialog().SSTab1->setCurrentIndex(2);
    Main(p);
    QCOMPARE(p.setupDialog().List1->currentIndex(), -1);
    QCOMPARE(p.setupDialog().SSTab1->currentIndex(), 2);
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_PORT")), QString());
}

void TestStartup::startupScriptIsLoadedNotRewritten() {
    // The first-run question is answered No.
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    // Latin-1 bytes and LF line ends: loading must not write the file back.
    const QByteArray script = "/join #caf\xe9\n/echo hi\n";
    folder.write(QStringLiteral("cmd/startup.ini"), script);
    folder.write(QStringLiteral("one.app"), "");
    folder.write(QStringLiteral("Two.APP"), "");
    folder.write(QStringLiteral("three.txt"), "");
    // Hidden files are no profiles: ".app" would give an empty entry.
    folder.write(QStringLiteral(".app"), "");
    folder.write(QStringLiteral(".four.app"), "");
    Program p(folder.path());
    Main(p);

    frm_setup& setup = p.setupDialog();
    QCOMPARE(setup.start_command->toPlainText(), QStringLiteral("/join #caf\u00e9\n/echo hi\n"));
    QVERIFY(!setup.start_command->isReadOnly());
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), script);
    QCOMPARE(setup.cb_app->count(), 2);
    QCOMPARE(setup.cb_app->itemText(0), QStringLiteral("one"));
    QCOMPARE(setup.cb_app->itemText(1), QStringLiteral("Two"));

    setup.start_command->setPlainText(QStringLiteral("/join #new"));
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #new"));
}

void TestStartup::missingStartupScriptIsCreatedByFirstEdit() {
    // The first-run question is answered No.
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    Program p(folder.path());
    Main(p);
    frm_setup& setup = p.setupDialog();
    QVERIFY(setup.start_command->toPlainText().isEmpty());
    QVERIFY(!setup.start_command->isReadOnly());
    QVERIFY(!QFileInfo::exists(folder.file(QStringLiteral("cmd/startup.ini"))));
    setup.start_command->setPlainText(QStringLiteral("/join #parlone"));
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #parlone"));
}

void TestStartup::unreadableStartupScriptKeepsTheEditorLocked() {
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    // A folder where the script should be: there, but not readable as a file.
    QVERIFY(QDir().mkpath(folder.file(QStringLiteral("cmd/startup.ini"))));
    Program p(folder.path());
    Main(p);
    QVERIFY(p.setupDialog().start_command->isReadOnly());
    QVERIFY(QFileInfo(folder.file(QStringLiteral("cmd/startup.ini"))).isDir());
}

void TestStartup::failedStartupScriptWriteIsReportedOnce() {
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    Program p(folder.path());
    Main(p);
    bool fail = true;
    p.fileWriter = [&fail](const QString& path, const QByteArray& bytes, QString* error) {
        if (fail) {
            *error = QStringLiteral("disk full");
            return false;
        }
        return RecordFile::saveAtomically(path, bytes, error);
    };
    const auto errorLines = [&p] {
        return p.serverWindow().console->Text().count(
            QStringLiteral("Error: startup.ini could not be written (disk full)"));
    };
    QTextEdit* editor = p.setupDialog().start_command;
    editor->setPlainText(QStringLiteral("/j"));
    editor->setPlainText(QStringLiteral("/jo"));
    QCOMPARE(errorLines(), 1);
    fail = false;
    editor->setPlainText(QStringLiteral("/join #a"));
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #a"));
    fail = true;
    editor->setPlainText(QStringLiteral("/join #ab"));
    QCOMPARE(errorLines(), 2);
    QCOMPARE(folder.read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #a"));
}

void TestStartup::instantConnectWithAnIncompleteProfile() {
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    folder.write(QStringLiteral("settings.ini"), "\"USE_INSTANTCONNECT\",\"1\"\r\n"
                                                 "\"PROFILE_NICKNAME\",\"parlone\"\r\n");
    Program p(folder.path());
    Main(p);
    const QString text = p.serverWindow().console->Text();
    QVERIFY2(
        text.contains(QStringLiteral("Connect Error(s): \r\n- Missing server URL in profile.")),
        qPrintable(text));
    QVERIFY(!text.contains(QStringLiteral("- Missing nickname in profile.")));
    QVERIFY(!p.mainFrame().Yarv1->IsConnected());
}

void TestStartup::setupShownAndFrameMinimised() {
    // The first-run question is answered No.
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("SHOW_SETUP"), QStringLiteral("1"));
    p.settings.setValue(QStringLiteral("USE_MINISTART"), QStringLiteral("1"));
    Main(p);
    QVERIFY(p.setupDialog().isVisible());
    QCOMPARE(p.mainFrame().WindowState(), int(Form::vbMinimized));

    // Only the exact text "1" switches a start-up flag on.
    TempProgramFolder other;
    Program q(other.path());
    q.settings.setValue(QStringLiteral("SHOW_SETUP"), QStringLiteral("1 "));
    q.settings.setValue(QStringLiteral("USE_MINISTART"), QStringLiteral("TRUE"));
    Main(q);
    QVERIFY(!q.setupDialog().isVisible());
    QCOMPARE(q.mainFrame().WindowState(), int(Form::vbNormal));
}

void TestStartup::firstStartGetsEveryDefaultAndOneQuestion() {
    TempProgramFolder folder;
    Program p(folder.path());
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    Main(p);

    QCOMPARE(answers.requests().size(), 1);
    const platform::DialogRequest& question = answers.requests().constFirst();
    QCOMPARE(question.prompt, kWalkthroughQuestion);
    QCOMPARE(question.title, QStringLiteral("Use Walkthrough?"));
    QCOMPARE(question.buttons, int(platform::vbYesNo));

    int defaults = 0;
    for (const SettingKey& key : SettingsKeys::all()) {
        if (!key.hasDefault())
            continue;
        ++defaults;
        const bool colour =
            key.kind == SettingKind::LookColor || key.kind == SettingKind::EventColor;
        const QString expected = colour ? QString::number(p.palette.GetColor(key.defaultValue))
                                        : QString(key.defaultValue);
        QCOMPARE(p.settings.value(key), expected);
    }
    QCOMPARE(defaults, 61);
    QCOMPARE(p.settings.value(u"WIN_SERVER_QUERYCOLOR"), QString::number(p.palette.color(0)));
    QCOMPARE(p.settings.value(u"PROMPT_SWIZ"), QStringLiteral("0"));
    // Keys without a default stay empty.
    QCOMPARE(p.settings.value(u"WIN_CHAN_LIST_FONT"), QString());
    QCOMPARE(p.settings.value(u"WIN_SERVER_CONSOLE_FONTSIZE"), QString());
    QCOMPARE(p.setupDialog().txt_dcc_port->text(), QStringLiteral("4000"));
}

void TestStartup::firstStartShowsWhatTheServerSays_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("box"); // index in chk_md
    QTest::addColumn<QString>("value");
    const auto row = [](const char* key, int box, const char* value) {
        QTest::newRow(key) << QString::fromLatin1(key) << box << QString::fromLatin1(value);
    };
    row("SHOW_CTCP", 0, "1");
    row("SHOW_CTCPREPLY", 1, "1");
    row("SHOW_ERROR", 2, "1");
    row("SHOW_IRCMESSAGES", 3, "1");
    row("SHOW_JOIN", 4, "1");
    row("SHOW_PART", 5, "1");
    row("SHOW_KICK", 6, "1");
    row("SHOW_NICK", 7, "1");
    row("SHOW_NOTICE", 8, "1");
    row("SHOW_NOTICEACTIVE", 9, "1");
    row("SHOW_QUERY", 10, "1");
    row("SHOW_QUIT", 11, "1");
    row("SHOW_QUITACTIVE", 12, "1");
    row("SHOW_CHANNELMODE", 13, "1");
    // The nick list already shows the names.
    row("SHOW_NAMES", 14, "0");
    row("SHOW_MOTD", 15, "1");
    // A ping every few minutes would bury the rest.
    row("SHOW_SERVERPING", 16, "0");
    row("SHOW_SERVERERROR", 17, "1");
    row("SHOW_WELCOME", 18, "1");
    row("SHOW_SERVERNOTICE", 19, "1");
}

void TestStartup::firstStartShowsWhatTheServerSays() {
    QFETCH(QString, key);
    QFETCH(int, box);
    QFETCH(QString, value);

    TempProgramFolder folder;
    Program p(folder.path());
    // The switch is already in place when the first-run question comes.
    struct Peeking : ScriptedAnswerer {
        Program* program = nullptr;
        QString key;
        QString seen;
        int messageBox(const platform::DialogRequest& request) override {
            seen = program->settings.value(key);
            return ScriptedAnswerer::messageBox(request);
        }
    } answers;
    answers.program = &p;
    answers.key = key;
    answers.queueMessageBoxAnswer(platform::vbNo);
    Main(p);

    QCOMPARE(answers.seen, value);
    QCOMPARE(p.settings.value(key), value);
    QCOMPARE(p.setupDialog().chk_md.at(box)->isChecked(), value == u"1");
    // The setup dialog itself still opens only when asked to.
    QCOMPARE(p.settings.value(u"SHOW_SETUP"), QString());
}

void TestStartup::aSavedDisplaySwitchIsKept() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("settings.ini"), "\"PROMPT_SWIZ\",\"0\"\r\n"
                                                 "\"SHOW_JOIN\",\"0\"\r\n");
    Program p(folder.path());
    ScriptedAnswerer answers;
    Main(p);
    QCOMPARE(p.settings.value(u"SHOW_JOIN"), QStringLiteral("0"));
    QVERIFY(!p.setupDialog().chk_md.at(4)->isChecked());
    QCOMPARE(p.settings.value(u"SHOW_PART"), QStringLiteral("1"));
}

void TestStartup::answerNoIsRemembered() {
    TempProgramFolder folder;
    {
        Program p(folder.path());
        ScriptedAnswerer answers;
        answers.queueMessageBoxAnswer(platform::vbNo);
        Main(p);
        SaveSettings(p);
    }
    Program next(folder.path());
    ScriptedAnswerer answers;
    Main(next);
    QCOMPARE(answers.requests().size(), 0);
    QCOMPARE(next.settings.value(u"PROMPT_SWIZ"), QStringLiteral("0"));
}

void TestStartup::answerYesAsksAgain() {
    TempProgramFolder folder;
    {
        Program p(folder.path());
        ScriptedAnswerer answers;
        answers.queueMessageBoxAnswer(platform::vbYes);
        Main(p);
        QCOMPARE(p.settings.value(u"PROMPT_SWIZ"), QString());
        SaveSettings(p);
    }
    Program next(folder.path());
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    Main(next);
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().constFirst().prompt, kWalkthroughQuestion);
}

void TestStartup::questionComesBeforeAnyWindowIsShown() {
    TempProgramFolder folder;
    Program p(folder.path());
    WatchingAnswerer answers(p);
    answers.queueMessageBoxAnswer(platform::vbNo);
    Main(p);
    QCOMPARE(answers.windowsShown, QList<bool>{false});
    QVERIFY(p.serverWindow().Visible());
}

void TestStartup::filesAreLoadedBeforeTheDefaults() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("settings.ini"), "\"WIN_CHAN_JOINCOLOR\",\"4\"\r\n"
                                                 "\"PROMPT_SWIZ\",\"0\"\r\n"
                                                 "\"SET_DCC_PORT\",\"5000\"\r\n"
                                                 "\"SHOW_SETUP\",\"1\"\r\n");
    folder.write(QStringLiteral("popups.ini"), "\"SERVER\",\"List\",\"/list\"\r\n");
    Program p(folder.path());
    ScriptedAnswerer answers;
    Main(p);
    QCOMPARE(answers.requests().size(), 0);
    QCOMPARE(p.settings.value(u"WIN_CHAN_JOINCOLOR"), QString::number(p.palette.color(4)));
    QCOMPARE(p.settings.value(u"SET_DCC_PORT"), QStringLiteral("5000"));
    QCOMPARE(p.settings.value(u"WIN_CHAN_PARTCOLOR"), QString::number(p.palette.color(6)));
    QVERIFY(p.setupDialog().isVisible());
    QCOMPARE(p.popupsWindow().pop_server_list->count(), 1);
    QCOMPARE(p.popupsWindow().pop_server_list->item(0)->text(), QStringLiteral("List"));
}

// servers.ini is written from the shipped list only when there is none; one
// that is there, empty or not, is read as it stands.
void TestStartup::serverListAtStart_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("writeFails");
    QTest::addColumn<QByteArray>("written"); // servers.ini afterwards
    QTest::addColumn<QByteArray>("listed");  // the list, as servers.ini would hold it
    const QByteArray shipped = DefaultServersFile();
    QTest::newRow("none") << false << QByteArray() << false << shipped << shipped;
    QTest::newRow("none, and the folder takes no file")
        << false << QByteArray() << true << QByteArray() << shipped;
    QTest::newRow("empty") << true << QByteArray("") << false << QByteArray("")
                           << QByteArray("\"\"\r\n");
    QTest::newRow("the user's own") << true << kServers << false << kServers << kServers;
}

void TestStartup::serverListAtStart() {
    QFETCH(bool, present);
    QFETCH(QByteArray, file);
    QFETCH(bool, writeFails);
    QFETCH(QByteArray, written);
    QFETCH(QByteArray, listed);
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbNo);
    TempProgramFolder folder;
    if (present)
        folder.write(QStringLiteral("servers.ini"), file);
    Program p(folder.path());
    int serverWrites = 0;
    p.fileWriter = [&](const QString& path, const QByteArray& bytes, QString* error) {
        if (path.endsWith(u"/servers.ini"))
            ++serverWrites;
        if (writeFails)
            return false;
        return RecordFile::saveAtomically(path, bytes, error);
    };
    Main(p);
    QCOMPARE(serverWrites, present ? 0 : 1);
    QCOMPARE(p.servers.fileBytes(), listed);
    QCOMPARE(p.setupDialog().List1->count(), p.servers.ServerCount());
    const QString path = folder.file(QStringLiteral("servers.ini"));
    QCOMPARE(QFileInfo::exists(path), !writeFails);
    if (!writeFails)
        QCOMPARE(folder.read(QStringLiteral("servers.ini")), written);
    // No message about the failed write.
    QCOMPARE(answers.requests().size(), 1);

    // The setup dialog's "Load" reads the file as it is, and writes none.
    QFile::remove(path);
    p.setupDialog().Command6->click();
    QCOMPARE(p.servers.ServerCount(), 0);
    QVERIFY(!QFileInfo::exists(path));
}

// A first start in an empty folder: the walkthrough's server box starts on
// the local server, and "Use this server:" makes it the one to connect to.
void TestStartup::firstStartOffersTheLocalServer() {
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbYes);
    TempProgramFolder folder;
    Program p(folder.path());
    Main(p);
    QCOMPARE(answers.requests().constLast().kind, platform::DialogRequest::ModalWindow);
    QVERIFY(p.servers.ServerCount() > 2);
    QVERIFY(p.servers.GetServerField(0, QStringLiteral("URL")) != u"127.0.0.1");

    frm_sw& w = p.setupWizard();
    QCOMPARE(w.Combo1->currentIndex(), 1);
    QCOMPARE(w.Combo1->currentText(), QStringLiteral("Local server (scripts/run)"));
    w.Option2->setChecked(true);
    w.SSTab1->setCurrentIndex(2);
    w.Command6->click();
    QCOMPARE(p.settings.value(u"SERVER_URL"), QStringLiteral("127.0.0.1"));
    QCOMPARE(p.settings.value(u"SERVER_PORT"), QStringLiteral("6667"));
    QCOMPARE(w.page(), 3);
}

PARLONE_TEST_MAIN(TestStartup)
#include "tst_startup.moc"
