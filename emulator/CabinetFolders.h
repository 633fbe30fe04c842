#pragma once

#include "emulator/CabinetConfig.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace emulator {

// The emulator keeps its configuration and NVRAM in the folder it runs in,
// and which cabinet leads a link is kept in the game's NVRAM: so each
// linked cabinet runs in a folder of its own. Cabinet 1 is the program
// folder itself, unchanged; cabinet k (2 and up) is "Cabinets/k/" under it,
// with "Config/Supermodel.ini" and "NVRAM/", and the installation's files
// brought as for any start. The front-end never deletes a cabinet's folder.

// Cabinet k's folder, ending with the separator (the program folder for 1).
QString cabinetFolder(const QString& programFolder, int cabinet);

struct CabinetReady {
    std::optional<QString> failure; // why the cabinet cannot start: the box
    QStringList problems;           // to tell before the start, which goes on
};

// Before a linked start of cabinet start.cabinet: makes its folders where
// missing; brings the installation's files (bringEmulatorFiles); keeps its
// configuration in step with the program folder's working copy
// (keepCopyInStep, a copy at first, with a base of the cabinet's own, the
// cabinet's settings left to cabinetSettings); then writes cabinetSettings
// into it in place, under its save lock. A failure leaves the rest undone.
CabinetReady prepareCabinet(const QString& programFolder, const QString& emulatorFolder,
                            const CabinetStart& start);

// Whether cabinet k has NVRAM for the set yet: without it, its link role is
// still to be chosen in the game's test menu.
bool cabinetHasNvram(const QString& programFolder, int cabinet, const QString& set);

// What an interrupted write left in the cabinets' folders, by our temporary
// names alone (as at start-up in the program folder).
void removeCabinetLeftovers(const QString& programFolder);

} // namespace emulator
