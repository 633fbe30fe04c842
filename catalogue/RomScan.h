#pragma once

#include <QString>

namespace ui {
class Form1;
}

namespace catalogue {

class GameCatalogue;

// Lists the catalogue's rows (the built-in table's sixteen until the
// emulator's definitions are read), counts their archives in the ROM folder
// as loaded, writes the row count and selects row 16.
void StartUpFill(ui::Form1& form, GameCatalogue& catalogue);

// Finds and reads the emulator's game definitions for the Emu Path, rebuilds
// the rows from them, keeping the selected game by its title (row 16 when it
// is gone), and recounts. True when the rows changed: with definitions found
// now or before. Nothing changes when neither had any, nor when the file
// holds the very bytes read before (the rows stand, and it is true).
bool readCatalogue(ui::Form1& form, GameCatalogue& catalogue);

// Just after start-up: the definitions, the rows and the count, then the
// selection view again when the rows changed or the definitions could not
// be used (its tooltip says why).
void JoinDefinitions(ui::Form1& form, GameCatalogue& catalogue);

// "New Scan": the path check, then the definitions again and the count. With
// definitions, the selection view runs again so that the launch button and
// the pictures match the scan; without, nothing else changes. The game list
// gets the focus back.
void NewScan(ui::Form1& form, GameCatalogue& catalogue);

} // namespace catalogue
