#pragma once

#include <QChar>
#include <QString>
#include <QStringList>

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

// Tells the user the emulator could not be found or started, or failed, with
// the last error lines it printed, if any.
void tellEmuError(ui::Dialogs& dialogs, const QStringList& errorLines = {});

// The game launch read from the window at this moment.
GameLaunch gameLaunchFromWindow(const ui::Form1& form);

// The quote character kept as the tag of Image1.
QChar quoteOf(const ui::Form1& form);

// The emulator's program file exists under the emulator folder.
bool emulatorPresent(const ui::Form1& form);

// Keeps `line` in Command1's tag, brings the emulator's installation files
// into the program folder (bringEmulatorFiles), minimizes the window and
// starts the process without waiting. Files that cannot be brought are told
// in an "Err" box and nothing starts. A process that cannot be started is not
// a launch: the window comes back and the user is told "Emu Error ...".
bool startFromTag(ui::Form1& form, const CommandLine& line, WindowState state, Launcher& launcher,
                  ui::Dialogs& dialogs);

// A started emulator has ended. A failure (any status but 0) brings the
// window back and tells "Emu Error ..." with the emulator's error lines; a
// normal end changes nothing.
void RunFinished(ui::Form1& form, ui::Dialogs& dialogs, int status, const QStringList& errorLines);

// Launch (the launch button): the game command line, started minimized.
void Launch(ui::Form1& form, Launcher& launcher, ui::Dialogs& dialogs);

// Launch from the list: the emulator must exist, then the archive must have
// been found when the game was selected (the launch button's enabled state).
void LaunchFromList(ui::Form1& form, Launcher& launcher, ui::Dialogs& dialogs);

} // namespace emulator
