#include "catalogue/SelectionView.h"

#include "bindings/Profiles.h"
#include "catalogue/GameTable.h"
#include "catalogue/PathCheck.h"
#include "catalogue/RomScan.h"
#include "ui/ClickableLabel.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/Panel.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace catalogue {

int statusPicture(const QString& status) {
    return status.contains(QLatin1String("Good")) ? 101 : 102;
}

int soundPicture(const QString& soundFlag) {
    return soundFlag.contains(QLatin1String("Yes")) ? 105 : 106;
}

int controlsPicture(const QString& controlsFlag) {
    return controlsFlag.contains(QLatin1String("Yes")) ? 103 : 104;
}

void selectionView(ui::Form1& form) {
    catalogue::CheckTxt(form);
    const int i = form.List2->currentRow();
    form.Label2[1]->setText(QString::number(i + 1));
    const QStringList r = gameRecord(i);
    if (r.isEmpty())
        return;
    form.List2->setToolTip(r[Status]);
    form.Command1->setEnabled(archivePresent(form.Text5->text(), r[RomSet]));
    form.showPicture(form.Image1, snapshotPicture(i));
    form.showPicture(form.Image2, statusPicture(r[Status]));
    form.showPicture(form.Image3, soundPicture(r[SoundFlag]));
    form.showPicture(form.Image4, controlsPicture(r[ControlsFlag]));
    // The pictures say it to the eye; their names say it to a screen reader.
    form.Image1->setAccessibleName(r[Title]);
    form.Image2->setAccessibleName(QLatin1String("Status: ") + r[Status]);
    form.Image3->setAccessibleName(QLatin1String("Sound: ") + r[SoundFlag] + u'.');
    form.Image4->setAccessibleName(QLatin1String("Controls: ") + r[ControlsFlag] + u'.');
    List2_001(form);
}

void List2_001(ui::Form1& form) {
    const QStringList record = gameRecord(form.List2->currentRow());
    if (record.isEmpty() || !form.Picture3->isVisibleTo(&form))
        return;
    for (ui::ClickableLabel* slot : form.Label1)
        ui::Form1::setBackColor(slot, bindings::kUnmarkedColour);
    bindings::List2_XList(form, record[Profile]);
}

} // namespace catalogue
