#include "platform/window/SwitchBar.h"

#include "platform/richedit/VbKeys.h"
#include "platform/window/ToolTip.h"
#include "platform/window/Twips.h"

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

QSize SwitchBarPanel::minimumSizeHint() const {
    const QSize wanted = sizeHint();
    if (m_autoSize != sbrSpring)
        return wanted;
    return {qMin(wanted.width(), TwipsToPixelsX(1440)), wanted.height()};
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

namespace {

// Room around the panels and between two of them.
constexpr int Margin = 1;
constexpr int Spacing = 2;

} // namespace

SwitchBar::SwitchBar(QWidget* parent) : QWidget(parent) {}

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
    panel->show();
    layoutPanels();
    updateGeometry();
    return index;
}

void SwitchBar::Remove(int index) {
    if (index < 1 || index > Count())
        return;
    delete m_panels.takeAt(index - 1);
    layoutPanels();
    updateGeometry();
}

QSize SwitchBar::sizeHint() const {
    int width = 2 * Margin;
    int height = QFontMetrics(font()).height() + 6;
    for (const SwitchBarPanel* p : m_panels) {
        const QSize wanted = p->sizeHint();
        width += wanted.width() + Spacing;
        height = qMax(height, wanted.height());
    }
    return {m_panels.isEmpty() ? width : width - Spacing, height + 2 * Margin};
}

QSize SwitchBar::minimumSizeHint() const {
    return {0, sizeHint().height()};
}

void SwitchBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanels();
}

void SwitchBar::layoutPanels() {
    const QRect area = rect().adjusted(Margin, Margin, -Margin, -Margin);
    QList<int> widths;
    int wanted = Spacing * (qMax<qsizetype>(m_panels.size(), 1) - 1);
    int spare = 0; // what the springs can give up
    for (const SwitchBarPanel* p : std::as_const(m_panels)) {
        widths.append(p->sizeHint().width());
        wanted += widths.last();
        spare += widths.last() - p->minimumSizeHint().width();
    }
    // Each spring gives up its share of what is missing, in proportion to
    // what it can give.
    const int missing = qMin(qMax(0, wanted - area.width()), spare);
    int given = 0;
    int canGive = spare;
    for (qsizetype i = 0; i < m_panels.size() && missing > 0; ++i) {
        const int room = widths.at(i) - m_panels.at(i)->minimumSizeHint().width();
        if (room <= 0)
            continue;
        const int give =
            canGive == room ? missing - given : static_cast<int>(qint64(missing) * room / spare);
        widths[i] -= give;
        given += give;
        canGive -= room;
    }
    int x = area.left();
    for (qsizetype i = 0; i < m_panels.size(); ++i) {
        m_panels.at(i)->setGeometry(x, area.top(), widths.at(i), area.height());
        x += widths.at(i) + Spacing;
    }
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
    // A panel's text or picture changed its width.
    if (event->type() == QEvent::LayoutRequest) {
        layoutPanels();
        updateGeometry();
        return true;
    }
    if (event->type() == QEvent::FontChange) {
        for (SwitchBarPanel* p : std::as_const(m_panels))
            p->setFont(font());
    }
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
