#include "windows/frm_query.h"

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "console/toolkit/mod_tbscroll.h"
#include "core/CommandWindow.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_set.h"
#include "platform/window/SwitchBar.h"
#include "platform/window/SystemMenu.h"
#include "platform/window/Twips.h"
#include "windows/DetachMenuProc.h"
#include "windows/frm_desk_query.h"
#include "windows/frm_server.h"

#include <QLineEdit>
#include <QMdiArea>

#include <algorithm>

using namespace platform;

frm_query::frm_query(Program& program)
    : ConversationForm(program, {QStringLiteral("query"), QStringLiteral("WIN_QUERY_")}) {
    // A window without a system menu, or whose procedure cannot be replaced,
    // works on without "&Detach".
    if (const HMENU menu = GetSystemMenu(hwnd(), false))
        AppendMenuA(menu, MF_STRING, IDM_DETACH, QStringLiteral("&Detach"));
    InstallDetachMenuProc(hwnd());
}

int frm_query::ownPanelIndex() const {
    return FindOwnPanel(program(), Tag());
}

SwitchBarPanel* frm_query::ownPanel() const {
    const int index = ownPanelIndex();
    return index == 0 ? nullptr : program().mainFrame().StatusBar1->Panel(index);
}

void frm_query::disp(const QString& txt, bool timestamp, const QString& col) {
    Q_UNUSED(timestamp);
    if (txt.trimmed().isEmpty())
        return;
    const Form* active = ActiveChild(program());
    if (active == nullptr || active->Tag() != Tag()) {
        ++m_unread;
        if (SwitchBarPanel* panel = ownPanel()) {
            panel->setToolTipText(target() + u'(' + QString::number(m_unread) +
                                  QStringLiteral(" messages waiting.)"));
            panel->setPicture(program().mainFrame().il.Picture(10));
        }
    }
    // The query's timestamp setting alone decides.
    dispLine(txt, false, col);
}

void frm_query::Form_Activate() {
    Program& p = program();
    SelectPanel(p, Tag());
    commandline->setFocus();
    if (SwitchBarPanel* panel = ownPanel()) {
        panel->setToolTipText(target() + QStringLiteral(" ..no messages waiting."));
        panel->setPicture(p.mainFrame().il.Picture(5));
    }
    if (WindowState() != vbMaximized && (Width() < 200 || Height() < 200) && p.hasServerWindow()) {
        const frm_server& server = p.serverWindow();
        Move(100, 100, std::max(server.Width() - 200, 0), std::max(server.Height() - 200, 0));
    }
    TBScroll(console, false, true);
    m_unread = 0;
}

void frm_query::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    Q_UNUSED(UnloadMode);
    RemoveDetachMenuProc(hwnd());
    Program& p = program();
    const int panel = ownPanelIndex();
    // The hidden window of a detached conversation has no panel of its own.
    if (panel == 0) {
        Unload();
        return;
    }
    SwitchBar* bar = p.mainFrame().StatusBar1;
    const int desktop = FindForm(p, u'?' + Tag());
    if (desktop < 0) {
        bar->Remove(panel);
        Unload();
        return;
    }
    // A desktop window of this conversation is left: it becomes the
    // conversation's window, and this window's panel stands for it.
    const int stale = FindPanel(p, u'?' + Tag());
    if (stale > 1)
        bar->Remove(stale);
    Form* left = p.forms().at(desktop);
    left->setTag(Tag());
    left->setCaption(Caption());
    if (auto* desk = qobject_cast<frm_desk_query*>(left))
        desk->takeLines(*console, m_tookOver);
    Unload();
}

void frm_query::takeLines(const absRichEdit& from, int since) {
    m_tookOver = CopyQueryLines(program(), from, since, *console);
}

void frm_query::Desktop() {
    Program& p = program();
    const QString tag = Tag();
    if (p.closing || tag.startsWith(QStringLiteral("??")))
        return;
    // While detached this window shows nothing, so nothing of it is unread.
    m_unread = 0;
    const int hidden = FindForm(p, u'?' + tag);
    if (hidden >= 0) {
        Form* found = p.forms().at(hidden);
        Hide();
        setTag(u'?' + tag);
        found->setTag(tag);
        if (auto* desk = qobject_cast<frm_desk_query*>(found))
            desk->takeLines(*console, m_tookOver);
        found->Show();
        found->ZOrder();
        return;
    }

    auto* desk = new frm_desk_query(p);
    desk->setTag(tag);
    desk->setCaption(Caption());
    if (const auto saved = frm_desk_query::readPositionFile(p, target())) {
        desk->placeOnScreen(*saved);
    } else if (subWindow() == nullptr) {
        // Never shown, this window has no place of its own yet: the
        // conversation goes where it would first have appeared.
        const QRect first = firstPlaceInFrame();
        const QPoint corner = p.mainFrame().mdiArea()->viewport()->mapToGlobal(first.topLeft());
        desk->placeOnScreen({PixelsToTwipsX(corner.x()), PixelsToTwipsY(corner.y()),
                             PixelsToTwipsX(first.width()), PixelsToTwipsY(first.height())});
    } else {
        // The conversation stays where it is on the screen, as large.
        const QPoint corner = mapToGlobal(QPoint(0, 0));
        desk->Move(PixelsToTwipsX(corner.x()), PixelsToTwipsY(corner.y()), PixelsToTwipsX(width()),
                   PixelsToTwipsY(height()));
    }
    setTag(u'?' + tag);
    Hide();
    desk->Show();
    desk->ZOrder();
    ApplyQueryLooks(p, *desk);
    // Earlier lines come over as plain text in the query's text colour.
    desk->takeLines(*console, 0);
}
