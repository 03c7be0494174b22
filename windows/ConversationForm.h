#pragma once
// What every conversation window (server, channel, query) is built from: a
// read-only console over a one-line command line, a hidden input history and
// the console's popup menu, inside the main frame.
//
// The command line: Ctrl+K, Ctrl+B, Ctrl+U and Ctrl+R append the colour,
// bold, underline and reverse codes at the end (wherever the caret is), Up
// and Down walk the history, and Enter hands the line on. Text typed or
// pasted with line breaks in it is taken line by line, each break an Enter,
// so no line ever reaches the server glued to the next.
//
// The window keeps its own layout in twips: the console across the top, the
// command line under it. A child of the frame, minimised, hides and shows
// the window of a neighbouring switchbar panel; a normal child that nearly
// fills the frame is given a smaller place. A top-level window (a
// conversation on the desktop) has neither rule: it lays out its controls
// and is activated by the window system.

#include "core/Form.h"

#include <QString>

class QKeyEvent;
class QLineEdit;
class QListWidget;
class FramePlacement;
class absRichEdit;
class WindowLog;

namespace platform {
class AGPopUp;
}

class ConversationForm : public Form {
    Q_OBJECT
public:
    // What a family of windows reads: the popup editor's kind word
    // ("server", "channel", "query") and the prefix of its settings keys
    // ("WIN_CHAN_").
    struct Family {
        QString popups;
        QString settings;
    };

    // `kind` is Form::Kind::MdiChild (a child of the frame) or
    // Form::Kind::TopLevel (a window of its own on the desktop).
    ConversationForm(Program& program, const Family& family, const QString& tag = QString(),
                     Kind kind = Kind::MdiChild);
    ~ConversationForm() override;

    absRichEdit* console = nullptr;
    QLineEdit* commandline = nullptr;
    // The input history, newest first; its current row is the browsing
    // position (-1: not browsing). Never shown.
    QListWidget* List1 = nullptr;
    platform::AGPopUp* pop_console = nullptr;

    // Rebuilds the console's menu from the popup editor's captions of the
    // window's family. While the editor is not loaded there are none.
    virtual void UpdatePopups();
    // Lays the window out: in the frame the minimised hand-over, the frame
    // rescue, then the controls; on the desktop the controls only. Raised
    // by every change of the window's size or state, and called after the
    // command line's height changed.
    void Form_Resize();

    // The longest text of one PRIVMSG, in bytes, so that the line a server
    // relays (with the sender's full address in front) stays within 510.
    static int privmsgTextBytes(const QString& nick, const QString& target);
    // `text` cut into pieces of at most `maxBytes` of UTF-8, never inside a
    // character, and before a blank where the piece holds one, so that words
    // stay whole and no piece but the last ends with a blank. The pieces
    // joined give the text.
    static QStringList splitText(const QString& text, int maxBytes);

protected:
    // Enter in the command line. The channel and query rule: a line that is
    // not blank goes into the history; a "/" line runs as a command, any
    // other is shown and sent to target().
    virtual void commandlineEnter();
    // Where plain lines go: the channel, or the nick of a query.
    virtual QString target() const { return Tag(); }
    // The window became the frame's active child, or, on the desktop, the
    // active window.
    virtual void Form_Activate();
    virtual void consoleMouseDown(int button);
    virtual void consoleMouseUp(int button);
    // The index of the window's own switchbar panel; 0 for none. The
    // first panel whose text is the tag, unless the window owns one.
    virtual int ownSwitchbarPanel() const;
    // The switchbar panel whose window is shown when this one is minimised,
    // given this window's own panel (0: it has none); 0 shows nothing.
    virtual int handOverPanel(int ownPanel) const;
    // Places the controls for the window's current size.
    virtual void layOut();
    // The standard layout: the console at (1, top), W - 100 by H - 400 - h,
    // the command line of height h under it, as wide.
    void standardLayout(int top = 1);

    // Shows one line: the timestamp decided by the family's TIMESTAMP setting
    // ("TRUE" always, "FALSE" never, else `timestamp`), the family's log when
    // its LOGGING setting is "TRUE", the colour `col` (an RGB number as
    // text; "" is the family's CONSOLE_FORECOLOR) and the line drawn at the
    // end of the console. A blank text shows and logs nothing.
    void dispLine(const QString& txt, bool timestamp, const QString& col);
    // The caret to the end of the console, which drops any selection.
    void caretToEnd();
    // The console's selection onto the clipboard; an empty one leaves the
    // clipboard alone.
    void copySelection();
    // Adds a line to the history as the newest entry and stops browsing.
    void insertHistory(const QString& text);
    // The log file's name: the tag without its first character, ".log".
    virtual QString logName() const;
    // The window's log.
    WindowLog& windowLog() { return *m_log; }

    // Fills `menu` with the popup editor's captions of `kind`, each caption
    // also its item name; empty while the editor is not loaded.
    void fillPopup(platform::AGPopUp& menu, const QString& kind);
    // Runs the command of every item of `kind` captioned `itemName`
    // (exactly), in list order.
    void runPopupItem(const QString& kind, const QString& itemName);

    void attachToFrame() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The family's setting `name` ("TIMESTAMP" reads WIN_CHAN_TIMESTAMP).
    QString setting(const QString& name) const;

private:
    bool commandlineKey(QKeyEvent* event);
    void splitLineBreaks();

    Family m_family;
    WindowLog* m_log;
    FramePlacement* m_placement;
    bool m_splitting = false;
};
