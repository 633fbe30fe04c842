#pragma once

#include "emulator/ConfigSave.h"

#include <QByteArray>
#include <QString>

namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

// Plays `edit` into the working copy, then into the emulator's own copy
// where one exists, asking first, each edited in place under its save lock
// as it is at that moment (saveConfigEdit). No working copy yet, it starts
// from the file the emulator folder offers for import, or with none from
// `fallback`. Nothing is made in the emulator's folder. Tells the result,
// naming each file written. A failed write of the working copy is told and
// returns false; a failed write of the emulator's copy is told on its own.
// Returns false too when the overwrite question is answered No.
bool saveToFiles(const ui::Form1& form, ui::Dialogs& dialogs, const DocumentEdit& edit,
                 const QByteArray& fallback);

// The box for a file that could not be written, with what keeps every save
// of it from happening when something does.
void tellWriteFailed(ui::Dialogs& dialogs, const QString& path);

} // namespace emulator
