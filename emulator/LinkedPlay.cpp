#include "emulator/LinkedPlay.h"

#include "catalogue/GameCatalogue.h"
#include "emulator/CabinetTiles.h"
#include "emulator/Launch.h"
#include "emulator/Launcher.h"
#include "emulator/LinkedStart.h"
#include "ui/Dialogs.h"
#include "ui/Form1.h"
#include "ui/Notice.h"
#include "ui/Tag.h"

#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace emulator {

namespace {

// The tiles over the available area of the screen the window is on, in
// the device's pixels.
QList<Tile> tilesOnScreen(const ui::Form1& form, int cabinets) {
    const QScreen* screen = form.screen();
    if (!screen)
        return cabinetTiles(cabinets, QRect(0, 0, 1024, 768), QPoint(0, 0), 1.0);
    return cabinetTiles(cabinets, screen->availableGeometry(), screen->geometry().topLeft(),
                        screen->devicePixelRatio());
}

void windowBack(ui::Form1& form) {
    form.showNormal();
    form.raise();
    form.activateWindow();
}

} // namespace

void LinkedPlay(ui::Form1& form, catalogue::GameCatalogue& games, Launcher& launcher,
                ui::Dialogs& dialogs, LinkedGroup& group, const QString& archivePath,
                const QString& set, int cabinets) {
    if (refusedWhileRunning(form, launcher))
        return;
    if (!emulatorPresent(form)) {
        tellEmuError(dialogs, whyNotStarted(form, true));
        return;
    }
    LinkedRequest request;
    request.programFolder = ui::tag(&form);
    request.launch = gameLaunchFromWindow(form, games);
    request.launch.romSet = set;
    request.launch.archivePath = archivePath;
    request.set = setToStart(games, request.launch);
    if (const catalogue::GameSet* defined = catalogue::definedSet(games, request.set))
        request.inputTypes = defined->inputTypes;
    request.cabinets = cabinets;
    request.tiles = tilesOnScreen(form, cabinets);
    request.quote = quoteOf(form);

    const LinkedStart start = prepareLinkedStart(request);
    if (start.failure) {
        dialogs.tell(*start.failure, kErrTitle);
        return;
    }
    if (!start.problems.isEmpty())
        dialogs.tell(start.problems.join(u'\n'), kErrTitle);
    if (const QString note = linkRoleNote(start.withoutNvram, request.set); !note.isEmpty())
        ui::showNotice(form, note);

    ui::setTag(form.Command1, start.lines.front().text);
    form.minimize();
    group = {};
    for (qsizetype k = 0; k < start.lines.size(); ++k) {
        const CommandLine& line = start.lines[k];
        if (launcher.start(line.program, line.arguments, WindowState::Minimized, start.folders[k]))
            group.cabinetOf.insert(launcher.lastRun(), int(k) + 1);
        else
            group.failures.append({int(k) + 1, whyNotStarted(form, true), true});
    }
    if (!group.cabinetOf.isEmpty())
        return;
    // None started: not a launch.
    windowBack(form);
    dialogs.tell(linkedErrorText(group.failures), kErrTitle);
    group = {};
}

void RunEnded(ui::Form1& form, ui::Dialogs& dialogs, LinkedGroup& group, int status,
              const QStringList& errorLines, bool outputKept, int run) {
    const auto found = group.cabinetOf.constFind(run);
    if (found == group.cabinetOf.constEnd()) {
        RunFinished(form, dialogs, status, errorLines, outputKept);
        return;
    }
    const int cabinet = *found;
    group.cabinetOf.erase(found);
    if (status != 0)
        group.failures.append({cabinet, failureLines(status, errorLines, outputKept), outputKept});
    if (!group.cabinetOf.isEmpty())
        return;
    windowBack(form);
    std::stable_sort(
        group.failures.begin(), group.failures.end(),
        [](const CabinetFailure& a, const CabinetFailure& b) { return a.cabinet < b.cabinet; });
    if (!group.failures.isEmpty())
        dialogs.tell(linkedErrorText(group.failures), kErrTitle);
    group = {};
}

} // namespace emulator
