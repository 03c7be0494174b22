#pragma once
// A private conversation on the desktop: a top-level window of its own,
// outside the main frame, made by the query window's "&Detach" and kept
// between uses. While it shows the conversation it carries the tag
// "?" & nick and the query window left in the frame, hidden, "??" & nick;
// put back ("Desktop" in its system menu) the two swap tags and this window
// hides, ready for the next detach.
//
// Its system menu adds "Always On Top", "Desktop" (ticked: back into the
// frame), "Translucent" (alpha 160 or opaque) and "Custom Translucency" (an
// alpha the user types, 1 to 255). Translucency is the window's opacity,
// which needs a compositing window manager to be seen.
//
// Lines count as unread while the window is not the active window; the
// conversation's switchbar panel shows the count. The user's own lines are
// shown and logged here, as in any conversation window.

#include "core/ConversationWindow.h"
#include "core/UnreadLines.h"
#include "windows/ConversationForm.h"

#include <QMargins>
#include <QRect>

#include <optional>

class Sysdeck;
class absRichEdit;

class frm_desk_query : public ConversationForm, public ConversationWindow, public UnreadLines {
    Q_OBJECT
public:
    static constexpr int IDM_ONTOP = 1222;
    static constexpr int IDM_DESKTOP = 1252;
    static constexpr int IDM_TRANSLUCENT = 1232;
    static constexpr int IDM_CUSTOM_TRANSLUCENCY = 1242;
    // The alpha of "Translucent".
    static constexpr int TranslucentAlpha = 160;

    explicit frm_desk_query(Program& program);

    // The window's system-menu control, with the four items above.
    Sysdeck* Sysdeck1 = nullptr;

    // Shows one line as the query window does; it counts as unread while
    // this window is not the active window.
    void disp(const QString& txt, bool timestamp = false, const QString& col = QString()) override;
    // Closes the conversation when this window carries it (it has the
    // conversation's panel): the panel goes, then the query window left in
    // the frame, then this window. Hidden, it only unloads itself. Never
    // cancels.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // Puts the conversation back into the frame: the position file is
    // written, the query window shows again with this window's tag and the
    // lines shown here since the detach, and this window hides with "?" in
    // front of its tag.
    void Undesk();
    // Writes the position file, nick & ".win" in the program folder: one line
    // of Left, Top, Height and Width in twips, ending CR LF. The nick passes
    // the program's file-name rule, so it never names one of the program's
    // own files. A failed write is ignored.
    void SaveState();
    // The lines shown while the window was not the active window.
    int mwait() const override { return m_unread; }

    // The lines the query window showed since it took the conversation
    // (`since`, its console's length then), copied in as CopyQueryLines
    // copies: this window shows them now.
    void takeLines(const absRichEdit& from, int since);
    // Puts the window at `place` (left, top, width and height in twips),
    // moved, and shrunk where it is larger, so that its frame lies inside
    // the available area of the screen it is most on (the primary screen
    // when none).
    void placeOnScreen(const QRect& place);
    // The window manager's frame around the window, in pixels; before the
    // window is first mapped, when it is not known, the style's title bar
    // above the window and its window border around it.
    QMargins frameExtents() const;

    // The position file of `nick`; empty when no file can be named after it.
    static QString positionFile(Program& program, const QString& nick);
    // What the position file of `nick` holds, as left, top, width and height
    // in twips; none when it is missing or not four whole numbers with a
    // positive width and height.
    static std::optional<QRect> readPositionFile(Program& program, const QString& nick);

    // A pick of one of the window's own system-menu items.
    void Sysdeck1_UserSysClick(int ID);

protected:
    // The nick: the tag without its "??" or "?".
    QString target() const override;
    QString logName() const override;
    void Form_Activate() override;
    // The standard layout, below the system-menu button at the window's
    // top-left corner: the window's own size leaves room for it.
    void layOut() override;

private:
    void addSystemMenuItems();
    void customTranslucency();

    int m_unread = 0;
    // The console's length when this window last took the conversation
    // from the query window: what it shows past it, the query window has
    // not shown.
    int m_tookOver = 0;
};

// Appends to `to` what `from` shows after position `since` (all of it when
// `from` is shorter now, having been cleared meanwhile) as plain text in the
// query's text colour, with the caret left at the end; returns the length of
// `to` then. What is copied is neither logged nor counted again.
int CopyQueryLines(Program& program, const absRichEdit& from, int since, absRichEdit& to);
