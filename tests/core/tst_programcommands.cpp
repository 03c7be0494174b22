// The commands that drive the program: settings, switching servers, the tool
// windows, sounds, the version, the quit message and the modal windows, with
// the exact lines they show and send.

#include "config/frm_popups.h"
#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/CommandWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ProgramVersion.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "tests/support/PeerWire.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_list.h"
#include "windows/frm_server.h"

using platform::DialogRequest;
using platform::SwitchBarPanel;

class TestProgramCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void echoesAndSends_data();
    void echoesAndSends();
    void setStoresTheWholeValue();
    void serverSwitchesFromTheServerWindowOnly();
    void listAsksOnce();
    void toolWindows();
    void modalWindows_data();
    void modalWindows();

private:
    frm_main& frame() { return m_p->mainFrame(); }
    QString serverText() { return m_p->serverWindow().console->Text(); }
    // Runs a typed line in the window tagged `tag`; the lines it sent.
    QByteArrayList run(const QString& line, const QString& tag = QString()) {
        return m_wire->sentBy([&] {
            QString typed = line;
            ParseLine(*m_p, typed, tag);
        });
    }
    void useProfile(quint16 port);

    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<PeerWire> m_wire;
    Form* m_chan = nullptr;
};

void TestProgramCommands::init() {
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow().Show();
    m_chan = new Form(*m_p, Form::Kind::MdiChild, QStringLiteral("#chan"));
    m_chan->Show();
    m_wire = std::make_unique<PeerWire>(*frame().Yarv1);
    QVERIFY(m_wire->connected());
}

void TestProgramCommands::cleanup() {
    m_p.reset();
    m_wire.reset();
    m_folder.reset();
    m_answers.reset();
}

void TestProgramCommands::useProfile(quint16 port) {
    const QList<QPair<QString, QString>> profile{
        {"SERVER_URL", "127.0.0.1"}, {"SERVER_PORT", QString::number(port)},
        {"PROFILE_NICKNAME", "me"},  {"PROFILE_ALTERNATE", "me_"},
        {"PROFILE_USERNAME", "me"},  {"PROFILE_EMAIL", "me@example.org"},
        {"PROFILE_REALNAME", "Me"}};
    for (const auto& [key, value] : profile)
        m_p->settings.setValue(key, value);
}

void TestProgramCommands::echoesAndSends_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("settings"); // KEY=value
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QStringList>("shown"); // new server-window lines

    const ProgramVersion v = CurrentVersion();
    QTest::newRow("set, echoed") << "/set profile_realname John  Smith"
                                 << "Server" << QStringList{"WIN_SERVER_SETVAR=1"}
                                 << QByteArrayList()
                                 << QStringList{"* Change Setting: profile_realname John"};
    QTest::newRow("set, not echoed")
        << "/set PROFILE_REALNAME John"
        << "Server" << QStringList{"WIN_SERVER_SETVAR=0"} << QByteArrayList() << QStringList();
    QTest::newRow("set without a value")
        << "/set PROFILE_REALNAME"
        << "Server" << QStringList{"WIN_SERVER_SETVAR=1"} << QByteArrayList() << QStringList();
    QTest::newRow("set of no settings key")
        << "/set no_such_key x"
        << "Server" << QStringList{"WIN_SERVER_SETVAR=0"} << QByteArrayList()
        << QStringList{"Element not found: NO_SUCH_KEY"};
    QTest::newRow("server without an address") << "/server"
                                               << "Server" << QStringList() << QByteArrayList()
                                               << QStringList{"/SERVER Error: Must specify URL"};
    QTest::newRow("server from a channel window")
        << "/server irc.example.org 6668"
        << "#chan" << QStringList() << QByteArrayList()
        << QStringList{"Please use /server in this window "};
    QTest::newRow("splay of a missing file") << "/splay   /no/such/sound.wav "
                                             << "Server" << QStringList() << QByteArrayList()
                                             << QStringList{"SPLAY Playing: /no/such/sound.wav"};
    QTest::newRow("version") << "/VERSION"
                             << "#chan" << QStringList() << QByteArrayList()
                             << QStringList{
                                    QStringLiteral("Parlone Version %1.%2 (Tidewater) Revision: %3")
                                        .arg(v.major)
                                        .arg(v.minor)
                                        .arg(v.revision),
                                    "Beta functionality release.",
                                    "News, help and new versions: https://parlone.example.org"};
    QTest::newRow("quit with the version")
        << "/quit"
        << "Server" << QStringList{"USE_DEFAULT_QUIT="}
        << QByteArrayList{QStringLiteral("QUIT :Exit: Client was using: Parlone %1.%2 Rev %3")
                              .arg(v.major)
                              .arg(v.minor)
                              .arg(v.revision)
                              .toUtf8()}
        << QStringList();
    QTest::newRow("quit with the default message")
        << "/quit"
        << "Server" << QStringList{"USE_DEFAULT_QUIT=later"} << QByteArrayList{"QUIT :Exit: later"}
        << QStringList();
    QTest::newRow("quit with words")
        << "/quit see you  soon"
        << "Server" << QStringList{"USE_DEFAULT_QUIT=later"}
        << QByteArrayList{"QUIT :Exit: see you  soon"} << QStringList();
    QTest::newRow("popup add of another kind")
        << "/popup add menubar"
        << "Server" << QStringList() << QByteArrayList() << QStringList();
    QTest::newRow("info") << "/info"
                          << "Server" << QStringList() << QByteArrayList() << QStringList();
}

