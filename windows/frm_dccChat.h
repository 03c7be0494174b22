#pragma once
// A DCC chat window: one direct connection to one other user, tagged with
// the bare nick. It owns its socket element of the frame's `DCC` array and
// its switchbar panel: what the user types goes on that socket alone, and
// closing the window unloads both. The frame's chat sockets feed it the
// peer's lines. Looks, timestamps and logging are the query window's
// settings; the log is "DCC-" & nick & ".log".

#include "core/ConversationWindow.h"
#include "core/PanelOwner.h"
#include "platform/window/SwitchBar.h"
#include "windows/ConversationForm.h"

#include <QPointer>

namespace platform {
class Winsock;
}

class frm_dccChat : public ConversationForm, public ConversationWindow, public PanelOwner {
    Q_OBJECT
public:
    // A chat on element `socket` of the frame's `DCC` array.
    frm_dccChat(Program& program, int socket);

    // Shows one line: a timestamp only when WIN_QUERY_TIMESTAMP is "TRUE",
    // the chat's log, the colour `col` ("" the query console's text colour).
    // While the window is not the active child the line counts as unread
    // and the panel says so.
    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;
    // Closes the chat: its socket element and its panel go with it. Never
    // cancels and never asks.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // The lines shown while the window was not the active child.
    int mwait() const { return m_mwait; }

    int socketIndex() const { return m_socket; }
    // The window's panel, added at the end of the switchbar with the nick
    // and picture 15.
    void addPanel();
    platform::SwitchBarPanel* ownPanel() const override { return m_panel.data(); }

    // Updates nothing: the chat has no popup menu.
    void UpdatePopups() override {}

protected:
    void commandlineEnter() override;
    void Form_Activate() override;
    // The console has no handlers of its own.
    void consoleMouseDown(int) override {}
    void consoleMouseUp(int) override {}
    int ownSwitchbarPanel() const override;
    QString logName() const override;

private:
    platform::Winsock* socket() const;
    // Sends a line with CR LF on the chat's socket; false when the chat is
    // no longer connected.
    bool send(const QString& line);

    int m_socket;
    QPointer<platform::SwitchBarPanel> m_panel;
    int m_mwait = 0;
};

// The chat windows that are open, in load order.
QList<frm_dccChat*> DccChatWindows(Program& program);
