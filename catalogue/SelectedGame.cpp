#include "catalogue/SelectedGame.h"

#include "catalogue/GameCatalogue.h"

namespace catalogue {

std::optional<QStringList> selectedInputTypes(const ui::Form1& form,
                                              const GameCatalogue& catalogue) {
    const CatalogueRow* row = selectedRow(form, catalogue);
    if (!row || !catalogue.definitions || row->definition < 0)
        return std::nullopt;
    return catalogue.definitions->sets[row->definition].inputTypes;
}

} // namespace catalogue
