#pragma once

#include <QLineEdit>

namespace ui {

// A one-line text box for boxes too low for the style's frame (Text1, Text3,
// Text4, Text5, Text7): it draws a one-pixel frame on its own edge, in the
// rows QLineEdit keeps free above and below its text line, so the whole
// height inside goes to the text.
class EditBox final : public QLineEdit {
    Q_OBJECT
public:
    explicit EditBox(const QString& text, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
