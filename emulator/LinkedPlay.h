#pragma once

#include "emulator/RunOutput.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace catalogue {
class GameCatalogue;
}
namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

class Launcher;

// The linked group running: one at a time, as one emulator at a time for an
// ordinary start (the launcher runs nothing else meanwhile).
struct LinkedGroup {
    QHash<int, int> cabinetOf;      // the launcher's run -> its cabinet, while it runs
    QList<CabinetFailure> failures; // of those that ended, the failed ones
};

// Linked play of `set` from `archivePath` with `cabinets` cabinets (the
// row menu's entry): refused while a run goes on or without the emulator.
// prepareLinkedStart with the tiles of the available area of the screen the
// window is on; its failure is told in a box and nothing starts, its
// problems in a box before the start. Then every cabinet starts at once,
// each in its folder, the window minimized; a passing note tells the
// cabinets whose link role is still to be set.
void LinkedPlay(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
                ui::Dialogs& dialogs, LinkedGroup& group, const QString& archivePath,
                const QString& set, int cabinets);

// A run the launcher started has ended. Not a cabinet: RunFinished. A
// cabinet: once the last one has ended, the window comes back and one
// "Emu Error ..." box tells, by cabinet, those that failed.
void RunEnded(ui::Form1& form, ui::Dialogs& dialogs, LinkedGroup& group, int status,
              const QStringList& errorLines, bool outputKept, int run);

} // namespace emulator
