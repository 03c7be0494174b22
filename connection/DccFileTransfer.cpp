#include "connection/DccFileTransfer.h"

#include "core/Program.h"
#include "core/ServerEcho.h"
#include "platform/winsock/WinsockArray.h"

#include <QPointer>
#include <QTimer>

using platform::Winsock;

DccFileTransfer::DccFileTransfer(Program& program, platform::WinsockArray& dccfile,
                                 platform::WinsockArray& dccsend, QObject* parent)
    : QObject(parent), m_program(program), m_dccfile(dccfile), m_dccsend(dccsend) {}

void DccFileTransfer::ReceiveSetUp(const DccOffer& offer, const QString& senderMask,
                                   const QString& path) {
    // The transfer itself is not there yet: the set-up is announced and
    // nothing connects.
    emit receiveSetUp(offer, senderMask, path);
}

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
