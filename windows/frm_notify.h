#pragma once
// The notify list window: the buddies the user watches, and which of them
// are online. One instance, loaded without being shown the first time its
// lists are touched; from then on its timer asks the server every ten
// seconds which buddies are online (ISON), whether the window is shown or
// not. The frame's reply handler sorts the answers into the two lists.
//
// A long buddy list goes out over several ISON lines, each within the 510
// bytes and 15 parameters a server reads; the replies to one poll form a round, merged before
// anyone is judged offline. A tick while a round is open sends nothing; a
// round that stays open for a minute is given up.

#include "core/Form.h"

#include <QDateTime>
#include <QStringList>

#include <optional>

class FramePlacement;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTimer;

class frm_notify : public Form {
    Q_OBJECT
public:
    // The poll's interval and how long a round may stay open.
    static constexpr int PollIntervalMs = 10000;
    static constexpr int RoundTimeoutMs = 60000;

    explicit frm_notify(Program& program);

    // Applies one record of notify.win.
    void FSet(const QString& key, const QString& value);
    // The user's close writes notify.win, hides the window and removes its
    // "Notify" panel; the lists stay and the poll goes on. Any other close
    // (the exit's) only writes notify.win.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // The placement rules of the frame's children; then, above 1500 twips,
    // the tab control and the lists follow the window's height.
    void Form_Resize();

    // The ISON lines that ask for `nicks`: "ISON " and the nicks in their
    // order, trimmed, one blank between them, as many to a line as fit in
    // 510 bytes and 15 parameters. An entry that is not one word, begins
    // with ":" or does not fit a line of its own is left out.
    static QStringList IsonLines(const QStringList& nicks);

    // One ISON reply's nicks (blank-separated) to the open round. The whole
    // round's nicks when that was its last reply, nothing while replies are
    // still due. A reply with no round open stands alone.
    std::optional<QString> takeReply(const QString& onlineNicks);
    // Forgets an open round: a new connection polls afresh.
    void resetRound();
    bool roundOpen() const { return m_awaited > 0; }

    QTabWidget* SSTab1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    // The watched nicks; sorted.
    QListWidget* List1 = nullptr;
    // Watched nicks seen online, and the others; sorted.
    QListWidget* l_online = nullptr;
    QListWidget* l_offline = nullptr;
    // "< Add" and "Delete >".
    QPushButton* Command1 = nullptr;
    QPushButton* Command3 = nullptr;
    // The poll, every PollIntervalMs from load (tests may shorten it).
    QTimer* Timer1 = nullptr;

    void Command1_Click();
    void Command3_Click();
    void Timer1_Timer();

protected:
    void attachToFrame() override;
    QSize sizeHint() const override;

private:
    void Form_Activate();

    FramePlacement* m_placement;
    // Replies still due in the open round, and the nicks of those come.
    int m_awaited = 0;
    QStringList m_roundNicks;
    QDateTime m_roundStarted;
};
