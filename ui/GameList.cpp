#include "ui/GameList.h"

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

} // namespace ui
