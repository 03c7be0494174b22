#include "platform/irc/Yarv.h"

#include "platform/irc/Ctcp.h"
#include "platform/irc/IrcLineEncoder.h"
#include "platform/irc/IrcMask.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QMetaEnum>
#include <QPointer>
#include <QTcpSocket>

#include <algorithm>
#include <exception>

namespace platform {

namespace {

// Bytes the socket reads ahead of the parser; the kernel holds the rest.
constexpr qint64 ReadBufferBytes = 64 * 1024;
// How long a closing socket may take to hand its last lines to the server.
constexpr int CloseGraceMs = 5000;
// Bytes of unraised lines held before reading stops until they are raised.
constexpr qsizetype HeldLineBytes = 1024 * 1024;
// How long one event-loop turn may raise lines before the rest waits for the
// next turn, so that a flood leaves the program responsive.
constexpr qint64 DispatchBudgetMs = 20;

// The error numbers of the classic socket API, which the frame shows.
qint16 errorNumber(QAbstractSocket::SocketError error) {
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return 10061;
    case QAbstractSocket::RemoteHostClosedError:
        return 10054;
    case QAbstractSocket::HostNotFoundError:
        return 11001;
    case QAbstractSocket::SocketAccessError:
        return 10013;
    case QAbstractSocket::SocketResourceError:
        return 10055;
    case QAbstractSocket::SocketTimeoutError:
        return 10060;
    case QAbstractSocket::NetworkError:
        return 10050;
    case QAbstractSocket::AddressInUseError:
        return 10048;
    case QAbstractSocket::SocketAddressNotAvailableError:
        return 10049;
    case QAbstractSocket::UnsupportedSocketOperationError:
        return 10045;
    default:
        return 10053;
    }
}

// PONG and QUIT jump the queue: a late PONG costs the connection, and a QUIT
// should not wait behind lines that no longer matter.
enum class LineKind { Pong, Quit, Other };

LineKind kindOf(const QByteArray& line) {
    qsizetype end = line.indexOf(' ');
    if (end < 0)
        end = line.size() - 2; // without the CR LF
    const QByteArrayView command(line.constData(), end);
    if (command.compare("PONG", Qt::CaseInsensitive) == 0)
        return LineKind::Pong;
    if (command.compare("QUIT", Qt::CaseInsensitive) == 0)
        return LineKind::Quit;
    return LineKind::Other;
}

// Events are raised from the socket's signals, so whatever a handler throws
// stops where the event was raised, with a warning: it must not unwind
// through the socket into the event loop, and the next line must still be
// read. Called inside a catch block.
void handlerFailed(const char* event) {
    try {
        throw;
    } catch (const std::exception& e) {
        qWarning("Yarv: a handler of %s failed: %s", event, e.what());
    } catch (...) {
        qWarning("Yarv: a handler of %s failed", event);
    }
}

template <typename Raise> void guarded(const char* event, Raise&& raiseEvent) {
    try {
        raiseEvent();
    } catch (...) {
        handlerFailed(event);
    }
}

} // namespace

Yarv::Yarv(QObject* parent) : QObject(parent) {
    m_refill.setInterval(FloodIntervalMs);
    connect(&m_refill, &QTimer::timeout, this, &Yarv::refill);
    m_dispatch.setSingleShot(true);
    m_dispatch.setInterval(0);
    connect(&m_dispatch, &QTimer::timeout, this, &Yarv::dispatchLines);
}

Yarv::~Yarv() {
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
    }
}

void Yarv::OpenConnection(const QString& server, int port) {
    CloseConnection();
    if (m_state != State::Idle)
        dropSocket(false); // a handler of Disconnected started another attempt
    m_mapper.reset();
    m_lines.clear();
    ++m_generation;
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(ReadBufferBytes);
    connect(m_socket, &QTcpSocket::connected, this, &Yarv::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &Yarv::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &Yarv::onSocketError);
    connect(m_socket, &QTcpSocket::disconnected, this, &Yarv::onClosedByPeer);
    m_state = State::Connecting;
    if (port < 1 || port > 65535) {
        // Reported like any failed connect: later, from the event loop.
        const quint64 generation = m_generation;
        QTimer::singleShot(0, this, [this, generation] {
            if (generation == m_generation && m_state == State::Connecting)
                failConnect(errorNumber(QAbstractSocket::SocketAddressNotAvailableError),
                            QStringLiteral("The port is not valid"));
        });
        return;
    }
    m_socket->connectToHost(server, static_cast<quint16>(port));
}

