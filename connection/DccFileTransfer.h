#pragma once
// The frame's DCC file transfers: files received on the `dccfile` sockets
// and files sent on the `dccsend` sockets.

#include "connection/DccOffer.h"

#include <QObject>
#include <QString>

class Program;

namespace platform {
class WinsockArray;
}

class DccFileTransfer : public QObject {
    Q_OBJECT
public:
    DccFileTransfer(Program& program, platform::WinsockArray& dccfile,
                    platform::WinsockArray& dccsend, QObject* parent = nullptr);

    // How long an offered file waits for the peer.
    static constexpr int ListenTimeoutMs = 3 * 60 * 1000;

    // A new `dccsend` element listening on a port the system chooses for the
    // file at `path`, unloaded when nobody connects in time; its index, or -1
    // when it cannot listen (an "Error: " line says why).
    int offerFile(const QString& path);
    // Test seam: the time an offer waits.
    void setListenTimeout(int ms) { m_listenTimeoutMs = ms; }

    // Sets up the receive of a file offer the user accepted: `path` is where
    // the file goes, `senderMask` who offered it.
    void ReceiveSetUp(const DccOffer& offer, const QString& senderMask, const QString& path);

Q_SIGNALS:
    // A receive was set up.
    void receiveSetUp(const DccOffer& offer, const QString& senderMask, const QString& path);

private:
    Program& m_program;
    platform::WinsockArray& m_dccfile;
    platform::WinsockArray& m_dccsend;
    int m_listenTimeoutMs = ListenTimeoutMs;
};
