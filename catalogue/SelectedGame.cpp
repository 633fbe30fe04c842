#include "catalogue/SelectedGame.h"

namespace catalogue {

std::optional<QStringList> selectedInputTypes(const ui::Form1& form) {
    if (selectedInputTypesSource)
        return selectedInputTypesSource(form);
    return std::nullopt;
}

} // namespace catalogue
