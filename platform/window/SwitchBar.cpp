#include "platform/window/SwitchBar.h"

#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>

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

void SwitchBar::mousePressEvent(QMouseEvent* event) {
    m_pressed = panelAt(event->position().toPoint());
    const QPoint p = event->position().toPoint();
    Q_EMIT MouseDown(static_cast<int>(event->button()), static_cast<int>(event->modifiers()), p.x(),
                     p.y());
}

void SwitchBar::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Q_EMIT MouseUp(static_cast<int>(event->button()), static_cast<int>(event->modifiers()), p.x(),
                   p.y());
    const int panel = panelAt(p);
    if (panel != 0 && panel == m_pressed && event->button() == Qt::LeftButton)
        Q_EMIT PanelClick(panel);
    m_pressed = 0;
}

void SwitchBar::mouseDoubleClickEvent(QMouseEvent* event) {
    if (const int panel = panelAt(event->position().toPoint()))
        Q_EMIT PanelDblClick(panel);
}

} // namespace platform
