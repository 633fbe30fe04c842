#pragma once

#include <QStringList>
#include <functional>
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

// Where selectedInputTypes takes its answer while the catalogue does not yet
// read the definitions itself: the seam the catalogue fills. Unset, nothing
// is known; tests set it to stand for definitions.
inline std::function<std::optional<QStringList>(const ui::Form1&)> selectedInputTypesSource;

} // namespace catalogue
