// The chat and channel commands: what each puts on the wire, seen by a
// scripted loopback peer, and what each shows in which window.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/ProgramVersion.h"
#include "core/mod_kernel.h"
#include "platform/richedit/OleColor.h"
#include "tests/support/PeerWire.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QLineEdit>
#include <QSignalSpy>

namespace {

// Settings given as "KEY=value" words.
using SettingList = QStringList;

} // namespace

class TestChatCommands : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void commands_data();
    void commands();
    void queryOpensOneWindow();
    void queryWindowTakesTheQueryLooks();
    void queryWindowShowsWhatIsSentFromIt();

private:
    platform::Yarv& irc() { return *m_p->mainFrame().Yarv1; }
    absRichEdit& console() { return *m_p->serverWindow().console; }
    QByteArrayList sentByLine(const QString& line, const QString& tag) {
        return m_wire->sentBy([&] {
            QString typed = line;
            ParseLine(*m_p, typed, tag);
        });
    }
    QList<frm_query*> queryWindows() const {
        QList<frm_query*> found;
        for (Form* form : m_p->forms()) {
            if (auto* query = qobject_cast<frm_query*>(form))
                found << query;
        }
        return found;
    }
    QStringList panelTexts() {
        QStringList texts;
        const platform::SwitchBar* bar = m_p->mainFrame().StatusBar1;
        for (int i = 1; i <= bar->Count(); ++i)
            texts << bar->Panel(i)->Text();
        return texts;
    }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<PeerWire> m_wire;
    QList<Form*> m_windows;
};

void TestChatCommands::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow().Show();
    Settings& s = m_p->settings;
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    s.setValue(QStringLiteral("WIN_CHAN_ACTIONCOLOR"), QStringLiteral("111"));
    s.setValue(QStringLiteral("WIN_QUERY_ACTIONCOLOR"), QStringLiteral("222"));
    s.setValue(QStringLiteral("WIN_CHAN_CONSOLE_FORECOLOR"), QStringLiteral("333"));
    m_wire = std::make_unique<PeerWire>(irc());
    QVERIFY(m_wire->connected());
    // Two channels, a query, and a detached query: its hidden twin (loaded
    // first, as the query it was) and its desktop window.
    m_windows.clear();
    for (const char* tag : {"#a", "#b", "?bob", "??ann", "?ann"}) {
        const QString name = QString::fromLatin1(tag);
        Form* window = name.startsWith(u'#') ? static_cast<Form*>(new RecordingChannel(*m_p, name))
                                             : new RecordingWindow(*m_p, name);
        window->Show();
        m_windows << window;
    }
}

void TestChatCommands::cleanup() {
    m_windows.clear();
    m_p.reset();
    m_wire.reset();
    m_folder.reset();
}

