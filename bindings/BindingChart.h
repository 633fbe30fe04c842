#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>

namespace bindings {

// The chart behind the binding panel, drawn from the slot table so that chart
// and slots stay in step: nine framed groups, each with its heading and one
// row per slot (caption, a leader line, the empty box its label covers), the
// fixed "Motion" and "Aim" rows with their "Mouse" boxes, and room at the
// bottom for the prompt line and the buttons.
constexpr QSize kChartSize{361, 570};

QPixmap bindingChart(qreal devicePixelRatio);

// The box drawn for slot `slot`, in chart pixels: exactly the slot label's
// rectangle.
QRect chartSlotBox(int slot);

} // namespace bindings
