// A netsplit in a large channel: a scripted server fills a joined channel
// with 10,000 nicks (one in ten an operator, one in ten voiced), then sends
// a QUIT of every one of them in one burst, as a split does. Quit lines are
// not shown (SHOW_QUIT and SHOW_QUITACTIVE "0": drawing lines is the
// console's own figure). Measured from the first QUIT until the list box is
// empty and the caption counts 0.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "tests/support/IrcScriptedPeer.h"
#include "windows/frm_chan.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Nicks = 10000;
constexpr int NamesPerReply = 50;

int fail(const char* what) {
    std::fprintf(stderr, "netsplit: %s\n", what);
    return 1;
}

frm_chan* channelWindow(Program& p, const QString& tag) {
    const int index = FindForm(p, tag);
    return index < 0 ? nullptr : qobject_cast<frm_chan*>(p.forms().at(index));
}

// Waits, handling events, until `done` holds; false after a minute.
template <typename Done> bool waitFor(Done done) {
    const QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

QByteArray nick(int k) {
    return "nick" + QByteArray::number(k * 7919 % Nicks);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    Program p(folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    p.settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
    p.settings.setValue(QStringLiteral("SHOW_QUIT"), QStringLiteral("0"));
    p.settings.setValue(QStringLiteral("SHOW_QUITACTIVE"), QStringLiteral("0"));
    p.settings.setValue(QStringLiteral("SHOW_NAMES"), QStringLiteral("0"));
    IrcScriptedPeer peer;
    platform::Yarv& irc = *p.mainFrame().Yarv1;
    irc.setFloodControl(false);
    p.mainFrame().Show();
    QSignalSpy opened(&irc, &platform::Yarv::SocketConnected);
    irc.OpenConnection(peer.host(), peer.port());
    if (!opened.wait(5000) || !peer.waitForClient())
        return fail("no connection");
    QSignalSpy joined(&irc, &platform::Yarv::UserJoined);
    peer.sendLine(":srv 001 me :Welcome");
    peer.sendLine(":me!u@h JOIN #big");
    if (!joined.wait(5000))
        return fail("no join");
    frm_chan* chan = channelWindow(p, QStringLiteral("#big"));
    if (!chan)
        return fail("no channel window");

    QByteArray names;
    for (int i = 0; i < Nicks; i += NamesPerReply) {
        names += ":srv 353 me = #big :";
        for (int k = i; k < i + NamesPerReply && k < Nicks; ++k) {
            const char* status = k % 10 == 0 ? "@" : k % 10 == 1 ? "+" : "";
            names += status + nick(k) + ' ';
        }
        names += "\r\n";
    }
    names += ":srv 366 me #big :End of NAMES list\r\n";
    peer.send(names);
    const QString full = QStringLiteral("#big [%1] ").arg(Nicks);
    if (!waitFor([&] { return chan->list_nicks->count() == Nicks && chan->Caption() == full; }))
        return fail("the list did not fill");

    QByteArray quits;
    for (int k = 0; k < Nicks; ++k)
        quits += ':' + nick(k) + "!u@split.example QUIT :hub.example leaf.example\r\n";
    const QString empty = QStringLiteral("#big [0] ");
    QElapsedTimer timer;
    timer.start();
    peer.send(quits);
    if (!waitFor([&] { return chan->list_nicks->count() == 0 && chan->Caption() == empty; }))
        return fail("the list did not empty");
    const qint64 ms = timer.elapsed();
    std::printf("netsplit_10k_quits_ms: %lld ms\n", static_cast<long long>(ms));
    return 0;
}
