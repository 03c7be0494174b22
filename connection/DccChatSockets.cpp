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

#include <QElapsedTimer>
#include <QTimer>

#include <utility>

using events::setting;
using platform::Winsock;
using platform::WinsockArray;

DccChatSockets::DccChatSockets(Program& program, WinsockArray& sockets, QObject* parent)
    : QObject(parent), m_program(program), m_sockets(sockets), m_show(new QTimer(this)) {
    m_show->setSingleShot(true);
    m_show->setInterval(0);
    connect(m_show, &QTimer::timeout, this, &DccChatSockets::showWaiting);
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
        scheduleShow(index);
}

void DccChatSockets::DCC_DataArrival(int index, qint64 bytesTotal) {
    Q_UNUSED(bytesTotal);
    // Read in the chat's turn, once the lines it holds are shown.
    if (m_sockets[index] != nullptr && m_chats.contains(index) && windowOf(index) != nullptr)
        scheduleShow(index);
}

void DccChatSockets::scheduleShow(int index) {
    if (!m_waiting.contains(index))
        m_waiting.append(index);
    if (!m_show->isActive())
        m_show->start();
}

void DccChatSockets::showWaiting() {
    QElapsedTimer turn;
    turn.start();
    // Each chat shows a line at least; those with more go again next turn.
    const QList<int> round = std::exchange(m_waiting, {});
    for (const int index : round) {
        if (showLines(index, turn))
            scheduleShow(index);
    }
}

bool DccChatSockets::showLines(int index, const QElapsedTimer& turn) {
    const QPointer<frm_dccChat> window = windowOf(index);
    for (;;) {
        // A chat that has ended, or whose window a line closed, takes no more.
        const auto it = m_chats.find(index);
        Winsock* socket = m_sockets[index];
        if (!window || it == m_chats.end() || socket == nullptr ||
            !m_program.forms().contains(window.data()))
            return false;
        QByteArrayView line;
        if (!takeLine(*it, *socket, line)) {
            if (std::exchange(it->closed, false)) {
                it->buffer = QByteArray();
                it->shown = 0;
                announceClose(*window);
            }
            return false;
        }
        showLine(*window, line);
        if (turn.elapsed() >= m_showBudgetMs)
            return true;
    }
}

bool DccChatSockets::takeLine(Chat& chat, Winsock& socket, QByteArrayView& line) {
    for (;;) {
        const char* data = chat.buffer.constData();
        const qsizetype size = chat.buffer.size();
        qsizetype end = chat.shown;
        while (end < size && data[end] != '\r' && data[end] != '\n')
            ++end;
        if (end < size) {
            const QByteArrayView found(data + chat.shown, end - chat.shown);
            chat.shown = end + 1;
            if (!std::exchange(chat.dropping, false) && !found.isEmpty()) {
                line = found;
                return true;
            }
            continue;
        }
        if (size - chat.shown >= ReceiveBufferBytes) {
            // A line longer than the buffer: shown cut, its rest dropped.
            const QByteArrayView cut(data + chat.shown, ReceiveBufferBytes);
            chat.shown = size;
            if (!std::exchange(chat.dropping, true)) {
                line = cut;
                return true;
            }
            continue;
        }
        // Only the start of a line is left: the socket is read now, and
        // what has been shown goes.
        const QByteArray more = socket.GetData();
        if (more.isEmpty())
            return false;
        chat.buffer.remove(0, chat.shown);
        chat.shown = 0;
        chat.buffer.append(more);
    }
}

void DccChatSockets::showLine(frm_dccChat& window, QByteArrayView bytes) {
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
    if (windowOf(index) == nullptr) {
        // An offer that never became a chat leaves nothing.
        drop(index);
        return;
    }
    // What the peer sent before it went is shown first, then the close.
    Chat& chat = m_chats[index];
    chat.buffer.remove(0, chat.shown);
    chat.shown = 0;
    chat.buffer.append(socket->GetData());
    socket->Close();
    chat.closed = true;
    scheduleShow(index);
}

void DccChatSockets::announceClose(frm_dccChat& window) {
    window.disp(QStringLiteral("DCC Connection Closed"), false,
                setting(m_program, "WIN_QUERY_CONSOLE_FORECOLOR"));
    AskCloseChatWindow(m_program, &window);
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
