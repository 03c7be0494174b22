#pragma once
// The main frame: the top-level window that holds the server, channel, query
// and tool windows in its MDI area, with the menu bar, the window switcher
// `StatusBar1` (panel 1 is the server window's and the connection's), the
// IRC control, the system-menu control, the shared popup menu and the image
// list of panel and tray pictures. It is a switchboard: each family of its
// handlers lives in a class of its own (MainMenus, WindowSwitcher); its own
// code is its lifecycle: load, the size rules, the tray's return, the close
// request.

#include "core/ConversationWindow.h"
#include "core/Form.h"
#include "ident/Ostrane.h"
#include "platform/irc/Yarv.h"
#include "platform/popup/AGPopUp.h"
#include "platform/window/ImageList.h"
#include "platform/window/SwitchBar.h"
#include "platform/winsock/WinsockArray.h"
#include "sysmenu/Sysdeck.h"

class ChannelEvents;
class ConnectionEvents;
class CtcpHandler;
class DccChatSockets;
class DccOfferPrompts;
class DccFileTransfer;
class ConnectionTimer;
class FrameSystemMenu;
class MainMenus;
class MessageEvents;
class NotifyReplies;
class QMdiArea;
class QVBoxLayout;
class ServerReplies;
class WindowSwitcher;

class frm_main : public Form, public ConversationWindow {
    Q_OBJECT
public:
    explicit frm_main(Program& program);
    ~frm_main() override;

    QMdiArea* mdiArea() const { return m_mdiArea; }
    platform::SwitchBar* StatusBar1 = nullptr;
    // The frame's system-menu control, with "Always on top" (100) and
    // "Minimise to tray" (111).
    Sysdeck* Sysdeck1 = nullptr;
    // The IRC connection.
    platform::Yarv* Yarv1 = nullptr;
    // Handlers of the connection's events, by family.
    ConnectionEvents* connectionEvents = nullptr;
    ServerReplies* serverReplies = nullptr;
    ChannelEvents* channelEvents = nullptr;
    MessageEvents* messageEvents = nullptr;
    NotifyReplies* notifyReplies = nullptr;
    // The ident server; it listens from load on the program's ident port.
    Ostrane* Ostrane1 = nullptr;
    // The one popup menu of the tray icon's right button and the switchbar's
    // right-click menus; its item names are command lines.
    platform::AGPopUp* AGPopUp1 = nullptr;
    // Pictures 1 to 17 of the switchbar panels and the tray icon.
    const platform::ImageList il;
    MainMenus* menus = nullptr;
    WindowSwitcher* switcher = nullptr;
    // The DCC sockets: chats, files received and files offered. Element 0
    // of each is loaded from the start and carries nothing; each chat or
    // transfer loads one more at the highest index plus one.
    platform::WinsockArray* DCC = nullptr;
    platform::WinsockArray* dccfile = nullptr;
    platform::WinsockArray* dccsend = nullptr;
    DccFileTransfer* dccFileTransfer = nullptr;
    DccChatSockets* dccChatSockets = nullptr;
    DccOfferPrompts* dccOffers = nullptr;
    CtcpHandler* ctcpHandler = nullptr;
    // The connection panel's once-a-second look at the connection.
    ConnectionTimer* Timer1 = nullptr;
    // The handler of the frame's own system-menu items.
    FrameSystemMenu* systemMenu = nullptr;

    // Writes a line to the server window as other windows write to
    // theirs: its own colours, timestamp and log; `timestamp` and `col` are
    // not consulted.
    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;
    // The parts of a raw protocol line (FrameText::Analyse).
    void Analyse(const QString& line, QStringList& parts) const;
    // The nick of a user mask (FrameText::GetNick).
    QString GetNick(const QString& mask) const;

    // Applies one record of main.win, which the frame reads when it loads
    // (its place first, then its state): "WIN_STATE" (0 to 2), "WIN_LEFT", "WIN_TOP", "WIN_HEIGHT"
    // or "WIN_WIDTH" in twips, the key in any letter case; the value's leading
    // number, 0 when it has none. Any other key, and a state outside 0 to 2,
    // changes nothing.
    void FSet(const QString& key, const QString& value);
    // Writes main.win with the frame's state and place (for a maximised frame
    // the place it is restored to), atomically through the program's file
    // writer; a failed write changes nothing and is not reported.
    void writeGeometryFile();
    // The size rules, on every change of size or state: a frame restored to
    // nearly the whole screen is shrunk inside it, and a frame minimised with
    // USE_TRAY "1" goes into the tray when the desktop has one.
    void Form_Resize();
    // The tray icon's actions, which arrive as mouse moves whose x (twips)
    // over the twips per pixel is the action: 514 (left button up) brings
    // the frame back, 517 (right button up) opens AGPopUp1.
    void Form_MouseMove(int Button, int Shift, float X, float Y);
    // The close request: the close question, settings.ini and popups.ini
    // written, then the command "exit", which unloads the frame with every
    // window and ends the program. The frame itself never just closes.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

    // Where the switchbar docks: 1 the top, 2 the bottom of the frame.
    int statusBarAlignment() const { return m_statusBarAlignment; }
    void setStatusBarAlignment(int alignment);
    // Adds a switchbar panel at the end with text `text` and picture
    // `picture` of `il`, sized as a spring; returns its index.
    int AddPanel(const QString& text, int picture);
    // Shows a tool window in its normal state when it was minimised and
    // brings it to the front; when the switchbar has no panel `panel` yet,
    // adds it with `picture` and marks it active.
    void ShowToolWindow(Form& window, const QString& panel, int picture);
    // Arranges the child windows: 0 cascade, 1 tiled one above the other,
    // 2 tiled side by side, 3 the minimised ones lined up along the bottom;
    // any other mode does nothing. Each window keeps the place and size the
    // arrangement gives it.
    void Arrange(int mode);
    // True while Arrange places the windows: their own placement rules then
    // leave them where they are put.
    bool isArranging() const { return m_arranging; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void addSystemMenuItems();
    void lineUpIcons();
    void readGeometryFile();

    QVBoxLayout* m_layout = nullptr;
    QMdiArea* m_mdiArea = nullptr;
    int m_statusBarAlignment = 2;
    // Set at the end of the load: the size rules wait for a loaded frame.
    bool m_loaded = false;
    bool m_arranging = false;
};
