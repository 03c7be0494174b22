#pragma once
// All program-wide state in one object: the settings record, the palette, the
// clock, the runtime flags, the server list, the list of open windows in load
// order and the single-instance windows, created on first use. `Main` makes
// one for the run; each test makes its own in a temporary program folder.

#include "config/ServerList.h"
#include "core/Palette.h"
#include "core/ProgramClock.h"
#include "core/RecordFile.h"
#include "core/Settings.h"
#include "core/WordArray.h"
#include "platform/irc/IrcServerSyntax.h"
#include "platform/shell/NotifyIcon.h"
#include "subclass/Loomhook.h"

#include <QList>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

class Form;
class frm_main;
class frm_server;
class frm_chan;
class frm_setup;
class frm_blocks;
class frm_notify;
class frm_popups;
class frm_alias;
class frm_list;
class frm_dccsend;
class frm_sw;
class frm_about;
class frm_memo;
class frm_note;
class frmMain;
class frm_twColor;
class frm_twFont;
class ExitSequence;

class Program {
public:
    // The folder holds settings, lists, scripts and logs. An empty folder
    // means the executable's folder, or the per-user data folder when that
    // one cannot be written.
    explicit Program(const QString& programFolder = QString());
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // The program folder, without a trailing separator.
    const QString& folder() const { return m_folder; }
    // A path inside the program folder.
    QString path(const QString& relative) const;

    Palette palette;
    Settings settings;
    ProgramClock clock;
    ServerList servers;
    // The one message-hook service every console attaches through.
    loomhook::GSubclass subclass;

    // The port the frame's ident server listens on; none: it does not listen.
    // The program asks for 113; a test that wants a listener gives a free
    // port (0: any free port).
    std::optional<quint16> identPort;
    // Whether the frame's connection timer ticks by itself every second. The
    // program turns it on; tests call its tick themselves.
    bool connectionTimer = false;

    // Writes the program's whole files (settings.ini, popups.ini, ...)
    // atomically; tests put in one that fails.
    RecordFile::Writer fileWriter = &RecordFile::saveAtomically;
    // Ends the program: called once, by the exit sequence, when every window
    // is unloaded. Leaves the application's event loop; tests count the calls.
    std::function<void()> endProgram;

    bool ServerConnected = false;
    bool IsAway = false;
    bool ExitConfirmed = false;
    // Set when the user ends the connection (a disconnect or a QUIT of their
    // own), cleared by their next connect: no reconnect follows meanwhile.
    bool userEndedConnection = false;
    // Set once the exit sequence starts: from then on no window refuses to
    // close, a second close request or "exit" returns at once, and no window
    // is created.
    bool closing = false;
    // Held while the close question is open: a second close request or
    // "exit" returns at once, and everything else goes on as before.
    bool exitQuestionOpen = false;
    // Held while the user's own disconnect closes the connection: that
    // disconnect shows its "Disconnected!" itself, so the control's
    // Disconnected, raised inside the close, shows no second one.
    bool userClosing = false;
    // The window whose command line the running command was typed in, when
    // that window cannot be found by its tag (a DCC chat, tagged with a bare
    // nick that may be any other window's tag). Set only while the command
    // runs.
    QPointer<Form> commandOrigin;
    // What the server says channel names and status symbols look like (its
    // 005 CHANTYPES and PREFIX, read by the frame's IRC control); the
    // defaults while there is no frame or the server has not said.
    const platform::IrcServerSyntax& serverSyntax() const;
    // The exit sequence, which runs the command "exit".
    ExitSequence& exitSequence();
    // Set while a box that a server or peer line raised is open: such boxes
    // are shown one at a time (ServerBoxes.h opens them and keeps the mark).
    bool serverBoxOpen = false;
    // Lives exactly as long as the program: the context of callbacks that
    // must not run once it is gone (the answer of a box that does not wait).
    const QObject* lifetime() const { return m_lifetime.get(); }

    // The program's one notification-area icon record, kept between calls:
    // the tray icon of the main frame while it is minimised to the tray.
    platform::NOTIFYICONDATA trayIcon;

