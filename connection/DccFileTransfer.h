#pragma once
// The frame's DCC file transfers: files received on the `dccfile` sockets
// and files sent on the `dccsend` sockets. Each transfer keeps its own
// count. A received file is created new at the path the user accepted and
// never written over; bytes beyond the offered size are not written, a
// write that fails is never acknowledged, and a sender that stays silent too
// long ends the receive as incomplete. A sent file goes out in blocks as
// the socket takes them; the connection closes once the receiver has
// acknowledged every byte, when it closes, or when it stays silent too long.

#include "connection/DccFileAck.h"
#include "connection/DccOffer.h"

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>

class Program;
class frm_dccget;

namespace platform {
class WinsockArray;
}

class DccFileTransfer : public QObject {
    Q_OBJECT
public:
    DccFileTransfer(Program& program, platform::WinsockArray& dccfile,
                    platform::WinsockArray& dccsend, QObject* parent = nullptr);
    ~DccFileTransfer() override;

    // How long an offered file waits for the peer.
    static constexpr int ListenTimeoutMs = 3 * 60 * 1000;
    // How long a transfer waits for its peer: a sent file for the
    // receiver's next acknowledgement, a received file for its next bytes
    // (counted from the connect attempt, so a connect that never completes
    // ends too).
    static constexpr int IdleTimeoutMs = 2 * 60 * 1000;
    // How often a receive's progress is shown at most; the arrival that
    // completes the file shows it at once.
    static constexpr qint64 ProgressIntervalMs = 100;
    // How much of a sent file waits in the socket at most.
    static constexpr qint64 SendBlock = 64 * 1024;
    static constexpr qint64 SendAhead = 4 * SendBlock;

    // A new `dccsend` element listening on a port the system chooses for the
    // file at `path`, unloaded when nobody connects in time; its index, or -1
    // when it cannot listen (an "Error: " line says why).
    int offerFile(const QString& path);
    // Test seams: the time an offer waits, the time a transfer waits for its
    // peer.
    void setListenTimeout(int ms) { m_listenTimeoutMs = ms; }
    void setIdleTimeout(int ms) { m_idleTimeoutMs = ms; }

    // Sets up the receive of a file offer the user accepted: `path` is where
    // the file goes, `senderMask` who offered it. Nothing while the program
    // ends; a path another receive writes, or an address that does not
    // convert, is refused with an "Error: " line.
    void ReceiveSetUp(const DccOffer& offer, const QString& senderMask, const QString& path);

    // Test seams: how a received block is written (true when all of it
    // was), and the count the next receive starts from.
    std::function<bool(QFile& file, const QByteArray& bytes)> writeBlock;
    void setNextReceiveStart(qint64 count) { m_nextReceiveStart = count; }

    // The progress dialog of the running receive of `path`.
    frm_dccget* receiveDialog(const QString& path) const;

Q_SIGNALS:
    // A receive was set up.
    void receiveSetUp(const DccOffer& offer, const QString& senderMask, const QString& path);
    // A receive ended: complete or not.
    void receiveEnded(const QString& path, bool complete);
    // A send ended; `acknowledged`: the receiver confirmed every byte.
    void sendEnded(const QString& path, bool acknowledged);

private:
    struct Receive {
        QString path;
        QString senderMask;
        QString nick;
        qint64 size = 0;
        qint64 received = 0;
        std::unique_ptr<QFile> file;
        QPointer<frm_dccget> dialog;
        std::unique_ptr<QTimer> idle;
        // When the progress was last shown, by the program's clock.
        QDateTime shown;
        // Every byte is there; the close waits for the last acknowledgement.
        bool ending = false;
    };
    struct Send {
        QString path;
        std::unique_ptr<QFile> file;
        qint64 size = 0;
        qint64 written = 0;
        DccAckReader acks;
        std::unique_ptr<QTimer> idle;
    };

    void dccfile_Connect(int index);
    void dccfile_DataArrival(int index);
    void dccfile_SendComplete(int index);
    void dccfile_Close(int index);
    // Closes the file and the socket and shows the result.
    void endReceive(int index);
    // Opens the file new at the receive's path, under a new name when one of
    // that name appeared meanwhile.
    bool createFile(Receive& receive);
    void showPath(Receive& receive);
    // The bar, the label and the panel's tip.
    void showProgress(Receive& receive);

    void dccsend_ConnectionRequest(int index, qintptr requestID);
    void dccsend_DataArrival(int index);
    void dccsend_SendProgress(int index);
    void dccsend_Close(int index);
    void fillSend(int index);
    void endSend(int index, bool acknowledged);

    Program& m_program;
    platform::WinsockArray& m_dccfile;
    platform::WinsockArray& m_dccsend;
    int m_listenTimeoutMs = ListenTimeoutMs;
    int m_idleTimeoutMs = IdleTimeoutMs;
    qint64 m_nextReceiveStart = 0;
    std::map<int, Receive> m_receives;
    std::map<int, Send> m_sends;
};
