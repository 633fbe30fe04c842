#include "ui/ClickableLabel.h"

#include "ui/TextFit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

namespace ui {

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    QLabel::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        Q_EMIT doubleClicked();
}

QFont ClickableLabel::captionFont() const {
    const QFont base = font();
    if (fitsWhole(base, text(), contentsRect().size()))
        return base;
    return fitted(base, text(), contentsRect().size(), QFontInfo(base).pixelSize(), base);
}

void ClickableLabel::paintEvent(QPaintEvent* event) {
    if (text().isEmpty() || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(captionFont());
    style()->drawItemText(&painter, contentsRect(), int(alignment()), palette(), isEnabled(),
                          text(), foregroundRole());
}

} // namespace ui
