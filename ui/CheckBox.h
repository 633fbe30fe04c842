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

    // The tick box is drawn `side` pixels square (at most the box's height,
    // so it is always drawn whole), the caption `kCaptionGap` pixels after it.
    void setIndicatorSide(int side);
    int indicatorSide() const;
    static constexpr int kCaptionGap = 3;
    // Where the caption is drawn.
    QRect captionRect() const;

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    int m_indicatorSide = 0;
};

} // namespace ui
