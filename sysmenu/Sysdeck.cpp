#include "sysmenu/Sysdeck.h"

#include "platform/com/ComError.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/window/SystemMenu.h"
#include "sysmenu/FRMAbertura.h"
#include "sysmenu/FRMAbout.h"
#include "sysmenu/WinProc.h"

#include <QLabel>
#include <QResizeEvent>
#include <QStyle>

using namespace platform;

namespace {

// A 16-bit identifier as the menu calls take it: widened with its sign.
UINT wide(qint16 id) {
    return UINT(qint32(id));
}

HMENU systemMenuOf(HWND host) {
    return GetSystemMenu(host, false);
}

} // namespace

Sysdeck::Sysdeck(QWidget* host) : QWidget(host) {
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(style()->standardIcon(QStyle::SP_TitleBarMenuButton).pixmap(32, 32));
    Picture1->setFixedSize(32, 32);
    setFixedSize(Picture1->size());
    // A control that only serves the menu shows nothing while the program runs.
    setVisible(!m_userMode);
}

Sysdeck::~Sysdeck() {
    WinProc::HookState::Remove(m_hook);
}

void Sysdeck::setUserMode(bool userMode) {
    m_userMode = userMode;
    setVisible(!m_userMode);
}

void Sysdeck::fail() const {
    throw ComError(1, QStringLiteral("BrenmarSysdeck.Sysdeck"), QString());
}

HWND Sysdeck::hwnd() const {
    return HandleOfWidget(Parent());
}

void Sysdeck::setHwnd(HWND value) {
    if (value == m_storedHwnd)
        return;
    m_storedHwnd = value;
    if (value != 0)
        hookWindow(value);
}

void Sysdeck::hookWindow(HWND window) {
    // Never a second hook of ours on the same window.
    if (m_hook && m_hook->hookedWindow == window)
        return;
    std::shared_ptr<WinProc::HookState> hook = WinProc::HookState::Install(this, window);
    if (!hook)
        return;
    WinProc::HookState::Remove(m_hook);
    m_hook = std::move(hook);
}

void Sysdeck::Start() {
    if (!m_userMode || m_hook)
        return;
    if (const HWND host = hwnd())
        hookWindow(host);
}

void Sysdeck::CancelCommand() {
    if (!m_dispatches.isEmpty())
        *m_dispatches.constLast() = true;
}

void Sysdeck::AddSysMenu(const QVariant& Title, qint16 ID) {
    const HMENU menu = systemMenuOf(hwnd());
    bool added = false;
    switch (Title.typeId()) {
    case QMetaType::Int:
        // The bitmap item in one step: a failure leaves nothing behind.
        added = AppendMenuA(menu, MF_BITMAP, wide(ID), HBITMAP(Title.toInt()));
        break;
    case QMetaType::QString: {
        const QString text = Title.toString();
        if (text == QLatin1String("-"))
            added = AppendMenuA(menu, MF_SEPARATOR, 0, QStringLiteral("0"));
        else if (text.startsWith(QLatin1Char('|')))
            added = AppendMenuA(menu, MF_MENUBARBREAK, wide(ID), text.mid(1));
        else
            added = AppendMenuA(menu, MF_STRING, wide(ID), text);
        break;
    }
    default:
        return;
    }
    if (!added)
        fail();
}

void Sysdeck::SetMenuBitmap(qint32 IDMenu, qint32 Pict) {
    const HWND host = hwnd();
    const UINT id = UINT(IDMenu);
    if (ModifyMenuA(GetMenu(host), id, MF_BITMAP, id, HBITMAP(Pict)))
        return;
    if (!ModifyMenuA(systemMenuOf(host), id, MF_BITMAP, id, HBITMAP(Pict)))
        fail();
}

void Sysdeck::SetMenuCheckBitmap(qint32 IDMenu, qint32 PictChecked) {
    qint32 unchecked = 0;
    SetMenuCheckBitmap(IDMenu, PictChecked, unchecked);
}

void Sysdeck::SetMenuCheckBitmap(qint32 IDMenu, qint32 PictChecked, qint32& PictUnchecked) {
    if (PictUnchecked == 0)
        PictUnchecked = PictChecked;
    const HWND host = hwnd();
    const UINT id = UINT(IDMenu);
    if (SetMenuItemBitmaps(GetMenu(host), id, MF_BYCOMMAND, PictUnchecked, PictChecked))
        return;
    if (!SetMenuItemBitmaps(systemMenuOf(host), id, MF_BYCOMMAND, PictUnchecked, PictChecked))
        fail();
}

