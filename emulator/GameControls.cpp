#include "emulator/GameControls.h"

#include "bindings/GamePage.h"
#include "catalogue/GameTable.h"
#include "catalogue/SelectedGame.h"
#include "emulator/ConfigFile.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/Panel.h"

#include <QPushButton>

namespace emulator {

void TurnPage(ui::Form1& form) {
    const bool toPage = !bindings::pageShown(form);
    if (toPage)
        ShowSelectedGame(form);
    bindings::turnToPage(form, toPage);
}

void ShowSelectedGame(ui::Form1& form) {
    const int row = form.List2->currentRow();
    const QStringList record = catalogue::gameRecord(row);
    bindings::GamePageContent content;
    if (const QListWidgetItem* item = form.List2->item(row))
        content.title = item->text();
    if (!record.isEmpty())
        content.set = record[catalogue::RomSet];
    if (const auto types = catalogue::selectedInputTypes(form))
        content.inputs = bindings::gameInputs(*types);
    else if (!record.isEmpty())
        content.inputs = bindings::profileInputs(record[catalogue::Profile]);
    bindings::fillGamePage(form, content);
}

void ReadGameControls(ui::Form1& form, const QByteArray& file) {
    QHash<QString, QString> values;
    if (!file.isEmpty()) {
        const QHash<QString, GlobalSetting> settings =
            globalSettings(file, bindings::pageSettingNames());
        for (auto it = settings.cbegin(); it != settings.cend(); ++it)
            values.insert(it.key(), it->value);
    }
    bindings::setPageValues(form, values,
                            file.isEmpty() ? decltype(sectionInputs(file)){} : sectionInputs(file));
    if (bindings::pageShown(form))
        ShowSelectedGame(form);
}

} // namespace emulator
