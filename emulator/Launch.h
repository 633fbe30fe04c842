#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <optional>

namespace catalogue {
class GameCatalogue;
}
namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

class Launcher;
struct CommandLine;
struct GameLaunch;
enum class WindowState;

// The title of every error box.
inline const QString kErrTitle = QStringLiteral("Err");

// Tells the user the emulator could not be found or started, or failed:
// "Emu Error ..." and `lines`, which say why (emuErrorText).
void tellEmuError(ui::Dialogs& dialogs, const QStringList& lines, bool outputKept = true);

// Why the emulator does not start from the window's paths, for that box: the
// Emu Path, or for a game (`game`) the Rom Path too, that is not a folder;
// else that the folder has no program file, or that the program could not
// be started.
QStringList whyNotStarted(const ui::Form1& form, bool game);

// The game launch read from the window at this moment.
GameLaunch gameLaunchFromWindow(const ui::Form1& form, const catalogue::GameCatalogue& catalogue);

// The quote character kept as the tag of Image1.
QChar quoteOf(const ui::Form1& form);

// The set the emulator will start from the launch's archive, whose NVRAM
// and save states come along.
QString setToStart(catalogue::GameCatalogue& catalogue, const GameLaunch& launch);

// The emulator's program file exists under the emulator folder.
bool emulatorPresent(const ui::Form1& form);

// Keeps `line` in Command1's tag, brings the emulator's installation files
// into the program folder (bringEmulatorFiles), minimizes the window for a
// game (WindowState::Minimized) and starts the process without waiting. Files that cannot be
// brought are told in an "Err" box and nothing starts. Then the player's configuration is kept in
// step (keepConfigInStep) and, for a game (`gameSet`, the set that will start), its NVRAM and save
// states brought in (bringPlayerFiles): what of that fails is told in one "Err" box before the
// start, which goes on. A process that cannot be started is not a launch: the window comes back and
// the user is told "Emu Error ...".
bool startFromTag(ui::Form1& form, const CommandLine& line, WindowState state, Launcher& launcher,
                  ui::Dialogs& dialogs, const std::optional<QString>& gameSet = std::nullopt);

// The notice shown when a launch is refused because a run goes on.
inline const QString kStillRunning = QStringLiteral("The emulator is still running.");

// While an emulator started here still runs, a further launch starts nothing:
// two would share one NVRAM/ and one configuration. Shows a passing notice
// (no box) and returns true when that is so.
bool refusedWhileRunning(ui::Form1& form, const Launcher& launcher);

// A started emulator has ended. A failure (any status but 0) brings the
// window back and tells "Emu Error ..." with the emulator's error lines, or
// how it ended when it printed none, or that its messages could not be kept;
// a normal end changes nothing.
void RunFinished(ui::Form1& form, ui::Dialogs& dialogs, int status, const QStringList& errorLines,
                 bool outputKept = true);

// Launch (the launch button): the game command line, started minimized.
// Refused while a run goes on (the tag keeps the running line).
void Launch(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
            ui::Dialogs& dialogs);

// Launch of one version of the selected game, from the row's menu: the
// archive given, refused while a run goes on or without the emulator.
void LaunchVersion(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
                   ui::Dialogs& dialogs, const QString& archivePath, const QString& set);

// Launch from the list: refused while a run goes on, before any check; then
// the emulator must exist, then the archive must have been found when the
// game was selected (the launch button's enabled state).
void LaunchFromList(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
                    ui::Dialogs& dialogs);

} // namespace emulator
