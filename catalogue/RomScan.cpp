#include "catalogue/RomScan.h"

#include "catalogue/GameTable.h"
#include "catalogue/PathCheck.h"
#include "platform/Files.h"
#include "ui/Form1.h"
#include "ui/GameList.h"

#include <QLabel>
#include <QLineEdit>

namespace catalogue {

namespace {

// The count label holds the number itself; empty text counts as 0 and is
// kept while nothing has been found.
void countArchives(ui::Form1& form) {
    const QString romFolder = form.Text5->text();
    for (int i = 0; i < kGameCount; ++i) {
        const QStringList record = gameRecord(i);
        if (archivePresent(romFolder, record[RomSet])) {
            const int count = form.Label2[2]->text().toInt() + 1;
            form.Label2[2]->setText(QString::number(count));
        }
    }
}

} // namespace

QString archivePath(const QString& romFolder, const QString& romSet) {
    return romFolder + romSet + QLatin1String(".zip");
}

bool archivePresent(const QString& romFolder, const QString& romSet) {
    return platform::isFile(archivePath(romFolder, romSet));
}

void startupFill(ui::Form1& form) {
    for (int i = 0; i < kGameCount; ++i)
        form.List2->addItem(gameRecord(i)[Title]);
    countArchives(form);
    form.Label2[0]->setText(QString::number(form.List2->count()));
    form.List2->setCurrentRow(form.List2->count() - 1);
}

void newScan(ui::Form1& form) {
    catalogue::CheckTxt(form);
    form.Label2[2]->setText(QString());
    countArchives(form);
    form.List2->setFocus(Qt::OtherFocusReason);
}

} // namespace catalogue
