#pragma once
// Answers message boxes and input boxes from queues and records every prompt.
// Installed for its lifetime; an unqueued message box answers OK (or the
// first button), an unqueued input box is cancelled.

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

    const QList<platform::DialogRequest>& requests() const { return m_requests; }
    void clear() { m_requests.clear(); }

    int messageBox(const platform::DialogRequest& request) override;
    std::optional<QString> inputBox(const platform::DialogRequest& request) override;

private:
    platform::DialogAnswerer* m_previous;
    QList<platform::DialogRequest> m_requests;
    QQueue<int> m_boxAnswers;
    QQueue<std::optional<QString>> m_inputAnswers;
};
