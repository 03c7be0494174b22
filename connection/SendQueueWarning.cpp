#include "connection/SendQueueWarning.h"

#include "core/Program.h"
#include "core/ServerEcho.h"
#include "platform/irc/Yarv.h"

SendQueueWarning::SendQueueWarning(Program& program, platform::Yarv* irc)
    : QObject(irc), m_program(program) {
    connect(irc, &platform::Yarv::lineRefused, this, &SendQueueWarning::Yarv1_lineRefused);
}

void SendQueueWarning::Yarv1_lineRefused() {
    const QDateTime now = m_program.clock.now();
    // A clock set back counts as a second gone by.
    if (m_shown.isValid() && now >= m_shown && m_shown.msecsTo(now) < 1000)
        return;
    m_shown = now;
    ServerEcho(m_program, QStringLiteral("Error: send queue full, lines not sent"));
}
