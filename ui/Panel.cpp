#include "ui/Panel.h"

#include <QPainter>

namespace ui {

Panel::Panel(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    p.setColor(QPalette::WindowText, p.color(QPalette::Text));
    setPalette(p);
}

void Panel::setBackgroundSource(std::function<QPixmap(qreal)> source) {
    m_source = std::move(source);
    m_background = QPixmap();
    update();
}

void Panel::paintEvent(QPaintEvent*) {
    if (m_source &&
        (m_background.isNull() || m_background.devicePixelRatio() != devicePixelRatioF()))
        m_background = m_source(devicePixelRatioF());
    QPainter painter(this);
    if (!m_background.isNull())
        painter.drawPixmap(0, 0, m_background);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ui
