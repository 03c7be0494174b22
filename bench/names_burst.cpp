// A NAMES burst into a joined channel: a scripted server sends 10,000 nicks
// (one in ten an operator, one in ten voiced) in the usual replies of about
// fifty names each, then the end of the list, to a client that has joined
// the channel; measured until the channel window's list box shows all of
// them and its caption the count.

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
#include <QTest>

#include <cstdio>

namespace {

constexpr int Nicks = 10000;
constexpr int NamesPerReply = 50;

int fail(const char* what) {
    std::fprintf(stderr, "names_burst: %s\n", what);
    return 1;
}

frm_chan* channelWindow(Program& p, const QString& tag) {
    const int index = FindForm(p, tag);
    return index < 0 ? nullptr : qobject_cast<frm_chan*>(p.forms().at(index));
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
    IrcScriptedPeer peer;
    platform::Yarv& irc = *p.mainFrame().Yarv1;
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

    QByteArray burst;
    for (int i = 0; i < Nicks; i += NamesPerReply) {
        burst += ":srv 353 me = #big :";
        for (int k = i; k < i + NamesPerReply && k < Nicks; ++k) {
            const char* status = k % 10 == 0 ? "@" : k % 10 == 1 ? "+" : "";
            burst += status + QByteArray("nick") + QByteArray::number(k * 7919 % Nicks) + ' ';
        }
        burst += "\r\n";
    }
    burst += ":srv 366 me #big :End of NAMES list\r\n";

    const QString caption = QStringLiteral("#big [%1] ").arg(Nicks);
    QElapsedTimer timer;
    timer.start();
    peer.send(burst);
    const QDeadlineTimer deadline(60000);
    while (!(chan->list_nicks->count() == Nicks && chan->Caption() == caption)) {
        if (deadline.hasExpired())
            return fail("the list did not fill");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const qint64 ms = timer.elapsed();
    std::printf("names_10k_ms: %lld ms\n", static_cast<long long>(ms));
    return 0;
}
