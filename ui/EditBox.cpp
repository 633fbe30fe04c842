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
    painter.setPen(edge);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

} // namespace ui
