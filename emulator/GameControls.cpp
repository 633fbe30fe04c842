#include "emulator/GameControls.h"

#include "bindings/GamePage.h"
#include "catalogue/GameTable.h"
#include "catalogue/SelectedGame.h"
#include "emulator/ConfigDocument.h"
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

void ReadGameControls(ui::Form1& form, const QByteArray& bytes) {
    const ConfigDocument file(bytes);
    QHash<QString, QString> values;
    for (const QString& name : bindings::pageSettingNames()) {
        if (const auto value = file.value(ConfigDocument::kGlobal, name.toLatin1()))
            values.insert(name, QString::fromUtf8(*value));
    }
    // The game sections' inputs, by set.
    QHash<QString, QHash<QString, QString>> sections;
    file.forEachSetting([&sections](const ConfigDocument::Setting& setting) {
        for (const QByteArray& set : setting.sections) {
            if (set != ConfigDocument::kGlobal && setting.name.startsWith("Input"))
                sections[QString::fromUtf8(set)].insert(QString::fromUtf8(setting.name),
                                                        QString::fromUtf8(setting.value));
        }
    });
    bindings::setPageValues(form, values, sections);
    if (bindings::pageShown(form))
        ShowSelectedGame(form);
}

} // namespace emulator
