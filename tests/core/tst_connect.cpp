// Connecting and disconnecting through the frame's IRC control, against a real
// ngircd, a listening socket that never answers, and a scripted peer for the
// frame's word on a full send queue.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/mod_connect.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QListWidget>
#include <QSignalSpy>
#include <QTcpSocket>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A loopback port on which a connect stays in progress: its listening socket
// has a backlog of 0 and already holds one connection nobody accepts, so the
// kernel lets the next connect's handshake wait.
class StalledListener {
public:
    StalledListener() {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (m_fd < 0 || ::bind(m_fd, raw, length) != 0 || ::listen(m_fd, 0) != 0 ||
            ::getsockname(m_fd, raw, &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_queued.connectToHost(QStringLiteral("127.0.0.1"), m_port);
        m_queued.waitForConnected(5000);
    }
    ~StalledListener() {
        m_queued.abort();
        if (m_fd >= 0)
            ::close(m_fd);
    }
    StalledListener(const StalledListener&) = delete;
    StalledListener& operator=(const StalledListener&) = delete;

    bool isReady() const { return m_queued.state() == QAbstractSocket::ConnectedState; }
    quint16 port() const { return m_port; }

private:
    int m_fd = -1;
    quint16 m_port = 0;
    QTcpSocket m_queued;
};

} // namespace

class TestConnect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void missingProfileFields();
    void badPorts_data();
    void badPorts();
    void connectsAndReports();
    void connectWhileConnectedClosesFirst();
    void disconnect();
    void userCloseMarkIsHeldOnlyByDisconnect();
    void disconnectWhileConnecting();
    void connectEndsAnAttemptInProgress();
    void fullSendQueueIsShownOncePerSecond();
    void closesOnlyTheFirstChannelWindow();

private:
    void completeProfile(const QString& port);
    QString consoleText() { return m_p->serverWindow().console->Text(); }
    platform::Yarv& irc() { return *m_p->mainFrame().Yarv1; }

    NgircdServer m_server;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestConnect::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestConnect::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow().Show();
}

void TestConnect::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestConnect::completeProfile(const QString& port) {
    Settings& s = m_p->settings;
    s.setValue(QStringLiteral("SERVER_URL"), m_server.host());
    s.setValue(QStringLiteral("SERVER_PORT"), port);
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("parlone"));
    s.setValue(QStringLiteral("PROFILE_ALTERNATE"), QStringLiteral("parlone_"));
    s.setValue(QStringLiteral("PROFILE_USERNAME"), QStringLiteral("parlone"));
    s.setValue(QStringLiteral("PROFILE_EMAIL"), QStringLiteral("me@example.org"));
    s.setValue(QStringLiteral("PROFILE_REALNAME"), QStringLiteral("Parlone User"));
}

void TestConnect::missingProfileFields() {
    completeProfile(QString::number(m_server.port()));
    m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QString());
    m_p->settings.setValue(QStringLiteral("PROFILE_EMAIL"), QString());
    QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
    ConnectServer(*m_p);
    QVERIFY(consoleText().endsWith(QStringLiteral("\r\nConnect Error(s): \r\n"
                                                  "- Missing nickname in profile.\r\n"
                                                  "- Missing email address in profile\r\n")));
    QVERIFY(!consoleText().contains(QStringLiteral("Connecting")));
    QVERIFY(!opened.wait(200));

    // Every field missing, in the order of the checks.
    m_p->settings = Settings();
    ConnectServer(*m_p);
    QVERIFY(consoleText().endsWith(QStringLiteral("Connect Error(s): \r\n"
                                                  "- Missing server URL in profile.\r\n"
                                                  "- Missing server Port in profile.\r\n"
                                                  "- Missing nickname in profile.\r\n"
                                                  "- Missing alternate nickname in profile.\r\n"
                                                  "- Missing username in profile\r\n"
                                                  "- Missing email address in profile\r\n"
                                                  "- Missing real name in profile\r\n")));
}

