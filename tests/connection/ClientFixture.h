#pragma once
// A client as the program runs it, for the tests of the frame's event
// handlers: a fresh program in a temporary folder with its server window
// shown, a complete profile for a given server, every event shown, and the
// server window's lines read back.

#include "connection/MainMenus.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_connect.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/TempProgramFolder.h"
#include "windows/frm_chan.h"
#include "windows/frm_server.h"

#include <QAction>
#include <QSignalSpy>
#include <QStringList>
#include <QtTest>

#include <memory>

struct ClientFixture {
    ClientFixture(const QString& host, quint16 port, const QString& nick) {
        p = std::make_unique<Program>(folder.path());
        p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
        p->serverWindow().Show();
        irc().setFloodControl(false);
        const struct {
            const char* key;
            QString value;
        } profile[] = {
            {"SERVER_URL", host},
            {"SERVER_PORT", QString::number(port)},
            {"PROFILE_NICKNAME", nick},
            {"PROFILE_ALTERNATE", nick + u'_'},
            {"PROFILE_USERNAME", QStringLiteral("parlone")},
            {"PROFILE_EMAIL", QStringLiteral("me@example.org")},
            {"PROFILE_REALNAME", QStringLiteral("Parlone User")},
        };
        for (const auto& [key, value] : profile)
            set(key, value);
        for (const char* key : {"SHOW_MOTD", "SHOW_WELCOME", "SHOW_SERVERPING", "SHOW_SERVERNOTICE",
                                "SHOW_SERVERERROR", "SHOW_ERROR", "SHOW_IRCMESSAGES", "SHOW_JOIN",
                                "SHOW_PART", "SHOW_KICK", "SHOW_QUIT", "SHOW_QUITACTIVE",
                                "SHOW_NICK", "SHOW_CHANNELMODE", "SHOW_NAMES"})
            set(key, QStringLiteral("1"));
    }

    void set(const char* key, const QString& value) {
        p->settings.setValue(QLatin1String(key), value);
    }
    QString setting(const char* key) const { return p->settings.value(QLatin1String(key)); }

    platform::Yarv& irc() { return *p->mainFrame().Yarv1; }
    // The server window's lines, the first (empty) one left out.
    QStringList serverLines() {
        return p->serverWindow().console->Text().split(QStringLiteral("\r\n")).mid(1);
    }
    // The server window's lines from the mark on.
    QStringList newServerLines() { return serverLines().mid(m_mark); }
    void markServerLines() { m_mark = serverLines().size(); }
    QString serverCaption() { return p->serverWindow().Caption(); }
    QString connectItem() { return p->mainFrame().menus->mnuConnectCmd->text(); }
    // Whether switchbar panel `index` shows picture `picture` of the frame's list.
    bool panelShows(int index, int picture) {
        const frm_main& frame = p->mainFrame();
        return frame.StatusBar1->Panel(index)->Picture().cacheKey() ==
               frame.il.Picture(picture).cacheKey();
    }
    QString panelTip() { return p->mainFrame().StatusBar1->Panel(1)->ToolTipText(); }

    // The open channel window of the tag; nullptr when none is open.
    frm_chan* channel(const QString& tag) {
        const int index = FindForm(*p, tag);
        return index < 0 ? nullptr : qobject_cast<frm_chan*>(p->forms().at(index));
    }
    // The lines of a channel window, the first (empty) one left out.
    QStringList channelLines(const QString& tag) {
        const frm_chan* chan = channel(tag);
        return chan ? chan->console->Text().split(QStringLiteral("\r\n")).mid(1) : QStringList();
    }
    int channelWindowCount() {
        int count = 0;
        for (const Form* form : p->forms())
            count += form->Tag().startsWith(u'#') ? 1 : 0;
        return count;
    }
    // The switchbar panels' texts, panel 1 first.
    QStringList panels() {
        QStringList texts;
        const platform::SwitchBar& bar = *p->mainFrame().StatusBar1;
        for (int i = 1; i <= bar.Count(); ++i)
            texts.append(bar.Panel(i)->Text());
        return texts;
    }

    // Connects through the program's own connect and waits for the socket.
    bool connect() {
        QSignalSpy opened(&irc(), &platform::Yarv::SocketConnected);
        ConnectServer(*p);
        return opened.wait(5000);
    }

    // Sends server lines from the scripted peer and waits until the client
    // has handled them all: a PING goes last, and its PONG comes back only
    // then. SHOW_SERVERPING "0" keeps these pings out of the server window.
    void serverSays(IrcScriptedPeer& peer, const QByteArrayList& lines) {
        const QByteArray token = "sync" + QByteArray::number(++m_syncs);
        for (const QByteArray& line : lines)
            peer.sendLine(line);
        peer.sendLine("PING :" + token);
        QTRY_VERIFY_WITH_TIMEOUT(peer.lines().contains("PONG :" + token), 5000);
    }

    TempProgramFolder folder;
    std::unique_ptr<Program> p;

private:
    qsizetype m_mark = 0;
    int m_syncs = 0;
};
