#include "ui/CaptureBox.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

CaptureBox::CaptureBox(QWidget* parent) : QLineEdit(parent) {
    setContextMenuPolicy(Qt::PreventContextMenu);
    // A whole-axis input is bound by moving the mouse across the box.
    setMouseTracking(true);
}

void CaptureBox::mouseMoveEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT mouseMoved(event->position().toPoint());
}

bool CaptureBox::event(QEvent* event) {
    // Tab and Backtab would move the focus away before keyPressEvent; a
    // shortcut override would let Ctrl+key combinations edit the text.
    if (event->type() == QEvent::KeyPress) {
        keyPressEvent(static_cast<QKeyEvent*>(event));
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

void CaptureBox::keyPressEvent(QKeyEvent* event) {
    event->accept();
    Q_EMIT keyPressed(event->key(), event->text(), event->nativeScanCode());
}

void CaptureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
    Q_EMIT mousePressed(event->button());
}

void CaptureBox::mouseDoubleClickEvent(QMouseEvent* event) {
    // The second press of a double-click is a press like any other.
    mousePressEvent(event);
}

void CaptureBox::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
}

} // namespace ui
