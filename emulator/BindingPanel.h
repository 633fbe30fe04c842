#pragma once

#include <QString>

namespace catalogue {
class GameCatalogue;
}
namespace bindings {
class BindingStore;
enum class Release;
} // namespace bindings

namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

class Launcher;

// Which release's values the panel falls back on: the current one when the
// emulator folder's installation ships its game definitions (Games.xml),
// else the 2011 one.
bindings::Release panelRelease(const ui::Form1& form);

// Opens the binding panel: loads the store from the configuration file the
// emulator uses (the working copy, else the first existing of
// configCandidates), or with no file at all with the values the emulator
// itself uses then (loadDefaults of panelRelease); shows the panel
// and marks the selected game's slots. A file that cannot be edited safely
// is shown read-only with a box naming it.
void OpenPanel(ui::Form1& form, bindings::BindingStore& store,
               const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs);

// Restore: the page's inputs when the game's page shows, else the chart's
// slots, with the values of panelRelease.
void RestorePanel(ui::Form1& form, bindings::BindingStore& store);

// Reads the file into the store again while the panel is open.
void ReadPanelAgain(ui::Form1& form, bindings::BindingStore& store,
                    const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs);

// Saves the edited slots into the working copy, then into the emulator's own
// copy where one exists (asking first), each edited in place under its save
// lock, as it is at that moment: only the edited slots' lines change. No
// working copy yet, it starts from the file the panel read, or with none
// from the panel's whole values (formatInputFile). Nothing is made in the
// emulator's folder. Reports, naming each file written, then closes the
// panel. A failed write of the working copy is reported and keeps the panel
// and its edits as they were; a failed write of the emulator's copy is
// reported on its own.
void Save(ui::Form1& form, bindings::BindingStore& store, ui::Dialogs& dialogs);

// Closes the panel, offering to save while it holds unsaved captures; ends
// any pending capture and empties the slots.
void ClosePanel(ui::Form1& form, bindings::BindingStore& store, ui::Dialogs& dialogs);

// Starts the emulator's own input set-up once the emulator is there. First
// offers to save unsaved captures, as closing does, but the panel stays:
// after Yes it shows what was saved, after No the file again; a Save there
// that fails or is declined keeps the edits and starts nothing. While the
// set-up runs the panel cannot be edited (slots, Restore, All over again,
// Save, the close) and shows, over the chart, why and what the set-up prints.
void StartInputConfiguration(ui::Form1& form, bindings::BindingStore& store,
                             const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs,
                             Launcher& launcher);

// What Save's tooltip says while the emulator's own set-up runs.
inline const QString kSaveWaitsTip =
    QStringLiteral("Save waits until the emulator's own input set-up ends: it rewrites the "
                   "whole configuration file then.");

// The panel's line while the set-up runs.
inline const QString kSetupRunsLine =
    QStringLiteral("The emulator's own input set-up is running. Click its window to answer it: "
                   "it takes keys only while it has the focus. The panel waits until the set-up "
                   "ends, as it rewrites the whole file then.");

// Whether the panel shows the emulator's own set-up running, locked.
bool InputSetupRuns(const ui::Form1& form);

// More of what the set-up prints: shown at the end of its output.
void InputSetupPrinted(ui::Form1& form, const QString& text);

// A started emulator has ended: when it was the input set-up, the panel can
// be edited again and shows what the file now holds, with nothing unsaved.
void InputSetupFinished(ui::Form1& form, bindings::BindingStore& store,
                        const catalogue::GameCatalogue& catalogue, ui::Dialogs& dialogs);

} // namespace emulator
