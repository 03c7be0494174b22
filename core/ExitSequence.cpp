#include "core/ExitSequence.h"

#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "core/Form.h"
#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/SettingsFile.h"
#include "core/mod_connect.h"
#include "core/mod_kernel.h"
#include "platform/dialogs/Dialogs.h"

#include <QPointer>

#include <exception>

namespace {

// Runs one step of the end; a step that fails never keeps the program from
// ending.
template <typename Step> void attempt(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

// Milliseconds until the program's clock reaches its next second.
int untilNextSecond(const Program& p) {
    return 1000 - p.clock.now().time().msec();
}

} // namespace

bool ConfirmExit(Program& p) {
    // A close request that comes while the question is open returns at once.
    if (p.exitQuestionOpen)
        return false;
    if (p.settings.value(QStringLiteral("USE_CONFIRM_EXIT")) != u"1" || p.ExitConfirmed)
        return true;
    // Asking is not closing: the program goes on as before while the
    // question is open, so a No leaves nothing lost.
    p.exitQuestionOpen = true;
    const int answer = platform::MsgBox(QStringLiteral("Are you sure you want to close Parlone?"),
                                        platform::vbYesNo, QStringLiteral("Confirm Exit"));
    p.exitQuestionOpen = false;
    p.ExitConfirmed = answer == platform::vbYes;
    return p.ExitConfirmed;
}

ExitSequence::ExitSequence(Program& program) : m_p(program) {
    m_wait.setSingleShot(true);
    connect(&m_wait, &QTimer::timeout, this, &ExitSequence::tick);
}

void ExitSequence::run() {
    Program& p = m_p;
    if (p.closing || !ConfirmExit(p))
        return;
    p.closing = true;
    attempt([&] { ExecCommand(p, QStringLiteral("quit")); });
    attempt([&] {
        SaveSettings(p);
        SavePopups(p);
    });
    // The frame's place, for the next start.
    attempt([&] {
        if (p.hasMainFrame())
            p.mainFrame().writeGeometryFile();
    });
    attempt([&] { TrayRemove(p); });
    attempt([&] { DisconnectServer(p); });
    m_startSecond = p.clock.now().time().second();
    m_sendDeadline.setRemainingTime(SendGraceMs);
    waitFor(untilNextSecond(p));
}

void ExitSequence::waitFor(int ms) {
    m_wait.start(qBound(1, ms, 1000));
}

void ExitSequence::tick() {
    // Any other second ends the wait: one missed while the event loop was
    // held, or a clock stepped back, must not make it wait for a minute.
    if (m_p.clock.now().time().second() == m_startSecond) {
        waitFor(untilNextSecond(m_p));
        return;
    }
    const bool sending = m_p.hasMainFrame() && m_p.mainFrame().Yarv1->isClosing();
    if (sending && !m_sendDeadline.hasExpired()) {
        waitFor(10);
        return;
    }
    finish();
}

void ExitSequence::finish() {
    // Every window, the frame, the setup dialog, the walkthrough, the block
    // list, the memo window and the about box among them, is one of the open
    // windows: each gets its own close handling and then goes, whatever the
    // handler answered.
    const QList<Form*>& forms = m_p.forms();
    const QList<QPointer<Form>> open(forms.cbegin(), forms.cend());
    for (const QPointer<Form>& form : open) {
        if (!form || !m_p.forms().contains(form.data()))
            continue;
        attempt([&] {
            int cancel = 0;
            form->Form_QueryUnload(cancel, Form::vbFormCode);
        });
        if (form && m_p.forms().contains(form.data()))
            form->Unload();
    }
    m_p.endProgram();
}
