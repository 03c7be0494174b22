// Messages and notices from a second client through a real ngircd: the query
// window a private message opens, the lines each kind of text gives and the
// window it goes to.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "platform/irc/Yarv.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QLineEdit>
#include <QSignalSpy>

using platform::IconHandle;
using platform::SwitchBarPanel;
using platform::Yarv;

class TestMessageEventsNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void privateMessageOpensOneHiddenQuery();
    void privateMessageSwitchedOffInTheServerWindow();
    void channelMessageAndNotice();
    void noticeToTheUser_data();
    void noticeToTheUser();

private:
    Yarv& irc() { return *m_p->mainFrame().Yarv1; }
    absRichEdit& serverConsole() { return *m_p->serverWindow().console; }
    // Logs `yarv` in as `nick` and waits for the welcome.
    bool login(Yarv& yarv, const QString& nick);
    // Sends lines from the peer and waits until the client has the private
    // message sent after them, so everything before it has been handled.
    bool fromPeer(const QStringList& lines);
    QList<frm_query*> queryWindows() const;
    // Both in a channel of this run; returns its name.
    QString joinBoth();

    NgircdServer m_server;
    int m_serial = 0;
    QString m_me;
    QString m_peerNick;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<Yarv> m_peer;
};

void TestMessageEventsNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

bool TestMessageEventsNgircd::login(Yarv& yarv, const QString& nick) {
    yarv.setFloodControl(false);
    QSignalSpy welcome(&yarv, &Yarv::Welcome);
    QObject::connect(&yarv, &Yarv::SocketConnected, &yarv,
                     [&yarv, nick] { yarv.Login(nick, nick, QString(), nick); });
    yarv.OpenConnection(m_server.host(), m_server.port());
    return welcome.wait(5000);
}

void TestMessageEventsNgircd::init() {
    ++m_serial;
    m_me = QStringLiteral("me%1").arg(m_serial);
    m_peerNick = QStringLiteral("peer%1").arg(m_serial);
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow().Show();
    Settings& s = m_p->settings;
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), m_me);
    s.setValue(QStringLiteral("WIN_SERVER_NOTICECOLOR"), QString::number(m_p->palette.color(7)));
    QVERIFY(login(irc(), m_me));
    m_peer = std::make_unique<Yarv>();
    QVERIFY(login(*m_peer, m_peerNick));
}

void TestMessageEventsNgircd::cleanup() {
    m_peer.reset();
    m_p.reset();
    m_folder.reset();
}

bool TestMessageEventsNgircd::fromPeer(const QStringList& lines) {
    QSignalSpy messages(&irc(), &Yarv::PrivateMessage);
    for (const QString& line : lines)
        m_peer->SendCommand(line);
    const QString marker = QStringLiteral("marker %1").arg(m_serial);
    m_peer->SendCommand(QStringLiteral("PRIVMSG %1 :%2").arg(m_me, marker));
    return QTest::qWaitFor(
        [&] {
            return std::any_of(messages.cbegin(), messages.cend(), [&](const QList<QVariant>& m) {
                return m.at(1).toString() == marker;
            });
        },
        5000);
}

QList<frm_query*> TestMessageEventsNgircd::queryWindows() const {
    QList<frm_query*> found;
    for (Form* form : m_p->forms()) {
        if (auto* query = qobject_cast<frm_query*>(form))
            found << query;
    }
    return found;
}

QString TestMessageEventsNgircd::joinBoth() {
    const QString chan = QStringLiteral("#room%1").arg(m_serial);
    QSignalSpy joined(&irc(), &Yarv::UserJoined);
    irc().SendCommand(QStringLiteral("JOIN ") + chan);
    m_peer->SendCommand(QStringLiteral("JOIN ") + chan);
    return QTest::qWaitFor([&] { return joined.count() == 2; }, 5000) ? chan : QString();
}

