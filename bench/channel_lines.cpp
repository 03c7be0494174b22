// Channel lines end to end: a raw loopback client sends 100,000 coloured
// PRIVMSG lines of about 80 visible characters through a real ngircd to the
// program's own connection, whose channel window is shown with timestamps
// and logging on. Each line is parsed, routed, drawn and logged as it comes;
// the figure is taken when the last line is in the console and in the log.
// The sender keeps at most 256 KiB in flight beyond what the program has
// read, as ngircd drops a client that falls 32 KiB behind its socket
// buffers. Then the program's resident memory.

#include "bench/ResidentMemory.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "platform/irc/Yarv.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/TempProgramFolder.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <cstdio>

using platform::Yarv;

namespace {

constexpr int Lines = 100000;
constexpr qint64 InFlightBytes = 256 * 1024;
constexpr int StepTimeoutMs = 20000;
constexpr int RunTimeoutMs = 600000;
const QByteArray Channel = "#bench";

int fail(const char* what) {
    std::fprintf(stderr, "channel_lines: %s\n", what);
    return 1;
}

// Line `n`: about 80 visible characters with colour and bold codes.
QByteArray line(int n) {
    return "PRIVMSG " + Channel + " :\x03" + "04,01line " +
           QByteArray::number(n).rightJustified(6, '0') + "\x03 of the \x02" +
           "channel benchmark\x02, \x03" + "12coloured and long enough to wrap a little\r\n";
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    NgircdServer server;
    if (!server.start())
        return fail(qPrintable(server.error()));

    TempProgramFolder folder;
    QDir().mkpath(folder.file(QStringLiteral("logs")));
    Program p(folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    Settings& s = p.settings;
    s.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("reader"));
    s.setValue(QStringLiteral("WIN_CHAN_TIMESTAMP"), QStringLiteral("TRUE"));
    s.setValue(QStringLiteral("WIN_CHAN_LOGGING"), QStringLiteral("TRUE"));
    s.setValue(QStringLiteral("WIN_CHAN_MSGCOLOR"), QString::number(p.palette.color(1)));
    s.setValue(QStringLiteral("WIN_CHAN_CONSOLE_FORECOLOR"), QString::number(p.palette.color(1)));
    p.serverWindow().Show();

    Yarv& reader = *p.mainFrame().Yarv1;
    reader.setFloodControl(false);
    int welcomed = 0, joined = 0, received = 0;
    QObject::connect(&reader, &Yarv::SocketConnected, [&] {
        reader.Login(QStringLiteral("reader"), QStringLiteral("reader"), QString(),
                     QStringLiteral("Bench reader"));
    });
    QObject::connect(&reader, &Yarv::Welcome, [&] { ++welcomed; });
    QObject::connect(&reader, &Yarv::UserJoined, [&] { ++joined; });
    reader.OpenConnection(server.host(), server.port());
    if (!QTest::qWaitFor([&] { return welcomed >= 1; }, StepTimeoutMs))
        return fail("the reader did not register");
    reader.SendCommand(QStringLiteral("JOIN ") + QString::fromLatin1(Channel));
    if (!QTest::qWaitFor([&] { return joined == 1; }, StepTimeoutMs))
        return fail("the reader did not join");
    // The window the own join opens, or one of the program's own making.
    const QString tag = QString::fromLatin1(Channel);
    if (FindForm(p, tag) < 0) {
        auto* chan = new frm_chan(p);
        chan->setTag(tag);
        chan->setCaption(tag);
    }
    Form* window = p.forms().at(FindForm(p, tag));
    window->Show();
    absRichEdit& console = *qobject_cast<frm_chan*>(window)->console;

    QTcpSocket sender;
    QByteArray fromServer;
    QObject::connect(&sender, &QTcpSocket::readyRead, [&] { fromServer += sender.readAll(); });
    sender.connectToHost(server.host(), server.port());
    if (!sender.waitForConnected(5000))
        return fail("the sender did not connect");
    sender.write("NICK sender\r\nUSER sender 0 * :Bench sender\r\n");
    if (!QTest::qWaitFor([&] { return fromServer.contains(" 376 sender "); }, StepTimeoutMs))
        return fail("the sender did not register");
    sender.write("JOIN " + Channel + "\r\n");
    if (!QTest::qWaitFor([&] { return joined == 2; }, StepTimeoutMs))
        return fail("the sender did not join");

    // Lines go out while fewer than InFlightBytes are sent and not yet read.
    // Each is the first line with its number written over, so the sender,
    // which is not the program, costs the clock little.
    const QByteArray first = line(0);
    const qint64 lineBytes = first.size();
    const qsizetype numberAt = first.indexOf("000000");
    int sent = 0;
    const auto topUp = [&] {
        QByteArray batch;
        while (sent < Lines && (sent - received) * lineBytes < InFlightBytes) {
            batch += first;
            char* digits = batch.data() + batch.size() - lineBytes + numberAt;
            for (int n = sent++, k = 5; k >= 0; --k, n /= 10)
                digits[k] = char('0' + n % 10);
        }
        if (!batch.isEmpty())
            sender.write(batch);
    };
    // The run goes in a plain event loop, as the program's own: QTest's waits
    // sleep between their turns, which would count as time the program took.
    QEventLoop run;
    QTimer::singleShot(RunTimeoutMs, &run, &QEventLoop::quit);
    QElapsedTimer timer;
    QObject::connect(&reader, &Yarv::ChannelMessage, [&] {
        if (++received % 256 == 0)
            topUp();
        // The window's log takes the lines of a turn as the turn ends: the
        // clock stops behind that write, as the checks below confirm.
        if (received == Lines)
            QMetaObject::invokeMethod(&run, &QEventLoop::quit, Qt::QueuedConnection);
    });
    timer.start();
    topUp();
    run.exec();
    if (received != Lines)
        return fail("the reader did not get every line");
    const double seconds = timer.nsecsElapsed() / 1e9;
    // Read before the checks below, whose copies of the console text and the
    // log are the checker's memory, not the program's.
    const double resident = residentMiB();
    if (!reader.IsConnected())
        return fail("the reader lost its connection");

    // Every line once, in the console and in the log.
    const QString text = console.Text();
    const QString last = QStringLiteral("line %1 ").arg(Lines - 1, 6, 10, QLatin1Char('0'));
    if (!text.section(QStringLiteral("\r\n"), -1).contains(last))
        return fail("the last line is not the console's last");
    if (text.count(QStringLiteral("channel benchmark")) != Lines)
        return fail("the console lost or doubled lines");
    QFile log(folder.file(QStringLiteral("logs/bench.log")));
    if (!log.open(QIODevice::ReadOnly))
        return fail("no channel log");
    const qsizetype logged = log.readAll().count("channel benchmark");
    if (logged != Lines) {
        std::fprintf(stderr, "channel_lines: %lld lines logged\n", static_cast<long long>(logged));
        return fail("the log lost or doubled lines");
    }

    std::printf("channel_lines_per_s_logging: %.0f lines/s\n", Lines / seconds);
    std::printf("channel_rss_mib_after_100k: %.1f MiB\n", resident);
    return 0;
}
