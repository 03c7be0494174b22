#include "windows/frm_desk_query.h"

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "console/toolkit/mod_tbscroll.h"
#include "console/toolkit/mod_topmost.h"
#include "console/toolkit/mod_winx.h"
#include "core/Palette.h"
#include "core/Program.h"
#include "core/SafeFileName.h"
#include "core/Val.h"
#include "core/WindowLookup.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/window/SwitchBar.h"
#include "platform/window/Twips.h"
#include "sysmenu/Sysdeck.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <exception>

using namespace platform;

frm_desk_query::frm_desk_query(Program& program)
    : ConversationForm(program, {QStringLiteral("query"), QStringLiteral("WIN_QUERY_")}, QString(),
                       Kind::TopLevel) {
    addSystemMenuItems();
}

void frm_desk_query::addSystemMenuItems() {
    Sysdeck1 = new Sysdeck(this);
    connect(Sysdeck1, &Sysdeck::UserSysClick, this, &frm_desk_query::Sysdeck1_UserSysClick);
    // A menu that refuses an item leaves the window without the rest; the
    // conversation works on all the same.
    try {
        Sysdeck1->Start();
        Sysdeck1->AddSysMenu(QStringLiteral("Always On Top"), IDM_ONTOP);
        Sysdeck1->AddSysMenu(QStringLiteral("Desktop"), IDM_DESKTOP);
        Sysdeck1->SysMenuCheck(IDM_DESKTOP, true);
        Sysdeck1->AddSysMenu(QStringLiteral("Translucent"), IDM_TRANSLUCENT);
        Sysdeck1->AddSysMenu(QStringLiteral("Custom Translucency"), IDM_CUSTOM_TRANSLUCENCY);
        Sysdeck1->Start();
    } catch (const std::exception&) {
    }
}

QString frm_desk_query::target() const {
    const QString tag = Tag();
    return tag.mid(tag.startsWith(QStringLiteral("??")) ? 2 : 1);
}

QString frm_desk_query::logName() const {
    return target() + QStringLiteral(".log");
}

// Showing lines ----------------------------------------------------------------

void frm_desk_query::disp(const QString& txt, bool timestamp, const QString& col) {
    Q_UNUSED(timestamp);
    if (txt.trimmed().isEmpty())
        return;
    // On the desktop the window itself is where the user reads.
    if (!isActiveWindow()) {
        ++m_unread;
        Program& p = program();
        if (const int panel = FindOwnPanel(p, Tag())) {
            SwitchBarPanel* own = p.mainFrame().StatusBar1->Panel(panel);
            own->setToolTipText(target() + u'(' + QString::number(m_unread) +
                                QStringLiteral(" messages waiting.)"));
            own->setPicture(p.mainFrame().il.Picture(10));
        }
    }
    // The query's timestamp setting alone decides.
    dispLine(txt, false, col);
}

void frm_desk_query::Form_Activate() {
    // The window system can tell of an activation after the window was put
    // back and hidden: the conversation's panel stays with the frame's query.
    if (!isVisible())
        return;
    Program& p = program();
    SelectPanel(p, Tag());
    commandline->setFocus();
    // Hidden with "??" & nick it stands for no panel: nothing more to do.
    const int panel = FindOwnPanel(p, Tag());
    if (panel == 0)
        return;
    SwitchBarPanel* own = p.mainFrame().StatusBar1->Panel(panel);
    own->setToolTipText(target() + QStringLiteral(" ..no messages waiting."));
    own->setPicture(p.mainFrame().il.Picture(5));
    if (WindowState() != vbMaximized && (Width() < 200 || Height() < 200) && p.hasServerWindow()) {
        const frm_server& server = p.serverWindow();
        Move(100, 100, std::max(server.Width() - 200, 0), std::max(server.Height() - 200, 0));
    }
    TBScroll(console, false, true);
    m_unread = 0;
}

void frm_desk_query::layOut() {
    if (Height() <= 1000)
        return;
    const QWidget* button =
        findChild<QToolButton*>(QStringLiteral("systemMenuButton"), Qt::FindDirectChildrenOnly);
    standardLayout(button != nullptr ? PixelsToTwipsY(button->geometry().bottom() + 1) : 1);
    caretToEnd();
}

// The system menu ------------------------------------------------------------------

void frm_desk_query::Sysdeck1_UserSysClick(int ID) {
    Sysdeck1->Start();
    switch (ID) {
    case IDM_ONTOP: {
        const bool on = !Sysdeck1->GetSysMenuCheck(IDM_ONTOP);
        Sysdeck1->SysMenuCheck(IDM_ONTOP, on);
        SetTopMost(*this, on, IDM_ONTOP);
        break;
    }
    case IDM_TRANSLUCENT:
        if (!Sysdeck1->GetSysMenuCheck(IDM_TRANSLUCENT)) {
            MakeTranslucent(hwnd(), TranslucentAlpha);
            Sysdeck1->SysMenuCheck(IDM_TRANSLUCENT, true);
        } else {
            MakeOpaque(hwnd());
            Sysdeck1->SysMenuCheck(IDM_TRANSLUCENT, false);
        }
        break;
    case IDM_CUSTOM_TRANSLUCENCY:
        customTranslucency();
        break;
    case IDM_DESKTOP:
        Undesk();
        break;
    default:
        break;
    }
}

