// A DCC chat peer that floods: a chat the program offers is taken up by a
// peer on loopback, in a thread of its own, that writes numbered lines as
// fast as the connection takes them for 5 s. The chat window is shown, as
// the user sees it. Figures: the lines shown per second, and the longest gap
// between two firings of a 0 ms timer while the flood runs (how long the
// user may wait for anything else). Then the user closes the chat in mid
// flood: the window and its socket go at once, and the lines shown are
// every line from the first, in order, each once.

#include "connection/DccChatSockets.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "platform/winsock/WinsockArray.h"
#include "tests/support/TempProgramFolder.h"
#include "windows/frm_dccChat.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

constexpr int FloodMs = 5000;
constexpr int RunTimeoutMs = 60000;
constexpr int LinesPerBatch = 1024;
const QByteArray Template = "line 000000000 of the flood, written as fast as the peer can\r\n";
constexpr qsizetype NumberAt = 5;
constexpr int Digits = 9;

int fail(const char* what) {
    std::fprintf(stderr, "dcc_chat_flood: %s\n", what);
    return 1;
}

// The peer: connects to `port` and writes numbered lines until `stop` or
// its own deadline, or until the program closes the chat.
void flood(quint16 port, const std::atomic<bool>& stop) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0)
        return;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(FloodMs);
    QByteArray batch = Template.repeated(LinesPerBatch);
    qint64 next = 0;
    qsizetype sent = batch.size(); // nothing of a batch is made yet
    while (!stop && std::chrono::steady_clock::now() < deadline) {
        if (sent == batch.size()) {
            // Each line of the batch gets its number written over.
            for (int i = 0; i < LinesPerBatch; ++i) {
                char* digits = batch.data() + i * Template.size() + NumberAt;
                for (qint64 n = next++, k = Digits - 1; k >= 0; --k, n /= 10)
                    digits[k] = char('0' + n % 10);
            }
            sent = 0;
        }
        pollfd writable{fd, POLLOUT, 0};
        if (::poll(&writable, 1, 50) < 0)
            break;
        if ((writable.revents & POLLOUT) == 0)
            continue;
        const ssize_t n =
            ::send(fd, batch.constData() + sent, size_t(batch.size() - sent), MSG_NOSIGNAL);
        if (n <= 0)
            break; // the program closed the chat
        sent += n;
    }
    ::close(fd);
}

// The number of line `line` ("<peer> line N ..."), or -1.
qint64 numberOf(QStringView line) {
    const QStringView prefix = u"<peer> line ";
    if (!line.startsWith(prefix))
        return -1;
    bool ok = false;
    const qint64 n = line.sliced(prefix.size(), Digits).toLongLong(&ok);
    return ok ? n : -1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TempProgramFolder folder;
    Program p(folder.path());
    p.settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("bench"));
    p.mainFrame().resize(1024, 768);
    p.mainFrame().Show();

    DccChatSockets& chats = *p.mainFrame().dccChatSockets;
    const int index = chats.listenFor(QStringLiteral("peer"));
    if (index < 0)
        return fail("the chat does not listen");
    const auto port = quint16((*p.mainFrame().DCC)[index]->LocalPort());
    std::atomic<bool> stop = false;
    std::thread peer(flood, port, std::cref(stop));

    // The run goes in a plain event loop, as the program's own.
    QEventLoop run;
    QTimer::singleShot(RunTimeoutMs, &run, &QEventLoop::quit);
    QElapsedTimer clock;
    QElapsedTimer sinceLast;
    qint64 longestTurnNs = 0;
    QTimer turns;
    turns.setInterval(0);
    QObject::connect(&turns, &QTimer::timeout, [&] {
        longestTurnNs = std::max(longestTurnNs, sinceLast.nsecsElapsed());
        sinceLast.start();
    });
    QPointer<frm_dccChat> chat;
    QString text;
    double seconds = 0;
    // The flood is timed from the chat window's opening.
    QTimer opened;
    opened.setInterval(0);
    QObject::connect(&opened, &QTimer::timeout, [&] {
        if (DccChatWindows(p).isEmpty())
            return;
        opened.stop();
        chat = DccChatWindows(p).first();
        clock.start();
        sinceLast.start();
        turns.start();
        QTimer::singleShot(FloodMs, &run, [&] {
            turns.stop();
            seconds = clock.nsecsElapsed() / 1e9;
            if (!chat)
                return run.quit();
            text = chat->console->Text();
            // The user closes the chat while the peer still writes.
            int cancel = 0;
            chat->Form_QueryUnload(cancel, 0);
            run.quit();
        });
    });
    opened.start();
    run.exec();
    stop = true;
    peer.join();
    if (seconds == 0)
        return fail("no chat window opened");
    if (!chat)
        return fail("the chat window closed during the flood");
    if (p.forms().contains(chat.data()) || p.mainFrame().DCC->isLoaded(index))
        return fail("the chat did not close");

    // Every line from the first, in order, each once.
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.size() < 2 || lines.at(1) != u"DCC Connection Established")
        return fail("the chat did not open with its first line");
    qint64 shown = 0;
    for (qsizetype i = 2; i < lines.size(); ++i) {
        if (numberOf(lines.at(i)) != shown++)
            return fail("lines were lost, doubled or shown out of order");
    }
    if (shown == 0)
        return fail("no line was shown");

    std::printf("dcc_chat_flood_lines_per_s: %.0f lines/s\n", double(shown) / seconds);
    std::printf("dcc_chat_flood_longest_turn_ms: %.1f ms\n", double(longestTurnNs) / 1e6);
    return 0;
}