void TestMessageEventsNgircd::privateMessageOpensOneHiddenQuery() {
    Settings& s = m_p->settings;
    const Palette& palette = m_p->palette;
    s.setValue(QStringLiteral("SHOW_QUERY"), QStringLiteral("1"));
    s.setValue(QStringLiteral("WIN_QUERY_MSGCOLOR"), QString::number(palette.color(9)));
    s.setValue(QStringLiteral("WIN_QUERY_CONSOLE_FORECOLOR"), QString::number(palette.color(3)));
    s.setValue(QStringLiteral("WIN_QUERY_CONSOLE_BACKCOLOR"), QString::number(palette.color(11)));
    QVERIFY(fromPeer({QStringLiteral("PRIVMSG %1 :hello there").arg(m_me)}));

    // One hidden window for the peer, tagged by the nick as first seen.
    QCOMPARE(queryWindows().size(), 1);
    const frm_query* query = queryWindows().constFirst();
    QCOMPARE(query->Tag(), u'?' + m_peerNick);
    QCOMPARE(query->Caption(), QStringLiteral("%1 (~%1@127.0.0.1)").arg(m_peerNick));
    QVERIFY(!query->Visible());
    // One raised panel, sized by spring.
    const platform::SwitchBar* bar = m_p->mainFrame().StatusBar1;
    QCOMPARE(bar->Count(), 2);
    QCOMPARE(bar->Panel(2)->Text(), u'?' + m_peerNick);
    QCOMPARE(bar->Panel(2)->bevel(), int(SwitchBarPanel::sbrRaised));
    QCOMPARE(bar->Panel(2)->autoSize(), int(SwitchBarPanel::sbrSpring));
    // The plain window picture became that of a window with lines waiting.
    QCOMPARE(m_p->mainFrame().il.indexOfHandle(IconHandle(bar->Panel(2)->Picture())), 10);
    // The server window names the whole mask.
    QVERIFY2(serverConsole().Text().contains(
                 QStringLiteral("-?- |%1!~%1@127.0.0.1| hello there").arg(m_peerNick)),
             qPrintable(serverConsole().Text()));

    // The same nick in other letters reuses the window and its panel.
    const QString shouting = m_peerNick.toUpper();
    QSignalSpy renamed(m_peer.get(), &Yarv::NickChanged);
    m_peer->SendCommand(QStringLiteral("NICK ") + shouting);
    QVERIFY(renamed.wait(5000));
    QVERIFY(fromPeer({QStringLiteral("PRIVMSG %1 :again").arg(m_me)}));
    QCOMPARE(queryWindows().size(), 1);
    QCOMPARE(bar->Count(), 2);

    // The lines, named by the nick as the window has it, wait unread.
    frm_query* shown = queryWindows().constFirst();
    QCOMPARE(shown->console->Text().split(QStringLiteral("\r\n")).mid(1),
             (QStringList{QStringLiteral("<%1> hello there").arg(m_peerNick),
                          QStringLiteral("<%1> marker %2").arg(m_peerNick).arg(m_serial),
                          QStringLiteral("<%1> again").arg(m_peerNick),
                          QStringLiteral("<%1> marker %2").arg(m_peerNick).arg(m_serial)}));
    QCOMPARE(bar->Panel(2)->ToolTipText(),
             QStringLiteral("%1(4 messages waiting.)").arg(m_peerNick));
    // In the private-message colour, on the query windows' looks.
    absRichEdit& console = *shown->console;
    console.setSelStart(static_cast<qint32>(console.Text().indexOf(u"hello")));
    console.setSelLength(5);
    QCOMPARE(console.SelColor(), palette.color(9));
    QCOMPARE(console.BackColor(), palette.color(11));

    // A reply typed there reaches the peer.
    shown->Show();
    QSignalSpy replies(m_peer.get(), &Yarv::PrivateMessage);
    shown->commandline->setText(QStringLiteral("hi back"));
    QTest::keyClick(shown->commandline, Qt::Key_Return);
    QVERIFY(replies.wait(5000));
    QCOMPARE(replies.constFirst().at(1).toString(), QStringLiteral("hi back"));
}

