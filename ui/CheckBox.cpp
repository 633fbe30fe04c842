#include "ui/CheckBox.h"

#include <QStyleOptionButton>
#include <QStylePainter>
#include <algorithm>

namespace ui {

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
    setTristate(true);
}

int CheckBox::value() const {
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

bool CheckBox::setValue(int value) {
    switch (value) {
    case 0:
        setCheckState(Qt::Unchecked);
        return true;
    case 1:
        setCheckState(Qt::Checked);
        return true;
    case 2:
        setCheckState(Qt::PartiallyChecked);
        return true;
    default:
        return false;
    }
}

void CheckBox::setIndicatorSide(int side) {
    m_indicatorSide = side;
    update();
}

int CheckBox::indicatorSide() const {
    const int side = m_indicatorSide > 0
                         ? m_indicatorSide
                         : style()->pixelMetric(QStyle::PM_IndicatorHeight, nullptr, this);
    return std::min(side, height());
}

QRect CheckBox::captionRect() const {
    const int left = indicatorSide() + kCaptionGap;
    return QRect(left, 0, width() - left, height());
}

void CheckBox::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const int side = indicatorSide();
    option.rect = QRect(0, (height() - side) / 2, side, side);
    painter.drawPrimitive(QStyle::PE_IndicatorCheckBox, option);
    const QRect caption = captionRect();
    painter.drawItemText(caption, Qt::AlignLeft | Qt::AlignVCenter, palette(), isEnabled(), text(),
                         QPalette::WindowText);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = caption.intersected(
            QRect(caption.left(), 0, fontMetrics().horizontalAdvance(text()) + 1, height()));
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

bool CheckBox::hitButton(const QPoint& pos) const {
    return rect().contains(pos);
}

void CheckBox::nextCheckState() {
    setCheckState(checkState() == Qt::Unchecked ? Qt::Checked : Qt::Unchecked);
}

} // namespace ui