void Yarv::Login(const QString& nick, const QString& userName, const QString& reserved,
                 const QString& fullName) {
    Q_UNUSED(reserved)
    const QString n = IrcLineEncoder::word(nick);
    QString user = IrcLineEncoder::word(userName);
    if (user.isEmpty())
        user = n;
    QString real = IrcLineEncoder::clean(fullName);
    if (real.isEmpty())
        real = n;
    SendCommand(QStringLiteral("NICK ") + n);
    SendCommand(QStringLiteral("USER ") + user + QStringLiteral(" 0 * :") + real);
}

bool Yarv::SendCommand(const QString& line) {
    return queueLine(IrcLineEncoder::encode(line));
}

void Yarv::SendRaw(const QString& text) {
    queueLine(IrcLineEncoder::encode(IrcLineEncoder::rawLine(text)));
}

void Yarv::SendPrivmsg(const QString& target, const QString& text) {
    SendCommand(QStringLiteral("PRIVMSG ") + IrcLineEncoder::word(target) + QStringLiteral(" :") +
                text);
}

void Yarv::SendCTCP(const QString& target, const QString& command, const QString& params) {
    SendCommand(QStringLiteral("PRIVMSG ") + IrcLineEncoder::word(target) + QStringLiteral(" :") +
                Ctcp::frame(command, params));
}

void Yarv::SendCTCPReply(const QString& target, const QString& command, const QString& params) {
    SendCommand(QStringLiteral("NOTICE ") + IrcLineEncoder::word(target) + QStringLiteral(" :") +
                Ctcp::frame(command, params));
}

void Yarv::Pong(const QString& server) {
    SendCommand(QStringLiteral("PONG :") + server);
}

void Yarv::CloseConnection() {
    if (m_state == State::Idle)
        return;
    const bool wasOpen = m_state == State::Connected;
    if (wasOpen && !m_closing) {
        // A QUIT or PONG just asked for still reaches the server.
        while (!m_urgent.isEmpty())
            m_socket->write(m_urgent.dequeue());
    }
    dropSocket(true);
    if (wasOpen)
        guarded("Disconnected", [this] { emit Disconnected(); });
}

bool Yarv::isClosing() const {
    const QList<QTcpSocket*> sockets = findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly);
    return std::any_of(sockets.cbegin(), sockets.cend(), [this](const QTcpSocket* socket) {
        return socket != m_socket && socket->state() == QAbstractSocket::ClosingState;
    });
}

QString Yarv::NickFromMask(const QString& mask) {
    return IrcMask::nickOf(mask);
}

QString Yarv::CurrentNick() const {
    return m_mapper.currentNick();
}

bool Yarv::IsConnected() const {
    return m_state == State::Connected;
}

bool Yarv::isConnecting() const {
    return m_state == State::Connecting;
}

QString Yarv::LocalAddress() const {
    if (m_state != State::Connected)
        return {};
    const QHostAddress address = m_socket->localAddress();
    bool isV4 = false;
    const quint32 v4 = address.toIPv4Address(&isV4);
    return isV4 ? QHostAddress(v4).toString() : address.toString();
}

void Yarv::setFloodControl(bool on) {
    m_floodControl = on;
    if (!on)
        m_refill.stop();
    flushQueue();
}

void Yarv::onConnected() {
    m_state = State::Connected;
    m_credits = FloodBurst;
    guarded("SocketConnected", [this] { emit SocketConnected(); });
}

void Yarv::onReadyRead() {
    if (m_state == State::Connected && !m_closing && readAvailable(false))
        scheduleDispatch();
}

bool Yarv::readAvailable(bool all) {
    bool read = false;
    while (m_socket && m_socket->bytesAvailable() > 0 &&
           (all || m_lines.bufferedBytes() < HeldLineBytes)) {
        m_readChunk.resize(ReadBufferBytes);
        const qint64 n = m_socket->read(m_readChunk.data(), ReadBufferBytes);
        if (n <= 0)
            break;
        m_lines.append(QByteArrayView(m_readChunk.constData(), n));
        read = true;
    }
    return read;
}

void Yarv::scheduleDispatch() {
    if (!m_dispatch.isActive())
        m_dispatch.start();
}

