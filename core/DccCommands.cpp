#include "core/DccCommands.h"

#include "connection/ChannelTypes.h"
#include "connection/DccAddress.h"
#include "connection/DccChatSockets.h"
#include "connection/DccFileTransfer.h"
#include "connection/DccOffer.h"
#include "connection/frm_main.h"
#include "core/CommandContext.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "platform/irc/Yarv.h"
#include "platform/winsock/WinsockArray.h"

namespace {

void error(Program& p, const QString& text) {
    ServerEcho(p, QStringLiteral("Error: ") + text, QString(), 0);
}

// The address word of the connection to the server; "" (and an "Error: "
// line) when there is none to offer.
QString offeredAddress(Program& p, const QString& what) {
    const QString word = EncodeIPAddr(p.mainFrame().Yarv1->LocalAddress());
    if (word.isEmpty())
        error(p, what + QStringLiteral(": no offer without an IPv4 connection to the server"));
    return word;
}

void chat(Program& p, const QString& nick) {
    const QString what = QStringLiteral("DCC chat with ") + nick;
    if (const QString refusal = DccNickRefusal(nick, ChannelTypesOf(p)); !refusal.isEmpty()) {
        error(p, what + QStringLiteral(": ") + refusal);
        return;
    }
    const QString address = offeredAddress(p, what);
    if (address.isEmpty())
        return;
    frm_main& frame = p.mainFrame();
    const int index = frame.dccChatSockets->listenFor(nick);
    if (index < 0)
        return;
    ServerEcho(p, QStringLiteral("DCC Chat Request/Ack sent to ") + nick, QString(), 0);
    frame.Yarv1->SendCTCP(nick, QStringLiteral("DCC CHAT chat"),
                          address + u' ' + QString::number((*frame.DCC)[index]->LocalPort()));
}

// False when no offer was made (an "Error: " line says why).
bool send(Program& p, const QString& nick, const QString& path) {
    const QString what = QStringLiteral("DCC send to ") + nick;
    if (const QString refusal = DccNickRefusal(nick, ChannelTypesOf(p)); !refusal.isEmpty()) {
        error(p, what + QStringLiteral(": ") + refusal);
        return false;
    }
    const qint64 size = GetFileSize(path);
    if (size < 0) {
        error(p, what + QStringLiteral(": ") + path + QStringLiteral(" is no file"));
        return false;
    }
    const QString address = offeredAddress(p, what);
    if (address.isEmpty())
        return false;
    frm_main& frame = p.mainFrame();
    const int index = frame.dccFileTransfer->offerFile(path);
    if (index < 0)
        return false;
    // The peer splits the offer at blanks.
    QString name = GetFileName(path);
    name.replace(u' ', u'_');
    frame.Yarv1->SendCTCP(nick, QStringLiteral("DCC SEND "),
                          name + u' ' + address + u' ' +
                              QString::number((*frame.dccsend)[index]->LocalPort()) + u' ' +
                              QString::number(size));
    return true;
}

} // namespace

void dccCommand(CommandContext& command) {
    Program& p = command.program;
    if (!p.hasMainFrame()) {
        command.refused = true;
        return;
    }
    const QString kind = command.word(1).toLower();
    if (kind == u"chat")
        chat(p, command.word(2));
    else if (kind == u"send")
        command.refused = !send(p, command.word(2), command.trimmedTail(3));
}
