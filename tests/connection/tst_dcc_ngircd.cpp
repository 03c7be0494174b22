// Two clients through a real ngircd: a DCC chat offered by one and accepted
// by the other, lines and actions both ways, closed by one side; the file
// offer as its peer gets it; CTCP VERSION and PING answered.

#include "connection/DccAddress.h"
#include "core/mod_kernel.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_dccChat.h"

#include <QLineEdit>

class TestDccNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void chatBothWaysAndClosed();
    void fileOfferAsThePeerGetsIt();
    void versionAndPingAnswered();

private:
    bool login(ClientFixture& c);
    static QStringList linesOf(const frm_dccChat* chat) {
        return chat->console->Text().split(QStringLiteral("\r\n")).mid(1);
    }
    static void type(frm_dccChat* chat, const QString& text) {
        chat->commandline->setText(text);
        QTest::keyClick(chat->commandline, Qt::Key_Return);
    }

    NgircdServer m_server;
    int m_serial = 0;
    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<ClientFixture> m_a;
    std::unique_ptr<ClientFixture> m_b;
};

void TestDccNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

bool TestDccNgircd::login(ClientFixture& c) {
    QSignalSpy welcome(&c.irc(), &platform::Yarv::Welcome);
    return c.connect() && welcome.wait(5000);
}

void TestDccNgircd::init() {
    ++m_serial;
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_a = std::make_unique<ClientFixture>(m_server.host(), m_server.port(),
                                          QStringLiteral("ana%1").arg(m_serial));
    m_b = std::make_unique<ClientFixture>(m_server.host(), m_server.port(),
                                          QStringLiteral("ben%1").arg(m_serial));
    for (ClientFixture* c : {m_a.get(), m_b.get()}) {
        c->set("SHOW_CTCP", QStringLiteral("1"));
        c->set("SHOW_CTCPREPLY", QStringLiteral("1"));
        c->p->mainFrame().Show();
        QVERIFY(login(*c));
    }
}

void TestDccNgircd::cleanup() {
    m_a.reset();
    m_b.reset();
    m_answers.reset();
}

void TestDccNgircd::chatBothWaysAndClosed() {
    const QString a = m_a->setting("PROFILE_NICKNAME");
    const QString b = m_b->setting("PROFILE_NICKNAME");
    m_answers->queueMessageBoxAnswer(platform::vbYes);    // B takes the chat
    m_answers->queueMessageBoxAnswer(platform::vbCancel); // A keeps its window
    ExecCommand(*m_a->p, QStringLiteral("dcc chat ") + b);
    QVERIFY(m_a->serverLines().contains(QStringLiteral("DCC Chat Request/Ack sent to ") + b));
    QTRY_COMPARE_WITH_TIMEOUT(DccChatWindows(*m_b->p).size(), 1, 5000);
    QTRY_COMPARE_WITH_TIMEOUT(DccChatWindows(*m_a->p).size(), 1, 5000);
    QCOMPARE(m_answers->requests().first().prompt.section(u'!', 0, 0),
             QStringLiteral("Chat request from: ") + a);
    frm_dccChat* onA = DccChatWindows(*m_a->p).first();
    frm_dccChat* onB = DccChatWindows(*m_b->p).first();
    QCOMPARE(onA->Caption(), QStringLiteral("DCC Chat to: ") + b);
    QCOMPARE(onB->Caption(), QStringLiteral("DCC Chat to: ") + a);

    type(onA, QStringLiteral("hello from a"));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(onB).last(), u'<' + a + QStringLiteral("> hello from a"),
                              5000);
    type(onB, QStringLiteral("/me waves"));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(onA).last(),
                              QStringLiteral("* ") + b + QStringLiteral(" waves"), 5000);
    type(onB, QStringLiteral("bye"));
    QTRY_COMPARE_WITH_TIMEOUT(linesOf(onA).last(), u'<' + b + QStringLiteral("> bye"), 5000);

    // B closes; A says so once and asks once.
    int cancel = 0;
    onB->Form_QueryUnload(cancel, 0);
    QTRY_COMPARE_WITH_TIMEOUT(m_answers->requests().size(), 2, 5000);
    QCOMPARE(m_answers->requests().last().prompt, QStringLiteral("Close window?"));
    QCOMPARE(linesOf(onA).count(QStringLiteral("DCC Connection Closed")), 1);
    QVERIFY(DccChatWindows(*m_b->p).isEmpty());
    QCOMPARE(m_b->panels().count(a), 0);
}

void TestDccNgircd::fileOfferAsThePeerGetsIt() {
    const QString b = m_b->setting("PROFILE_NICKNAME");
    const QString path = m_a->folder.write(QStringLiteral("a b.txt"), QByteArray(1234, 'x'));
    QSignalSpy offers(&m_b->irc(), &platform::Yarv::CtcpRequest);
    m_answers->queueInputCancel();
    ExecCommand(*m_a->p, QStringLiteral("dcc send ") + b + u' ' + path);
    QVERIFY(offers.wait(5000));
    const QStringList words = offers.first().at(3).toString().split(u' ');
    QCOMPARE(offers.first().at(2).toString(), QStringLiteral("DCC"));
    QCOMPARE(words.size(), 5);
    QCOMPARE(words.at(0), QStringLiteral("SEND"));
    QCOMPARE(words.at(1), QStringLiteral("a_b.txt"));
    QCOMPARE(LongIP2Dotted(words.at(2)), QStringLiteral("127.0.0.1"));
    const int index = m_a->p->mainFrame().dccsend->UBound();
    QCOMPARE(words.at(3).toInt(), (*m_a->p->mainFrame().dccsend)[index]->LocalPort());
    QCOMPARE(words.at(4), QStringLiteral("1234"));
    QCOMPARE((*m_a->p->mainFrame().dccsend)[index]->Tag, path);
    // No file, no offer.
    m_a->markServerLines();
    ExecCommand(*m_a->p, QStringLiteral("dcc send ") + b + QStringLiteral(" /no/such/file"));
    QVERIFY(m_a->newServerLines().last().startsWith(QStringLiteral("Error: ")));
    QCOMPARE(m_a->p->mainFrame().dccsend->UBound(), index);
}

void TestDccNgircd::versionAndPingAnswered() {
    const QString a = m_a->setting("PROFILE_NICKNAME");
    QSignalSpy replies(&m_b->irc(), &platform::Yarv::CtcpReply);
    ExecCommand(*m_b->p, QStringLiteral("ctcp ") + a + QStringLiteral(" VERSION"));
    QVERIFY(replies.wait(5000));
    QCOMPARE(replies.last().at(2).toString(), QStringLiteral("VERSION"));
    QVERIFY(replies.last().at(3).toString().startsWith(QStringLiteral("Parlone v")));
    // A PING from the same nick right after is answered too.
    m_b->irc().SendCTCP(a, QStringLiteral("PING"), QStringLiteral("1234567 x"));
    QVERIFY(replies.wait(5000));
    QCOMPARE(replies.last().at(2).toString(), QStringLiteral("PING"));
    QCOMPARE(replies.last().at(3).toString(), QStringLiteral("1234567 x"));
}

PARLONE_TEST_MAIN(TestDccNgircd)
#include "tst_dcc_ngircd.moc"
