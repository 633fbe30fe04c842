#pragma once

#include <QListWidget>

namespace ui {

// The game list List2. It reports a row as selected however that happens:
// a click, the arrow keys, or the program setting the current row. A click on
// the row that is already selected reports it again: one click, one report.
// The selected row stays selected: a click with Ctrl, or Ctrl+Space, never
// leaves the list without a highlighted row.
class GameList final : public QListWidget {
    Q_OBJECT
public:
    explicit GameList(QWidget* parent = nullptr);

Q_SIGNALS:
    void rowSelected(int row);
    void rowDoubleClicked(int row);
    // A right click on a row, or the Menu key or Shift+F10 on the current one.
    void rowMenuRequested(int row, const QPoint& globalPos);

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

} // namespace ui