void Sysdeck::SysMenuCheck(qint16 IDMenu, bool Value) {
    if (CheckMenuItem(systemMenuOf(hwnd()), wide(IDMenu), Value ? MF_CHECKED : MF_UNCHECKED) ==
        MENU_ITEM_MISSING)
        fail();
}

bool Sysdeck::GetSysMenuCheck(qint16 IDMenu) {
    const qint32 state = GetMenuState(systemMenuOf(hwnd()), wide(IDMenu), MF_BYCOMMAND);
    if (state == MENU_ITEM_MISSING)
        fail();
    return state & MF_CHECKED;
}

void Sysdeck::SysMenuEnable(qint16 IDMenu, bool Value) {
    if (EnableMenuItem(systemMenuOf(hwnd()), wide(IDMenu),
                       Value ? MF_ENABLED : (MF_GRAYED | MF_DISABLED)) == MENU_ITEM_MISSING)
        fail();
}

bool Sysdeck::GetSysMenuEnable(qint16 IDMenu) {
    const qint32 state = GetMenuState(systemMenuOf(hwnd()), wide(IDMenu), MF_BYCOMMAND);
    if (state == MENU_ITEM_MISSING)
        fail();
    return !(state & MF_DISABLED);
}

QString Sysdeck::GetMenuCaption(qint32 IDMenu) {
    if (IDMenu == 0)
        return QString();
    const HWND host = hwnd();
    const UINT id = UINT(IDMenu);
    HMENU menu = systemMenuOf(host);
    int length = GetMenuStringA(menu, id, nullptr, 0, MF_BYCOMMAND);
    if (length == 0) {
        menu = GetMenu(host);
        length = GetMenuStringA(menu, id, nullptr, 0, MF_BYCOMMAND);
        if (length == 0)
            return QString();
    }
    // The whole text, however long.
    QString text;
    if (GetMenuStringA(menu, id, &text, length + 1, MF_BYCOMMAND) == 0)
        return QString();
    return text;
}

void Sysdeck::SetMenuCaption(qint32 IDMenu, const QString& MNUCaption) {
    if (IDMenu == 0)
        return;
    const HMENU menu = systemMenuOf(hwnd());
    const UINT id = UINT(IDMenu);
    const qint32 state = GetMenuState(menu, id, MF_BYCOMMAND);
    if (state == MENU_ITEM_MISSING || (state & (MF_SEPARATOR | MF_BITMAP)))
        return;
    // Only the text changes: the item keeps its check mark, grey and column.
    const UINT kept =
        UINT(state) & (MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_MENUBARBREAK | MF_MENUBREAK);
    ModifyMenuA(menu, id, MF_BYCOMMAND | MF_STRING | kept, id, MNUCaption);
}

void Sysdeck::About() {
    FRMAbout box(window());
    box.exec();
}

void Sysdeck::DeleteSysMenu(qint32 ID) {
    if (!DeleteMenu(systemMenuOf(hwnd()), UINT(ID), MF_BYCOMMAND))
        fail();
}

void Sysdeck::InitProperties() {
    const QWidget* form = Parent();
    const qsizetype count = form ? form->findChildren<Sysdeck*>().size() : 1;
    if (count <= 1) {
        FRMAbertura box(window());
        box.exec();
        return;
    }
    MsgBox(QString::fromUtf8("Só Pode existir um controle Sysdeck por Formulário") +
               QLatin1Char('\n') + QString::fromUtf8("Esse controle será removido"),
           vbOKOnly);
    deleteLater();
}

void Sysdeck::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (size() != Picture1->size())
        setFixedSize(Picture1->size());
}

void Sysdeck::RaiseSysCommandEvent(qint32 code) {
    switch (code) {
    case 0xF096:
        Q_EMIT SYSClick();
        return;
    case 0xF060:
        Q_EMIT SYSClose();
        return;
    case 0xF030:
        Q_EMIT SYSMaximize();
        return;
    case 0xF020:
        Q_EMIT SYSMinimize();
        return;
    case 0xF010:
        Q_EMIT SYSMove();
        return;
    case 0xF120:
        Q_EMIT SYSRestore();
        return;
    case 0xF000:
        Q_EMIT SYSSize();
        return;
    case 0xF012:
        Q_EMIT FormMove();
        return;
    default:
        break;
    }
    if (code >= 0xF001 && code <= 0xF008)
        Q_EMIT FormResize(quint8(code & 15));
    else if (code < 0xF000)
        Q_EMIT UserSysClick(code);
}

void Sysdeck::RaiseMenuSelect(qint32 wParam) {
    const qint32 id = wParam & 0xFFFF;
    Q_EMIT MenuSelect(id, GetMenuCaption(id));
}
