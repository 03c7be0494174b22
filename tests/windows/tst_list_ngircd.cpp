// The channel list through a real ngircd: a second client opens three
// channels, one with a topic that looks like markup; "/list" fills the
// window under its end-of-list caption, the topic shows literally in the
// tooltip, a double click joins, and the close takes the panel away.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/irc/Yarv.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_list.h"

#include <QListWidget>
#include <QTextDocument>

using platform::Yarv;

class TestListNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void fillsAndJoins();

private:
    NgircdServer m_server;
};

void TestListNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestListNgircd::fillsAndJoins() {
    ClientFixture f(m_server.host(), m_server.port(), QStringLiteral("lister"));
    f.irc().setFloodControl(false);
    QSignalSpy welcome(&f.irc(), &Yarv::Welcome);
    QVERIFY(f.connect());
    QVERIFY(welcome.wait(5000));

    Yarv opener;
    opener.setFloodControl(false);
    QSignalSpy openerWelcome(&opener, &Yarv::Welcome);
    QObject::connect(&opener, &Yarv::SocketConnected, &opener, [&opener] {
        const QString nick = QStringLiteral("opener");
        opener.Login(nick, nick, QString(), nick);
    });
    opener.OpenConnection(m_server.host(), m_server.port());
    QVERIFY(openerWelcome.wait(5000));
    QSignalSpy joined(&opener, &Yarv::UserJoined);
    QSignalSpy topicSet(&opener, &Yarv::TopicChanged);
    const QString topic = QStringLiteral("<b>bold</b> <img src=\"/etc/hosts\"> &amp; more");
    opener.SendCommand(QStringLiteral("JOIN #alpha,#beta,#gamma"));
    opener.SendCommand(QStringLiteral("TOPIC #beta :") + topic);
    QTRY_COMPARE_WITH_TIMEOUT(joined.size(), 3, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(topicSet.size(), 1, 5000);

    QString line = QStringLiteral("/list");
    ParseLine(*f.p, line);
    QTRY_VERIFY_WITH_TIMEOUT(f.p->hasListWindow() && f.p->listWindow().Caption().startsWith(
                                                         QStringLiteral("/LIST complete as at: ")),
                             5000);
    frm_list& list = f.p->listWindow();
    QVERIFY(list.List1->isVisible());
    QStringList channels;
    int beta = -1;
    for (int i = 0; i < list.List1->count(); ++i) {
        const QString item = list.List1->item(i)->text();
        // The server's own channels (&SERVER) are not this test's.
        if (item.startsWith(u'#'))
            channels << item.section(u' ', 0, 0);
        if (item.startsWith(QStringLiteral("#beta ")))
            beta = i;
    }
    channels.sort();
    QCOMPARE(channels, QStringList({"#alpha", "#beta", "#gamma"}));
    QVERIFY(list.List1->item(beta)->text().endsWith(topic));

    QVERIFY(QTest::qWaitForWindowExposed(&f.p->mainFrame()));
    const QRect place = list.List1->visualItemRect(list.List1->item(beta));
    QTest::mouseClick(list.List1->viewport(), Qt::LeftButton, {}, place.center());
    QTextDocument shown;
    shown.setHtml(list.List1->toolTip());
    QCOMPARE(shown.toPlainText(), list.List1->item(beta)->text());

    QTest::mouseDClick(list.List1->viewport(), Qt::LeftButton, {}, place.center());
    QTRY_VERIFY_WITH_TIMEOUT(f.channel(QStringLiteral("#beta")) != nullptr, 5000);

    list.windowWidget()->close();
    QCOMPARE(FindPanel(*f.p, QStringLiteral("/LIST")), 0);
    QVERIFY(!f.p->hasListWindow());
}

PARLONE_TEST_MAIN(TestListNgircd)
#include "tst_list_ngircd.moc"
