#include "connection/DccChatSockets.h"

#include "connection/DccAddress.h"
#include "connection/DccOfferPrompts.h"
#include "connection/EventSettings.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/mod_set.h"
#include "platform/irc/Ctcp.h"
#include "platform/text/DecodeText.h"
#include "platform/winsock/WinsockArray.h"
#include "windows/frm_dccChat.h"

#include <QTimer>

using events::setting;
using platform::Winsock;
using platform::WinsockArray;

DccChatSockets::DccChatSockets(Program& program, WinsockArray& sockets, QObject* parent)
    : QObject(parent), m_program(program), m_sockets(sockets) {
    connect(&sockets, &WinsockArray::ConnectionRequest, this,
            &DccChatSockets::DCC_ConnectionRequest);
    connect(&sockets, &WinsockArray::Connected, this, &DccChatSockets::DCC_Connect);
    connect(&sockets, &WinsockArray::DataArrival, this, &DccChatSockets::DCC_DataArrival);
    connect(&sockets, &WinsockArray::Closed, this, &DccChatSockets::DCC_Close);
    connect(&sockets, &WinsockArray::Error, this, &DccChatSockets::DCC_Error);
}

int DccChatSockets::listenFor(const QString& nick) {
    const int index = m_sockets.LoadNext();
    Winsock* socket = m_sockets[index];
    socket->setLocalPort(0);
    socket->Tag = nick;
    socket->setReadBufferSize(ReceiveBufferBytes);
    m_chats.insert(index, Chat());
    if (!socket->Listen()) {
        drop(index);
        return -1;
    }
    startTimer(index, m_listenTimeoutMs);
    return index;
}

void DccChatSockets::connectTo(const QString& nick, const QString& host, quint16 port) {
    const int index = m_sockets.LoadNext();
    Winsock* socket = m_sockets[index];
    socket->Tag = nick;
    socket->setReadBufferSize(ReceiveBufferBytes);
    m_chats.insert(index, Chat());
    ServerEcho(m_program, QStringLiteral("DCC Chat Acknowledgement sent to: ") + nick, QString(),
               0);
    startTimer(index, m_connectTimeoutMs);
    socket->Connect(host, port);
}

frm_dccChat* DccChatSockets::windowOf(int index) const {
    for (frm_dccChat* chat : DccChatWindows(m_program)) {
        if (chat->socketIndex() == index)
            return chat;
    }
    return nullptr;
}

void DccChatSockets::startTimer(int index, int ms) {
    stopTimer(index);
    auto* timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, [this, index] {
        Winsock* socket = m_sockets[index];
        if (socket == nullptr || !m_chats.contains(index))
            return;
        const bool connecting = socket->State() == Winsock::sckConnecting;
        ServerEcho(m_program,
                   QStringLiteral("Error: DCC chat with ") + socket->Tag +
                       (connecting ? QStringLiteral(": the connection was not made in time")
                                   : QStringLiteral(": nobody connected in time")),
                   QString(), 0);
        drop(index);
    });
    m_chats[index].timer = timer;
    timer->start(ms);
}

void DccChatSockets::stopTimer(int index) {
    const auto it = m_chats.find(index);
    if (it == m_chats.end() || !it->timer)
        return;
    it->timer->stop();
    it->timer->deleteLater();
    it->timer = nullptr;
}

void DccChatSockets::drop(int index) {
    stopTimer(index);
    m_chats.remove(index);
    m_sockets.Unload(index);
}

void DccChatSockets::DCC_ConnectionRequest(int index, qintptr requestID) {
    Winsock* socket = m_sockets[index];
    // Only a chat's own listener takes a peer, and only one: element 0 and
    // a chat already under way refuse.
    if (socket == nullptr || index == 0 || !m_chats.contains(index) ||
        socket->State() != Winsock::sckListening || windowOf(index) != nullptr)
        return;
    stopTimer(index);
    socket->Close();
    if (!socket->Accept(requestID) || m_program.closing) {
        drop(index);
        return;
    }
    openWindow(index);
}

void DccChatSockets::DCC_Connect(int index) {
    if (!m_chats.contains(index) || windowOf(index) != nullptr)
        return;
    stopTimer(index);
    if (m_program.closing) {
        drop(index);
        return;
    }
    openWindow(index);
}

