#include "ui/EditBox.h"

#include <QPainter>

namespace ui {

EditBox::EditBox(const QString& text, QWidget* parent) : QLineEdit(text, parent) {
    setFrame(false);
    setTextMargins(0, 0, 0, 0);
}

void EditBox::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    QPainter painter(this);
    const QPalette& p = palette();
    const QColor edge = hasFocus() && !isReadOnly() ? p.color(QPalette::Highlight)
                        : isEnabled()               ? p.color(QPalette::Dark)
                                                    : p.color(QPalette::Mid);
    // Four one-pixel strips rather than a pen outline: whole at any scale.
    const QRect r = rect();
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), edge);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), edge);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), edge);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), edge);
}

} // namespace ui
