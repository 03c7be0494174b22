#include "platform/window/SwitchBar.h"

#include "platform/richedit/VbKeys.h"
#include "platform/window/ToolTip.h"
#include "platform/window/Twips.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace platform {

SwitchBarPanel::SwitchBarPanel(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setLineWidth(1);
    // The bar handles the mouse for its panels.
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void SwitchBarPanel::setText(const QString& text) {
    m_text = text;
    updateGeometry();
    update();
}

void SwitchBarPanel::setPicture(const QIcon& picture) {
    m_picture = picture;
    updateGeometry();
    update();
}

void SwitchBarPanel::setBevel(int bevel) {
    m_bevel = bevel;
    setFrameShape(bevel == sbrNoBevel ? QFrame::NoFrame : QFrame::Panel);
    setFrameShadow(bevel == sbrRaised ? QFrame::Raised : QFrame::Sunken);
    update();
}

void SwitchBarPanel::setAutoSize(int mode) {
    m_autoSize = mode;
    setSizePolicy(mode == sbrSpring ? QSizePolicy::Expanding : QSizePolicy::Preferred,
                  QSizePolicy::Preferred);
    updateGeometry();
}

QSize SwitchBarPanel::sizeHint() const {
    const QFontMetrics fm(font());
    const int icon = m_picture.isNull() ? 0 : fm.height() + 4;
    return {fm.horizontalAdvance(m_text) + icon + 12, fm.height() + 6};
}

void SwitchBarPanel::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    QRect r = contentsRect().adjusted(4, 0, -4, 0);
    if (!m_picture.isNull()) {
        const int side = r.height() - 2;
        m_picture.paint(&painter, QRect(r.left(), r.top() + 1, side, side));
        r.setLeft(r.left() + side + 4);
    }
    painter.drawText(r, Qt::AlignVCenter | Qt::AlignLeft, m_text);
}

SwitchBar::SwitchBar(QWidget* parent) : QWidget(parent), m_layout(new QHBoxLayout(this)) {
    m_layout->setContentsMargins(1, 1, 1, 1);
    m_layout->setSpacing(2);
    m_layout->addStretch(1);
}

SwitchBarPanel* SwitchBar::Panel(int index) const {
    if (index < 1 || index > Count())
        return nullptr;
    return m_panels.at(index - 1);
}

int SwitchBar::Add(int index, const QString& text) {
    auto* panel = new SwitchBarPanel(this);
    panel->setFont(font());
    panel->setText(text);
    if (index < 1 || index > Count() + 1)
        index = Count() + 1;
    m_panels.insert(index - 1, panel);
    relayout();
    return index;
}

void SwitchBar::Remove(int index) {
    if (index < 1 || index > Count())
        return;
    delete m_panels.takeAt(index - 1);
    relayout();
}

void SwitchBar::relayout() {
    while (m_layout->count() > 0)
        delete m_layout->takeAt(0);
    for (SwitchBarPanel* p : std::as_const(m_panels)) {
        p->setFont(font());
        m_layout->addWidget(p);
    }
    m_layout->addStretch(1);
}

int SwitchBar::panelAt(const QPoint& pos) const {
    for (int i = 0; i < Count(); ++i) {
        if (m_panels.at(i)->geometry().contains(pos))
            return i + 1;
    }
    return 0;
}

namespace {

struct MouseArgs {
    int button;
    int shift;
    float x;
    float y;
};

MouseArgs mouseArgs(const QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    return {VbButtonsFromQt(event->button()), VbShiftFromQt(event->modifiers()),
            static_cast<float>(PixelsToTwipsX(p.x())), static_cast<float>(PixelsToTwipsY(p.y()))};
}

} // namespace

void SwitchBar::mousePressEvent(QMouseEvent* event) {
    m_pressed = panelAt(event->position().toPoint());
    const MouseArgs a = mouseArgs(event);
    Q_EMIT MouseDown(a.button, a.shift, a.x, a.y);
}

void SwitchBar::mouseReleaseEvent(QMouseEvent* event) {
    const MouseArgs a = mouseArgs(event);
    const int pressed = std::exchange(m_pressed, 0);
    Q_EMIT MouseUp(a.button, a.shift, a.x, a.y);
    const int panel = panelAt(event->position().toPoint());
    if (panel != 0 && panel == pressed)
        Q_EMIT PanelClick(panel);
}

void SwitchBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const int panel = panelAt(event->position().toPoint()))
        Q_EMIT PanelDblClick(panel);
    Q_EMIT DblClick();
}

bool SwitchBar::event(QEvent* event) {
    // The panels leave the mouse to the bar, so the bar shows their tooltips.
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const SwitchBarPanel* panel = Panel(panelAt(help->pos()));
        if (panel && !panel->ToolTipText().isEmpty())
            QToolTip::showText(help->globalPos(), PlainToolTip(panel->ToolTipText()), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace platform
