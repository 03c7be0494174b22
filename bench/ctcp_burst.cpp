// A CTCP flood: a scripted server hands the program's connection 20,000
// CTCP PINGs from 200 nicks, with every request echoed into the server
// window (SHOW_CTCP "1") with timestamps and the server log on. Timed from
// the first line sent until the last echo is in the server window's
// console; then the replies are checked against the reply limit.

#include "connection/CtcpReplyLimit.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "platform/irc/Yarv.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/TempProgramFolder.h"
#include "windows/frm_server.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTest>
#include <QTimer>

#include <cmath>
#include <cstdio>

using platform::Yarv;

namespace {

constexpr int Requests = 20000;
constexpr int Nicks = 200;
constexpr int RunTimeoutMs = 120000;

int fail(const char* what) {
    std::fprintf(stderr, "ctcp_burst: %s\n", what);
    return 1;
}

QByteArray request(int n) {
    return ":nick" + QByteArray::number(n % Nicks) + "!user@host.example PRIVMSG bench :\x01PING " +
           QByteArray::number(n) + "\x01\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    IrcScriptedPeer server;
    TempProgramFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("logs")));
    Program p(folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    Settings& s = p.settings;
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("bench"));
    s.setValue(QStringLiteral("SHOW_CTCP"), QStringLiteral("1"));
    s.setValue(QStringLiteral("WIN_SERVER_TIMESTAMP"), QStringLiteral("TRUE"));
    s.setValue(QStringLiteral("WIN_SERVER_LOGGING"), QStringLiteral("TRUE"));
    p.serverWindow().Show();

    Yarv& irc = *p.mainFrame().Yarv1;
    irc.setFloodControl(false);
    irc.OpenConnection(server.host(), server.port());
    if (!server.waitForClient())
        return fail("the program did not connect");
    if (!QTest::qWaitFor([&] { return irc.IsConnected(); }, 5000))
        return fail("the connection did not come up");

    QByteArray flood;
    for (int n = 0; n < Requests; ++n)
        flood += request(n);
    absRichEdit& console = *p.serverWindow().console;
    const QString lastEcho = QStringLiteral("[PING] %1").arg(Requests - 1);

    int raised = 0;
    QEventLoop run;
    QTimer::singleShot(RunTimeoutMs, &run, &QEventLoop::quit);
    // Once the last request is raised, its echo is looked for each turn.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (console.Text().endsWith(lastEcho))
            run.quit();
    });
    QObject::connect(&irc, &Yarv::CtcpRequest, [&] {
        if (++raised == Requests)
            watch.start(0);
    });
    QElapsedTimer timer;
    timer.start();
    server.send(flood);
    run.exec();
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (raised != Requests)
        return fail("not every request arrived");
    if (!console.Text().endsWith(lastEcho))
        return fail("the last echo is not shown");

    // The replies: within the limit, and not none.
    QTest::qWait(200);
    int replies = 0;
    for (const QByteArray& line : server.lines())
        replies += line.startsWith("NOTICE ") ? 1 : 0;
    const int allowed =
        CtcpReplyLimit::PerWindow *
        (1 + static_cast<int>(std::ceil(seconds * 1000 / double(CtcpReplyLimit::WindowMs))));
    if (replies < 1 || replies > allowed) {
        std::fprintf(stderr, "ctcp_burst: %d replies\n", replies);
        return fail("the replies broke the limit");
    }
    QFile log(folder.file(QStringLiteral("logs/server.log")));
    if (!log.open(QIODevice::ReadOnly) || log.readAll().count("[PING] ") != Requests)
        return fail("the server log lost or doubled echoes");

    std::printf("ctcp_burst_requests_per_s: %.0f requests/s\n", Requests / seconds);
    return 0;
}