void DccChatSockets::openWindow(int index) {
    Program& p = m_program;
    const QString nick = m_sockets[index]->Tag;
    auto* chat = new frm_dccChat(p, index);
    chat->setTag(nick);
    connect(chat, &QObject::destroyed, this, [this, index] {
        stopTimer(index);
        m_chats.remove(index);
    });
    chat->Show();
    chat->addPanel();
    chat->disp(QStringLiteral("DCC Connection Established"), false,
               setting(p, "WIN_QUERY_CONSOLE_FORECOLOR"));
    chat->setCaption(QStringLiteral("DCC Chat to: ") + nick);
    ApplyQueryLooks(p, *chat);
    // Bytes that came with the connection are shown as any others.
    if (m_sockets[index] && m_sockets[index]->BytesReceived() > 0)
        DCC_DataArrival(index, m_sockets[index]->BytesReceived());
}

void DccChatSockets::DCC_DataArrival(int index, qint64 bytesTotal) {
    Q_UNUSED(bytesTotal);
    Winsock* socket = m_sockets[index];
    const auto it = m_chats.find(index);
    if (socket == nullptr || it == m_chats.end())
        return;
    const QByteArray bytes = socket->GetData();
    QPointer<frm_dccChat> window = windowOf(index);
    if (!window)
        return;
    QByteArray lines;
    {
        Chat& chat = *it;
        chat.buffer.append(bytes);
    }
    // Lines are taken one by one: a window closed by one of them takes no
    // more.
    for (;;) {
        const auto found = m_chats.find(index);
        if (found == m_chats.end() || !window)
            return;
        Chat& chat = *found;
        qsizetype end = -1;
        for (qsizetype i = 0; i < chat.buffer.size(); ++i) {
            const char c = chat.buffer.at(i);
            if (c == '\r' || c == '\n') {
                end = i;
                break;
            }
        }
        if (end < 0) {
            if (chat.buffer.size() < ReceiveBufferBytes)
                return;
            // A line longer than the buffer: shown cut, its rest dropped.
            const QByteArray cut = chat.buffer.left(ReceiveBufferBytes);
            chat.buffer.clear();
            const bool wasDropping = std::exchange(chat.dropping, true);
            if (!wasDropping)
                showLine(*window, cut);
            continue;
        }
        const QByteArray line = chat.buffer.left(end);
        chat.buffer.remove(0, end + 1);
        const bool wasDropping = std::exchange(chat.dropping, false);
        if (!wasDropping && !line.isEmpty())
            showLine(*window, line);
    }
}

void DccChatSockets::showLine(frm_dccChat& window, const QByteArray& bytes) {
    Program& p = m_program;
    const QString line = platform::DecodeUtf8OrLatin1(bytes);
    const QString nick = window.Tag();
    const std::optional<platform::Ctcp::Message> frame = platform::Ctcp::unframe(line);
    if (frame && frame->command.compare(u"ACTION", Qt::CaseInsensitive) == 0) {
        window.disp(QStringLiteral("* ") + nick + u' ' + frame->params.trimmed(), false,
                    setting(p, "WIN_QUERY_ACTIONCOLOR"));
        return;
    }
    window.disp(u'<' + nick + QStringLiteral("> ") + line, false, setting(p, "WIN_QUERY_MSGCOLOR"));
}

void DccChatSockets::DCC_Close(int index) {
    Winsock* socket = m_sockets[index];
    if (socket == nullptr || !m_chats.contains(index))
        return;
    stopTimer(index);
    const QPointer<frm_dccChat> window = windowOf(index);
    socket->Close();
    m_chats[index].buffer.clear();
    if (!window) {
        // An offer that never became a chat leaves nothing.
        drop(index);
        return;
    }
    window->disp(QStringLiteral("DCC Connection Closed"), false,
                 setting(m_program, "WIN_QUERY_CONSOLE_FORECOLOR"));
    AskCloseChatWindow(m_program, window);
}

void DccChatSockets::DCC_Error(int index, int number, const QString& description) {
    Q_UNUSED(number);
    Winsock* socket = m_sockets[index];
    if (socket == nullptr || !m_chats.contains(index))
        return;
    if (windowOf(index) != nullptr) {
        // An error ends a chat as a close does.
        DCC_Close(index);
        return;
    }
    ServerEcho(m_program,
               QStringLiteral("Error: DCC chat with ") + socket->Tag + QStringLiteral(": ") +
                   description,
               QString(), 0);
    drop(index);
}