void TestConnect::badPorts_data() {
    QTest::addColumn<QString>("port");
    QTest::newRow("no number") << "abc";
    QTest::newRow("zero") << "0";
    QTest::newRow("negative") << "-1";
    QTest::newRow("too large") << "70000";
}

void TestConnect::badPorts() {
    QFETCH(QString, port);
    completeProfile(port);
    ConnectServer(*m_p);
    QVERIFY(consoleText().endsWith(
        QStringLiteral("Connect Error(s): \r\n- Missing server Port in profile.\r\n")));
}

void TestConnect::connectsAndReports() {
    // A leading blank is shown trimmed; a range connects to its first port.
    const QString port = QString::number(m_server.port());
    for (const QString& setting : {QStringLiteral(" ") + port, port + u'-' + port}) {
        completeProfile(setting);
        m_p->notifyWindow().l_online->addItem(QStringLiteral("buddy"));
        m_p->notifyWindow().l_offline->addItem(QStringLiteral("other"));
        QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
        ConnectServer(*m_p);
        QVERIFY(consoleText().endsWith(
            QStringLiteral("\r\nConnecting to server: 127.0.0.1 [%1]").arg(setting.trimmed())));
        QVERIFY(opened.wait(5000));
        QVERIFY(irc().IsConnected());
        QCOMPARE(m_p->notifyWindow().l_online->count(), 0);
        QCOMPARE(m_p->notifyWindow().l_offline->count(), 0);
        irc().CloseConnection();
    }
}

void TestConnect::connectWhileConnectedClosesFirst() {
    completeProfile(QString::number(m_server.port()));
    QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
    QSignalSpy closed(&irc(), &platform::Yarv::Disconnected);
    ConnectServer(*m_p);
    QVERIFY(opened.wait(5000));
    ConnectServer(*m_p);
    QCOMPARE(closed.count(), 1);
    QVERIFY(opened.wait(5000));
    QCOMPARE(opened.count(), 2);
    QVERIFY(irc().IsConnected());
}

void TestConnect::disconnect() {
    const QString before = consoleText();
    DisconnectServer(*m_p);
    QCOMPARE(consoleText(), before);

    completeProfile(QString::number(m_server.port()));
    QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
    ConnectServer(*m_p);
    QVERIFY(opened.wait(5000));
    m_p->serverWindow().setCaption(QStringLiteral("Connected"));
    DisconnectServer(*m_p);
    QVERIFY(!irc().IsConnected());
    QCOMPARE(m_p->serverWindow().Caption(), QStringLiteral("Server"));
    QVERIFY(consoleText().endsWith(QStringLiteral("\r\nDisconnected!")));
    QCOMPARE(consoleText().count(QStringLiteral("Disconnected!")), 1);
}

// The control's Disconnected comes inside the close; the user-close mark
// tells its handler that the disconnect speaks for itself, and only then.
void TestConnect::userCloseMarkIsHeldOnlyByDisconnect() {
    completeProfile(QString::number(m_server.port()));
    QList<bool> marks;
    const QObject listening;
    connect(&irc(), &platform::Yarv::Disconnected, &listening,
            [this, &marks] { marks << m_p->userClosing; });
    QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
    ConnectServer(*m_p);
    QVERIFY(opened.wait(5000));
    ConnectServer(*m_p); // closes the open connection first
    QVERIFY(opened.wait(5000));
    DisconnectServer(*m_p);
    QCOMPARE(marks, (QList<bool>{false, true}));
    QVERIFY(!m_p->userClosing);
}

