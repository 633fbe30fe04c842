#pragma once

#include <QStringList>
#include <optional>

namespace ui {
class Form1;
}

namespace catalogue {

class GameCatalogue;

// The input types the emulator's definitions list for the selected game's
// set ("common", "fighting", ...), or nothing when the definitions are not
// known: the built-in profile then stands for its controls.
std::optional<QStringList> selectedInputTypes(const ui::Form1& form,
                                              const GameCatalogue& catalogue);

} // namespace catalogue
