// The IRC codec alone: a generated mix of server lines (messages, joins, mode
// changes, numerics, with and without IRCv3 tags) cut from the byte stream,
// decoded, parsed and mapped to their events, as the control does per read.

#include "platform/irc/IrcEventMapper.h"
#include "platform/irc/IrcLineBuffer.h"
#include "platform/irc/IrcMessage.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <cstdio>

using namespace platform;

namespace {

constexpr int Lines = 1000000;
constexpr qsizetype ReadBytes = 64 * 1024; // what one socket read hands over

QByteArray generate() {
    QByteArray stream;
    stream.reserve(qsizetype(Lines) * 90);
    for (int i = 0; i < Lines; ++i) {
        const QByteArray n = QByteArray::number(i % 997);
        switch (i % 10) {
        case 0:
        case 1:
            stream += ":nick" + n + "!~user@host" + n +
                      ".example.org PRIVMSG #channel :a message of an ordinary length " + n;
            break;
        case 2:
            stream += "@time=2024-06-01T12:00:00.000Z;msgid=Ab" + n + "\\sx;account=nick" + n +
                      " :nick" + n + "!~user@host.example.org PRIVMSG #channel :tagged " + n;
            break;
        case 3:
            stream += ":nick" + n + "!~user@host.example.org JOIN :#channel";
            break;
        case 4:
            stream += ":op!~op@services.example.org MODE #channel +ov nick" + n + " nick" + n;
            break;
        case 5:
            stream += ":irc.example.org 353 me = #channel :@op +voice nick" + n +
                      " nick1 nick2 "
                      "nick3 nick4 nick5 nick6 nick7";
            break;
        case 6:
            stream += ":irc.example.org 322 me #chan" + n + " 42 :a channel topic " + n;
            break;
        case 7:
            stream += "@batch=b" + n + ";+draft/reply=m" + n + " :nick" + n +
                      "!~user@host.example.org NOTICE #channel :a notice";
            break;
        case 8:
            stream += ":irc.example.org 311 me nick" + n + " ~user host.example.org * :Real Name";
            break;
        default:
            stream += "PING :irc.example.org";
            break;
        }
        stream += "\r\n";
    }
    return stream;
}

// One pass over the stream; returns the events raised.
qint64 run(const QByteArray& stream) {
    IrcLineBuffer buffer;
    IrcEventMapper mapper;
    QByteArrayView line;
    qint64 events = 0;
    for (qsizetype at = 0; at < stream.size(); at += ReadBytes) {
        buffer.append(QByteArrayView(stream).sliced(at, qMin(ReadBytes, stream.size() - at)));
        while (buffer.takeLine(line)) {
            if (const auto msg = IrcMessage::parse(IrcMessage::decode(line))) {
                if (mapper.map(*msg))
                    ++events;
            }
        }
    }
    return events;
}

} // namespace

int main() {
    const QByteArray stream = generate();
    double best = 0;
    for (int pass = 0; pass < 3; ++pass) {
        QElapsedTimer timer;
        timer.start();
        const qint64 events = run(stream);
        const qint64 ns = timer.nsecsElapsed();
        if (events != Lines) {
            std::fprintf(stderr, "irc_parse: %lld events for %d lines\n", events, Lines);
            return 1;
        }
        best = qMax(best, Lines * 1e9 / double(ns));
    }
    std::printf("irc_parse_lines_per_s: %.0f lines/s\n", best);
    return 0;
}
