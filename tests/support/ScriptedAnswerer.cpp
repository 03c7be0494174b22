#include "tests/support/ScriptedAnswerer.h"

#include <QEventLoop>
#include <QTimer>

using namespace platform;

ScriptedAnswerer::ScriptedAnswerer() : m_previous(CurrentDialogAnswerer()) {
    SetDialogAnswerer(this);
}

ScriptedAnswerer::~ScriptedAnswerer() {
    SetDialogAnswerer(m_previous);
}

int ScriptedAnswerer::messageBox(const DialogRequest& request) {
    m_requests.append(request);
    if (m_holding)
        waitWhileOpen();
    return queuedBoxAnswer(request);
}

std::optional<QString> ScriptedAnswerer::inputBox(const DialogRequest& request) {
    m_requests.append(request);
    if (m_holding)
        waitWhileOpen();
    return queuedInput();
}

void ScriptedAnswerer::messageBoxLater(const DialogRequest& request, MsgBoxAnswered answer) {
    m_requests.append(request);
    if (m_holding)
        m_pending.append({std::move(answer), {}});
    else
        answer(queuedBoxAnswer(request));
}

void ScriptedAnswerer::inputBoxLater(const DialogRequest& request, InputBoxAnswered answer) {
    m_requests.append(request);
    if (m_holding)
        m_pending.append({{}, std::move(answer)});
    else
        answer(queuedInput());
}

bool ScriptedAnswerer::answerPending(int result) {
    if (m_pending.isEmpty() || !m_pending.constFirst().box)
        return false;
    m_pending.takeFirst().box(result);
    return true;
}

bool ScriptedAnswerer::answerPendingInput(const std::optional<QString>& text) {
    if (m_pending.isEmpty() || !m_pending.constFirst().input)
        return false;
    m_pending.takeFirst().input(text);
    return true;
}

void ScriptedAnswerer::waitWhileOpen() {
    QEventLoop modal;
    const std::function<void()> whileOpen = m_whileOpen;
    QTimer::singleShot(0, &modal, [&modal, whileOpen] {
        if (whileOpen)
            whileOpen();
        modal.quit();
    });
    modal.exec();
}

int ScriptedAnswerer::queuedBoxAnswer(const DialogRequest& request) {
    if (!m_boxAnswers.isEmpty())
        return m_boxAnswers.dequeue();
    switch (request.buttons & 0x0F) {
    case vbAbortRetryIgnore:
        return vbAbort;
    case vbYesNo:
    case vbYesNoCancel:
        return vbYes;
    case vbRetryCancel:
        return vbRetry;
    default:
        return vbOK;
    }
}

std::optional<QString> ScriptedAnswerer::queuedInput() {
    if (!m_inputAnswers.isEmpty())
        return m_inputAnswers.dequeue();
    return std::nullopt;
}

std::optional<QString> ScriptedAnswerer::openFile(const DialogRequest& request) {
    m_requests.append(request);
    if (!m_fileAnswers.isEmpty())
        return m_fileAnswers.dequeue();
    return std::nullopt;
}

std::optional<QString> ScriptedAnswerer::chooser(const DialogRequest& request) {
    m_requests.append(request);
    if (!m_chooserAnswers.isEmpty())
        return m_chooserAnswers.dequeue();
    return std::nullopt;
}

std::optional<qint32> ScriptedAnswerer::colorDialog(const DialogRequest& request) {
    m_requests.append(request);
    if (!m_colorAnswers.isEmpty())
        return m_colorAnswers.dequeue();
    return std::nullopt;
}
