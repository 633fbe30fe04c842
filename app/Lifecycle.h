#pragma once

#include <QString>

namespace catalogue {
class GameCatalogue;
}
namespace ui {
class Form1;
}

namespace app {

// "Sega Model 3 Kestrun To Supermodel ( For research 0.0.3)"
QString windowTitle();

// The defaults of the two folders, under the program folder.
QString defaultEmulatorFolder(const QString& programFolder);
QString defaultRomFolder(const QString& programFolder);

// Start-up after the second-copy test: title, program folder, the folders
// "Config", "NVRAM" and "Saves", the leftovers of an interrupted settings
// write, the settings, then the game list. Every step
// that fails is skipped silently.
void StartUp(ui::Form1& form, catalogue::GameCatalogue& catalogue,
             const QString& programFileFolder);

// Just after the window is first shown: what an interrupted copy into the
// program folder left (of Games.xml, Music.xml, NVRAM and save states), then
// the emulator's game list.
void CompleteStartUp(ui::Form1& form, catalogue::GameCatalogue& catalogue);

// Shutdown before the process ends: empty folder boxes take their defaults
// and the settings file is replaced. Nothing is asked.
void ShutDown(ui::Form1& form);

} // namespace app
