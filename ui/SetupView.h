#pragma once

#include <QRect>

class QFont;
class QLabel;
class QPlainTextEdit;
class QWidget;

namespace ui {

// What covers the chart and the game's page while an outside program's own
// set-up runs: a line saying why the panel waits, and what the program
// prints, read-only and never focused.
struct SetupView {
    QWidget* Picture5 = nullptr;
    QLabel* Label10 = nullptr;
    QPlainTextEdit* Text8 = nullptr;
};

// Where it lies in the binding panel (the page's place), and its parts
// within it. Pixels.
inline constexpr QRect kSetupRect{2, 2, 359, 519};
inline constexpr QRect kSetupLineRect{6, 3, 324, 58};
inline constexpr QRect kSetupOutputRect{2, 64, 355, 453};

// The most lines the output keeps; earlier ones go.
inline constexpr int kSetupOutputLines = 2000;

// Builds it, hidden, in `panel`: the line in `lineFont`, wrapped; the output
// in `outputFont`, wrapped at the area's width.
SetupView buildSetupView(QWidget* panel, const QFont& lineFont, const QFont& outputFont);

} // namespace ui
