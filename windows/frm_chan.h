#pragma once
// A channel window: one per joined channel, with its console, command line
// and nick list at the right. Plain lines go to the channel. The nick list
// has a popup menu of its own and opens a conversation on a double click.
// The default instance is loaded at start-up without being shown.

#include "core/ConversationWindow.h"
#include "windows/ConversationForm.h"
#include "windows/NickList.h"

class frm_chan : public ConversationForm, public ChannelWindow {
    Q_OBJECT
public:
    explicit frm_chan(Program& program);

    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;

    void AddNames(const QString& names) override { m_nicks.AddNames(names); }
    void RemoveName(const QString& name) override { m_nicks.RemoveName(name); }
    void ClearNames() override { m_nicks.clear(); }
    bool IsONChan(const QString& name) const override { return m_nicks.IsONChan(name); }
    QString UserChanStat(const QString& name) const override { return m_nicks.UserChanStat(name); }
    void DoMode(const QString& action, const QString& user) override {
        m_nicks.DoMode(action, user);
    }
    int ListCount() const override { return m_nicks.count(); }
    // The nick-list entry at `index` (from 0), as the list holds it.
    QString List(int index) const { return m_nicks.entries().value(index); }
    void UpdateNicksTotal() override;
    void setTopic(const QString& topic) override;
    QString topic() const { return m_topic; }

    // Both menus: the console's and the nick list's.
    void UpdatePopups() override;
    // The user's close (UnloadMode 0) parts the channel and removes its
    // panel; any other close unloads without a word to the server.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    QListWidget* list_nicks = nullptr;
    platform::AGPopUp* pop_nicks = nullptr;
    // "TRUE" keeps this window's own look when the settings change.
    QString GLOBALUPDATE;

protected:
    // The nick list keeps its width at the right of the console; laid out
    // only when the window is wider and higher than 1000.
    void layOut() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A double click on a nick opens the conversation with it.
    void list_nicks_DblClick();

    NickList m_nicks;
    QString m_topic;
    bool m_captionPending = false;
};
