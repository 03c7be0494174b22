#include "windows/FramePlacement.h"

#include "connection/frm_main.h"
#include "core/Form.h"
#include "core/PanelOwner.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "platform/window/SwitchBar.h"
#include "platform/window/Twips.h"
#include "windows/frm_server.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QResizeEvent>
#include <QScopedValueRollback>

#include <algorithm>

using namespace platform;

FramePlacement::FramePlacement(Form& form) : QObject(&form), m_form(form) {}

int FramePlacement::panelBefore(int ownPanel) {
    return ownPanel > 0 ? ownPanel - 1 : 0;
}

void FramePlacement::watch(std::function<void()> activated, std::function<void()> resized) {
    QMdiSubWindow* sub = m_form.subWindow();
    m_resized = std::move(resized);
    m_normalGeometry = sub->geometry();
    sub->installEventFilter(this);
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if ((before ^ now) & (Qt::WindowMinimized | Qt::WindowMaximized))
                    m_resized();
            });
    connect(sub->mdiArea(), &QMdiArea::subWindowActivated, this,
            [this, activated = std::move(activated)](QMdiSubWindow* active) {
                // Qt activates a child again while it minimises it; a
                // minimised window hides itself instead.
                if (active != nullptr && active == m_form.subWindow() &&
                    m_form.WindowState() != Form::vbMinimized)
                    activated();
            });
}

bool FramePlacement::eventFilter(QObject* watched, QEvent* event) {
    QMdiSubWindow* sub = m_form.subWindow();
    if (watched == sub && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        noteNormalGeometry();
    if (watched != sub || event->type() != QEvent::Resize || !m_resized)
        return QObject::eventFilter(watched, event);
    const QSize given = static_cast<QResizeEvent*>(event)->size();
    m_resized();
    if (sub->size() != given) {
        // The window was placed anew inside its own resize: the sub-window
        // lays its widget out from this event's size, which is stale now, so
        // it is told its new size once more afterwards.
        QMetaObject::invokeMethod(
            this,
            [sub = QPointer<QMdiSubWindow>(sub)] {
                if (!sub)
                    return;
                QResizeEvent again(sub->size(), sub->size());
                QCoreApplication::sendEvent(sub, &again);
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void FramePlacement::noteNormalGeometry() {
    // Qt marks a child minimised or maximised before it gives it the icon's
    // or the area's geometry, so what is seen in the normal state is the
    // place the user left it at.
    if (m_form.WindowState() == Form::vbNormal)
        m_normalGeometry = m_form.subWindow()->geometry();
}

QRect FramePlacement::lastNormalGeometry() const {
    const QMdiSubWindow* sub = m_form.subWindow();
    if (sub != nullptr && m_form.WindowState() == Form::vbNormal)
        return sub->geometry();
    return m_normalGeometry;
}

void FramePlacement::rescueSmall() {
    Program& p = m_form.program();
    if (m_form.WindowState() == Form::vbMaximized ||
        (m_form.Width() >= 200 && m_form.Height() >= 200) || !p.hasServerWindow())
        return;
    const frm_server& server = p.serverWindow();
    m_form.Move(100, 100, std::max(server.Width() - 200, 0), std::max(server.Height() - 200, 0));
}

void FramePlacement::resize(const std::function<void()>& layOut) {
    if (m_inResize)
        return;
    QScopedValueRollback resizing(m_inResize, true);
    switch (m_form.WindowState()) {
    case Form::vbMinimized:
        // Qt shows a child again at the end of minimising it, so the window
        // hides once that is done.
        if (!m_handOverQueued) {
            m_handOverQueued = true;
            QMetaObject::invokeMethod(this, &FramePlacement::hideMinimised, Qt::QueuedConnection);
        }
        return;
    case Form::vbNormal:
        // A window the frame's arrangement places keeps that place.
        if (m_form.program().hasMainFrame() && m_form.program().mainFrame().isArranging())
            break;
        if (const QWidget* frame = frameWindow()) {
            const int frameWidth = PixelsToTwipsX(frame->width());
            const int frameHeight = PixelsToTwipsY(frame->height());
            if (frameWidth - m_form.Width() <= 100 || frameHeight - m_form.Height() <= 660)
                m_form.Move(100, 100, frameWidth * 85 / 100, frameHeight * 75 / 100);
        }
        break;
    default:
        break;
    }
    layOut();
}

const QWidget* FramePlacement::frameWindow() const {
    const QMdiSubWindow* sub = m_form.subWindow();
    return sub != nullptr && sub->mdiArea() != nullptr ? sub->mdiArea()->window() : nullptr;
}

void FramePlacement::hideMinimised() {
    m_handOverQueued = false;
    // A window restored meanwhile stays; a hidden one has handed over already.
    if (m_form.WindowState() != Form::vbMinimized || !m_form.Visible())
        return;
    m_form.Hide();
    handOver();
}

void FramePlacement::handOver() {
    Program& p = m_form.program();
    if (!p.hasMainFrame())
        return;
    SwitchBar* bar = p.mainFrame().StatusBar1;
    // A window that owns its panel hands over from that one; the window of
    // the panel it hands over to is the one that panel stands for.
    const auto* owner = dynamic_cast<const PanelOwner*>(&m_form);
    const int own = owner ? PanelIndex(p, owner->ownPanel()) : FindPanel(p, m_form.Tag());
    const int panel = m_handOverPanel(own);
    if (panel < 1 || panel > bar->Count())
        return;
    bar->Panel(panel)->setBevel(SwitchBarPanel::sbrInset);
    if (Form* next = WindowOfPanel(p, panel))
        next->Show();
}
