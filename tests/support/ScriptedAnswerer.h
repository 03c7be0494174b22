#pragma once
// Answers message boxes, input boxes, open-file prompts and the modal
// choosers from queues and records every prompt. Installed for its lifetime;
// an unqueued message box answers OK (or the first button), an unqueued input
// box, file prompt or colour dialog is cancelled, an unqueued chooser closes
// without a pick.

#include "platform/dialogs/Dialogs.h"

#include <QList>
#include <QQueue>

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

    int messageBox(const platform::DialogRequest& request) override;
    std::optional<QString> inputBox(const platform::DialogRequest& request) override;
    std::optional<QString> openFile(const platform::DialogRequest& request) override;
    std::optional<QString> chooser(const platform::DialogRequest& request) override;
    std::optional<qint32> colorDialog(const platform::DialogRequest& request) override;

private:
    platform::DialogAnswerer* m_previous;
    QList<platform::DialogRequest> m_requests;
    QQueue<int> m_boxAnswers;
    QQueue<std::optional<QString>> m_inputAnswers;
    QQueue<std::optional<QString>> m_fileAnswers;
    QQueue<std::optional<QString>> m_chooserAnswers;
    QQueue<std::optional<qint32>> m_colorAnswers;
};
