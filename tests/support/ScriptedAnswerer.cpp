#include "tests/support/ScriptedAnswerer.h"

using namespace platform;

ScriptedAnswerer::ScriptedAnswerer() : m_previous(CurrentDialogAnswerer()) {
    SetDialogAnswerer(this);
}

ScriptedAnswerer::~ScriptedAnswerer() {
    SetDialogAnswerer(m_previous);
}

int ScriptedAnswerer::messageBox(const DialogRequest& request) {
    m_requests.append(request);
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

std::optional<QString> ScriptedAnswerer::inputBox(const DialogRequest& request) {
    m_requests.append(request);
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
