#include "connection/DccOfferPrompts.h"

#include "connection/ChannelTypes.h"
#include "connection/DccAddress.h"
#include "connection/DccChatSockets.h"
#include "connection/DccFileTransfer.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/SafeFileName.h"
#include "core/ServerBoxes.h"
#include "core/ServerEcho.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/irc/Yarv.h"
#include "windows/frm_dccChat.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool mayAsk(const Program& p) {
    return !p.closing && !p.serverBoxOpen;
}

} // namespace

DccOfferPrompts::DccOfferPrompts(Program& program, DccChatSockets& chats, DccFileTransfer& files,
                                 QObject* parent)
    : QObject(parent), m_program(program), m_chats(chats), m_files(files) {}

bool DccOfferPrompts::isChannel(const QString& target) const {
    return IsChannelName(m_program, target);
}

void DccOfferPrompts::offered(const QString& fromMask, const QString& params) {
    Program& p = m_program;
    const DccOffer offer = ReadDccOffer(params);
    if (offer.kind == DccOfferKind::None)
        return;
    const QString nick = platform::Yarv::NickFromMask(fromMask);
    QString refusal = DccNickRefusal(nick, ChannelTypesOf(p));
    if (refusal.isEmpty())
        refusal = offer.refusal;
    if (refusal.isEmpty() && !mayAsk(p))
        refusal = QStringLiteral("another question is open");
    if (!refusal.isEmpty()) {
        ServerEcho(p,
                   QStringLiteral("Error: DCC offer from ") + fromMask +
                       QStringLiteral(" refused: ") + refusal,
                   QString(), 0);
        return;
    }
    if (offer.kind == DccOfferKind::Chat)
        askChat(fromMask, nick, offer);
    else
        askFile(fromMask, offer, defaultPath(offer));
}

void DccOfferPrompts::askChat(const QString& fromMask, const QString& nick, const DccOffer& offer) {
    const QPointer<DccOfferPrompts> self(this);
    ServerMsgBox(m_program,
                 QStringLiteral("Chat request from: ") + fromMask +
                     QStringLiteral("\r\nChat with them?"),
                 platform::vbYesNo, QString(), [self, nick, offer](int answer) {
                     if (!self || self->m_program.closing || answer != platform::vbYes)
                         return;
                     self->m_chats.connectTo(nick, LongIP2Dotted(QString::number(offer.address)),
                                             offer.port);
                 });
}

void DccOfferPrompts::askFile(const QString& fromMask, const DccOffer& offer,
                              const QString& suggested) {
    const QPointer<DccOfferPrompts> self(this);
    const QString prompt = fromMask + QStringLiteral(" is trying to send you a file.\r\n") +
                           offer.safeName + QStringLiteral(" Size: ") + offer.sizeWord +
                           QStringLiteral(" bytes.\r\nClick OK to accept, or CANCEL to reject.");
    ServerInputBox(
        m_program, prompt, QStringLiteral("File recieve"), suggested,
        [self, fromMask, offer, suggested](const std::optional<QString>& answer) {
            if (!self || self->m_program.closing || !answer || answer->trimmed().isEmpty())
                return;
            const QString path = ProgramFolderPath(self->m_program.folder(), answer->trimmed());
            if (QFileInfo::exists(path)) {
                // Asked again, once the user has seen why.
                ServerMsgBox(self->m_program, QStringLiteral("File exists!"), platform::vbOKOnly,
                             QString(), [self, fromMask, offer, suggested](int) {
                                 if (self && !self->m_program.closing)
                                     self->askFile(fromMask, offer, suggested);
                             });
                return;
            }
            self->m_files.ReceiveSetUp(offer, fromMask, path);
        });
}

QString DccOfferPrompts::defaultPath(const DccOffer& offer) const {
    const Program& p = m_program;
    QString folder = p.settings.value(QStringLiteral("DEF_GET_DIR")).trimmed();
    if (folder.isEmpty()) {
        folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
        QDir().mkpath(folder);
    }
    folder = ProgramFolderPath(p.folder(), folder);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    // In the program folder, its cmd or its logs, the program's own files
    // are kept apart.
    return SafeFileName(folder, offer.safeName, ReceivedFileReserved(p.folder(), folder),
                        IfExists::NewName);
}

void AskCloseChatWindow(Program& program, const QPointer<frm_dccChat>& window) {
    if (!mayAsk(program))
        return;
    Program* p = &program;
    ServerMsgBox(program, QStringLiteral("Close window?"), platform::vbOKCancel, QString(),
                 [p, window](int answer) {
                     if (answer != platform::vbOK || !window || p->closing ||
                         !p->forms().contains(window.data()))
                         return;
                     int cancel = 0;
                     window->Form_QueryUnload(cancel, 0);
                 });
}

void TellAboutAcceptedSend(Program& program) {
    // A notice, not a question: it takes no question's place.
    if (program.closing)
        return;
    platform::ShowMsgBox(QStringLiteral("ok"));
}
