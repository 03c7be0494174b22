// Fuzz target: arbitrary bytes from a server through every stage of the IRC
// codec. Besides crashes and sanitizer reports it stops on a broken promise:
// an event with the wrong number of arguments or an empty one it needs, a
// held line past the limit, an encoded line that could carry a second line,
// or a CTCP frame that lets a line end or a NUL through.

#include "platform/irc/Ctcp.h"
#include "platform/irc/IrcEventMapper.h"
#include "platform/irc/IrcLineBuffer.h"
#include "platform/irc/IrcLineEncoder.h"
#include "platform/irc/IrcMask.h"
#include "platform/irc/IrcMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace platform;

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

// A frame is the delimiter, text without CR, LF, NUL or the delimiter, and
// the delimiter.
void checkFrame(const QString& frame) {
    check(frame.size() >= 2 && frame.front() == Ctcp::Delimiter && frame.back() == Ctcp::Delimiter);
    for (qsizetype i = 1; i + 1 < frame.size(); ++i) {
        const QChar c = frame[i];
        check(c != u'\r' && c != u'\n' && c != QChar(0) && c != Ctcp::Delimiter);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));

    // The whole input as one text, line ends and NULs included, framed as a
    // CTCP request the program sends.
    const QString raw = IrcMessage::decode(bytes);
    const qsizetype blank = raw.indexOf(u' ');
    checkFrame(Ctcp::frame(QStringView(raw).first(blank < 0 ? raw.size() : blank),
                           blank < 0 ? QStringView() : QStringView(raw).sliced(blank + 1)));

    IrcLineBuffer buffer;
    IrcEventMapper mapper;
    // Two appends, split where the first byte says, so that lines also end
    // across reads.
    const qsizetype split = bytes.isEmpty() ? 0 : qsizetype(data[0]) * bytes.size() / 256;
    QByteArrayView line;
    for (const QByteArrayView part : {bytes.first(split), bytes.sliced(split)}) {
        buffer.append(part);
        check(buffer.bufferedBytes() <= part.size() + IrcLineBuffer::MaxLineBytes + 2);
        while (buffer.takeLine(line)) {
            check(line.size() <= IrcLineBuffer::MaxLineBytes && !line.isEmpty());
            const QString text = IrcMessage::decode(line);
            const QByteArray out = IrcLineEncoder::encode(text);
            check(out.isEmpty() ||
                  (out.size() <= IrcLineEncoder::MaxLineBytes + 2 &&
                   out.indexOf('\n') == out.size() - 1 && out.indexOf('\r') == out.size() - 2));
            if (const auto ctcp = Ctcp::unframe(text))
                checkFrame(Ctcp::frame(ctcp->command, ctcp->params));
            const std::optional<IrcMessage> msg = IrcMessage::parse(text);
            if (!msg)
                continue;
            const IrcMask mask = IrcMask::split(msg->source);
            check(mask.nick.size() + mask.user.size() + mask.host.size() <= msg->source.size());
            if (const std::optional<IrcEvent> event = mapper.map(*msg))
                check(event->isComplete());
        }
    }
    return 0;
}
