// The interpreter's fallback against a real ngircd: a keyword that is no
// command runs the script of that name, and without one the line goes to the
// server, whose reply comes back.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/mod_connect.h"
#include "core/mod_kernel.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QSignalSpy>

class TestKernelNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void unknownKeywordGoesToTheServer();
    void unknownKeywordRunsItsScript();

private:
    platform::Yarv& irc() { return *m_p->mainFrame().Yarv1; }
    void type(const QString& text) {
        QString line = text;
        ParseLine(*m_p, line, QStringLiteral("Server"));
    }

    NgircdServer m_server;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestKernelNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestKernelNgircd::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow().Show();
    Settings& s = m_p->settings;
    s.setValue(QStringLiteral("SERVER_URL"), m_server.host());
    s.setValue(QStringLiteral("SERVER_PORT"), QString::number(m_server.port()));
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("parlone"));
    s.setValue(QStringLiteral("PROFILE_ALTERNATE"), QStringLiteral("parlone_"));
    s.setValue(QStringLiteral("PROFILE_USERNAME"), QStringLiteral("parlone"));
    s.setValue(QStringLiteral("PROFILE_EMAIL"), QStringLiteral("me@example.org"));
    s.setValue(QStringLiteral("PROFILE_REALNAME"), QStringLiteral("Parlone User"));

    QSignalSpy connected(&irc(), &platform::Yarv::SocketConnected);
    QSignalSpy welcome(&irc(), &platform::Yarv::Welcome);
    type(QStringLiteral("/connect"));
    QVERIFY(connected.wait(5000));
    irc().Login(QStringLiteral("parlone"), QStringLiteral("parlone"), QString(),
                QStringLiteral("Parlone User"));
    QVERIFY(welcome.wait(5000));
}

void TestKernelNgircd::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestKernelNgircd::unknownKeywordGoesToTheServer() {
    QSignalSpy replies(&irc(), &platform::Yarv::ServerReply);
    type(QStringLiteral("/  WhoIs   parlone  "));
    // The whois reply names the user asked about.
    QTRY_VERIFY_WITH_TIMEOUT(std::any_of(replies.cbegin(), replies.cend(),
                                         [](const QList<QVariant>& reply) {
                                             return reply.at(1).toString() == u"311" &&
                                                    reply.at(3).toStringList().contains(u"parlone");
                                         }),
                             5000);
}

void TestKernelNgircd::unknownKeywordRunsItsScript() {
    m_folder->write(QStringLiteral("cmd/Greet"), "PRIVMSG $$1 :hello from $$2\r\n");
    QSignalSpy messages(&irc(), &platform::Yarv::PrivateMessage);
    type(QStringLiteral("/GREET parlone the script"));
    QVERIFY(messages.wait(5000));
    QCOMPARE(messages.constFirst().at(1).toString(), QStringLiteral("hello from the"));
}

PARLONE_TEST_MAIN(TestKernelNgircd)
#include "tst_kernel_ngircd.moc"
