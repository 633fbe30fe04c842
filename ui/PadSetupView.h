#pragma once

#include <QRect>

class QComboBox;
class QFont;
class QLabel;
class QPushButton;
class QWidget;

namespace ui {

class CheckBox;
class PadPicture;

// The game controller set-up over the game's page: the selected game's
// title, a toggle between player 1's and player 2's pad, the Nintendo
// letters for the pad shown, the sticks' dead zone, the pad's picture, a
// line of what is connected and what Apply would do, where Apply writes
// ("This game" or "Every game"), taking the chosen part's inputs off the
// pad, Apply, and the way back to the page.
struct PadSetupView {
    QWidget* Picture6 = nullptr;
    QLabel* Label11 = nullptr;        // title
    QPushButton* Command11 = nullptr; // player 2's pad, checkable
    CheckBox* Check5 = nullptr;       // Nintendo letters
    QComboBox* Combo2 = nullptr;      // dead zone
    PadPicture* pad = nullptr;
    QLabel* Label12 = nullptr;        // pads connected, warnings
    QComboBox* Combo1 = nullptr;      // scope
    QPushButton* Command14 = nullptr; // take off the pad
    QPushButton* Command12 = nullptr; // Apply
    QPushButton* Command13 = nullptr; // back
};

// Where it lies in the binding panel (the page's place), and its parts.
// Pixels.
inline constexpr QRect kPadSetupRect{2, 2, 359, 519};
inline constexpr QRect kPadTitleRect{6, 2, 326, 20};
inline constexpr QRect kPadPlayerRect{4, 24, 84, 22};
inline constexpr QRect kPadNintendoRect{94, 24, 124, 22};
inline constexpr QRect kPadDeadZoneRect{222, 24, 133, 22};
inline constexpr QRect kPadPictureRect{0, 49, 359, 360};
inline constexpr QRect kPadLineRect{6, 410, 347, 60};
inline constexpr QRect kPadScopeRect{2, 473, 182, 22};
inline constexpr QRect kPadTakeOffRect{186, 473, 170, 22};
inline constexpr QRect kPadApplyRect{2, 497, 182, 22};
inline constexpr QRect kPadBackRect{186, 497, 170, 22};

// The choices of the scope box and of the dead-zone box, in their order.
inline constexpr int kScopeThisGame = 0;
inline constexpr int kScopeEveryGame = 1;

// Builds it, hidden, in `panel`; its texts in `font` and, for the title,
// `titleFont`.
PadSetupView buildPadSetupView(QWidget* panel, const QFont& font, const QFont& titleFont);

} // namespace ui
