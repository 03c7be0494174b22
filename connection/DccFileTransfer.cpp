#include "connection/DccFileTransfer.h"

#include "connection/DccAddress.h"
#include "connection/DccOfferPrompts.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/SafeFileName.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "platform/irc/Yarv.h"
#include "platform/window/SwitchBar.h"
#include "platform/winsock/WinsockArray.h"
#include "windows/frm_dccget.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

#include <algorithm>

using platform::Winsock;

namespace {

void error(Program& p, const QString& text) {
    ServerEcho(p, QStringLiteral("Error: ") + text, QString(), 0);
}

bool writeAll(QFile& file, const QByteArray& bytes) {
    return file.write(bytes) == bytes.size();
}

// A running single-shot timer: `expired` runs unless it is started again
// within `ms`.
std::unique_ptr<QTimer> idleTimer(QObject* context, int ms, const std::function<void()>& expired) {
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    QObject::connect(timer.get(), &QTimer::timeout, context, expired);
    timer->start(ms);
    return timer;
}

// The integer part of received / size × 100 (size above 0), exact for every
// size an offer can give (18 digits), where received × 100 would not fit
// 64 bits: two decimal digits of a long division.
int percentOf(qint64 received, qint64 size) {
    if (received >= size)
        return 100;
    const auto whole = static_cast<quint64>(size);
    const quint64 tenths = static_cast<quint64>(qMax<qint64>(received, 0)) * 10;
    const quint64 hundredths = tenths % whole * 10;
    return static_cast<int>(tenths / whole * 10 + hundredths / whole);
}

const QString kComplete = QStringLiteral("Complete");
const QString kIncomplete = QStringLiteral("Incomplete transfer, please retry");

} // namespace

DccFileTransfer::DccFileTransfer(Program& program, platform::WinsockArray& dccfile,
                                 platform::WinsockArray& dccsend, QObject* parent)
    : QObject(parent), writeBlock(&writeAll), m_program(program), m_dccfile(dccfile),
      m_dccsend(dccsend) {
    using platform::WinsockArray;
    connect(&m_dccfile, &WinsockArray::Connected, this, &DccFileTransfer::dccfile_Connect);
    connect(&m_dccfile, &WinsockArray::DataArrival, this,
            [this](int index, qint64) { dccfile_DataArrival(index); });
    connect(&m_dccfile, &WinsockArray::SendComplete, this, &DccFileTransfer::dccfile_SendComplete);
    connect(&m_dccfile, &WinsockArray::Closed, this, &DccFileTransfer::dccfile_Close);
    connect(&m_dccfile, &WinsockArray::Error, this,
            [this](int index, int, const QString&) { dccfile_Close(index); });
    connect(&m_dccsend, &WinsockArray::ConnectionRequest, this,
            &DccFileTransfer::dccsend_ConnectionRequest);
    connect(&m_dccsend, &WinsockArray::DataArrival, this,
            [this](int index, qint64) { dccsend_DataArrival(index); });
    connect(&m_dccsend, &WinsockArray::SendProgress, this,
            [this](int index, qint64, qint64) { dccsend_SendProgress(index); });
    connect(&m_dccsend, &WinsockArray::Closed, this, &DccFileTransfer::dccsend_Close);
    connect(&m_dccsend, &WinsockArray::Error, this,
            [this](int index, int, const QString&) { dccsend_Close(index); });
}

// A transfer still running when the frame goes closes its file; a partial
// file stays.
DccFileTransfer::~DccFileTransfer() = default;

frm_dccget* DccFileTransfer::receiveDialog(const QString& path) const {
    for (const auto& [index, receive] : m_receives) {
        if (receive.path == path)
            return receive.dialog;
    }
    return nullptr;
}

// ---------------------------------------------------------------- receive

void DccFileTransfer::ReceiveSetUp(const DccOffer& offer, const QString& senderMask,
                                   const QString& path) {
    Program& p = m_program;
    if (p.closing || !p.hasMainFrame())
        return;
    const QString target = QFileInfo(ProgramFolderPath(p.folder(), path)).absoluteFilePath();
    for (const auto& [index, receive] : m_receives) {
        if (receive.path == target) {
            error(p, QStringLiteral("DCC get of ") + target +
                         QStringLiteral(": another transfer writes that file"));
            return;
        }
    }
    const QString host = LongIP2Dotted(QString::number(offer.address));
    if (host == u"0.0.0.0") {
        error(p, QStringLiteral("DCC get of ") + target +
                     QStringLiteral(": no address to connect to"));
        return;
    }
    emit receiveSetUp(offer, senderMask, path);

    const int index = m_dccfile.LoadNext();
    Winsock* socket = m_dccfile[index];
    socket->setLocalPort(0);
    socket->Tag = target;

    Receive& receive = m_receives[index];
    receive.path = target;
    receive.senderMask = senderMask;
    receive.nick = platform::Yarv::NickFromMask(senderMask);
    receive.size = offer.size;
    receive.received = std::exchange(m_nextReceiveStart, 0);
    // A sender that never sends, or never lets the connection complete,
    // does not keep the file open.
    receive.idle = idleTimer(this, m_idleTimeoutMs, [this, index] { endReceive(index); });

    auto* dialog = new frm_dccget(p);
    receive.dialog = dialog;
    dialog->TMP->setText(QString::number(offer.size));
    showPath(receive);
    dialog->Show();
    frm_main& frame = p.mainFrame();
    dialog->setOwnPanel(frame.StatusBar1->Panel(frame.AddPanel(dialog->Tag(), 6)));
    const QPointer<Winsock> element(socket);
    connect(dialog, &frm_dccget::closeRequested, this, [this, element] {
        const int at = element ? m_dccfile.indexOf(element.data()) : -1;
        if (at >= 0 && m_receives.count(at) != 0)
            endReceive(at);
    });

    socket->Connect(host, offer.port);
}

