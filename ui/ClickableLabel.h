#pragma once

#include <QLabel>

namespace ui {

// A label or image that reports clicks and double-clicks: the slot labels
// Label1(i) and the close mark Image5.
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

} // namespace ui
