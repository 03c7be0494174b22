// A detached query against a real ngircd, with a second client as the other
// user: after "&Detach" their next message appears in the desktop window,
// and a line typed there reaches them.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "platform/irc/Yarv.h"
#include "platform/window/SystemMenu.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/DetachMenuProc.h"
#include "windows/frm_desk_query.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QLineEdit>
#include <QSignalSpy>

using platform::Yarv;

class TestDeskQueryNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void theConversationGoesOnInTheDesktopWindow();

private:
    Form* window(const QString& tag) {
        const int index = FindForm(*m_p, tag);
        return index < 0 ? nullptr : m_p->forms().at(index);
    }
    static QString lastLine(const absRichEdit& console) {
        return console.Text().section(QStringLiteral("\r\n"), -1);
    }

    NgircdServer m_server;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    std::unique_ptr<Yarv> m_bob;
};

void TestDeskQueryNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestDeskQueryNgircd::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    m_p->mainFrame().show();
    m_p->serverWindow().Show();

    Yarv& irc = *m_p->mainFrame().Yarv1;
    m_bob = std::make_unique<Yarv>();
    for (const auto& [client, nick] :
         {std::pair{&irc, QStringLiteral("me")}, std::pair{m_bob.get(), QStringLiteral("bob")}}) {
        client->setFloodControl(false);
        QSignalSpy welcome(client, &Yarv::Welcome);
        client->OpenConnection(m_server.host(), m_server.port());
        QVERIFY(QTest::qWaitFor([&] { return client->IsConnected(); }, 5000));
        if (client != &irc)
            client->Login(nick, nick, QString(), nick);
        QVERIFY(welcome.size() > 0 || welcome.wait(5000));
    }
}

void TestDeskQueryNgircd::cleanup() {
    m_p.reset();
    m_bob.reset();
    m_folder.reset();
}

void TestDeskQueryNgircd::theConversationGoesOnInTheDesktopWindow() {
    m_bob->SendPrivmsg(QStringLiteral("me"), QStringLiteral("hello there"));
    QVERIFY(QTest::qWaitFor([&] { return window(QStringLiteral("?bob")) != nullptr; }, 5000));
    auto* q = qobject_cast<frm_query*>(window(QStringLiteral("?bob")));
    QVERIFY(q);
    QVERIFY(QTest::qWaitFor([&] { return lastLine(*q->console).contains(u"hello there"); }, 5000));

    platform::SendMessageA(q->hwnd(), platform::WM_SYSCOMMAND, IDM_DETACH, 0);
    auto* desk = qobject_cast<frm_desk_query*>(window(QStringLiteral("?bob")));
    QVERIFY(desk);

    m_bob->SendPrivmsg(QStringLiteral("me"), QStringLiteral("are you there?"));
    QVERIFY(QTest::qWaitFor(
        [&] { return lastLine(*desk->console) == QStringLiteral("<bob> are you there?"); }, 5000));
    QVERIFY(!q->console->Text().contains(u"are you there?"));

    QSignalSpy heard(m_bob.get(), &Yarv::PrivateMessage);
    desk->commandline->setText(QStringLiteral("on the desktop now"));
    QTest::keyClick(desk->commandline, Qt::Key_Return);
    QVERIFY(heard.wait(5000));
    QCOMPARE(heard.constFirst().at(1).toString(), QStringLiteral("on the desktop now"));
    QVERIFY(heard.constFirst().at(0).toString().startsWith(u"me!"));
}

PARLONE_TEST_MAIN(TestDeskQueryNgircd)
#include "tst_deskquery_ngircd.moc"