void TestConnect::disconnectWhileConnecting() {
    StalledListener listener;
    QVERIFY(listener.isReady());
    completeProfile(QString::number(listener.port()));
    QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
    QSignalSpy failed(&irc(), &platform::Yarv::SocketError);
    QSignalSpy closed(&irc(), &platform::Yarv::Disconnected);
    ConnectServer(*m_p);
    QVERIFY(irc().isConnecting());
    QVERIFY(!irc().IsConnected());
    m_p->serverWindow().setCaption(QStringLiteral("Connecting"));

    DisconnectServer(*m_p);
    QVERIFY(!irc().isConnecting());
    QCOMPARE(m_p->serverWindow().Caption(), QStringLiteral("Server"));
    QVERIFY(consoleText().endsWith(QStringLiteral("\r\nDisconnected!")));
    QCOMPARE(consoleText().count(QStringLiteral("Disconnected!")), 1);
    // Ended quietly, and no socket of it is left.
    QTRY_VERIFY(irc().findChildren<QTcpSocket*>().isEmpty());
    QCOMPARE(opened.count() + failed.count() + closed.count(), 0);
    // A second disconnect has nothing left to end.
    DisconnectServer(*m_p);
    QCOMPARE(consoleText().count(QStringLiteral("Disconnected!")), 1);
}

void TestConnect::connectEndsAnAttemptInProgress() {
    StalledListener listener;
    QVERIFY(listener.isReady());
    completeProfile(QString::number(listener.port()));
    ConnectServer(*m_p);
    QVERIFY(irc().isConnecting());
    // The profile no longer passes its checks: the attempt ends all the same.
    m_p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QString());
    ConnectServer(*m_p);
    QVERIFY(consoleText().endsWith(
        QStringLiteral("Connect Error(s): \r\n- Missing nickname in profile.\r\n")));
    QVERIFY(!irc().isConnecting());
    QTRY_VERIFY(irc().findChildren<QTcpSocket*>().isEmpty());
}

void TestConnect::fullSendQueueIsShownOncePerSecond() {
    IrcScriptedPeer peer;
    QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
    irc().OpenConnection(peer.host(), peer.port());
    QVERIFY(opened.wait(5000));
    const QDateTime start(QDate(2024, 3, 9), QTime(7, 5, 3));
    m_p->clock.setFixed(start);
    const auto warnings = [this] {
        return consoleText().count(QStringLiteral("\r\nError: send queue full, lines not sent"));
    };
    // Flood control holds the lines after its burst until the queue is full;
    // the login as the socket connected (NICK and USER) took two of the burst.
    const int login = 2;
    for (int i = 0; i < platform::Yarv::FloodBurst - login + platform::Yarv::MaxQueuedLines; ++i)
        irc().SendCommand(QStringLiteral("PRIVMSG #a :%1").arg(i));
    QCOMPARE(warnings(), 0);
    const struct {
        int msecs; // after the start
        int shown; // warnings by then
    } refusals[] = {{0, 1}, {0, 1}, {999, 1}, {1000, 2}, {1500, 2}, {2000, 3}, {-5000, 4}};
    for (const auto& refusal : refusals) {
        m_p->clock.setFixed(start.addMSecs(refusal.msecs));
        irc().SendCommand(QStringLiteral("PRIVMSG #a :refused"));
        QCOMPARE(warnings(), refusal.shown);
    }
}

void TestConnect::closesOnlyTheFirstChannelWindow() {
    platform::SwitchBar* bar = m_p->mainFrame().StatusBar1;
    auto* one = new frm_chan(*m_p);
    auto* two = new frm_chan(*m_p);
    one->setTag(QStringLiteral("#one"));
    two->setTag(QStringLiteral("#two"));
    QPointer<frm_chan> first(one), second(two);
    bar->Add(-1, QStringLiteral("Notify"));
    bar->Add(-1, QStringLiteral("#ghost")); // its window is gone
    bar->Add(-1, QStringLiteral("#one"));
    bar->Add(-1, QStringLiteral("#two"));
    ConnectServer(*m_p); // the profile is incomplete: only the windows change
    QVERIFY(!m_p->forms().contains(one));
    QTRY_VERIFY(first.isNull());
    QVERIFY(!second.isNull());
    QStringList panels;
    for (int i = 1; i <= bar->Count(); ++i)
        panels << bar->Panel(i)->Text();
    QCOMPARE(panels, (QStringList{"Server", "Notify", "#two"}));
}

PARLONE_TEST_MAIN(TestConnect)
#include "tst_connect.moc"
