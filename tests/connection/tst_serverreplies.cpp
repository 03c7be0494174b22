// The server replies against a scripted server: each reply's own line, the
// generic echo and what it leaves out, the away flag, the WHO reply, the
// channel listings, and a nick in use before and after registration.

#include "connection/ServerReplies.h"
#include "core/mod_kernel.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_list.h"

#include <QListWidget>

namespace {

// Answers a message box by raising the same server reply again, as a server
// line arriving while the box is open would.
class ReenteringAnswerer : public platform::DialogAnswerer {
public:
    explicit ReenteringAnswerer(ServerReplies& replies) : m_replies(replies) {
        m_previous = platform::CurrentDialogAnswerer();
        platform::SetDialogAnswerer(this);
    }
    ~ReenteringAnswerer() override { platform::SetDialogAnswerer(m_previous); }
    int messageBox(const platform::DialogRequest& request) override {
        prompts.append(request.prompt);
        m_replies.Yarv1_ServerReply(QStringLiteral("srv"), QStringLiteral("433"),
                                    QStringLiteral("parlone"), {QStringLiteral("parlone_")},
                                    QStringLiteral("Nickname already in use"));
        return platform::vbOK;
    }
    std::optional<QString> inputBox(const platform::DialogRequest&) override { return {}; }

    QStringList prompts;

private:
    ServerReplies& m_replies;
    platform::DialogAnswerer* m_previous;
};

} // namespace

class TestServerReplies : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void replies_data();
    void replies();
    void awayFlag();
    void whoReply();
    void listDoneWhileTheUserLooksElsewhere_data();
    void listDoneWhileTheUserLooksElsewhere();
    void listingsAreBoundedAndStartEmpty();
    void nickInUseBeforeRegistration();
    void nickInUseOnceRegistered();
    void onlyOneBoxAtATime();

private:
    ServerReplies& handler() { return *m_c->p->mainFrame().serverReplies; }
    // Sends server lines and waits until the client has read them all.
    void serverSays(const QByteArrayList& lines);

    std::unique_ptr<IrcScriptedPeer> m_peer;
    std::unique_ptr<ClientFixture> m_c;
};

void TestServerReplies::init() {
    m_peer = std::make_unique<IrcScriptedPeer>();
    m_c =
        std::make_unique<ClientFixture>(m_peer->host(), m_peer->port(), QStringLiteral("parlone"));
    // serverSays pings; its pings stay out of the server window.
    m_c->set("SHOW_SERVERPING", QStringLiteral("0"));
    QVERIFY(m_c->connect());
    QVERIFY(m_peer->waitForClient());
    QVERIFY(m_peer->waitForLines(2));
}

void TestServerReplies::cleanup() {
    m_c.reset();
    m_peer.reset();
}

void TestServerReplies::serverSays(const QByteArrayList& lines) {
    m_c->serverSays(*m_peer, lines);
}

void TestServerReplies::replies_data() {
    QTest::addColumn<QString>("show");
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("lines");
    const auto row = [](const QByteArray& name, const char* show, const char* line,
                        QStringList lines) {
        QTest::newRow(name.constData()) << show << QByteArray(line) << lines;
    };
    // Replies with a line of their own, shown whatever SHOW_IRCMESSAGES says.
    for (const char* show : {"1", "0"}) {
        const auto named = [show](const char* name) {
            return name + (" SHOW " + QByteArray(show));
        };
        row(named("401"), show, ":srv 401 parlone bob :No such nick/channel",
            {"Sorry, bob is not connected."});
        row(named("invite"), show, ":ann!a@h INVITE parlone :#x", {"ann invites you to join #x"});
        row(named("310"), show, ":srv 310 parlone bob :is available for help",
            {"bob is available for help"});
        row(named("311"), show, ":srv 311 parlone bob ~b host.example * :Bob Real",
            {"-", "bob is ~b@host.example :Bob Real"});
        row(named("312 two"), show, ":srv 312 parlone bob irc.x :Info here",
            {"bob is on irc.x Info here"});
        row(named("312 three"), show, ":srv 312 parlone bob irc.x extra :Info here",
            {"bob is on irc.x extra"});
        row(named("312 one"), show, ":srv 312 parlone bob :Info here", {""});
        row(named("313"), show, ":srv 313 parlone bob :is an IRC operator",
            {"bob is an IRC operator"});
        row(named("317"), show, ":srv 317 parlone bob 125 1700000000 :seconds idle, signon time",
            {"bob has been idle 2 mins and 5 secs, signed on 1700000000"});
        row(named("318"), show, ":srv 318 parlone bob :End of WHOIS list",
            {"End of WHOIS list", "-"});
        row(named("319"), show, ":srv 319 parlone bob :@#x +#y", {"bob is on @#x +#y"});
        row(named("305"), show, ":srv 305 parlone :You are no longer marked as being away", {});
        row(named("306"), show, ":srv 306 parlone :You have been marked as being away", {});
        row(named("006"), show, ":srv 006 parlone :map", {});
    }
    // The generic echo, for every other reply.
    row("numeric", "1", ":srv 251 parlone :There are 2 users", {"- There are 2 users"});
    row("numeric hidden", "0", ":srv 251 parlone :There are 2 users", {});
    row("word", "1", ":srv PONG srv :token", {"- token"});
    row("list start", "1", ":srv 321 parlone Channel :Users  Name", {});
    row("list item", "1", ":srv 322 parlone #x 3 :topic", {});
}

