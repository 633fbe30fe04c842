#include "emulator/GameControls.h"

#include "bindings/GamePage.h"
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
    if (const auto types = catalogue::selectedInputTypes(form, catalogue))
        content.inputs = bindings::gameInputs(*types);
    else if (!record.isEmpty())
        content.inputs = bindings::profileInputs(record[catalogue::Profile]);
    bindings::fillGamePage(form, store, content);
}

} // namespace emulator
