#pragma once

#include <QLabel>

namespace ui {

// A label or image that reports clicks and double-clicks: the slot labels
// Label1(i) and the close mark Image5. A caption too big for the label is
// drawn in the largest smaller size of its font at which it fits whole, so
// any key name a slot is given stays readable.
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    // The font the current caption is drawn in.
    QFont captionFont() const;

    // A small device mark (a game pad) drawn at the right end of the label,
    // beside the caption, which then fits the room left of it.
    void setDeviceMark(bool shown);
    bool deviceMark() const { return m_deviceMark; }

    // Where the caption is drawn: the label less the mark's room.
    QRect captionRect() const;
    // Where the mark is drawn; empty without one.
    QRect markRect() const;

Q_SIGNALS:
    void clicked();
    void doubleClicked();
    // A right click, or the Menu key or Shift+F10 on a label that has the
    // focus: the label's menu is wanted at `globalPos`.
    void menuRequested(const QPoint& globalPos);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    // Enter and Space act as a double click; the Menu key and Shift+F10 ask
    // for the menu.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_deviceMark = false;
};

} // namespace ui