void Yarv::dispatchLines() {
    QPointer<Yarv> self(this);
    const quint64 generation = m_generation;
    QElapsedTimer turn;
    turn.start();
    QByteArrayView bytes;
    while (m_state == State::Connected) {
        if (!m_lines.takeLine(bytes)) {
            // Reading stops while many lines wait; go on with what the socket kept.
            if (!m_closing && readAvailable(false))
                continue;
            break;
        }
        // Armed while a handler runs: one that waits in a nested event loop
        // (a modal box) has the next lines raised from there meanwhile.
        scheduleDispatch();
        // Decoded first: a handler may read more into the buffer under the view.
        processLine(IrcMessage::decode(bytes));
        // A handler may have closed or replaced the connection, or deleted us.
        if (!self || generation != m_generation)
            return;
        if (turn.hasExpired(DispatchBudgetMs)) {
            scheduleDispatch(); // the rest from the next turn
            return;
        }
    }
    m_dispatch.stop();
    if (m_state == State::Connected && m_closing)
        finishClose();
}

void Yarv::finishClose() {
    const PendingClose reason = *m_closing;
    if (reason.error) {
        QPointer<Yarv> self(this);
        const quint64 generation = m_generation;
        guarded("SocketError", [&] {
            emit SocketError(reason.number, reason.description, reason.number,
                             QStringLiteral("Yarv"), QString(), 0, false);
        });
        if (!self || generation != m_generation)
            return; // the handler closed the connection (and raised Disconnected)
    }
    dropSocket(false);
    guarded("Disconnected", [this] { emit Disconnected(); });
}

void Yarv::onSocketError(QAbstractSocket::SocketError error) {
    if (!m_socket)
        return;
    if (m_state == State::Connecting) {
        failConnect(errorNumber(error), m_socket->errorString());
        return;
    }
    if (error == QAbstractSocket::RemoteHostClosedError) {
        onClosedByPeer();
        return;
    }
    if (m_state != State::Connected || m_closing)
        return;
    // What arrived before the failure is raised first.
    readAvailable(true);
    m_closing = PendingClose{true, errorNumber(error), m_socket->errorString()};
    scheduleDispatch();
}

void Yarv::onClosedByPeer() {
    if (m_state != State::Connected) {
        if (m_state == State::Connecting)
            failConnect(errorNumber(QAbstractSocket::RemoteHostClosedError),
                        m_socket->errorString());
        return;
    }
    if (m_closing)
        return;
    // What the server sent before it closed (its ERROR) comes first.
    readAvailable(true);
    m_closing = PendingClose{};
    scheduleDispatch();
}

void Yarv::failConnect(qint16 number, const QString& description) {
    dropSocket(false);
    guarded("SocketError", [&] {
        emit SocketError(number, description, number, QStringLiteral("Yarv"), QString(), 0, false);
    });
}

void Yarv::processLine(const QString& line) {
    const std::optional<IrcMessage> msg = IrcMessage::parse(line);
    if (!msg)
        return;
    if (const std::optional<IrcEvent> event = m_mapper.map(*msg))
        raise(*event);
}

void Yarv::raise(const IrcEvent& e) {
    if (!e.isComplete())
        return;
    try {
        emitEvent(e);
    } catch (...) {
        const char* name = QMetaEnum::fromType<IrcEvent::Kind>().valueToKey(int(e.kind));
        handlerFailed(name ? name : "an event");
    }
}

