#include "catalogue/RomScan.h"

#include "catalogue/FolderPaths.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/Installation.h"
#include "catalogue/RomFolder.h"
#include "catalogue/SelectionView.h"
#include "ui/Form1.h"
#include "ui/GameList.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

namespace catalogue {

namespace {

constexpr int kStartupRow = 15; // "Emergency Car Ambulance"

// The count label holds the number itself and stays empty while nothing has
// been found: every archive of every row counts once.
void countArchives(ui::Form1& form, GameCatalogue& catalogue) {
    const RomFolder& folder = catalogue.listRomFolder(romFolder(form));
    int count = 0;
    for (const CatalogueRow& row : catalogue.rows)
        count += int(presentArchives(row, folder).size());
    form.Label2[2]->setText(count > 0 ? QString::number(count) : QString());
}

void listRows(ui::Form1& form, GameCatalogue& catalogue) {
    const QSignalBlocker quiet(form.List2);
    form.List2->clear();
    catalogue.describedRow = -1;
    QStringList titles;
    titles.reserve(catalogue.rows.size());
    for (const CatalogueRow& row : catalogue.rows)
        titles.append(row.title);
    form.List2->addItems(titles); // at once: one by one costs a model update each
    form.Label2[0]->setText(QString::number(form.List2->count()));
}

} // namespace

void StartUpFill(ui::Form1& form, GameCatalogue& catalogue) {
    listRows(form, catalogue);
    countArchives(form, catalogue);
    form.List2->setCurrentRow(kStartupRow);
}

bool readCatalogue(ui::Form1& form, GameCatalogue& catalogue) {
    const bool hadDefinitions = catalogue.definitions.has_value();
    const QString file = definitionsFile(emulatorFolder(form));
    DefinitionsRead read;
    if (!file.isEmpty()) {
        // The same file again: the rows, the list and the checks stand.
        read = readDefinitions(file, hadDefinitions ? std::optional(catalogue.definitionsDigest)
                                                    : std::nullopt);
        if (read.unchanged)
            return true;
    }
    catalogue.definitions = std::move(read.definitions);
    catalogue.definitionsProblem = read.problem;
    catalogue.definitionsDigest = read.digest;
    // The checks name sets of the definitions they were made with.
    catalogue.forgetChecks();
    if (!hadDefinitions && !catalogue.definitions)
        return false;

    const QListWidgetItem* selected = form.List2->currentItem();
    const QString title = selected ? selected->text() : QString();
    catalogue.rows = buildCatalogue(catalogue.definitions ? &*catalogue.definitions : nullptr);
    listRows(form, catalogue);
    const QList<QListWidgetItem*> same = form.List2->findItems(title, Qt::MatchExactly);
    const QSignalBlocker quiet(form.List2);
    form.List2->setCurrentRow(same.isEmpty() ? kStartupRow : form.List2->row(same.front()));
    return true;
}

void JoinDefinitions(ui::Form1& form, GameCatalogue& catalogue) {
    const bool rowsChanged = readCatalogue(form, catalogue);
    if (rowsChanged)
        countArchives(form, catalogue);
    if (rowsChanged || !catalogue.definitionsProblem.isEmpty())
        SelectionView(form, catalogue);
}

void NewScan(ui::Form1& form, GameCatalogue& catalogue) {
    const bool rowsChanged = readCatalogue(form, catalogue);
    countArchives(form, catalogue);
    if (rowsChanged)
        SelectionView(form, catalogue);
    form.List2->setFocus(Qt::OtherFocusReason);
}

} // namespace catalogue
