#include "connection/ConnectionTimer.h"

#include "connection/frm_main.h"
#include "core/Program.h"
#include "windows/frm_server.h"

ConnectionTimer::ConnectionTimer(Program& program, QObject* parent)
    : QObject(parent), m_program(program) {
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &ConnectionTimer::Timer1_Timer);
    if (program.connectionTimer)
        m_timer.start();
}

void ConnectionTimer::Timer1_Timer() {
    Program& p = m_program;
    frm_main& frame = p.mainFrame();
    const int connected = frame.Yarv1->IsConnected() ? 1 : 0;
    if (connected != m_remembered) {
        const QString text = connected > 0
                                 ? QStringLiteral("Connected to: ") +
                                       p.settings.value(QStringLiteral("SERVER_URL")) +
                                       QStringLiteral(" as ") +
                                       p.settings.value(QStringLiteral("PROFILE_NICKNAME"))
                                 : QStringLiteral("Disconnected");
        platform::SwitchBarPanel* panel = frame.StatusBar1->Panel(1);
        panel->setPicture(frame.il.Picture(connected > 0 ? 2 : 3));
        panel->setToolTipText(text);
        if (p.hasServerWindow())
            p.serverWindow().setCaption(text);
    }
    m_remembered = connected;
}
