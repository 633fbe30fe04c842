#include "catalogue/SelectedGame.h"

namespace catalogue {

std::optional<QStringList> selectedInputTypes(const ui::Form1&) {
    return std::nullopt;
}

} // namespace catalogue
