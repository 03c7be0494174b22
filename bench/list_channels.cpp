// A channel list of 20,000 channels: a scripted server answers LIST with
// the list start, one reply per channel (name, users and a topic of a
// usual length) and the list end; measured from the first byte sent until
// the channel-list window shows every channel under its end-of-list
// caption.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "tests/support/IrcScriptedPeer.h"
#include "windows/frm_list.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int Channels = 20000;

int fail(const char* what) {
    std::fprintf(stderr, "list_channels: %s\n", what);
    return 1;
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
    QSignalSpy welcomed(&irc, &platform::Yarv::Welcome);
    peer.sendLine(":srv 001 me :Welcome");
    if (!welcomed.wait(5000))
        return fail("no welcome");

    QByteArray replies = ":srv 321 me Channel :Users  Name\r\n";
    for (int i = 0; i < Channels; ++i)
        replies += ":srv 322 me #channel" + QByteArray::number(i) + ' ' +
                   QByteArray::number(i % 300 + 1) + " :[+nt] Talk about topic number " +
                   QByteArray::number(i * 7919 % Channels) + " and whatever else comes up\r\n";
    replies += ":srv 323 me :End of LIST\r\n";

    QElapsedTimer timer;
    timer.start();
    peer.send(replies);
    const QDeadlineTimer deadline(60000);
    const auto complete = [&p] {
        if (!p.hasListWindow())
            return false;
        const frm_list& list = p.listWindow();
        return list.List1->count() == Channels &&
               list.Caption().startsWith(QStringLiteral("/LIST complete as at: ")) &&
               list.List1->isVisible();
    };
    while (!complete()) {
        if (deadline.hasExpired())
            return fail("the list did not fill");
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    const qint64 ms = timer.elapsed();
    std::printf("list_20k_channels_ms: %lld ms\n", static_cast<long long>(ms));
    return 0;
}
