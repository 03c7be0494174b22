#pragma once
// Answers message boxes, input boxes, open-file prompts and the modal
// choosers from queues and records every prompt. Installed for its lifetime;
// an unqueued message box answers OK (or the first button), an unqueued input
// box, file prompt or colour dialog is cancelled, an unqueued chooser closes
// without a pick.
//
// Held boxes: while holding, a message or input box is left open until the
// test answers it. A box that does not wait (ShowMsgBox, ShowInputBox) stays
// pending and the program goes on; a box that waits (MsgBox, InputBox) runs
// a nested event loop as a modal dialog does, calls whileOpen from inside it
// and is answered (from the queues) when whileOpen returns.

#include "platform/dialogs/Dialogs.h"

#include <QList>
#include <QQueue>

#include <functional>

class ScriptedAnswerer : public platform::DialogAnswerer {
public:
    ScriptedAnswerer();
    ~ScriptedAnswerer() override;
    ScriptedAnswerer(const ScriptedAnswerer&) = delete;
    ScriptedAnswerer& operator=(const ScriptedAnswerer&) = delete;

    void queueMessageBoxAnswer(int result) { m_boxAnswers.enqueue(result); }
    void queueInput(const QString& text) { m_inputAnswers.enqueue(text); }
    void queueInputCancel() { m_inputAnswers.enqueue(std::nullopt); }
    void queueFile(const QString& path) { m_fileAnswers.enqueue(path); }
    void queueFileCancel() { m_fileAnswers.enqueue(std::nullopt); }
    // A chooser's pick: a palette index as digits, or a font name.
    void queueChooserPick(const QString& pick) { m_chooserAnswers.enqueue(pick); }
    void queueChooserClose() { m_chooserAnswers.enqueue(std::nullopt); }
    // The colour dialog's answer: an RGB number, or a cancel.
    void queueColor(qint32 rgb) { m_colorAnswers.enqueue(rgb); }
    void queueColorCancel() { m_colorAnswers.enqueue(std::nullopt); }

    const QList<platform::DialogRequest>& requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

    // Leaves the boxes that come from now on open until answered.
    void hold(bool on = true) { m_holding = on; }
    // What runs while a held box that waits is open.
    void setWhileOpen(std::function<void()> whileOpen) { m_whileOpen = std::move(whileOpen); }
    // Boxes that do not wait and are held open, oldest first.
    qsizetype pendingCount() const { return m_pending.size(); }
    // Answers the oldest held box: a message box with `result`, an input box
    // with `text` (nothing: cancelled). False when none is held.
    bool answerPending(int result);
    bool answerPendingInput(const std::optional<QString>& text);

    int messageBox(const platform::DialogRequest& request) override;
    std::optional<QString> inputBox(const platform::DialogRequest& request) override;
    void messageBoxLater(const platform::DialogRequest& request,
                         platform::MsgBoxAnswered answer) override;
    void inputBoxLater(const platform::DialogRequest& request,
                       platform::InputBoxAnswered answer) override;
    std::optional<QString> openFile(const platform::DialogRequest& request) override;
    std::optional<QString> chooser(const platform::DialogRequest& request) override;
    std::optional<qint32> colorDialog(const platform::DialogRequest& request) override;

private:
    struct Pending {
        platform::MsgBoxAnswered box;
        platform::InputBoxAnswered input;
    };
    int queuedBoxAnswer(const platform::DialogRequest& request);
    std::optional<QString> queuedInput();
    // A held box that waits: a nested event loop until whileOpen has run.
    void waitWhileOpen();

    platform::DialogAnswerer* m_previous;
    bool m_holding = false;
    std::function<void()> m_whileOpen;
    QList<Pending> m_pending;
    QList<platform::DialogRequest> m_requests;
    QQueue<int> m_boxAnswers;
    QQueue<std::optional<QString>> m_inputAnswers;
    QQueue<std::optional<QString>> m_fileAnswers;
    QQueue<std::optional<QString>> m_chooserAnswers;
    QQueue<std::optional<qint32>> m_colorAnswers;
};