    // The words of the line being handled (SplitWords) and the two-character
    // pieces of a mode string (SplitPairs, from index 1). Each split
    // overwrites them, so a user reads what it needs before splitting again.
    WordArray words;
    WordArray Pairs;
    // The index of the last word of the latest command split.
    qsizetype WordCount = 0;

    // Command scripts: the arguments of the script most recently started
    // (from index 1; slots above its count keep what earlier scripts left),
    // their count, and the files of the scripts running now, outermost first.
    WordArray BatchArgs;
    qsizetype scriptArgCount = 0;
    QStringList runningScripts;

    // What the colour and font choosers last picked: a palette index and a
    // face name. They outlive the chooser windows.
    int PickedColorIndex = 0;
    QString PickedFont;

    // Single-instance windows, created on first use.
    frm_main& mainFrame();
    frm_server& serverWindow();
    frm_setup& setupDialog();
    // The channel window's default instance, loaded (not shown) at start-up.
    frm_chan& defaultChannel();
    // The block-list window, loaded (not shown) on first use.
    frm_blocks& blocksWindow();
    frm_notify& notifyWindow();
    // The popup editor, holding the popup items; loaded hidden on first use.
    frm_popups& popupsWindow();
    bool hasPopupsWindow() const { return !m_popups.isNull(); }
    bool hasNotifyWindow() const { return !m_notify.isNull(); }
    // The alias manager, the channel-list window and the DCC send window,
    // children of the frame.
    frm_alias& aliasWindow();
    frm_list& listWindow();
    bool hasListWindow() const;
    frm_dccsend& dccSendWindow();
    // The setup walkthrough and the about box, shown modally over the frame.
    frm_sw& setupWizard();
    frm_about& aboutBox();
    // The colour and font choosers: one of each at a time, built on first
    // use; once one is unloaded (closed), the next use builds a new one.
    frm_twColor& colorChooser();
    frm_twFont& fontChooser();
    bool hasColorChooser() const;
    bool hasFontChooser() const;
    // The memo window: loaded only to be unloaded with the program.
    frm_memo& memoWindow();
    // The alert tiles, top-level: the note tile and the toast. Each is made
    // (and runs its load) on first use and forgotten once it unloads; the
    // next alert makes a new one. Never asked for while the program ends.
    frm_note& noteTile();
    bool hasNoteTile() const;
    frmMain& toast();
    bool hasToast() const;
    bool hasMainFrame() const { return !m_main.isNull(); }
    bool hasServerWindow() const { return !m_server.isNull(); }
    // Server-window lines shown before the server window existed.
    QStringList pendingServerLines;

    // Every open window in load order.
    const QList<Form*>& forms() const { return m_forms; }
    void addForm(Form* form);
    void removeForm(Form* form);
    // A form that left the open windows and waits to be destroyed; the
    // program takes it down with the rest if it goes first.
    void addUnloading(Form* form);

    static QString resolveProgramFolder();

private:
    QString m_folder;
    QList<Form*> m_forms;
    QList<QPointer<Form>> m_unloading;
    QPointer<frm_main> m_main;
    QPointer<frm_server> m_server;
    QPointer<frm_setup> m_setup;
    QPointer<frm_chan> m_defaultChan;
    QPointer<frm_blocks> m_blocks;
    QPointer<frm_notify> m_notify;
    QPointer<frm_popups> m_popups;
    QPointer<frm_alias> m_alias;
    QPointer<frm_list> m_list;
    QPointer<frm_dccsend> m_dccSend;
    QPointer<frm_sw> m_setupWizard;
    QPointer<frm_about> m_about;
    QPointer<frm_memo> m_memo;
    QPointer<frm_note> m_note;
    QPointer<frmMain> m_toast;
    QPointer<frm_twColor> m_colorChooser;
    QPointer<frm_twFont> m_fontChooser;
    std::unique_ptr<ExitSequence> m_exit;
    std::unique_ptr<QObject> m_lifetime = std::make_unique<QObject>();
};
