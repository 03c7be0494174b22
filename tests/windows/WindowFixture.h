#pragma once
// What the window tests share: a fresh program in a temporary folder with
// its frame shown at a known size, the IRC control connected to a scripted
// loopback peer that records what goes on the wire, and helpers to type into
// a window and to read its console.

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/windows/OnScreenTwips.h"
#include "windows/ConversationForm.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QtTest>

#include <functional>
#include <memory>

class WindowFixture {
public:
    // Frame size in pixels: 18000 by 13500 twips at 15 twips a pixel.
    static constexpr int FrameWidth = 1200;
    static constexpr int FrameHeight = 900;

    // Call from init(); QVERIFY inside needs a void function.
    void start() {
        folder = std::make_unique<TempProgramFolder>();
        p = std::make_unique<Program>(folder->path());
        p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
        p->settings.setValue(QStringLiteral("PROFILE_NICKNAME"), QStringLiteral("me"));
        p->mainFrame().resize(FrameWidth, FrameHeight);
        p->mainFrame().show();
        peer = std::make_unique<IrcScriptedPeer>();
        irc().setFloodControl(false);
        QSignalSpy connected(&irc(), &platform::Yarv::SocketConnected);
        irc().OpenConnection(peer->host(), peer->port());
        QVERIFY(connected.wait(5000));
        QVERIFY(peer->waitForClient());
        // The frame logs in as the socket connects: NICK and USER.
        QVERIFY(peer->waitForLines(2));
    }
    // Call from cleanup().
    void stop() {
        p.reset();
        peer.reset();
        folder.reset();
    }

    platform::Yarv& irc() { return *p->mainFrame().Yarv1; }

    // A window of type W, tagged and shown in the frame.
    template <typename W> W* open(const QString& tag) {
        auto* window = new W(*p);
        window->setTag(tag);
        window->Show();
        return window;
    }

    // The lines put on the wire while `action` runs.
    QByteArrayList sentBy(const std::function<void()>& action) {
        return peer->sentBy(irc(), action);
    }
    int frameWidth() { return p->mainFrame().Width(); }
    int frameHeight() { return p->mainFrame().Height(); }

    // Types `text` into the window's command line and presses Enter.
    static void enter(ConversationForm& window, const QString& text) {
        window.commandline->setText(text);
        QTest::keyClick(window.commandline, Qt::Key_Return);
    }

    static QString lastLine(const absRichEdit& console) {
        return console.Text().section(QStringLiteral("\r\n"), -1);
    }

    // The history, newest first.
    static QStringList history(const ConversationForm& window) {
        QStringList entries;
        for (int i = 0; i < window.List1->count(); ++i)
            entries << window.List1->item(i)->text();
        return entries;
    }

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<Program> p;
    std::unique_ptr<IrcScriptedPeer> peer;
};
