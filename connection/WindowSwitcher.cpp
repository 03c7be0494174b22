#include "connection/WindowSwitcher.h"

#include "connection/FrameGeometry.h"
#include "connection/frm_main.h"
#include "core/CommandSupport.h"
#include "core/Form.h"
#include "core/PanelOwner.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "windows/frm_server.h"

#include <exception>

using platform::SwitchBarPanel;

WindowSwitcher::WindowSwitcher(Program& program, frm_main& frame)
    : QObject(&frame), m_p(program), m_frame(frame) {
    platform::SwitchBar* bar = frame.StatusBar1;
    connect(bar, &platform::SwitchBar::MouseDown, this, &WindowSwitcher::StatusBar1_MouseDown);
    connect(bar, &platform::SwitchBar::PanelClick, this, &WindowSwitcher::StatusBar1_PanelClick);
    connect(bar, &platform::SwitchBar::DblClick, this, &WindowSwitcher::StatusBar1_DblClick);
    connect(frame.AGPopUp1, &platform::AGPopUp::MenuItemClick, this,
            &WindowSwitcher::AGPopUp1_MenuItemClick);
}

void WindowSwitcher::StatusBar1_MouseDown(int Button, int Shift, float X, float Y) {
    Q_UNUSED(X);
    Q_UNUSED(Y);
    m_button = Button;
    m_shift = Shift;
}

void WindowSwitcher::StatusBar1_PanelClick(int index) {
    const SwitchBarPanel* panel = m_frame.StatusBar1->Panel(index);
    if (!panel)
        return;
    const QString text = panel->Text();
    if (m_button == 1 && m_shift == 1 && text.toUpper() != u"SERVER") {
        closeWindow(index);
        m_shift = 0;
        return;
    }
    if (m_button == 1)
        bringForward(index);
    else if (m_button == 2)
        showWindowMenu(text);
}

void WindowSwitcher::closeWindow(int index) {
    // The window closes itself with its usual side effects; the server window
    // and the frame are never closed this way, and whatever fails is ignored.
    Form* window = WindowOfPanel(m_p, index);
    if (window == nullptr)
        return;
    if (window == &m_frame || (m_p.hasServerWindow() && window == &m_p.serverWindow()))
        return;
    try {
        int cancel = 0;
        window->Form_QueryUnload(cancel, 0);
    } catch (const std::exception&) {
    }
}

void WindowSwitcher::bringForward(int index) {
    // A panel whose window is gone is left as it is.
    Form* window = WindowOfPanel(m_p, index);
    if (window == nullptr)
        return;
    platform::SwitchBar* bar = m_frame.StatusBar1;
    const QString text = bar->Panel(index)->Text();
    // A window that owns its panel presses that one alone.
    const bool owned = dynamic_cast<const PanelOwner*>(window) != nullptr;
    for (int i = 1; i <= bar->Count(); ++i) {
        SwitchBarPanel* panel = bar->Panel(i);
        const bool pressed = i == index || (!owned && panel->Text() == text);
        panel->setBevel(pressed ? SwitchBarPanel::sbrInset : SwitchBarPanel::sbrRaised);
    }
    window->Show();
    if (window->WindowState() == Form::vbMinimized)
        window->setWindowState(Form::vbNormal);
    if (window->WindowState() != Form::vbMinimized) {
        if (const auto rescued = RescuedChild(QSize(window->Width(), window->Height()),
                                              QSize(m_frame.Width(), m_frame.Height())))
            window->Move(rescued->x(), rescued->y(), rescued->width(), rescued->height());
    }
    window->ZOrder();
    window->windowWidget()->update();
}

void WindowSwitcher::showWindowMenu(const QString& text) {
    platform::AGPopUp* menu = m_frame.AGPopUp1;
    const int index = FindForm(m_p, text);
    const Form* window = index < 0 ? nullptr : m_p.forms().at(index);
    if (text == u"Server") {
        menu->ClearMenu();
        menu->AddMenuItem(QStringLiteral("Restore"), QStringLiteral("/WINDOW SERVER REST"));
        menu->AddMenuItem(QStringLiteral("Maximise"), QStringLiteral("/WINDOW SERVER MAX"));
        menu->AddMenuItem(QStringLiteral("Minimise"), QStringLiteral("/WINDOW SERVER MIN"));
        menu->AddMenuItem(QStringLiteral("-"), QStringLiteral("wo"));
        menu->AddMenuItem(QStringLiteral("Save Buffer.."),
                          QStringLiteral("//WINDOW SERVER SAVE $?FILE"));
        menu->ShowMenu();
    } else if (IsChannelWindow(window) || text.startsWith(u'?')) {
        menu->ClearMenu();
        menu->AddMenuItem(QStringLiteral("Close"), QStringLiteral("/WINDOW NORMAL CLOSE ") + text);
        menu->AddMenuItem(QStringLiteral("Restore"), QStringLiteral("/WINDOW NORMAL REST ") + text);
        menu->AddMenuItem(QStringLiteral("Maximise"), QStringLiteral("/WINDOW NORMAL MAX ") + text);
        menu->AddMenuItem(QStringLiteral("Minimise"), QStringLiteral("/WINDOW NORMAL MIN ") + text);
        menu->AddMenuItem(QStringLiteral("-"), QStringLiteral("wo"));
        menu->AddMenuItem(QStringLiteral("Save Buffer.."), QStringLiteral("//WINDOW NORMAL SAVE ") +
                                                               text + QStringLiteral(" $?FILE"));
        menu->AddMenuItem(QStringLiteral("Detach"),
                          QStringLiteral("//WINDOW NORMAL DETACH ") + text);
        menu->ShowMenu();
    }
}

void WindowSwitcher::StatusBar1_DblClick() {
    const int alignment = m_frame.statusBarAlignment();
    if (alignment == 1)
        m_frame.setStatusBarAlignment(2);
    else if (alignment == 2)
        m_frame.setStatusBarAlignment(1);
}

void WindowSwitcher::AGPopUp1_MenuItemClick(const QString& ItemName) {
    // As if typed: a command that fails ends there, as on a command line.
    QString line = ItemName;
    try {
        ParseLine(m_p, line);
    } catch (const std::exception&) {
    }
}