// SHOW_QUERY "0" keeps private messages out of the server window only; the
// query window still opens and shows them.
void TestMessageEventsNgircd::privateMessageSwitchedOffInTheServerWindow() {
    m_p->settings.setValue(QStringLiteral("SHOW_QUERY"), QStringLiteral("0"));
    QVERIFY(fromPeer({QStringLiteral("PRIVMSG %1 :quietly").arg(m_me)}));
    QVERIFY2(!serverConsole().Text().contains(QStringLiteral("-?-")),
             qPrintable(serverConsole().Text()));
    QCOMPARE(queryWindows().size(), 1);
    QVERIFY(queryWindows().constFirst()->console->Text().contains(
        QStringLiteral("<%1> quietly").arg(m_peerNick)));
}

void TestMessageEventsNgircd::channelMessageAndNotice() {
    const QString chan = joinBoth();
    QVERIFY(!chan.isEmpty());
    // The window the own join opened.
    const int index = FindForm(*m_p, chan);
    QVERIFY(index >= 0);
    absRichEdit& console = *qobject_cast<frm_chan*>(m_p->forms().at(index))->console;
    m_p->settings.setValue(QStringLiteral("SHOW_NOTICE"), QStringLiteral("1"));
    m_p->settings.setValue(QStringLiteral("WIN_CHAN_MSGCOLOR"),
                           QString::number(m_p->palette.color(4)));
    m_p->settings.setValue(QStringLiteral("WIN_CHAN_NOTICECOLOR"),
                           QString::number(m_p->palette.color(6)));
    const qsizetype before = console.Text().size();
    QVERIFY(fromPeer({QStringLiteral("PRIVMSG %1 :hi all").arg(chan),
                      QStringLiteral("NOTICE %1 :psst all").arg(chan),
                      QStringLiteral("PRIVMSG #elsewhere%1 :lost").arg(m_serial)}));
    const QString added = console.Text().mid(before);
    QCOMPARE(added, QStringLiteral("\r\n<%1> hi all\r\n-%1- psst all").arg(m_peerNick));
    // Each in its colour.
    const QList<qint32> colours{m_p->palette.color(4), m_p->palette.color(6)};
    const QStringList lines = added.split(QStringLiteral("\r\n")).mid(1);
    for (int i = 0; i < lines.size(); ++i) {
        console.setSelStart(static_cast<qint32>(console.Text().indexOf(lines.at(i))));
        console.setSelLength(1);
        QCOMPARE(console.SelColor(), colours.at(i));
    }
}

void TestMessageEventsNgircd::noticeToTheUser_data() {
    QTest::addColumn<QString>("show");
    QTest::addColumn<bool>("channelActive");
    QTest::addColumn<QString>("inChannel");
    QTest::addColumn<QString>("inServer");

    const QString line = QStringLiteral("\x03"
                                        "7 - %1 - look here");
    QTest::newRow("in the active channel") << "1" << true << line << "";
    QTest::newRow("in the server window") << "1" << false << "" << line;
    QTest::newRow("notices off") << "0" << true << ""
                                 << "";
}

void TestMessageEventsNgircd::noticeToTheUser() {
    QFETCH(QString, show);
    QFETCH(bool, channelActive);
    QFETCH(QString, inChannel);
    QFETCH(QString, inServer);
    m_p->settings.setValue(QStringLiteral("SHOW_NOTICE"), show);
    auto* window = new RecordingChannel(*m_p, QStringLiteral("#room"));
    window->Show();
    if (!channelActive)
        m_p->serverWindow().Show();
    const QString before = serverConsole().Text();

    QVERIFY(fromPeer({QStringLiteral("NOTICE %1 :look here  ").arg(m_me)}));

    QCOMPARE(window->lines.join(u'|'), inChannel.arg(m_peerNick));
    const QString added = serverConsole().Text().mid(before.size());
    if (inServer.isEmpty()) {
        QCOMPARE(added, QString());
    } else {
        // The code itself is drawn, not shown.
        QCOMPARE(added.section(QStringLiteral("\r\n"), -1), inServer.arg(m_peerNick).mid(2));
        // In the notice colour.
        serverConsole().setSelStart(static_cast<qint32>(serverConsole().Text().size() - 1));
        serverConsole().setSelLength(1);
        QCOMPARE(serverConsole().SelColor(), m_p->palette.color(7));
    }
}

PARLONE_TEST_MAIN(TestMessageEventsNgircd)
#include "tst_messageevents_ngircd.moc"
