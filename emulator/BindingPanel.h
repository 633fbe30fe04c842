#pragma once

namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

class Launcher;

// Opens the binding panel: fills the 49 slots from the emulator's input file,
// or with the defaults when it is absent, shows the panel and marks the
// selected game's slots.
void OpenPanel(ui::Form1& form);

// Writes the 49 slots into the emulator's input file (asking before it
// overwrites one), copies it to the front-end's own folder, reports, then
// closes the panel. A failed write is reported and keeps the panel and its
// edits as they were.
void Save(ui::Form1& form, ui::Dialogs& dialogs);

// Closes the panel, offering to save while it holds unsaved captures; ends
// any pending capture and empties the slots.
void ClosePanel(ui::Form1& form, ui::Dialogs& dialogs);

// Starts the emulator's own input set-up, then closes the panel.
void StartInputConfiguration(ui::Form1& form, ui::Dialogs& dialogs, Launcher& launcher);

} // namespace emulator
