// The notify list against a real ngircd, its poll shortened: a second
// client registering as a watched nick is announced as joining and moves
// online, its quit is announced as leaving; a list of 80 buddies goes out in
// lines the server takes, and the client stays connected.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "platform/irc/Yarv.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_notify.h"

#include <QListWidget>

using platform::Yarv;

class TestNotifyNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void friendComesAndGoes();
    void longListStaysConnected();

private:
    // A client of the program, registered, its poll every 200 ms.
    std::unique_ptr<ClientFixture> client(const QString& nick, const QStringList& buddies);

    NgircdServer m_server;
};

void TestNotifyNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

std::unique_ptr<ClientFixture> TestNotifyNgircd::client(const QString& nick,
                                                        const QStringList& buddies) {
    auto f = std::make_unique<ClientFixture>(m_server.host(), m_server.port(), nick);
    frm_notify& notify = f->p->notifyWindow();
    notify.List1->addItems(buddies);
    notify.Timer1->setInterval(200);
    QSignalSpy welcome(&f->irc(), &Yarv::Welcome);
    if (!f->connect() || !welcome.wait(5000))
        return nullptr;
    return f;
}

void TestNotifyNgircd::friendComesAndGoes() {
    const auto f = client(QStringLiteral("watcher"), {QStringLiteral("friend")});
    QVERIFY(f);
    frm_notify& notify = f->p->notifyWindow();
    QTRY_COMPARE_WITH_TIMEOUT(notify.l_offline->count(), 1, 5000);

    auto buddy = std::make_unique<Yarv>();
    QSignalSpy welcome(buddy.get(), &Yarv::Welcome);
    QObject::connect(buddy.get(), &Yarv::SocketConnected, buddy.get(), [&buddy] {
        const QString nick = QStringLiteral("friend");
        buddy->Login(nick, nick, QString(), nick);
    });
    buddy->OpenConnection(m_server.host(), m_server.port());
    QVERIFY(welcome.wait(5000));
    QTRY_VERIFY_WITH_TIMEOUT(f->serverLines().contains(QStringLiteral("friend has joined IRC.")),
                             5000);
    QCOMPARE(notify.l_online->count(), 1);
    QCOMPARE(notify.l_online->item(0)->text(), QStringLiteral("friend"));
    QCOMPARE(notify.l_offline->count(), 0);

    buddy->SendCommand(QStringLiteral("QUIT :bye"));
    QTRY_VERIFY_WITH_TIMEOUT(f->serverLines().contains(QStringLiteral("friend has left IRC.")),
                             5000);
    QCOMPARE(notify.l_online->count(), 0);
    QCOMPARE(notify.l_offline->count(), 1);
}

void TestNotifyNgircd::longListStaysConnected() {
    QStringList buddies;
    for (int i = 0; i < 80; ++i)
        buddies << QStringLiteral("buddy%1").arg(i, 5, 10, QLatin1Char('0'));
    buddies << QStringLiteral("lister");
    const auto f = client(QStringLiteral("lister"), buddies);
    QVERIFY(f);
    frm_notify& notify = f->p->notifyWindow();
    // The own nick is online; every other buddy offline, once both lines
    // are answered.
    QTRY_COMPARE_WITH_TIMEOUT(notify.l_offline->count(), 80, 5000);
    QCOMPARE(notify.l_online->count(), 1);
    // A few more rounds; the server has taken every line.
    QTest::qWait(1000);
    QVERIFY(f->irc().IsConnected());
    QCOMPARE(notify.l_online->count(), 1);
    QVERIFY(!f->serverLines().filter(QStringLiteral("has left IRC.")).size());
}

PARLONE_TEST_MAIN(TestNotifyNgircd)
#include "tst_notify_ngircd.moc"
