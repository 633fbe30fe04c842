#pragma once

#include "ui/Twips.h"

#include <QRect>

namespace ui {

// Where the game's page lies in the binding panel and where its rows sit.
// The page covers the chart; its rows scroll inside it. Pixels.

// The page within the panel, its title within the page, the scrolled area
// within the page, and the button that turns between chart and page, within
// the panel (in the chart's free corner, below the light-gun group).
inline constexpr QRect kPageRect{2, 2, 359, 519};
inline constexpr QRect kPageTitleRect{6, 3, 322, 20};
inline constexpr QRect kPageRowsRect{2, 25, 355, 467};
inline constexpr QRect kTurnButtonRect{188, 499, 168, 21};
// The page's button that sets up a game controller, within the page.
inline constexpr QRect kPadButtonRect{2, 497, 182, 21};

// The rows' width, leaving room for a vertical scroll bar.
inline constexpr int kPageRowWidth = 334;
inline constexpr int kPageRowHeight = 16;

// Row `row` of the page (from 0): an input's label and its slot, or a group
// heading across the row.
struct PageCell {
    QRect label;
    QRect slot;
    QRect heading;
};

constexpr PageCell pageCell(int row) {
    const int top = row * kPageRowHeight;
    return {QRect(4, top + 1, 204, kPageRowHeight - 2), QRect(210, top + 2, 120, 12),
            QRect(0, top + 1, kPageRowWidth, kPageRowHeight - 2)};
}

// The height the rows need.
constexpr int pageHeight(int rows) {
    return rows * kPageRowHeight + 2;
}

} // namespace ui
