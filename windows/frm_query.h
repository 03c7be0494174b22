#pragma once
// A query window: one private conversation, one window per nick, tagged
// "?" & nick. Plain lines go to the nick. While it is not the frame's active
// child it counts the lines it shows and marks its switchbar panel with the
// count. Its system menu has "&Detach", which moves the conversation onto a
// desktop window of its own; the window left in the frame then carries
// "??" & nick and stays hidden.

#include "core/ConversationWindow.h"
#include "core/UnreadLines.h"
#include "windows/ConversationForm.h"

class absRichEdit;

namespace platform {
class SwitchBarPanel;
}

class frm_query : public ConversationForm, public ConversationWindow, public UnreadLines {
    Q_OBJECT
public:
    explicit frm_query(Program& program);

    // Shows one line: a timestamp only when WIN_QUERY_TIMESTAMP is "TRUE"
    // (`timestamp` is not consulted), the query log, the colour `col` (""
    // the query console's text colour). While the window is not the active
    // child the line counts as unread.
    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;
    // Closes the conversation: the window takes its panel with it, unless a
    // desktop window of the same conversation is left, which then takes the
    // window's tag, caption and panel, and the lines shown here since the
    // conversation came back from it. Never cancels.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // Moves the conversation onto a desktop window of its own: the one left
    // hidden by an earlier "Desktop" when there is one, given the lines
    // shown here since, or else a new one that takes the query looks and
    // this window's text in the query's text colour. A new one is placed
    // where the conversation's position file says, else where this window
    // is, or, for a window never shown, where it would first have appeared
    // in the frame; the file's place and the first one are kept on the
    // screen. This window hides with "?" in front of its tag, and its
    // unread count starts again. Nothing happens on a window that is itself
    // the hidden one.
    void Desktop();

    // The lines shown while the window was not the frame's active child.
    int mwait() const override { return m_unread; }
    // The lines the desktop window showed since it took the conversation
    // (`since`, its console's length then), copied in as CopyQueryLines
    // copies: this window shows them now.
    void takeLines(const absRichEdit& from, int since);

protected:
    // The nick: the tag without its "?".
    QString target() const override { return Tag().mid(1); }
    void Form_Activate() override;

private:
    // The first switchbar panel whose text is exactly the tag; nullptr for
    // none.
    platform::SwitchBarPanel* ownPanel() const;
    int ownPanelIndex() const;

    int m_unread = 0;
    // The console's length when this window last took the conversation back
    // from the desktop window: what it shows past it, the desktop window has
    // not shown.
    int m_tookOver = 0;
};