void DccFileTransfer::showPath(Receive& receive) {
    if (!receive.dialog)
        return;
    frm_dccget& dialog = *receive.dialog;
    dialog.lbl_file->setText(QStringLiteral("Saving file ") + receive.path);
    dialog.setCaption(receive.path);
    dialog.setTag(receive.path + QStringLiteral(" from ") + receive.senderMask);
    if (platform::SwitchBarPanel* panel = dialog.ownPanel())
        panel->setText(dialog.Tag());
}

bool DccFileTransfer::createFile(Receive& receive) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        auto file = std::make_unique<QFile>(receive.path);
        if (file->open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
            receive.file = std::move(file);
            return true;
        }
        if (attempt > 0 || !QFileInfo::exists(receive.path)) {
            error(m_program, QStringLiteral("DCC get of ") + receive.path +
                                 QStringLiteral(": cannot create the file: ") +
                                 file->errorString());
            return false;
        }
        // A file of that name appeared since the user chose it: never
        // written over, a new name instead.
        const QFileInfo info(receive.path);
        const QString folder = info.absolutePath();
        const QString renamed =
            SafeFileName(folder, info.fileName(), ReceivedFileReserved(m_program.folder(), folder),
                         IfExists::NewName);
        if (renamed.isEmpty())
            return false;
        receive.path = renamed;
        showPath(receive);
    }
    return false;
}

void DccFileTransfer::dccfile_Connect(int index) {
    const auto it = m_receives.find(index);
    if (it == m_receives.end())
        return;
    Receive& receive = it->second;
    if (!createFile(receive)) {
        endReceive(index);
        return;
    }
    m_dccfile[index]->Tag = receive.path;
}

void DccFileTransfer::dccfile_DataArrival(int index) {
    Winsock* socket = m_dccfile[index];
    const auto it = m_receives.find(index);
    if (socket == nullptr || it == m_receives.end())
        return;
    Receive& receive = it->second;
    QByteArray bytes = socket->GetData();
    receive.idle->start(m_idleTimeoutMs);
    if (receive.ending || !receive.file)
        return;
    // Bytes beyond the offered size are not the file's.
    const qint64 room = receive.size - receive.received;
    if (bytes.size() > room)
        bytes.truncate(static_cast<qsizetype>(qMax<qint64>(room, 0)));
    if (!bytes.isEmpty() && !writeBlock(*receive.file, bytes)) {
        error(m_program, QStringLiteral("DCC get of ") + receive.path +
                             QStringLiteral(": cannot write the file: ") +
                             receive.file->errorString());
        endReceive(index);
        return;
    }
    receive.received += bytes.size();
    socket->SendData(DccFileAck(receive.received));

    if (receive.size > 0) {
        // A slow sender's many small arrivals would otherwise redraw the
        // dialog for each one; the last is always shown, for the dialog
        // reads its text.
        const QDateTime now = m_program.clock.now();
        const bool whole = receive.received >= receive.size;
        // A clock set back counts as the interval gone by.
        if (whole || !receive.shown.isValid() || now < receive.shown ||
            receive.shown.msecsTo(now) >= ProgressIntervalMs) {
            receive.shown = now;
            showProgress(receive);
        }
        if (whole) {
            receive.ending = true;
            if (socket->bytesToWrite() == 0)
                endReceive(index);
        }
    }
}

void DccFileTransfer::showProgress(Receive& receive) {
    if (!receive.dialog)
        return;
    const int percent = percentOf(receive.received, receive.size);
    receive.dialog->ProgressBar1->setValue(percent);
    receive.dialog->setProgressText(QString::number(receive.received) + QStringLiteral(" of ") +
                                    QString::number(receive.size));
    if (platform::SwitchBarPanel* panel = receive.dialog->ownPanel())
        panel->setToolTipText(QStringLiteral("Get from ") + receive.nick + u' ' +
                              QString::number(percent) + QStringLiteral("% complete"));
}

