#pragma once

#include "emulator/ConfigFile.h"

#include <QString>
#include <optional>

namespace emulator {

// The emulator runs in the program folder and needs there what its
// installation ships: "Config/Games.xml" (to start any game), "Assets/" (the
// crosshair pictures every game loads) and, when it has one,
// "Config/Music.xml".

// The largest "Config" file (kConfigFileLimit) and the largest "Assets"
// folder brought over: anything larger is refused rather than copied while
// the window waits.
inline constexpr qint64 kAssetsLimit = qint64(64) << 20;

// Brings the installation's files into the program folder before a start:
// each file whose copy is missing or older. The user's own files there
// (Supermodel.ini, NVRAM, Saves) are never touched, the emulator's folder is
// only ever read, and no link is written through (platform::bringCopy).
// Returns the text of the box to show when something the installation has
// could not be brought, or is not what it must be (anything but an ordinary
// file, or a folder for "Assets", links followed): the emulator is then not
// to be started.
std::optional<QString> bringEmulatorFiles(const QString& emulatorFolder,
                                          const QString& programFolder);

} // namespace emulator