void frm_desk_query::customTranslucency() {
    const QString answer =
        InputBox(QStringLiteral(
                     "Enter translucency between 1 (very transparent) and 255 (less transparent)"),
                 QStringLiteral("Enter transparency"), QStringLiteral("160"));
    if (answer.isEmpty())
        return;
    // The number as typed must be in range; only then is it made whole,
    // halves going to the even neighbour.
    const double value = Val(answer);
    if (value < 1 || value > 255)
        return;
    MakeTranslucent(hwnd(), quint8(std::nearbyint(value)));
    Sysdeck1->SysMenuCheck(IDM_TRANSLUCENT, true);
}

// Back into the frame -----------------------------------------------------------

void frm_desk_query::Undesk() {
    SaveState();
    Program& p = program();
    const int index = FindForm(p, u'?' + Tag());
    if (index < 0)
        return;
    Form* twin = p.forms().at(index);
    if (auto* query = qobject_cast<frm_query*>(twin))
        query->takeLines(*console, m_tookOver);
    Hide();
    // The tags first, so the query window's activation finds its panel.
    twin->setTag(Tag());
    setTag(u'?' + Tag());
    // Hidden, this window is counted by nothing the user can clear.
    m_unread = 0;
    twin->Show();
    twin->ZOrder();
    // Its panel is pressed also when the frame's active child does not
    // change (the query was the active one when it left), so that no
    // activation of it comes.
    SelectPanel(p, twin->Tag());
}

void frm_desk_query::takeLines(const absRichEdit& from, int since) {
    m_tookOver = CopyQueryLines(program(), from, since, *console);
}

int CopyQueryLines(Program& program, const absRichEdit& from, int since, absRichEdit& to) {
    const QString text = from.Text();
    const QString lines = text.mid(since <= text.size() ? since : 0);
    to.setSelStart(to.FileSize());
    to.setSelLength(0);
    const QString colour = program.settings.value(QStringLiteral("WIN_QUERY_CONSOLE_FORECOLOR"));
    if (!colour.isEmpty())
        to.setSelColor(ColourNumber(colour));
    to.setSelText(lines);
    const int length = to.FileSize();
    to.setSelStart(length);
    return length;
}

// The place on the screen -------------------------------------------------------

QMargins frm_desk_query::frameExtents() const {
    const QRect inner = geometry();
    const QRect outer = frameGeometry();
    const QMargins known(inner.left() - outer.left(), inner.top() - outer.top(),
                         outer.right() - inner.right(), outer.bottom() - inner.bottom());
    if (!known.isNull())
        return known;
    // Until then the frame the style gives a window of its own stands for
    // it: its title bar above, its border around.
    QStyleOptionTitleBar option;
    option.initFrom(this);
    const int border = style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, &option, this);
    const int titleBar = style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, this);
    return {border, std::max(titleBar, border), border, border};
}

void frm_desk_query::placeOnScreen(const QRect& place) {
    Move(place.x(), place.y(), place.width(), place.height());
    const QMargins extents = frameExtents();
    const QRect outer = geometry().marginsAdded(extents);
    // The screen that holds most of the window.
    const QScreen* most = nullptr;
    qint64 mostArea = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect common = screen->geometry().intersected(outer);
        const qint64 area = qint64(common.width()) * common.height();
        if (area > mostArea) {
            most = screen;
            mostArea = area;
        }
    }
    if (most == nullptr)
        most = QGuiApplication::primaryScreen();
    if (most == nullptr)
        return;
    const QRect area = most->availableGeometry();
    QRect kept(outer.topLeft(), QSize(std::min(outer.width(), area.width()),
                                      std::min(outer.height(), area.height())));
    kept.moveLeft(std::clamp(kept.left(), area.left(), area.right() + 1 - kept.width()));
    kept.moveTop(std::clamp(kept.top(), area.top(), area.bottom() + 1 - kept.height()));
    setGeometry(kept.marginsRemoved(extents));
}

QString frm_desk_query::positionFile(Program& program, const QString& nick) {
    return SafeFileName(program.folder(), nick + QStringLiteral(".win"), ProgramFixedFiles(),
                        IfExists::Reuse);
}

void frm_desk_query::SaveState() {
    Program& p = program();
    const QString path = positionFile(p, target());
    if (path.isEmpty())
        return;
    const QString line =
        QStringLiteral("%1,%2,%3,%4\r\n").arg(Left()).arg(Top()).arg(Height()).arg(Width());
    QString error;
    p.fileWriter(path, line.toUtf8(), &error);
}

std::optional<QRect> frm_desk_query::readPositionFile(Program& program, const QString& nick) {
    const QString path = positionFile(program, nick);
    if (path.isEmpty())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList fields = QString::fromUtf8(file.readLine(256)).trimmed().split(u',');
    if (fields.size() != 4)
        return std::nullopt;
    int numbers[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = fields.at(i).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    // Left, Top, Height, Width.
    if (numbers[2] <= 0 || numbers[3] <= 0)
        return std::nullopt;
    return QRect(numbers[0], numbers[1], numbers[3], numbers[2]);
}

// Closing -------------------------------------------------------------------------

void frm_desk_query::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    Q_UNUSED(UnloadMode);
    Program& p = program();
    const int panel = FindOwnPanel(p, Tag());
    if (panel == 0) {
        Unload();
        return;
    }
    p.mainFrame().StatusBar1->Remove(panel);
    const int twin = FindForm(p, u'?' + Tag());
    if (twin >= 0) {
        int cancel = 0;
        p.forms().at(twin)->Form_QueryUnload(cancel, 0);
    }
    Unload();
}
