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

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