void DccFileTransfer::dccfile_SendComplete(int index) {
    const auto it = m_receives.find(index);
    if (it != m_receives.end() && it->second.ending)
        endReceive(index);
}

void DccFileTransfer::dccfile_Close(int index) {
    if (m_receives.count(index) != 0)
        endReceive(index);
}

void DccFileTransfer::endReceive(int index) {
    const auto it = m_receives.find(index);
    if (it == m_receives.end())
        return;
    Receive receive = std::move(it->second);
    m_receives.erase(it);
    if (receive.file)
        receive.file->close();
    m_dccfile.Unload(index);
    const bool complete = receive.file && receive.received == receive.size;
    if (receive.dialog)
        receive.dialog->setProgressText(complete ? kComplete : kIncomplete);
    emit receiveEnded(receive.path, complete);
}

// ---------------------------------------------------------------- send

int DccFileTransfer::offerFile(const QString& path) {
    const int index = m_dccsend.LoadNext();
    Winsock* socket = m_dccsend[index];
    socket->setLocalPort(0);
    socket->Tag = path;
    QString failure;
    const QMetaObject::Connection onError =
        connect(socket, &Winsock::Error, this,
                [&failure](int, const QString& description) { failure = description; });
    const bool listening = socket->Listen();
    disconnect(onError);
    if (!listening) {
        ServerEcho(m_program,
                   QStringLiteral("Error: DCC send of ") + path + QStringLiteral(": ") + failure,
                   QString(), 0);
        m_dccsend.Unload(index);
        return -1;
    }
    // An offer nobody takes up is withdrawn.
    const QPointer<Winsock> offered(socket);
    QTimer::singleShot(m_listenTimeoutMs, this, [this, index, offered] {
        if (offered && m_dccsend[index] == offered.data() &&
            offered->State() == Winsock::sckListening)
            m_dccsend.Unload(index);
    });
    return index;
}

void DccFileTransfer::dccsend_ConnectionRequest(int index, qintptr requestID) {
    Winsock* socket = m_dccsend[index];
    if (socket == nullptr || socket->State() != Winsock::sckListening || m_sends.count(index) != 0)
        return;
    auto file = std::make_unique<QFile>(socket->Tag);
    if (!file->open(QIODevice::ReadOnly)) {
        error(m_program, QStringLiteral("DCC send of ") + socket->Tag +
                             QStringLiteral(": cannot read the file: ") + file->errorString());
        m_dccsend.Unload(index);
        return;
    }
    socket->Close();
    if (!socket->Accept(requestID)) {
        m_dccsend.Unload(index);
        return;
    }
    Send& send = m_sends[index];
    send.path = socket->Tag;
    send.size = file->size();
    send.file = std::move(file);
    send.idle = idleTimer(this, m_idleTimeoutMs, [this, index] { endSend(index, false); });
    TellAboutAcceptedSend(m_program);
    fillSend(index);
}

void DccFileTransfer::fillSend(int index) {
    const auto it = m_sends.find(index);
    Winsock* socket = m_dccsend[index];
    if (it == m_sends.end() || socket == nullptr)
        return;
    Send& send = it->second;
    if (DccSendFinished(send.size, send.written, send.acks.last())) {
        endSend(index, true);
        return;
    }
    while (send.written < send.size && socket->bytesToWrite() < SendAhead) {
        const QByteArray block = send.file->read(
            std::min({SendBlock, SendAhead - socket->bytesToWrite(), send.size - send.written}));
        if (block.isEmpty()) {
            error(m_program, QStringLiteral("DCC send of ") + send.path +
                                 QStringLiteral(": cannot read the file: ") +
                                 send.file->errorString());
            endSend(index, false);
            return;
        }
        socket->SendData(block);
        send.written += block.size();
    }
}

void DccFileTransfer::dccsend_SendProgress(int index) {
    const auto it = m_sends.find(index);
    if (it == m_sends.end())
        return;
    it->second.idle->start(m_idleTimeoutMs);
    fillSend(index);
}

void DccFileTransfer::dccsend_DataArrival(int index) {
    Winsock* socket = m_dccsend[index];
    const auto it = m_sends.find(index);
    if (socket == nullptr || it == m_sends.end())
        return;
    Send& send = it->second;
    send.acks.feed(socket->GetData());
    send.idle->start(m_idleTimeoutMs);
    if (DccSendFinished(send.size, send.written, send.acks.last()))
        endSend(index, true);
}

void DccFileTransfer::dccsend_Close(int index) {
    if (m_sends.count(index) != 0) {
        endSend(index, false);
        return;
    }
    m_dccsend.Unload(index);
}

void DccFileTransfer::endSend(int index, bool acknowledged) {
    const auto it = m_sends.find(index);
    if (it == m_sends.end())
        return;
    const QString path = it->second.path;
    m_sends.erase(it);
    m_dccsend.Unload(index);
    emit sendEnded(path, acknowledged);
}