void Yarv::emitEvent(const IrcEvent& e) {
    const QStringList& a = e.args;
    using Kind = IrcEvent::Kind;
    switch (e.kind) {
    case Kind::Welcome:
        emit Welcome(a[0], a[1]);
        break;
    case Kind::MotdReceived:
        emit MotdReceived(a[0], a[1]);
        break;
    case Kind::NamesReply:
        emit NamesReply(a[0], a[1]);
        break;
    case Kind::IsonReply:
        emit IsonReply(a[0], a[1]);
        break;
    case Kind::ServerReply:
        emit ServerReply(a[0], a[1], a[2], e.params, a[3]);
        break;
    case Kind::WhoReply:
        emit WhoReply(a[0], a[1], a[2], a[3], a[4], a[5]);
        break;
    case Kind::ServerNotice:
        emit ServerNotice(a[0]);
        break;
    case Kind::ServerError:
        emit ServerError(a[0]);
        break;
    case Kind::ServerPing:
        emit ServerPing(a[0]);
        break;
    case Kind::CtcpRequest:
        emit CtcpRequest(a[0], a[1], a[2], a[3]);
        break;
    case Kind::CtcpReply:
        emit CtcpReply(a[0], a[1], a[2], a[3]);
        break;
    case Kind::NickChanged:
        emit NickChanged(a[0], a[1]);
        break;
    case Kind::UserJoined:
        emit UserJoined(a[0], a[1]);
        break;
    case Kind::UserParted:
        emit UserParted(a[0], a[1]);
        break;
    case Kind::UserKicked:
        emit UserKicked(a[0], a[1], a[2], a[3]);
        break;
    case Kind::UserQuit:
        emit UserQuit(a[0], a[1]);
        break;
    case Kind::ModeChanged:
        emit ModeChanged(a[0], a[1], a[2]);
        break;
    case Kind::NoticeReceived:
        emit NoticeReceived(a[0], a[1], a[2]);
        break;
    case Kind::ChannelMessage:
        emit ChannelMessage(a[0], a[1], a[2]);
        break;
    case Kind::PrivateMessage:
        emit PrivateMessage(a[0], a[1]);
        break;
    case Kind::TopicChanged:
        emit TopicChanged(a[0], a[1], a[2]);
        break;
    case Kind::ChannelModeReply:
        emit ChannelModeReply(a[0], a[1]);
        break;
    case Kind::UserModeReply:
        emit UserModeReply(a[0]);
        break;
    case Kind::TopicReply:
        emit TopicReply(a[0], a[1]);
        break;
    case Kind::TopicSetByReply:
        emit TopicSetByReply(a[0], a[1], a[2]);
        break;
    }
}

void Yarv::dropSocket(bool graceful) {
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    m_state = State::Idle;
    ++m_generation;
    m_urgent.clear();
    m_queue.clear();
    m_queuedBytes = 0;
    m_refill.stop();
    m_lines.clear();
    m_dispatch.stop();
    m_closing.reset();
    if (!socket)
        return;
    socket->disconnect(this);
    if (graceful && socket->state() == QAbstractSocket::ConnectedState) {
        connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
        socket->disconnectFromHost();
        if (socket->state() == QAbstractSocket::UnconnectedState) {
            socket->deleteLater();
        } else {
            QTimer::singleShot(CloseGraceMs, socket, [socket] {
                socket->abort();
                socket->deleteLater();
            });
        }
        return;
    }
    socket->abort();
    socket->deleteLater();
}

bool Yarv::queueLine(const QByteArray& line) {
    // Nothing more is sent on a link the server has closed.
    if (line.isEmpty() || m_state != State::Connected || m_closing)
        return false;
    switch (kindOf(line)) {
    case LineKind::Pong: {
        // Only the answer to the latest PING matters.
        const auto waiting =
            std::find_if(m_urgent.begin(), m_urgent.end(),
                         [](const QByteArray& l) { return kindOf(l) == LineKind::Pong; });
        if (waiting != m_urgent.end())
            *waiting = line;
        else
            m_urgent.enqueue(line);
        break;
    }
    case LineKind::Quit:
        m_urgent.enqueue(line);
        break;
    case LineKind::Other:
        if (m_queue.size() >= MaxQueuedLines || m_queuedBytes + line.size() > MaxQueuedBytes) {
            refuse();
            return false;
        }
        m_queue.enqueue(line);
        m_queuedBytes += line.size();
        break;
    }
    flushQueue();
    return true;
}

void Yarv::refuse() {
    // A handler that sends again while the queue is still full is not told
    // again from inside itself.
    if (m_refusing)
        return;
    QPointer<Yarv> self(this);
    m_refusing = true;
    guarded("lineRefused", [this] { emit lineRefused(); });
    if (self)
        m_refusing = false;
}

void Yarv::flushQueue() {
    while (m_state == State::Connected && (!m_urgent.isEmpty() || !m_queue.isEmpty())) {
        if (m_floodControl) {
            // The refill runs whenever credits were spent, also when flood
            // control comes back on after it was off.
            if (!m_refill.isActive())
                m_refill.start();
            if (m_credits <= 0)
                return;
            --m_credits;
        }
        if (!m_urgent.isEmpty()) {
            m_socket->write(m_urgent.dequeue());
        } else {
            m_queuedBytes -= m_queue.head().size();
            m_socket->write(m_queue.dequeue());
        }
    }
}

void Yarv::refill() {
    if (m_credits < FloodBurst)
        ++m_credits;
    flushQueue();
    if (m_credits >= FloodBurst && m_urgent.isEmpty() && m_queue.isEmpty())
        m_refill.stop();
}

} // namespace platform
