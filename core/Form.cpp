#include "core/Form.h"

#include "connection/frm_main.h"
#include "core/Program.h"
#include "platform/window/Twips.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace platform;

Form::Form(Program& program, Kind kind, const QString& tag)
    : QWidget(nullptr, kind == Kind::Dialog ? Qt::Dialog : Qt::Widget), m_program(program),
      m_kind(kind), m_tag(tag) {
    m_hwnd = CreatePlatformWindow(this);
    m_program.addForm(this);
}

Form::~Form() {
    m_program.removeForm(this);
    // Unloading the form takes its frame window with it, unless that window is
    // what is taking the form down.
    if (QMdiSubWindow* sub = subWindow())
        sub->deleteLater();
}

void Form::Unload() {
    Hide();
    m_program.removeForm(this);
    m_program.addUnloading(this);
    deleteLater();
}

void Form::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    Q_UNUSED(UnloadMode);
    Unload();
}

void Form::requestClose(int unloadMode) {
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (!cancel && m_program.forms().contains(this))
        Unload();
}

void Form::closeEvent(QCloseEvent* event) {
    // The form decides; an MDI child's frame window asks its form first and
    // stays when the form refuses.
    event->ignore();
    requestClose(vbFormControlMenu);
}

QString Form::Caption() const {
    return windowWidget()->windowTitle();
}

void Form::setCaption(const QString& caption) {
    setWindowTitle(caption);
    if (m_subWindow)
        m_subWindow->setWindowTitle(caption);
}

void Form::attachToFrame() {
    QMdiArea* area = m_program.mainFrame().mdiArea();
    QMdiSubWindow* sub = area->addSubWindow(this);
    sub->setWindowTitle(windowTitle());
    sub->setGeometry(firstPlaceInFrame());
    m_subWindow = sub;
}

QRect Form::firstPlaceInFrame() const {
    const QSize frame = m_program.mainFrame().size();
    return {TwipsToPixelsX(100), TwipsToPixelsY(100), frame.width() * 85 / 100,
            frame.height() * 75 / 100};
}

void Form::Show() {
    if (m_kind == Kind::MdiChild && !m_subWindow) {
        attachToFrame();
        m_program.mainFrame().show();
    }
    QWidget* w = windowWidget();
    QWidget::show();
    w->show();
    if (QMdiSubWindow* sub = subWindow())
        sub->mdiArea()->setActiveSubWindow(sub);
    else
        w->activateWindow();
}

void Form::Hide() {
    windowWidget()->hide();
}

bool Form::Visible() const {
    return windowWidget()->isVisible();
}

void Form::ZOrder() {
    QWidget* w = windowWidget();
    w->raise();
    if (QMdiSubWindow* sub = subWindow(); sub && sub->mdiArea())
        sub->mdiArea()->setActiveSubWindow(sub);
}

QWidget* Form::windowWidget() const {
    if (m_subWindow)
        return m_subWindow.data();
    return const_cast<Form*>(this);
}

int Form::WindowState() const {
    const Qt::WindowStates s = windowWidget()->windowState();
    if (s & Qt::WindowMinimized)
        return vbMinimized;
    if (s & Qt::WindowMaximized)
        return vbMaximized;
    return vbNormal;
}

void Form::setWindowState(int state) {
    QWidget* w = windowWidget();
    switch (state) {
    case vbMinimized:
        w->setWindowState((w->windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case vbMaximized:
        w->setWindowState((w->windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
        break;
    default:
        w->setWindowState(w->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        break;
    }
}

void Form::Move(int left, int top, int width, int height) {
    QWidget* w = windowWidget();
    const QRect g = w->geometry();
    const int x = left >= 0 ? TwipsToPixelsX(left) : g.x();
    const int y = top >= 0 ? TwipsToPixelsY(top) : g.y();
    const int cw = width >= 0 ? TwipsToPixelsX(width) : g.width();
    const int ch = height >= 0 ? TwipsToPixelsY(height) : g.height();
    w->setGeometry(x, y, cw, ch);
}

int Form::Left() const {
    return PixelsToTwipsX(windowWidget()->geometry().x());
}
int Form::Top() const {
    return PixelsToTwipsY(windowWidget()->geometry().y());
}
int Form::Width() const {
    return PixelsToTwipsX(windowWidget()->geometry().width());
}
int Form::Height() const {
    return PixelsToTwipsY(windowWidget()->geometry().height());
}