void TestChatCommands::commands_data() {
    QTest::addColumn<SettingList>("settings");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("tag"); // the window the line is typed in
    QTest::addColumn<QByteArrayList>("sent");
    QTest::addColumn<QStringList>("shown"); // "<window tag> <line>"

    const SettingList none;
    const QByteArray action = "\x01"
                              "ACTION waves\x01";
    QTest::newRow("ach: every channel")
        << none << "/ach hello"
        << "?bob" << QByteArrayList{"PRIVMSG #a :hello", "PRIVMSG #b :hello"}
        << QStringList{"#a <me> hello", "#b <me> hello"};
    QTest::newRow("ach: empty text still goes")
        << none << "/ach"
        << "#a" << QByteArrayList{"PRIVMSG #a :", "PRIVMSG #b :"}
        << QStringList{"#a <me> ", "#b <me> "};
    QTest::newRow("ame: an action, shown as a message")
        << none << "/ame waves"
        << "#a" << QByteArrayList{"PRIVMSG #a :" + action, "PRIVMSG #b :" + action}
        << QStringList{"#a <me> waves", "#b <me> waves"};
    QTest::newRow("aqu: each conversation once")
        << none << "/aqu  hi  there "
        << "#a" << QByteArrayList{"PRIVMSG bob :hi  there", "PRIVMSG ann :hi  there"}
        << QStringList{"?bob <me> hi  there", "?ann <me> hi  there"};
    QTest::newRow("amsg") << none << "/amsg waves"
                          << "#a"
                          << QByteArrayList{"PRIVMSG bob :" + action, "PRIVMSG ann :" + action}
                          << QStringList{"?bob <me> waves", "?ann <me> waves"};
    QTest::newRow("away with three words")
        << none << "/away out to  lunch"
        << "#a" << QByteArrayList{"AWAY :out to  lunch "} << QStringList{};
    QTest::newRow("away alone") << none << "/AWAY"
                                << "#a" << QByteArrayList{"AWAY :"} << QStringList{};
    QTest::newRow("ctcp") << none << "/ctcp Bob PING 123"
                          << "#a" << QByteArrayList{"PRIVMSG Bob :\x01PING 123 \x01"}
                          << QStringList{};
    QTest::newRow("ctcp keeps the command's case")
        << none << "/ctcp bob version"
        << "#a" << QByteArrayList{"PRIVMSG bob :\x01version\x01"} << QStringList{};
    QTest::newRow("join adds #") << none << "/join test"
                                 << "#a" << QByteArrayList{"JOIN #test"} << QStringList{};
    QTest::newRow("join drops the key") << none << "/join #x key"
                                        << "#a" << QByteArrayList{"JOIN #x"} << QStringList{};
    QTest::newRow("join nothing") << none << "/join"
                                  << "#a" << QByteArrayList{"JOIN #"} << QStringList{};
    QTest::newRow("kick without reason")
        << none << "/kick x bob"
        << "#a" << QByteArrayList{"KICK #x bob :No reason given"} << QStringList{};
    QTest::newRow("kick with reason")
        << none << "/kick #x bob  too loud "
        << "#a" << QByteArrayList{"KICK #x bob :too loud"} << QStringList{};
    QTest::newRow("me in a channel")
        << none << "/me  waves "
        << "#a" << QByteArrayList{"PRIVMSG #a :" + action} << QStringList{"#a * me waves {111}"};
    QTest::newRow("me in a query") << none << "/ME waves"
                                   << "?bob" << QByteArrayList{"PRIVMSG bob :" + action}
                                   << QStringList{"?bob * me waves {222}"};
    QTest::newRow("me in the server window") << none << "/me waves"
                                             << "Server" << QByteArrayList{} << QStringList{};
    QTest::newRow("msg keeps the blank")
        << none << "/msg bob  hi"
        << "#a" << QByteArrayList{"PRIVMSG bob : hi "} << QStringList{"#a ->  *bob* hi"};
    QTest::newRow("msg from a query") << none << "/msg bob hi there"
                                      << "?bob" << QByteArrayList{"PRIVMSG bob :hi there "}
                                      << QStringList{"?bob ->  *bob* hi there"};
    QTest::newRow("msg from the server window")
        << none << "/msg bob hi"
        << "Server" << QByteArrayList{"PRIVMSG bob :hi "} << QStringList{"Server ->  *bob* hi"};
    QTest::newRow("msg with no words")
        << none << "/msg"
        << "#a" << QByteArrayList{"PRIVMSG  :"} << QStringList{"#a ->  ** "};
    QTest::newRow("notice echoed in the server window")
        << SettingList{"SHOW_NOTICEACTIVE=1"} << "/notice bob word"
        << "Server" << QByteArrayList{"NOTICE bob :word "} << QStringList{"Server ->! bob - word "};
    QTest::newRow("notice echoed in the channel")
        << SettingList{"SHOW_NOTICEACTIVE=1"} << "/notice bob word"
        << "#a" << QByteArrayList{"NOTICE bob :word "} << QStringList{"#a ->! bob - word "};
    QTest::newRow("notice not echoed")
        << SettingList{"SHOW_NOTICEACTIVE=0"} << "/notice bob word"
        << "#a" << QByteArrayList{"NOTICE bob :word "} << QStringList{};
    QTest::newRow("part without reason") << none << "/part #x"
                                         << "#a" << QByteArrayList{"PART #x :"} << QStringList{};
    QTest::newRow("part with reason")
        << none << "/part x bye now"
        << "#a" << QByteArrayList{"PART x :bye now "} << QStringList{};
    const ProgramVersion v = CurrentVersion();
    QTest::newRow("quit: the version")
        << none << "/quit"
        << "#a"
        << QByteArrayList{QStringLiteral("QUIT :Exit: Client was using: Parlone %1.%2 Rev %3")
                              .arg(v.major)
                              .arg(v.minor)
                              .arg(v.revision)
                              .toLatin1()}
        << QStringList{};
    QTest::newRow("quit: the default message")
        << SettingList{"USE_DEFAULT_QUIT=gone home"} << "/quit"
        << "#a" << QByteArrayList{"QUIT :Exit: gone home"} << QStringList{};
    QTest::newRow("quit: the words")
        << SettingList{"USE_DEFAULT_QUIT=gone home"} << "/quit see  you "
        << "#a" << QByteArrayList{"QUIT :Exit: see  you"} << QStringList{};
    QTest::newRow("say in the server window")
        << none << "/say hi"
        << "Server" << QByteArrayList{}
        << QStringList{"Server Error: Can't use /say in this window"};
    QTest::newRow("say in a channel")
        << none << "/say hi"
        << "#a" << QByteArrayList{"PRIVMSG #a :hi "} << QStringList{"#a <me> hi  {333}"};
    QTest::newRow("say in a query")
        << none << "/say hi"
        << "?bob" << QByteArrayList{"PRIVMSG bob :hi "} << QStringList{"?bob <me> hi  {333}"};
}

