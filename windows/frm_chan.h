#pragma once
// A channel window: one per joined channel, with its console, command line
// and nick list. The default instance is loaded at start-up without being
// shown.

#include "core/ConversationWindow.h"
#include "core/Form.h"
#include "windows/NickList.h"

class QLineEdit;
class QListWidget;
class absRichEdit;

class frm_chan : public Form, public ChannelWindow {
    Q_OBJECT
public:
    explicit frm_chan(Program& program);

    // Re-lays the controls after the command line's height changed.
    void Form_Resize();

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

    // The user's close (UnloadMode 0) parts the channel and removes its
    // panel; any other close unloads without a word to the server.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
    QListWidget* list_nicks = nullptr;
    // "TRUE" keeps this window's own look when the settings change.
    QString GLOBALUPDATE;

private:
    // A double click on a nick opens the conversation with it.
    void list_nicks_DblClick();

    NickList m_nicks;
    QString m_topic;
};
