#pragma once

#include <QCheckBox>

namespace ui {

// A check box with the three values 0 (unchecked), 1 (checked) and 2 (grey).
// Any other value is refused and the box keeps the value it had. A click
// toggles between unchecked and checked; grey is only ever set by the program.
class CheckBox final : public QCheckBox {
    Q_OBJECT
public:
    explicit CheckBox(const QString& caption, QWidget* parent = nullptr);

    int value() const;
    bool setValue(int value);

protected:
    void nextCheckState() override;
};

} // namespace ui
