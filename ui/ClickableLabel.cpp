#include "ui/ClickableLabel.h"

#include "ui/TextFit.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <algorithm>

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

void ClickableLabel::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Q_EMIT doubleClicked();
        return;
    case Qt::Key_Menu:
        Q_EMIT menuRequested(mapToGlobal(rect().center()));
        return;
    case Qt::Key_F10:
        if (event->modifiers() == Qt::ShiftModifier) {
            Q_EMIT menuRequested(mapToGlobal(rect().center()));
            return;
        }
        break;
    default:
        break;
    }
    QLabel::keyPressEvent(event);
}

void ClickableLabel::contextMenuEvent(QContextMenuEvent* event) {
    // The keys are handled above, where Shift+F10 is handled too.
    if (event->reason() != QContextMenuEvent::Mouse) {
        event->ignore();
        return;
    }
    Q_EMIT menuRequested(event->globalPos());
}

void ClickableLabel::setDeviceMark(bool shown) {
    if (m_deviceMark == shown)
        return;
    m_deviceMark = shown;
    update();
}

QRect ClickableLabel::markRect() const {
    if (!m_deviceMark)
        return {};
    // A pad one and a half times as wide as high, as high as the label allows.
    const QRect room = contentsRect();
    const int height = std::max(4, room.height() - 2);
    const int width = height * 3 / 2;
    return {room.right() - width, room.top() + (room.height() - height) / 2, width, height};
}

QRect ClickableLabel::captionRect() const {
    QRect room = contentsRect();
    if (m_deviceMark)
        room.setRight(markRect().left() - 2);
    return room;
}

QFont ClickableLabel::captionFont() const {
    const QFont base = font();
    const QSize room = captionRect().size();
    if (fitsWhole(base, text(), room))
        return base;
    return fitted(base, text(), room, QFontInfo(base).pixelSize(), base);
}

namespace {

// A game pad's outline with two round buttons, in the text colour.
void drawPad(QPainter& painter, const QRectF& box, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(colour, std::max(1.0, box.height() / 8));
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRectF body =
        box.adjusted(pen.widthF() / 2, pen.widthF() / 2, -pen.widthF() / 2, -pen.widthF() / 2);
    painter.drawRoundedRect(body, body.height() / 2.5, body.height() / 2.5);
    // The cross on the left, the buttons on the right.
    const QPointF cross(body.left() + body.width() * 0.3, body.center().y());
    const qreal arm = body.height() * 0.22;
    painter.drawLine(cross - QPointF(arm, 0), cross + QPointF(arm, 0));
    painter.drawLine(cross - QPointF(0, arm), cross + QPointF(0, arm));
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    const qreal dot = std::max(1.0, body.height() * 0.14);
    painter.drawEllipse(QPointF(body.left() + body.width() * 0.68, body.center().y() + arm / 2),
                        dot, dot);
    painter.drawEllipse(QPointF(body.left() + body.width() * 0.8, body.center().y() - arm / 2), dot,
                        dot);
    painter.restore();
}

} // namespace

void ClickableLabel::paintEvent(QPaintEvent* event) {
    if (hasFocus()) {
        // A slot reached with the keyboard shows where the focus is.
        QPainter frame(this);
        frame.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        frame.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if ((text().isEmpty() && !m_deviceMark) || !pixmap().isNull()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    if (m_deviceMark) {
        drawPad(painter, markRect(), palette().color(foregroundRole()));
    }
    if (text().isEmpty())
        return;
    painter.setFont(captionFont());
    style()->drawItemText(&painter, captionRect(), int(alignment()), palette(), isEnabled(), text(),
                          foregroundRole());
}

} // namespace ui