void TestChatCommands::commands() {
    QFETCH(SettingList, settings);
    QFETCH(QString, line);
    QFETCH(QString, tag);
    QFETCH(QByteArrayList, sent);
    QFETCH(QStringList, shown);
    for (const QString& setting : settings)
        m_p->settings.setValue(setting.section(u'=', 0, 0), setting.section(u'=', 1));
    const QString before = console().Text();

    QCOMPARE(sentByLine(line, tag), sent);

    QStringList seen;
    for (const Form* window : std::as_const(m_windows)) {
        for (const QString& text : dynamic_cast<const LineRecord*>(window)->lines)
            seen << window->Tag() + u' ' + text;
    }
    const QString added = console().Text().mid(before.size());
    for (const QString& text : added.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
        seen << QStringLiteral("Server ") + text;
    QCOMPARE(seen, shown);
}

void TestChatCommands::queryOpensOneWindow() {
    const QString tag = QStringLiteral("#a");
    QCOMPARE(sentByLine(QStringLiteral("/query bob2"), tag), QByteArrayList{});
    QCOMPARE(sentByLine(QStringLiteral("/query BOB2"), tag), QByteArrayList{});
    QCOMPARE(queryWindows().size(), 1);
    frm_query* query = queryWindows().constFirst();
    QCOMPARE(query->Tag(), QStringLiteral("?bob2"));
    QCOMPARE(query->Caption(), QStringLiteral("bob2"));
    QVERIFY(query->Visible());
    QCOMPARE(panelTexts(), (QStringList{"Server", "?bob2"}));
    const platform::SwitchBarPanel* panel = m_p->mainFrame().StatusBar1->Panel(2);
    QCOMPARE(m_p->mainFrame().il.indexOfHandle(platform::IconHandle(panel->Picture())), 5);

    // No nick, no window.
    sentByLine(QStringLiteral("/query"), tag);
    sentByLine(QStringLiteral("/query  carol"), tag);
    QCOMPARE(queryWindows().size(), 1);

    // A panel that is there already is not added twice.
    m_p->mainFrame().StatusBar1->Add(-1, QStringLiteral("?dave"));
    sentByLine(QStringLiteral("/query dave"), tag);
    QCOMPARE(queryWindows().size(), 2);
    QCOMPARE(panelTexts(), (QStringList{"Server", "?bob2", "?dave"}));
}

void TestChatCommands::queryWindowTakesTheQueryLooks() {
    Settings& s = m_p->settings;
    s.setValue(QStringLiteral("WIN_QUERY_COMMAND_FORECOLOR"), QStringLiteral("255"));
    s.setValue(QStringLiteral("WIN_QUERY_COMMAND_BACKCOLOR"), QStringLiteral("65280"));
    s.setValue(QStringLiteral("WIN_QUERY_CONSOLE_BACKCOLOR"), QStringLiteral("16711680"));
    s.setValue(QStringLiteral("WIN_QUERY_CONSOLE_FONTSIZE"), QStringLiteral("17"));
    sentByLine(QStringLiteral("/query bob2"), QStringLiteral("#a"));
    QCOMPARE(queryWindows().size(), 1);
    const frm_query* query = queryWindows().constFirst();
    QCOMPARE(query->commandline->palette().color(QPalette::Text), QColor(255, 0, 0));
    QCOMPARE(query->commandline->palette().color(QPalette::Base), QColor(0, 255, 0));
    QCOMPARE(query->console->BackColor(), 16711680);
    QCOMPARE(query->console->Font().pointSize(), 17);
}

void TestChatCommands::queryWindowShowsWhatIsSentFromIt() {
    sentByLine(QStringLiteral("/query carol"), QStringLiteral("#a"));
    frm_query* query = queryWindows().constFirst();
    QCOMPARE(sentByLine(QStringLiteral("/me waves"), QStringLiteral("?carol")),
             QByteArrayList{"PRIVMSG carol :\x01"
                            "ACTION waves\x01"});
    QCOMPARE(sentByLine(QStringLiteral("/msg carol hi"), QStringLiteral("?carol")),
             QByteArrayList{"PRIVMSG carol :hi "});
    QCOMPARE(sentByLine(QStringLiteral("/aqu all"), QStringLiteral("?carol")),
             (QByteArrayList{"PRIVMSG bob :all", "PRIVMSG ann :all", "PRIVMSG carol :all"}));
    QCOMPARE(query->console->Text().split(QStringLiteral("\r\n")).mid(1),
             (QStringList{"* me waves", "->  *carol* hi", "<me> all"}));
}

PARLONE_TEST_MAIN(TestChatCommands)
#include "tst_chatcommands.moc"
