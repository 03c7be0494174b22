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
