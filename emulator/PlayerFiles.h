#pragma once

#include <QString>
#include <QStringList>

namespace emulator {

// The emulator keeps a game's NVRAM (high scores, operator settings) and save
// states in the folder it runs in. Started by the front-end, that is the
// program folder; a player who ran it directly before has them in one of
// the emulator's own data folders. Those are brought in, never moved back.

// The largest NVRAM or save-state file brought in.
inline constexpr qint64 kPlayerFileLimit = qint64(64) << 20;

// The emulator's own data folders, in the order they are looked through,
// each ending with "/": the installation's folder when it has "Config/";
// ~/.supermodel/; $XDG_DATA_HOME/supermodel/ when that is absolute, else
// ~/.local/share/supermodel/. `home` and `xdgDataHome` as the environment
// gives them; without a home only the installation is looked at.
QStringList playerDataFolders(const QString& emulatorFolder, const QString& home,
                              const QString& xdgDataHome);

// The first of `folders` where `relative` exists, a link included, as a
// path; empty when none has it. A folder without it never hides a later one.
QString findPlayerFile(const QStringList& folders, const QString& relative);

// Before a game start: copies each of the set's files the program folder
// lacks from the first data folder that has it (platform::copyWhenMissing:
// nothing replaced, no link followed). Returns one line per file left
// behind, saying why, for the box shown before the start; among them save
// states numbered past 9, which the emulator never reads. A failure never
// stops the start.
QStringList bringPlayerFiles(const QStringList& folders, const QString& programFolder,
                             const QString& set);

// The same, through the emulator folder's data folders, from this process's
// environment ($HOME, as the rest of the front-end uses it).
QStringList bringPlayerFiles(const QString& emulatorFolder, const QString& programFolder,
                             const QString& set);

} // namespace emulator
