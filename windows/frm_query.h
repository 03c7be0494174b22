#pragma once
// A query window: one private conversation, one window per nick, tagged
// "?" & nick. Plain lines go to the nick.

#include "core/ConversationWindow.h"
#include "windows/ConversationForm.h"

class frm_query : public ConversationForm, public ConversationWindow {
    Q_OBJECT
public:
    explicit frm_query(Program& program);

    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;

protected:
    // The nick: the tag without its "?".
    QString target() const override { return Tag().mid(1); }
};
