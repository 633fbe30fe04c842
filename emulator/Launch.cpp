#include "emulator/Launch.h"

#include "catalogue/FolderPaths.h"
#include "catalogue/GameCatalogue.h"
#include "catalogue/RomFolder.h"
#include "emulator/CommandLine.h"
#include "emulator/ConfigLocations.h"
#include "emulator/EmulatorFiles.h"
#include "emulator/Launcher.h"
#include "emulator/PlayerConfig.h"
#include "emulator/PlayerFiles.h"
#include "emulator/RunOutput.h"
#include "platform/Files.h"
#include "ui/CheckBox.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/GameList.h"
#include "ui/Notice.h"
#include "ui/Tag.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace emulator {

namespace {

// Only the ticked state counts as on; grey is off.
bool on(const ui::CheckBox* box) {
    return box->value() == 1;
}

} // namespace

void tellEmuError(ui::Dialogs& dialogs, const QStringList& lines, bool outputKept) {
    dialogs.tell(emuErrorText(lines, outputKept), kErrTitle);
}

QStringList whyNotStarted(const ui::Form1& form, bool game) {
    QStringList lines;
    const QString program = catalogue::emulatorFolder(form) + QLatin1String(kEmulatorProgram);
    if (const QString emu = catalogue::notAFolder(QStringLiteral("Emu Path"), form.Text4->text());
        !emu.isEmpty())
        lines.append(emu);
    else if (!emulatorPresent(form))
        lines.append(QStringLiteral("The Emu Path folder has no %1 program: %2")
                         .arg(QLatin1String(kEmulatorProgram), program));
    else
        lines.append(QStringLiteral("The emulator could not be started: ") + program);
    if (game) {
        if (const QString rom =
                catalogue::notAFolder(QStringLiteral("Rom Path"), form.Text5->text());
            !rom.isEmpty())
            lines.append(rom);
    }
    return lines;
}

bool refusedWhileRunning(ui::Form1& form, const Launcher& launcher) {
    if (!launcher.running())
        return false;
    ui::showNotice(form, kStillRunning);
    return true;
}

QChar quoteOf(const ui::Form1& form) {
    const QString quote = ui::tag(form.Image1);
    return quote.isEmpty() ? QChar(u'"') : quote.front();
}

GameLaunch gameLaunchFromWindow(const ui::Form1& form, const catalogue::GameCatalogue& catalogue) {
    GameLaunch launch;
    launch.emulatorFolder = catalogue::emulatorFolder(form);
    launch.romFolder = catalogue::romFolder(form);
    // The archive the emulator is to open: the row's own set's first, else a
    // version's, as named in the folder ("VF3.ZIP").
    if (const catalogue::CatalogueRow* row = catalogue::selectedRow(form, catalogue)) {
        launch.romSet = row->sets.front();
        const QList<catalogue::PresentArchive> present =
            catalogue::presentArchives(*row, catalogue::RomFolder(launch.romFolder));
        if (!present.isEmpty()) {
            launch.romSet = present.front().set;
            launch.archivePath = present.front().path;
        }
    }
    launch.width = form.Text1->text();
    launch.height = form.Text3->text();
    launch.clock = form.Text7->text();
    launch.clockOn = on(form.Check4);
    launch.showFps = on(form.Check1);
    launch.fullScreen = on(form.Check2);
    launch.noThrottle = on(form.Check3);
    return launch;
}

QString setToStart(catalogue::GameCatalogue& catalogue, const GameLaunch& launch) {
    const QString archive = launch.archivePath.isEmpty()
                                ? launch.romFolder + launch.romSet + QLatin1String(".zip")
                                : launch.archivePath;
    return catalogue::setInArchive(catalogue, archive);
}

bool emulatorPresent(const ui::Form1& form) {
    return platform::isFile(catalogue::emulatorFolder(form) + QLatin1String(kEmulatorProgram));
}

bool startFromTag(ui::Form1& form, const CommandLine& line, WindowState state, Launcher& launcher,
                  ui::Dialogs& dialogs, const std::optional<QString>& gameSet) {
    ui::setTag(form.Command1, line.text);
    // A start without the installation's files is sure to fail: say why instead.
    if (const auto failure = bringEmulatorFiles(catalogue::emulatorFolder(form), ui::tag(&form))) {
        dialogs.tell(*failure, kErrTitle);
        return false;
    }
    // What the player had before comes along: their configuration, kept in
    // step, and for a game its NVRAM and save states. Nothing of it stops
    // the start; what went wrong is told first, in one box.
    const QString programFolder = ui::tag(&form);
    QStringList problems = keepConfigInStep(programFolder, catalogue::emulatorFolder(form));
    if (gameSet)
        problems += bringPlayerFiles(catalogue::emulatorFolder(form), programFolder, *gameSet);
    if (!problems.isEmpty())
        dialogs.tell(problems.join(u'\n'), kErrTitle);
    // A game takes the screen; the input set-up is answered beside the
    // panel, which shows what it prints.
    const bool minimize = state == WindowState::Minimized;
    if (minimize)
        form.minimize();
    if (launcher.start(line.program, line.arguments, state, ui::tag(&form)))
        return true;
    // A failed start is not a launch: bring the window back and say so.
    if (minimize)
        form.showNormal();
    tellEmuError(dialogs, whyNotStarted(form, gameSet.has_value()));
    return false;
}

void RunFinished(ui::Form1& form, ui::Dialogs& dialogs, int status, const QStringList& errorLines,
                 bool outputKept) {
    if (status == 0)
        return;
    form.showNormal();
    form.raise();
    form.activateWindow();
    tellEmuError(dialogs, failureLines(status, errorLines, outputKept), outputKept);
}

void Launch(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
            ui::Dialogs& dialogs) {
    if (refusedWhileRunning(form, launcher))
        return;
    const GameLaunch launch = gameLaunchFromWindow(form, catalogue);
    const CommandLine line = gameCommandLine(launch, quoteOf(form));
    startFromTag(form, line, WindowState::Minimized, launcher, dialogs,
                 setToStart(catalogue, launch));
}

void LaunchVersion(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
                   ui::Dialogs& dialogs, const QString& archivePath, const QString& set) {
    if (refusedWhileRunning(form, launcher))
        return;
    if (!emulatorPresent(form)) {
        tellEmuError(dialogs, whyNotStarted(form, true));
        return;
    }
    GameLaunch launch = gameLaunchFromWindow(form, catalogue);
    launch.romSet = set;
    launch.archivePath = archivePath;
    startFromTag(form, gameCommandLine(launch, quoteOf(form)), WindowState::Minimized, launcher,
                 dialogs, setToStart(catalogue, launch));
}

void LaunchFromList(ui::Form1& form, catalogue::GameCatalogue& catalogue, Launcher& launcher,
                    ui::Dialogs& dialogs) {
    if (refusedWhileRunning(form, launcher))
        return;
    if (!emulatorPresent(form)) {
        tellEmuError(dialogs, whyNotStarted(form, true));
        return;
    }
    if (form.Command1->isEnabled()) {
        Launch(form, catalogue, launcher, dialogs);
        return;
    }
    const QListWidgetItem* row = form.List2->currentItem();
    dialogs.tell((row ? row->text() : QString()) + QLatin1String(" Rom Error ..."), kErrTitle);
}

} // namespace emulator