void TestServerReplies::replies() {
    QFETCH(QString, show);
    QFETCH(QByteArray, line);
    QFETCH(QStringList, lines);
    m_c->set("SHOW_IRCMESSAGES", show);
    m_c->markServerLines();
    serverSays({line});
    QCOMPARE(m_c->newServerLines(), lines);
}

void TestServerReplies::awayFlag() {
    serverSays({":srv 306 parlone :You have been marked as being away"});
    QVERIFY(m_c->p->IsAway);
    serverSays({":srv 305 parlone :You are no longer marked as being away"});
    QVERIFY(!m_c->p->IsAway);
}

void TestServerReplies::whoReply() {
    m_c->set("SHOW_IRCMESSAGES", QStringLiteral("0"));
    m_c->markServerLines();
    serverSays({":srv 352 parlone #x ~b host.example irc.x bob H :0 Bob Real"});
    QCOMPARE(m_c->newServerLines(),
             (QStringList{"** bob is: ~b!host.example", "on #x", "irc.x ", "Bob Real"}));
}

// The list's panel shows that the list is coming in, and, when it is done
// while the user looks at another window, that it waits to be seen.
void TestServerReplies::listDoneWhileTheUserLooksElsewhere_data() {
    QTest::addColumn<bool>("elsewhere");
    QTest::addColumn<int>("picture");
    QTest::newRow("looking at the list") << false << 11;
    QTest::newRow("looking elsewhere") << true << 12;
}

void TestServerReplies::listDoneWhileTheUserLooksElsewhere() {
    QFETCH(bool, elsewhere);
    QFETCH(int, picture);
    QString line = QStringLiteral("/list");
    ParseLine(*m_c->p, line, QStringLiteral("Server"));
    const QStringList panels = m_c->panels();
    const int panel = static_cast<int>(panels.indexOf(QStringLiteral("/LIST"))) + 1;
    QVERIFY(panel > 1);
    serverSays({":srv 321 parlone Channel :Users  Name"});
    QVERIFY(m_c->panelShows(panel, 11));
    if (elsewhere)
        m_c->p->serverWindow().ZOrder();
    serverSays({":srv 322 parlone #x 3 :topic", ":srv 323 parlone :End of LIST"});
    QVERIFY(m_c->panelShows(panel, picture));
}

// A listing keeps its bound (lowered here): the first reply past it
// becomes the line saying so and the rest are dropped; the next listing
// starts empty, with the whole bound again.
void TestServerReplies::listingsAreBoundedAndStartEmpty() {
    m_c->p->listWindow().setMaxChannels(2);
    const auto listed = [this] {
        const QListWidget& items = *m_c->p->listWindow().List1;
        QStringList texts;
        for (int i = 0; i < items.count(); ++i)
            texts << items.item(i)->text();
        return texts;
    };
    serverSays({":srv 321 parlone Channel :Users  Name", ":srv 322 parlone #a 1 :one",
                ":srv 322 parlone #b 2 :two", ":srv 322 parlone #c 3 :three",
                ":srv 322 parlone #d 4 :four", ":srv 323 parlone :End of LIST"});
    QCOMPARE(listed(), QStringList({"#a 1 one", "#b 2 two", "\u2026 list cut at 2 channels"}));
    serverSays({":srv 321 parlone Channel :Users  Name", ":srv 322 parlone #e 5 :five",
                ":srv 322 parlone #f 6 :six", ":srv 323 parlone :End of LIST"});
    QCOMPARE(listed(), QStringList({"#e 5 five", "#f 6 six"}));
}

void TestServerReplies::nickInUseBeforeRegistration() {
    ScriptedAnswerer answers;
    m_c->markServerLines();
    serverSays({":srv 433 * parlone :Nickname already in use"});
    QCOMPARE(m_peer->lines().mid(2, 1), QByteArrayList{"NICK parlone_"});
    QCOMPARE(m_c->newServerLines().mid(0, 2),
             (QStringList{"Nick in use, trying parlone_", "- Nickname already in use"}));
    QVERIFY(answers.requests().isEmpty());

    // The alternate is taken too: the user is told once, nothing more is tried.
    const qsizetype sent = m_peer->lines().size();
    serverSays({":srv 433 * parlone_ :Nickname already in use"});
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().constFirst().prompt, QStringLiteral("Nick in use"));
    QVERIFY(!m_peer->lines().mid(sent).contains("NICK parlone_"));
    QVERIFY(!m_peer->lines().mid(sent).contains("NICK parlone"));
}

void TestServerReplies::nickInUseOnceRegistered() {
    ScriptedAnswerer answers;
    serverSays({":srv 001 parlone :Welcome", ":srv 433 parlone bob :Nickname already in use"});
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().constFirst().prompt, QStringLiteral("Nick in use"));
    QVERIFY(!m_peer->lines().contains("NICK parlone_"));
}

void TestServerReplies::onlyOneBoxAtATime() {
    serverSays({":srv 001 parlone :Welcome"});
    ReenteringAnswerer answers(handler());
    serverSays({":srv 433 parlone bob :Nickname already in use"});
    QCOMPARE(answers.prompts, QStringList{QStringLiteral("Nick in use")});
}

PARLONE_TEST_MAIN(TestServerReplies)
#include "tst_serverreplies.moc"
