#include "console/LineGutter.h"

#include "platform/richedit/OleColor.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

using namespace platform;

namespace {

QColor shown(qint32 colour, QPalette::ColorRole fallback) {
    const qint32 rgb = OleTranslateColor(colour);
    return rgb == -1 ? QGuiApplication::palette().color(fallback) : ColorFromRgb(rgb);
}

} // namespace

LineGutter::LineGutter(QWidget* parent)
    : QWidget(parent), m_foreColor(vbWindowText), m_backColor(vbWindowBackground) {}

void LineGutter::setForeColor(qint32 colour) {
    m_foreColor = colour;
    update();
}

void LineGutter::setBackColor(qint32 colour) {
    m_backColor = colour;
    update();
}

void LineGutter::Cls() {
    m_lines.clear();
    update();
}

void LineGutter::Print(const QString& text) {
    m_lines.append(text);
    update();
}

void LineGutter::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), shown(m_backColor, QPalette::Base));
    painter.setPen(shown(m_foreColor, QPalette::Text));
    painter.setFont(font());
    const QFontMetrics metrics(font());
    int y = 0;
    for (const QString& line : std::as_const(m_lines)) {
        if (y > height())
            break;
        painter.drawText(0, y + metrics.ascent(), line);
        y += metrics.height();
    }
}
