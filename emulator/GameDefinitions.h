#pragma once

#include <QString>
#include <optional>

namespace emulator {

// The current emulator needs its game and ROM set definitions,
// "Config/Games.xml", in the folder it runs in, which is the front-end's.

// The emulator's own copy: "Config/Games.xml" under the emulator folder, or,
// for a source build whose program sits in "bin", under the folder above it.
// Nothing when neither is an ordinary file.
std::optional<QString> gameDefinitionsSource(const QString& emulatorFolder);

// Copies the emulator's definitions to the program folder's "Config" when the
// copy there is missing or older. A newer copy, a folder of that name, or a
// file that cannot be read or written is left alone, silently; the emulator's
// folder is only ever read.
void copyGameDefinitions(const QString& emulatorFolder, const QString& programFolder);

} // namespace emulator
