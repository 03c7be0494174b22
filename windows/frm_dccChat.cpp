#include "windows/frm_dccChat.h"

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "console/toolkit/mod_tbscroll.h"
#include "core/CommandWindow.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/irc/Ctcp.h"
#include "platform/window/SwitchBar.h"
#include "platform/winsock/WinsockArray.h"
#include "windows/WindowLog.h"

#include <QLineEdit>
#include <QScopedValueRollback>

using namespace platform;

namespace {

// "/me" as a command: alone, or before a blank.
bool isMe(const QString& line) {
    return line.startsWith(QStringLiteral("/me"), Qt::CaseInsensitive) &&
           (line.size() == 3 || line.at(3) == u' ');
}

} // namespace

frm_dccChat::frm_dccChat(Program& program, int socket)
    : ConversationForm(program, {QString(), QStringLiteral("WIN_QUERY_")}), m_socket(socket) {
    setCaption(QStringLiteral("DCC Chat"));
    windowLog().setChatLog(true);
}

Winsock* frm_dccChat::socket() const {
    Program& p = program();
    return p.hasMainFrame() ? p.mainFrame().DCC->at(m_socket) : nullptr;
}

void frm_dccChat::addPanel() {
    frm_main& frame = program().mainFrame();
    m_panel = frame.StatusBar1->Panel(frame.AddPanel(Tag(), 15));
}

int frm_dccChat::ownSwitchbarPanel() const {
    return PanelIndex(program(), m_panel.data());
}

QString frm_dccChat::logName() const {
    return QStringLiteral("DCC-") + Tag() + QStringLiteral(".log");
}

void frm_dccChat::disp(const QString& txt, bool timestamp, const QString& col) {
    Q_UNUSED(timestamp);
    if (txt.trimmed().isEmpty())
        return;
    if (ActiveChild(program()) != this) {
        ++m_mwait;
        if (m_panel) {
            m_panel->setToolTipText(QStringLiteral("|DCC| ") + Tag() + u'(' +
                                    QString::number(m_mwait) +
                                    QStringLiteral(" messages waiting.)"));
            m_panel->setPicture(program().mainFrame().il.Picture(10));
        }
    }
    dispLine(txt, false, col);
}

bool frm_dccChat::send(const QString& line) {
    Winsock* chat = socket();
    if (chat == nullptr || chat->State() != Winsock::sckConnected)
        return false;
    chat->SendData((line + QStringLiteral("\r\n")).toUtf8());
    return true;
}

void frm_dccChat::commandlineEnter() {
    const QString text = commandline->text();
    const QString line = text.trimmed();
    if (line.isEmpty())
        return;
    insertHistory(text);
    commandline->clear();
    Program& p = program();
    if (line.startsWith(u'/') && !isMe(line)) {
        // A command runs as in any window, in this window, and nothing goes
        // to the peer.
        QScopedValueRollback origin(p.commandOrigin, QPointer<Form>(this));
        QString command = line;
        ParseLine(p, command, QString());
        return;
    }
    const QString nick = p.settings.value(QStringLiteral("PROFILE_NICKNAME"));
    const QString closed = QStringLiteral("DCC Connection Closed");
    if (isMe(line)) {
        const QString rest = line.mid(3).trimmed();
        if (!send(Ctcp::frame(u"ACTION", rest))) {
            disp(closed, false, setting(QStringLiteral("CONSOLE_FORECOLOR")));
            return;
        }
        disp(QStringLiteral("* ") + nick + u' ' + rest, false,
             setting(QStringLiteral("ACTIONCOLOR")));
    } else {
        if (!send(line)) {
            disp(closed, false, setting(QStringLiteral("CONSOLE_FORECOLOR")));
            return;
        }
        disp(u'<' + nick + QStringLiteral("> ") + line);
    }
    commandline->setCursorPosition(0);
}

void frm_dccChat::Form_Activate() {
    Program& p = program();
    m_mwait = 0;
    if (m_panel) {
        m_panel->setPicture(p.mainFrame().il.Picture(15));
        m_panel->setToolTipText(QStringLiteral("|DCC| ") + Tag());
        const int own = ownSwitchbarPanel();
        SwitchBar* bar = p.mainFrame().StatusBar1;
        for (int i = 1; i <= bar->Count(); ++i)
            bar->Panel(i)->setBevel(i == own ? SwitchBarPanel::sbrInset
                                             : SwitchBarPanel::sbrRaised);
    }
    caretToEnd();
    TBScroll(console, false, true);
}

void frm_dccChat::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    Q_UNUSED(UnloadMode);
    Program& p = program();
    if (p.hasMainFrame()) {
        p.mainFrame().DCC->Unload(m_socket);
        if (const int panel = ownSwitchbarPanel())
            p.mainFrame().StatusBar1->Remove(panel);
    }
    Unload();
}

QList<frm_dccChat*> DccChatWindows(Program& program) {
    QList<frm_dccChat*> chats;
    for (Form* form : program.forms()) {
        if (auto* chat = qobject_cast<frm_dccChat*>(form))
            chats << chat;
    }
    return chats;
}
