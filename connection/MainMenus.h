#pragma once
// The frame's menu bar: File (connect toggle, setup, walkthrough, exit),
// Tools (the notify, alias, popup and channel-list windows, DCC chat and
// send), Window (arrange, close the active window) and Help. Most items hand
// a command to the interpreter or open a window; each item's handler keeps
// the item's name.

#include <QObject>

class Program;
class QAction;
class QMenu;
class QMenuBar;
class frm_main;

class MainMenus : public QObject {
    Q_OBJECT
public:
    MainMenus(Program& program, frm_main& frame, QMenuBar& bar);

    QMenu* mnuFile = nullptr;
    QAction* mnuConnectCmd = nullptr;
    QAction* mnuSetupCmd = nullptr;
    QAction* mnuSetWiz = nullptr;
    QAction* mnuExiter = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuNotify = nullptr;
    QAction* mnuAliasManager = nullptr;
    QAction* mnuPopUps = nullptr;
    QAction* mnuList = nullptr;
    QMenu* mnuDCC = nullptr;
    QAction* mnuDCCChat = nullptr;
    QAction* mnuDCCSend = nullptr;
    QMenu* mnuWindow = nullptr;
    QMenu* mnuSortWindow = nullptr;
    QAction* mnuWindowSortCascade = nullptr;
    QAction* mnuWindowSortTileHoriz = nullptr;
    QAction* mnuWindowSortTileVert = nullptr;
    QAction* mnuWindowClose = nullptr;
    QMenu* mnuhelp = nullptr;
    QAction* mnuHelpItem = nullptr;
    QAction* mnufrmabout = nullptr;

    // Connects or disconnects by the item's caption, which flips at once,
    // before the server answers; a connect that opens nothing (a profile
    // with gaps) leaves it as it was.
    void mnuConnectCmd_Click();
    void mnuSetupCmd_Click();
    void mnuSetWiz_Click();
    void mnuExiter_Click();
    void mnuNotify_Click();
    void mnuAliasManager_Click();
    void mnuPopUps_Click();
    // The channel list: "LIST" to the server unless the window is showing.
    void mnuList_Click();
    // Asks for a nick, proposing the clipboard's text, and offers a DCC chat.
    void mnuDCCChat_Click();
    void mnuDCCSend_Click();
    void mnuWindowSortCascade_Click();
    void mnuWindowSortTileHoriz_Click();
    void mnuWindowSortTileVert_Click();
    // Closes the active child through its own close handling; the server
    // window is never closed here.
    void mnuWindowClose_Click();
    // Starts help.exe from the program folder; a failure is one "Error: "
    // line in the server window.
    void mnuHelpItem_Click();
    void mnufrmabout_Click();

private:
    // An item whose handler runs guarded: whatever a command throws ends there.
    QAction* item(QMenu* menu, const QString& caption, void (MainMenus::*handler)());

    Program& m_p;
    frm_main& m_frame;
};
