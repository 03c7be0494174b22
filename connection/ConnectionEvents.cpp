#include "connection/ConnectionEvents.h"

#include "connection/EventSettings.h"
#include "connection/MainMenus.h"
#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/mod_kernel.h"
#include "core/mod_startup.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_server.h"

#include <algorithm>

using events::isOn;
using events::setting;
using platform::Yarv;

namespace {

void showConnection(Program& p, const QString& text) {
    p.mainFrame().StatusBar1->Panel(1)->setToolTipText(text);
    p.serverWindow().setCaption(text);
}

} // namespace

void ShowConnectedTo(Program& p, const QString& host) {
    showConnection(p, QStringLiteral("Connected to: ") + host + QStringLiteral(" as ") +
                          setting(p, "PROFILE_NICKNAME"));
}

ConnectionEvents::ConnectionEvents(Program& program, Yarv& irc, QObject* parent)
    : QObject(parent), m_program(program), m_irc(irc) {
    m_reconnect.setSingleShot(true);
    connect(&m_reconnect, &QTimer::timeout, this, &ConnectionEvents::reconnect);
    connect(&irc, &Yarv::SocketConnected, this, &ConnectionEvents::Yarv1_SocketConnected);
    connect(&irc, &Yarv::MotdReceived, this, &ConnectionEvents::Yarv1_MotdReceived);
    connect(&irc, &Yarv::Welcome, this, &ConnectionEvents::Yarv1_Welcome);
    connect(&irc, &Yarv::ServerPing, this, &ConnectionEvents::Yarv1_ServerPing);
    connect(&irc, &Yarv::ServerNotice, this, &ConnectionEvents::Yarv1_ServerNotice);
    connect(&irc, &Yarv::ServerError, this, &ConnectionEvents::Yarv1_ServerError);
    connect(&irc, &Yarv::SocketError, this, [this](qint16 number, const QString& description) {
        Yarv1_SocketError(number, description);
    });
    connect(&irc, &Yarv::Disconnected, this, &ConnectionEvents::Yarv1_Disconnected);
}

void ConnectionEvents::setConnectCaption(const QString& caption) {
    m_program.mainFrame().menus->mnuConnectCmd->setText(caption);
}

void ConnectionEvents::Yarv1_SocketConnected() {
    const Program& p = m_program;
    m_irc.Login(setting(p, "PROFILE_NICKNAME"), setting(p, "PROFILE_USERNAME"), QString(),
                setting(p, "PROFILE_REALNAME"));
}

void ConnectionEvents::Yarv1_MotdReceived(const QString& server, const QString& text) {
    Program& p = m_program;
    setConnectCaption(QStringLiteral("&Disconnect"));
    const QString url = setting(p, "SERVER_URL");
    ShowConnectedTo(p, url);
    const QString colour = setting(p, "WIN_SERVER_MOTDCOLOR");
    if (isOn(p, "SHOW_MOTD"))
        ServerEcho(p, QStringLiteral("Message of the day from ") + server, colour);
    if (isOn(p, "SHOW_MOTD"))
        ServerEcho(p, text, colour);

    // The server may have accepted another nick than the one asked for. An
    // end of the message of the day before the welcome names none yet.
    const QString current = m_irc.CurrentNick();
    if (!current.isEmpty() && current.toLower() != setting(p, "PROFILE_NICKNAME").toLower()) {
        p.settings.setValue(QStringLiteral("PROFILE_NICKNAME"), current);
        ServerEcho(p, QStringLiteral("You are now known as ") + current,
                   setting(p, "WIN_SERVER_NICKCOLOR"));
        ShowConnectedTo(p, url);
    }
}

void ConnectionEvents::Yarv1_Welcome(const QString& server, const QString& text) {
    Program& p = m_program;
    p.ServerConnected = true;
    UpdateTrayStatus(p);
    m_nextDelay = FirstReconnectDelayMs;
    ShowConnectedTo(p, server);
    if (isOn(p, "SHOW_WELCOME"))
        ServerEcho(p, server + QStringLiteral(" - ") + text,
                   setting(p, "WIN_SERVER_SERVERWELCOMECOLOR"));
    RunStartupScript(p);
}

void ConnectionEvents::Yarv1_ServerPing(const QString& server) {
    Program& p = m_program;
    if (isOn(p, "SHOW_SERVERPING"))
        ServerEcho(p, QStringLiteral("Server ping: ") + server,
                   setting(p, "WIN_SERVER_SERVERPINGCOLOR"));
    m_irc.Pong(server);
}

void ConnectionEvents::Yarv1_ServerNotice(const QString& text) {
    Program& p = m_program;
    if (isOn(p, "SHOW_SERVERNOTICE"))
        ServerEcho(p, text, setting(p, "WIN_SERVER_SERVERNOTICECOLOR"), 113);
}

void ConnectionEvents::Yarv1_ServerError(const QString& text) {
    Program& p = m_program;
    setConnectCaption(QStringLiteral("&Connect"));
    if (isOn(p, "SHOW_SERVERERROR"))
        ServerEcho(p, QStringLiteral("Server Error: ") + text, setting(p, "WIN_SERVER_ERRORCOLOR"));
    // Servers answer the user's own QUIT with an error too: that is no reason
    // to come back.
    if (!isOn(p, "USE_RECONNECT") || p.userEndedConnection)
        return;
    m_reconnect.start(m_nextDelay);
    m_nextDelay = std::min(m_nextDelay * 2, LongestReconnectDelayMs);
}

void ConnectionEvents::reconnect() {
    m_reconnect.stop();
    Program& p = m_program;
    if (p.userEndedConnection)
        return;
    ServerEcho(p, QStringLiteral("Attempting server reconnect"));
    ExecCommand(p, QStringLiteral("connect"));
}

void ConnectionEvents::Yarv1_SocketError(qint16 number, const QString& description) {
    Program& p = m_program;
    setConnectCaption(QStringLiteral("&Connect"));
    if (isOn(p, "SHOW_ERROR"))
        ServerEcho(p, QStringLiteral("Error %1: [%2] ").arg(QString::number(number), description),
                   setting(p, "WIN_SERVER_ERRORCOLOR"));
    frm_main& frame = p.mainFrame();
    frame.StatusBar1->Panel(1)->setPicture(frame.il.Picture(3));
    showConnection(p, QStringLiteral("Disconnected"));
    m_irc.CloseConnection();
}

void ConnectionEvents::Yarv1_Disconnected() {
    Program& p = m_program;
    p.ServerConnected = false;
    UpdateTrayStatus(p);
    setConnectCaption(QStringLiteral("&Connect"));
    // The user's own disconnect says so itself.
    if (!p.userClosing)
        ServerEcho(p, QStringLiteral("Disconnected!"));
}
