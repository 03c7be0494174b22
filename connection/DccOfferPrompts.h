#pragma once
// DCC offers from other users put to the user, and the chat window's
// question once its peer has gone. An offer is checked before anyone is
// asked (DccOffer); one that does not pass gives one "Error: " line and
// nothing else. Every question is shown without waiting: the connection goes
// on, and the answer continues the work once it comes, after checking again
// that the program is not ending. At most one question raised by a peer is
// open at a time; an offer that comes meanwhile is refused.

#include "connection/DccOffer.h"

#include <QObject>
#include <QPointer>
#include <QString>

class DccChatSockets;
class DccFileTransfer;
class Program;
class frm_dccChat;

class DccOfferPrompts : public QObject {
    Q_OBJECT
public:
    DccOfferPrompts(Program& program, DccChatSockets& chats, DccFileTransfer& files,
                    QObject* parent = nullptr);

    // The parameters of a CTCP DCC request from `fromMask`.
    void offered(const QString& fromMask, const QString& params);
    // Whether `target` names a channel.
    bool isChannel(const QString& target) const;

    // Where an offered file goes unless the user says otherwise: the name
    // made safe, in DEF_GET_DIR (a relative one under the program folder;
    // the download folder, made when missing, when that is empty), under a
    // new name when one of that name is there. A relative path the user
    // answers is under the program folder too.
    QString defaultPath(const DccOffer& offer) const;

private:
    void askChat(const QString& fromMask, const QString& nick, const DccOffer& offer);
    void askFile(const QString& fromMask, const DccOffer& offer, const QString& suggested);

    Program& m_program;
    DccChatSockets& m_chats;
    DccFileTransfer& m_files;
};

// After the peer of `window` closed: "Close window?" (OK, Cancel), shown
// without waiting; OK closes the window when it is still open. Nothing is
// asked while another question raised by a peer is open or while the
// program is ending.
void AskCloseChatWindow(Program& program, const QPointer<frm_dccChat>& window);

// A peer took up a file offer: "ok", shown without waiting and without
// holding the transfer up; nothing while the program is ending. It is a
// notice: it neither waits for nor keeps out the questions peers raise.
void TellAboutAcceptedSend(Program& program);