void TestProgramCommands::echoesAndSends() {
    QFETCH(QString, line);
    QFETCH(QString, tag);
    QFETCH(QStringList, settings);
    QFETCH(QByteArrayList, sent);
    QFETCH(QStringList, shown);
    for (const QString& setting : settings)
        m_p->settings.setValue(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    const QString before = serverText();

    QCOMPARE(run(line, tag), sent);
    QCOMPARE(serverText().mid(before.size()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts),
             shown);
}

void TestProgramCommands::setStoresTheWholeValue() {
    m_p->settings.setValue(QStringLiteral("PROFILE_REALNAME"), QStringLiteral("Old"));
    run(QStringLiteral("/set PROFILE_REALNAME"));
    QCOMPARE(m_p->settings.value(QStringLiteral("PROFILE_REALNAME")), QStringLiteral("Old"));
    run(QStringLiteral("/set profile_realname  John  Smith "));
    QCOMPARE(m_p->settings.value(QStringLiteral("PROFILE_REALNAME")),
             QStringLiteral("John  Smith"));
}

void TestProgramCommands::serverSwitchesFromTheServerWindowOnly() {
    IrcScriptedPeer other;
    useProfile(m_wire->peer().port());

    // From a channel window: nothing changes, the server window comes forward.
    SelectPanel(*m_p, QStringLiteral("#chan"));
    run(QStringLiteral("/server 127.0.0.1 %1").arg(other.port()), QStringLiteral("#chan"));
    QCOMPARE(m_p->settings.value(QStringLiteral("SERVER_PORT")),
             QString::number(m_wire->peer().port()));
    QCOMPARE(ActiveChild(*m_p), &m_p->serverWindow());
    QCOMPARE(frame().StatusBar1->Panel(1)->bevel(), int(SwitchBarPanel::sbrInset));
    QVERIFY(frame().Yarv1->IsConnected());

    // From the server window: disconnects, stores the new server, connects.
    QString line = QStringLiteral("/server localhost %1").arg(other.port());
    ParseLine(*m_p, line, QStringLiteral("Server"));
    QCOMPARE(m_p->settings.value(QStringLiteral("SERVER_URL")), QStringLiteral("localhost"));
    QCOMPARE(m_p->settings.value(QStringLiteral("SERVER_PORT")), QString::number(other.port()));
    QVERIFY(other.waitForClient());
    QTRY_VERIFY(!m_wire->peer().hasClient());

    // A port word that is no number keeps the stored port.
    line = QStringLiteral("/server 127.0.0.1 six");
    ParseLine(*m_p, line, QStringLiteral("Server"));
    QCOMPARE(m_p->settings.value(QStringLiteral("SERVER_URL")), QStringLiteral("127.0.0.1"));
    QCOMPARE(m_p->settings.value(QStringLiteral("SERVER_PORT")), QString::number(other.port()));
    QVERIFY(other.waitForClient());
}

void TestProgramCommands::listAsksOnce() {
    QCOMPARE(run(QStringLiteral("/list")), QByteArrayList{"LIST"});
    QVERIFY(m_p->listWindow().Visible());
    QCOMPARE(run(QStringLiteral("/LIST")), QByteArrayList{});
    // Asked again after the window was hidden: one panel still.
    m_p->listWindow().Hide();
    QCOMPARE(run(QStringLiteral("/list")), QByteArrayList{"LIST"});
    int panels = 0;
    for (int i = 1; i <= frame().StatusBar1->Count(); ++i)
        panels += frame().StatusBar1->Panel(i)->Text() == u"/LIST";
    QCOMPARE(panels, 1);
    const SwitchBarPanel* panel =
        frame().StatusBar1->Panel(FindPanel(*m_p, QStringLiteral("/LIST")));
    QCOMPARE(panel->bevel(), int(SwitchBarPanel::sbrInset));
    QCOMPARE(panel->Picture().cacheKey(), frame().il.Picture(11).cacheKey());
}

void TestProgramCommands::toolWindows() {
    run(QStringLiteral("/alias"));
    run(QStringLiteral("/alias"));
    QCOMPARE(FindPanel(*m_p, QStringLiteral("Alias")), frame().StatusBar1->Count());
    QCOMPARE(
        frame().StatusBar1->Panel(FindPanel(*m_p, QStringLiteral("Alias")))->Picture().cacheKey(),
        frame().il.Picture(8).cacheKey());

    // "popup show" gives the editor its panel, once, and marks it.
    const int panels = frame().StatusBar1->Count();
    run(QStringLiteral("/popup SHOW"));
    run(QStringLiteral("/popup show"));
    QVERIFY(m_p->popupsWindow().Visible());
    QCOMPARE(ActiveChild(*m_p), &m_p->popupsWindow());
    QCOMPARE(frame().StatusBar1->Count(), panels + 1);
    QCOMPARE(FindPanel(*m_p, QStringLiteral("Popups")), panels + 1);
    QCOMPARE(frame().StatusBar1->Panel(panels + 1)->bevel(), int(SwitchBarPanel::sbrInset));

    run(QStringLiteral("/setup"));
    QVERIFY(m_p->setupDialog().Visible());
}

void TestProgramCommands::modalWindows_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("caption");
    QTest::newRow("info shows the about box") << "/info"
                                              << "About Parlone";
    QTest::newRow("setwiz") << "/setwiz"
                            << "Setup Walkthrough";
}

void TestProgramCommands::modalWindows() {
    QFETCH(QString, line);
    QFETCH(QString, caption);
    QCOMPARE(run(line), QByteArrayList{});
    QCOMPARE(m_answers->requests().size(), 1);
    QCOMPARE(m_answers->requests().constFirst().kind, DialogRequest::ModalWindow);
    QCOMPARE(m_answers->requests().constFirst().title, caption);
}

PARLONE_TEST_MAIN(TestProgramCommands)
#include "tst_programcommands.moc"
