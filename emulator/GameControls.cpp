#include "emulator/GameControls.h"

#include "bindings/BindingStore.h"
#include "bindings/GamePage.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/GameTable.h"
#include "catalogue/SelectedGame.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/Panel.h"

#include <QPushButton>

namespace emulator {

void TurnPage(ui::Form1& form, bindings::BindingStore& store,
              const catalogue::GameCatalogue& catalogue) {
    const bool toPage = !bindings::pageShown(form);
    if (toPage)
        ShowSelectedGame(form, store, catalogue);
    bindings::turnToPage(form, toPage);
}

void ShowSelectedGame(ui::Form1& form, bindings::BindingStore& store,
                      const catalogue::GameCatalogue& catalogue) {
    const int row = form.List2->currentRow();
    const QStringList record = catalogue::gameRecord(row);
    bindings::GamePageContent content;
    if (const QListWidgetItem* item = form.List2->item(row))
        content.title = item->text();
    if (!record.isEmpty())
        content.set = record[catalogue::RomSet];
    const catalogue::CatalogueRow* shown = catalogue::selectedRow(form, catalogue);
    store.pageSets = shown ? catalogue::definedSets(*shown, catalogue) : QStringList();
    if (const auto types = catalogue::selectedInputTypes(form, catalogue))
        content.inputs = bindings::gameInputs(*types);
    else if (!record.isEmpty())
        content.inputs = bindings::profileInputs(record[catalogue::Profile]);
    bindings::fillGamePage(form, store, content);
}

void FollowSelectedSet(ui::Form1& form, bindings::BindingStore& store,
                       const catalogue::GameCatalogue& catalogue) {
    // The row's own set: the set-up writes its InputSystem into every set of
    // the row alike, and this reads no folder.
    const catalogue::CatalogueRow* row = catalogue::selectedRow(form, catalogue);
    store.selectedSet = row && !row->sets.isEmpty() ? row->sets.front() : QString();
}

} // namespace emulator
