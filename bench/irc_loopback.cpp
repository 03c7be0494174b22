// Lines through a real ngircd to the control: a raw loopback client sends
// 100,000 PRIVMSG lines to a channel, and a Yarv (flood control off) in the
// same channel counts them at its ChannelMessage event. The lines go in
// windows, each confirmed by a PING/PONG round trip of the sender before the
// next, so that the server's queue towards the reader stays small.

#include "platform/irc/Yarv.h"
#include "tests/support/NgircdServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>

#include <cstdio>

using platform::Yarv;

namespace {

constexpr int Lines = 100000;
// About 75 KB of lines towards the reader per window: less than a loopback
// socket's default receive buffer, so the server can always hand a whole
// window to the kernel and its own queue never grows towards its limit.
constexpr int Window = 1000;
constexpr int StepTimeoutMs = 20000;

int fail(const char* what) {
    std::fprintf(stderr, "irc_loopback: %s\n", what);
    return 1;
}

// The sender: a bare socket that writes protocol lines and watches for
// the end of registration and for its PONGs.
class RawClient {
public:
    bool connectTo(const NgircdServer& server) {
        QObject::connect(&m_socket, &QTcpSocket::readyRead, [this] { m_in += m_socket.readAll(); });
        m_socket.connectToHost(server.host(), server.port());
        return m_socket.waitForConnected(5000);
    }
    void send(const QByteArray& lines) { m_socket.write(lines); }
    bool waitFor(const QByteArray& text) {
        return QTest::qWaitFor([&] { return m_in.contains(text); }, StepTimeoutMs);
    }
    void forget() { m_in.clear(); }

private:
    QTcpSocket m_socket;
    QByteArray m_in;
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    NgircdServer server;
    if (!server.start())
        return fail(qPrintable(server.error()));
    const QByteArray channel = "#bench";

    Yarv reader;
    reader.setFloodControl(false);
    int motd = 0, names = 0, joined = 0, received = 0;
    QObject::connect(&reader, &Yarv::SocketConnected, [&] {
        reader.Login(QStringLiteral("reader"), QStringLiteral("reader"), QString(),
                     QStringLiteral("Bench reader"));
    });
    QObject::connect(&reader, &Yarv::MotdReceived, [&] { ++motd; });
    QObject::connect(&reader, &Yarv::NamesReply, [&] { ++names; });
    QObject::connect(&reader, &Yarv::UserJoined, [&] { ++joined; });
    QObject::connect(&reader, &Yarv::ChannelMessage, [&] { ++received; });
    reader.OpenConnection(server.host(), server.port());
    if (!QTest::qWaitFor([&] { return motd == 1; }, StepTimeoutMs))
        return fail("the reader did not register");
    reader.SendCommand(QStringLiteral("JOIN ") + QString::fromLatin1(channel));
    if (!QTest::qWaitFor([&] { return names == 1; }, StepTimeoutMs))
        return fail("the reader did not join");

    RawClient sender;
    if (!sender.connectTo(server))
        return fail("the sender did not connect");
    sender.send("NICK sender\r\nUSER sender 0 * :Bench sender\r\n");
    if (!sender.waitFor(" 376 sender "))
        return fail("the sender did not register");
    sender.send("JOIN " + channel + "\r\n");
    if (!QTest::qWaitFor([&] { return joined == 2; }, StepTimeoutMs))
        return fail("the sender did not join");

    QElapsedTimer timer;
    timer.start();
    for (int sent = 0, window = 0; sent < Lines; ++window) {
        QByteArray lines;
        const int count = qMin(Window, Lines - sent);
        for (int i = 0; i < count; ++i, ++sent)
            lines += "PRIVMSG " + channel + " :line " + QByteArray::number(sent) +
                     " of the loopback benchmark\r\n";
        const QByteArray token = "w" + QByteArray::number(window);
        sender.forget();
        sender.send(lines + "PING :" + token + "\r\n");
        if (!sender.waitFor(":" + token + "\r\n"))
            return fail("a window was not confirmed");
    }
    if (!QTest::qWaitFor([&] { return received == Lines; }, StepTimeoutMs))
        return fail("the reader did not get every line");
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!reader.IsConnected())
        return fail("the reader lost its connection");
    std::printf("irc_loopback_lines_per_s: %.0f lines/s\n", Lines / seconds);
    return 0;
}
