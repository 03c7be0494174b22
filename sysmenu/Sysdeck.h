#pragma once
// Sysdeck: a control that a form hosts to extend the system menu of its own
// window. The host appends items (text, separators, items that open a new
// column, bitmaps), checks, enables, re-captions and deletes them by
// identifier and gives them check bitmaps; once started, the control hooks
// the host's window procedure and raises the window's system commands and
// menu highlights as signals.
//
// Each control hooks its own host window and, when it ends, unhooks only that
// window, so several forms can each use one. A handler may call
// `CancelCommand` to keep the command it is handling from the form.
//
// A failed menu call raises platform::ComError with number 1 and no text.
// Identifiers of the 16-bit members are widened with their sign.

#include "platform/window/Window.h"
#include "sysdeck_export.h"

#include <QList>
#include <QVariant>
#include <QWidget>

#include <memory>

class QLabel;

namespace WinProc {
struct HookState;
}

class SYSDECK_EXPORT Sysdeck : public QWidget {
    Q_OBJECT
public:
    // `host` is the form whose system menu the control works on (`Parent`).
    explicit Sysdeck(QWidget* host);
    ~Sysdeck() override;

    // The host form.
    QWidget* Parent() const { return parentWidget(); }
    // The container's ambient UserMode: true when the control runs in a
    // program, false while it sits in a form designer. True by default.
    bool UserMode() const { return m_userMode; }
    void setUserMode(bool userMode);

    // The members, in the order of the control's interface.
    // The host form's window handle, read afresh on every call.
    platform::HWND hwnd() const;
    // Re-targets the control: another non-zero window is hooked and the one
    // hooked before is unhooked, so the control serves one window at a time.
    // Writing 0, or the window hooked already, hooks and unhooks nothing.
    void setHwnd(platform::HWND value);
    // Hooks the host window, once; at design time it does nothing.
    void Start();
    // Keeps the message being handled now from reaching the form.
    void CancelCommand();
    // A 32-bit integer title is a bitmap handle (a bitmap item); a string is
    // a text item, "-" a separator (identifier 0) and "|text" an item that
    // starts a new column. A title of any other type adds nothing.
    void AddSysMenu(const QVariant& Title, qint16 ID = 0);
    // Turns an item of the menu bar, else of the system menu, into a bitmap.
    void SetMenuBitmap(qint32 IDMenu, qint32 Pict);
    // The bitmaps of an item's checked and unchecked states, on the menu bar
    // first, else on the system menu; a missing or 0 unchecked bitmap is the
    // checked one (also in the caller's variable).
    void SetMenuCheckBitmap(qint32 IDMenu, qint32 PictChecked);
    void SetMenuCheckBitmap(qint32 IDMenu, qint32 PictChecked, qint32& PictUnchecked);
    void SysMenuCheck(qint16 IDMenu, bool Value);
    // Whether the item carries its check mark.
    bool GetSysMenuCheck(qint16 IDMenu);
    void SysMenuEnable(qint16 IDMenu, bool Value);
    // True unless the item is disabled (an item that is only greyed counts
    // as enabled).
    bool GetSysMenuEnable(qint16 IDMenu);
    // An item's text, from the system menu or else the menu bar; "" when
    // there is none. The access-key ampersand stays in.
    QString GetMenuCaption(qint32 IDMenu);
    // Replaces the text of a text item of the system menu; its check mark and
    // enabled state stay. Separators, bitmap items and missing items are left.
    void SetMenuCaption(qint32 IDMenu, const QString& MNUCaption);
    // Shows the about box, modally.
    void About();
    void DeleteSysMenu(qint32 ID);

    // The first placement of the control on a form in a designer: shows the
    // welcome box, or, when the form already has a Sysdeck, says so and
    // removes this one.
    void InitProperties();

    // The control's picture; the control always takes its size.
    QLabel* Picture1 = nullptr;

Q_SIGNALS:
    void SYSMaximize();
    void SYSMinimize();
    void SYSRestore();
    void SYSMove();
    void SYSClose();
    void SYSSize();
    void SYSClick();
    void FormMove();
    // An item the host added was chosen (any command below 0xF000).
    void UserSysClick(qint32 ID);
    // A size command from an edge or corner (0xF001 to 0xF008): 1 to 8.
    void FormResize(quint8 Action);
    // An item of the window's menus is highlighted; identifier 0 and "" when
    // the menu closes.
    void MenuSelect(qint32 IDMenu, const QString& MNUCaption);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    friend struct WinProc::HookState;

    void RaiseSysCommandEvent(qint32 code);
    void RaiseMenuSelect(qint32 wParam);
    void hookWindow(platform::HWND window);
    [[noreturn]] void fail() const;

    bool m_userMode = true;
    platform::HWND m_storedHwnd = 0;
    std::shared_ptr<WinProc::HookState> m_hook;
    // The cancel flags of the dispatches running now, innermost last.
    QList<bool*> m_dispatches;
};
