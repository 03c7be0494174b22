#include "connection/MainMenus.h"

#include "config/frm_about.h"
#include "config/frm_alias.h"
#include "config/frm_popups.h"
#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "core/CommandWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/ServerEcho.h"
#include "core/ShowModal.h"
#include "core/WindowLookup.h"
#include "core/mod_connect.h"
#include "core/mod_kernel.h"
#include "platform/dialogs/Dialogs.h"
#include "windows/frm_dccsend.h"
#include "windows/frm_list.h"
#include "windows/frm_notify.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>

#include <exception>

MainMenus::MainMenus(Program& program, frm_main& frame, QMenuBar& bar)
    : QObject(&frame), m_p(program), m_frame(frame) {
    mnuFile = bar.addMenu(QStringLiteral("&File"));
    mnuConnectCmd = item(mnuFile, QStringLiteral("&Connect"), &MainMenus::mnuConnectCmd_Click);
    mnuFile->addSeparator();
    mnuSetupCmd = item(mnuFile, QStringLiteral("&Setup"), &MainMenus::mnuSetupCmd_Click);
    mnuSetWiz = item(mnuFile, QStringLiteral("Setup &Wizard"), &MainMenus::mnuSetWiz_Click);
    mnuFile->addSeparator();
    mnuExiter = item(mnuFile, QStringLiteral("E&xit"), &MainMenus::mnuExiter_Click);

    mnuTools = bar.addMenu(QStringLiteral("&Tools"));
    mnuNotify = item(mnuTools, QStringLiteral("&Notify"), &MainMenus::mnuNotify_Click);
    mnuAliasManager = item(mnuTools, QStringLiteral("&Alias'"), &MainMenus::mnuAliasManager_Click);
    mnuPopUps = item(mnuTools, QStringLiteral("Pop&Ups"), &MainMenus::mnuPopUps_Click);
    mnuList = item(mnuTools, QStringLiteral("&List"), &MainMenus::mnuList_Click);
    mnuDCC = mnuTools->addMenu(QStringLiteral("&DCC"));
    mnuDCCChat = item(mnuDCC, QStringLiteral("&Chat"), &MainMenus::mnuDCCChat_Click);
    mnuDCCSend = item(mnuDCC, QStringLiteral("&Send File"), &MainMenus::mnuDCCSend_Click);

    mnuWindow = bar.addMenu(QStringLiteral("&Window"));
    mnuSortWindow = mnuWindow->addMenu(QStringLiteral("&Sort"));
    mnuWindowSortCascade =
        item(mnuSortWindow, QStringLiteral("&Cascade"), &MainMenus::mnuWindowSortCascade_Click);
    mnuWindowSortTileHoriz = item(mnuSortWindow, QStringLiteral("Tile &Horizontal"),
                                  &MainMenus::mnuWindowSortTileHoriz_Click);
    mnuWindowSortTileVert = item(mnuSortWindow, QStringLiteral("Tile &Vertically"),
                                 &MainMenus::mnuWindowSortTileVert_Click);
    mnuWindowClose = item(mnuWindow, QStringLiteral("&Close"), &MainMenus::mnuWindowClose_Click);

    mnuhelp = bar.addMenu(QStringLiteral("&Help"));
    mnuHelpItem = item(mnuhelp, QStringLiteral("&Contents"), &MainMenus::mnuHelpItem_Click);
    mnufrmabout = item(mnuhelp, QStringLiteral("A&bout"), &MainMenus::mnufrmabout_Click);
}

QAction* MainMenus::item(QMenu* menu, const QString& caption, void (MainMenus::*handler)()) {
    QAction* action = menu->addAction(caption);
    connect(action, &QAction::triggered, this, [this, handler] {
        try {
            (this->*handler)();
        } catch (const std::exception&) {
        }
    });
    return action;
}

void MainMenus::mnuConnectCmd_Click() {
    const QString caption = mnuConnectCmd->text();
    if (caption == u"&Connect") {
        ConnectServer(m_p);
        // A profile with gaps opens nothing, and the item keeps saying so.
        const platform::Yarv* irc = m_frame.Yarv1;
        if (irc->IsConnected() || irc->isConnecting())
            mnuConnectCmd->setText(QStringLiteral("&Disconnect"));
    } else if (caption == u"&Disconnect") {
        ExecCommand(m_p, QStringLiteral("quit"));
        DisconnectServer(m_p);
        mnuConnectCmd->setText(QStringLiteral("&Connect"));
    }
}

void MainMenus::mnuSetupCmd_Click() {
    frm_setup& setup = m_p.setupDialog();
    setup.Show();
    setup.ZOrder();
}

void MainMenus::mnuSetWiz_Click() {
    ExecCommand(m_p, QStringLiteral("setwiz"));
}

void MainMenus::mnuExiter_Click() {
    ExecCommand(m_p, QStringLiteral("exit"));
}

void MainMenus::mnuNotify_Click() {
    m_frame.ShowToolWindow(m_p.notifyWindow(), QStringLiteral("Notify"), 7);
}

void MainMenus::mnuAliasManager_Click() {
    m_frame.ShowToolWindow(m_p.aliasWindow(), QStringLiteral("Alias"), 8);
}

void MainMenus::mnuPopUps_Click() {
    m_frame.ShowToolWindow(m_p.popupsWindow(), QStringLiteral("Popups"), 9);
}

void MainMenus::mnuList_Click() {
    if (m_p.hasListWindow() && m_p.listWindow().Visible()) {
        m_p.listWindow().setFocus();
        return;
    }
    ExecCommand(m_p, QStringLiteral("LIST"));
    const QString panel = QStringLiteral("/LIST");
    if (FindPanel(m_p, panel) == 0)
        m_frame.AddPanel(panel, 11);
    SelectPanel(m_p, panel);
    frm_list& list = m_p.listWindow();
    list.Show();
    list.setFocus();
}

void MainMenus::mnuDCCChat_Click() {
    const QString nick =
        platform::InputBox(QStringLiteral("Enter the nickname you wish to DCC Chat with"),
                           QStringLiteral("DCC Chat?"), QGuiApplication::clipboard()->text());
    if (!nick.isEmpty())
        ExecCommand(m_p, QStringLiteral("DCC CHAT ") + nick);
}

void MainMenus::mnuDCCSend_Click() {
    m_p.dccSendWindow().Show();
}

void MainMenus::mnuWindowSortCascade_Click() {
    m_frame.Arrange(0);
}

void MainMenus::mnuWindowSortTileHoriz_Click() {
    m_frame.Arrange(1);
}

void MainMenus::mnuWindowSortTileVert_Click() {
    m_frame.Arrange(2);
}

void MainMenus::mnuWindowClose_Click() {
    Form* active = ActiveChild(m_p);
    if (!active || active->Tag().isEmpty() || active->Tag() == u"Server")
        return;
    // A window without a close of its own (the channel list) closes plainly:
    // that is what the base close handling does.
    int cancel = 0;
    active->Form_QueryUnload(cancel, 0);
}

void MainMenus::mnuHelpItem_Click() {
    const QString help = FindPathNoCase(m_p.folder(), QStringLiteral("help.exe"));
    QProcess process;
    process.setProgram(help);
    process.setWorkingDirectory(m_p.folder());
    if (!process.startDetached())
        ServerEcho(m_p, QStringLiteral("Error: help.exe could not be started: ") +
                            process.errorString());
}

void MainMenus::mnufrmabout_Click() {
    ShowModal(m_p.aboutBox(), m_frame);
}
