#include "catalogue/SelectionView.h"

#include "bindings/Profiles.h"
#include "catalogue/FolderPaths.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/GameTable.h"
#include "catalogue/RomFolder.h"
#include "catalogue/SelectedGame.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/Panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace catalogue {

namespace {

// A game only the definitions know gets the fields of a record: no status
// is known, and its controls are "Yes" when the panel has a slot for each.
QStringList recordOf(const CatalogueRow& row, const GameSet* own) {
    if (row.builtIn >= 0)
        return gameRecord(row.builtIn);
    QStringList record(9);
    record[RomSet] = row.sets.value(0);
    record[Title] = row.title;
    record[Status] = QStringLiteral("No status known.");
    record[SoundFlag] = QStringLiteral("N/A");
    record[ControlsFlag] = own && bindings::everyInputHasASlot(own->inputTypes)
                               ? QStringLiteral("Yes")
                               : QStringLiteral("No");
    record[Profile] = QStringLiteral("x");
    return record;
}

// What the chosen archive holds, in one line; empty without definitions.
QString archiveLineOf(GameCatalogue& catalogue, const CatalogueRow& row, const RomFolder& folder,
                      const QList<PresentArchive>& present) {
    if (!catalogue.definitions)
        return {};
    if (present.isEmpty())
        return row.sets.front() + QStringLiteral(".zip: not in the ROM folder");
    return reportArchive(catalogue, row, folder, present.front()).line;
}

// Only the selected row's item carries the line, for a screen reader; the
// one that carried it before is found without visiting every row.
void describeSelectedRow(ui::Form1& form, GameCatalogue& catalogue, const QString& line) {
    if (QListWidgetItem* before = form.List2->item(catalogue.describedRow))
        before->setData(Qt::AccessibleDescriptionRole, QVariant());
    catalogue.describedRow = -1;
    if (QListWidgetItem* item = form.List2->currentItem(); item && !line.isEmpty()) {
        item->setData(Qt::AccessibleDescriptionRole, line);
        catalogue.describedRow = form.List2->currentRow();
    }
}

} // namespace

int statusPicture(const QString& status) {
    return status.contains(QLatin1String("Good")) ? 101 : 102;
}

int soundPicture(const QString& soundFlag) {
    return soundFlag.contains(QLatin1String("Yes")) ? 105 : 106;
}

int controlsPicture(const QString& controlsFlag) {
    return controlsFlag.contains(QLatin1String("Yes")) ? 103 : 104;
}

void SelectionView(ui::Form1& form, GameCatalogue& catalogue) {
    const int i = form.List2->currentRow();
    form.Label2[1]->setText(QString::number(i + 1));
    const CatalogueRow* row = selectedRow(form, catalogue);
    if (!row)
        return;
    const GameSet* own = catalogue.definitions && row->definition >= 0
                             ? &catalogue.definitions->sets[row->definition]
                             : nullptr;
    const QStringList r = recordOf(*row, own);

    // The folder as the last scan listed it, each archive looked up now.
    const RomFolder& folder = catalogue.romFolder(romFolder(form));
    const QList<PresentArchive> present = presentArchives(*row, folder, Presence::Now);
    form.Command1->setEnabled(!present.isEmpty());
    const QString line = archiveLineOf(catalogue, *row, folder, present);
    QStringList tip{r[Status]};
    if (!line.isEmpty())
        tip.append(line);
    tip.append(pathProblems(form));
    if (!catalogue.definitionsProblem.isEmpty())
        tip.append(QStringLiteral("The emulator's game list is not used: ") +
                   catalogue.definitionsProblem);
    form.List2->setToolTip(tip.join(u'\n'));
    describeSelectedRow(form, catalogue, line);

    if (row->builtIn >= 0)
        form.showPicture(form.Image1, snapshotPicture(row->builtIn));
    else
        form.showTitleCard(form.Image1, row->title, own ? own->manufacturer : QString(),
                           own ? own->year : QString());
    form.showPicture(form.Image2, statusPicture(r[Status]));
    form.showPicture(form.Image3, soundPicture(r[SoundFlag]));
    form.showPicture(form.Image4, controlsPicture(r[ControlsFlag]));
    // The pictures say it to the eye; their names say it to a screen reader.
    form.Image1->setAccessibleName(r[Title]);
    form.Image2->setAccessibleName(QLatin1String("Status: ") + r[Status]);
    form.Image3->setAccessibleName(QLatin1String("Sound: ") + r[SoundFlag] + u'.');
    form.Image4->setAccessibleName(QLatin1String("Controls: ") + r[ControlsFlag] + u'.');
    List2_001(form, catalogue);
}

void List2_001(ui::Form1& form, const GameCatalogue& catalogue) {
    const CatalogueRow* row = selectedRow(form, catalogue);
    if (!row || !form.Picture3->isVisibleTo(&form))
        return;
    for (ui::ClickableLabel* slot : form.Label1)
        ui::Form1::setBackColor(slot, bindings::kUnmarkedColour);
    // The emulator's definitions say which inputs the game reads; without
    // them, the built-in profile stands for its controls.
    if (const auto types = selectedInputTypes(form, catalogue))
        bindings::markInputs(form, *types);
    else if (row->builtIn >= 0)
        bindings::List2_XList(form, gameRecord(row->builtIn)[Profile]);
}

} // namespace catalogue
