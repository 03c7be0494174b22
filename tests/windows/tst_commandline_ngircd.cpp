// A channel window's command line against a real ngircd, with a second
// client in the channel to read what arrives: pasted lines arrive one message
// each, never glued, and a line too long for one message arrives whole, in
// several, also from a long nick in a long channel.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "platform/irc/Yarv.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"

#include <QClipboard>
#include <QLineEdit>
#include <QSignalSpy>

using platform::Yarv;

class TestCommandLineNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void pastedLinesArriveOneEach();
    void longLineArrivesWholeInSeveral_data();
    void longLineArrivesWholeInSeveral();

private:
    bool waitToHear(qsizetype count) {
        return QTest::qWaitFor([&] { return m_heard.size() >= count; }, 5000);
    }

    NgircdServer m_server;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<Yarv> m_peer;
    frm_chan* m_window = nullptr;
    // The texts of the channel messages the peer has received.
    QStringList m_heard;
};

void TestCommandLineNgircd::initTestCase() {
    NgircdServer::Options options;
    options.maxNickLength = 30;
    QVERIFY2(m_server.start(options), qPrintable(m_server.error()));
}

void TestCommandLineNgircd::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    // A long user name: servers relay it in front of each message.
    m_p->settings.setValue(QStringLiteral("PROFILE_USERNAME"), QStringLiteral("parlone-user-name"));
    m_p->mainFrame().show();

    // Both clients log in and join #x; the window's client first.
    Yarv& irc = *m_p->mainFrame().Yarv1;
    m_peer = std::make_unique<Yarv>();
    for (const auto& [client, nick] :
         {std::pair{&irc, QStringLiteral("me")}, std::pair{m_peer.get(), QStringLiteral("peer")}}) {
        client->setFloodControl(false);
        QSignalSpy welcome(client, &Yarv::Welcome);
        QSignalSpy joined(client, &Yarv::UserJoined);
        client->OpenConnection(m_server.host(), m_server.port());
        QVERIFY(QTest::qWaitFor([&] { return client->IsConnected(); }, 5000));
        client->Login(nick, nick, QString(), nick);
        QVERIFY(welcome.wait(5000));
        client->SendCommand(QStringLiteral("JOIN #x"));
        QVERIFY(joined.wait(5000));
    }
    m_heard.clear();
    connect(m_peer.get(), &Yarv::ChannelMessage, this,
            [this](const QString&, const QString&, const QString& text) { m_heard << text; });

    m_window = new frm_chan(*m_p);
    m_window->setTag(QStringLiteral("#x"));
    m_window->Show();
}

void TestCommandLineNgircd::cleanup() {
    m_p.reset();
    m_peer.reset();
    m_folder.reset();
}

void TestCommandLineNgircd::pastedLinesArriveOneEach() {
    QGuiApplication::clipboard()->setText(QStringLiteral("hi\r\nQUIT :x"));
    QTest::keyClick(m_window->commandline, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(m_window->commandline, Qt::Key_Return);
    QVERIFY(waitToHear(2));
    QCOMPARE(m_heard, (QStringList{QStringLiteral("hi"), QStringLiteral("QUIT :x")}));
    // The client is still there to say more.
    m_window->commandline->setText(QStringLiteral("still here"));
    QTest::keyClick(m_window->commandline, Qt::Key_Return);
    QVERIFY(waitToHear(3));
    QCOMPARE(m_heard.last(), QStringLiteral("still here"));
}

void TestCommandLineNgircd::longLineArrivesWholeInSeveral_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("channel");
    QTest::newRow("short names") << QString() << QString();
    QTest::newRow("a long nick in a long channel") << QString(30, u'n') << u'#' + QString(49, u'c');
}

void TestCommandLineNgircd::longLineArrivesWholeInSeveral() {
    QFETCH(QString, nick);
    QFETCH(QString, channel);
    if (!nick.isEmpty()) {
        // The window's client takes the long nick and both go to the channel.
        Yarv& irc = *m_p->mainFrame().Yarv1;
        QSignalSpy renamed(&irc, &Yarv::NickChanged);
        irc.SendCommand(QStringLiteral("NICK ") + nick);
        QVERIFY(renamed.wait(5000));
        m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), nick);
        QSignalSpy joined(m_peer.get(), &Yarv::UserJoined);
        m_peer->SendCommand(QStringLiteral("JOIN ") + channel);
        QVERIFY(joined.wait(5000));
        irc.SendCommand(QStringLiteral("JOIN ") + channel);
        QVERIFY(QTest::qWaitFor([&] { return joined.count() == 2; }, 5000));
        m_window = new frm_chan(*m_p);
        m_window->setTag(channel);
        m_window->Show();
    }
    QString text;
    for (int i = 0; text.size() < 1500; ++i)
        text += QStringLiteral("part%1-ü ").arg(i);
    text = text.left(1500).trimmed();
    m_window->commandline->setText(text);
    QTest::keyClick(m_window->commandline, Qt::Key_Return);
    QVERIFY(QTest::qWaitFor([&] { return m_heard.join(QString()).size() >= text.size(); }, 5000));
    QVERIFY(m_heard.size() >= 4);
    QCOMPARE(m_heard.join(QString()), text);
}

PARLONE_TEST_MAIN(TestCommandLineNgircd)
#include "tst_commandline_ngircd.moc"
