#include "ui/GameList.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace ui {

GameList::GameList(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(this, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0)
            Q_EMIT rowSelected(row);
    });
}

QItemSelectionModel::SelectionFlags GameList::selectionCommand(const QModelIndex& index,
                                                               const QEvent* event) const {
    auto flags = QListWidget::selectionCommand(index, event);
    if (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)) {
        if (!index.isValid())
            return QItemSelectionModel::NoUpdate;
        flags &= ~(QItemSelectionModel::Deselect | QItemSelectionModel::Toggle);
        flags |= QItemSelectionModel::ClearAndSelect;
    }
    return flags;
}

void GameList::mousePressEvent(QMouseEvent* event) {
    const int before = currentRow();
    const int clicked = indexAt(event->position().toPoint()).row();
    QListWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && clicked >= 0 && clicked == before &&
        currentRow() == before)
        Q_EMIT rowSelected(before);
}

void GameList::mouseDoubleClickEvent(QMouseEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton && row >= 0 && row == currentRow())
        Q_EMIT rowDoubleClicked(row);
}

void GameList::keyPressEvent(QKeyEvent* event) {
    const bool menuKey = event->key() == Qt::Key_Menu ||
                         (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier);
    if (menuKey && currentRow() >= 0) {
        const QRect at = visualItemRect(currentItem());
        Q_EMIT rowMenuRequested(currentRow(), viewport()->mapToGlobal(at.center()));
        return;
    }
    QListWidget::keyPressEvent(event);
}

void GameList::contextMenuEvent(QContextMenuEvent* event) {
    // The keys are handled above, where Shift+F10 is handled too.
    if (event->reason() != QContextMenuEvent::Mouse) {
        event->ignore();
        return;
    }
    const int row = indexAt(viewport()->mapFromGlobal(event->globalPos())).row();
    if (row < 0)
        return;
    // The menu is the row's: select it first, as a click would.
    if (row != currentRow())
        setCurrentRow(row);
    Q_EMIT rowMenuRequested(row, event->globalPos());
}

} // namespace ui
