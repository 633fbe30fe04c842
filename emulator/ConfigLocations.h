#pragma once

#include <QString>
#include <QStringList>

namespace emulator {

// Where the emulator's configuration file lives. Folder texts end with the
// path separator, as the window keeps them.

// The working copy: the program folder's Config/Supermodel.ini, the file the
// emulator reads when the front-end starts it.
QString workingConfig(const QString& programFolder);

// Where an existing configuration is looked for, in order, when there is no
// working copy: the emulator folder's Config/Supermodel.ini; the same in its
// parent when the emulator folder is "bin"; ~/.supermodel/Config/; and
// $XDG_CONFIG_HOME/supermodel/Config/ (~/.config when that is unset or not
// absolute). `home` and `xdgConfigHome` as the environment gives them.
QStringList configCandidates(const QString& emulatorFolder, const QString& home,
                             const QString& xdgConfigHome);

// The same, from this process's environment.
QStringList configCandidates(const QString& emulatorFolder);

// True when the file at `path` is a copy an earlier version of the
// front-end made (isEarlierFrontEndFile): not the player's own settings.
bool isEarlierFrontEndCopy(const QString& path);

// The first candidate that is a file and not such a copy, or empty.
QString firstExistingConfig(const QStringList& candidates);

// The emulator's own copy: its folder's Config/Supermodel.ini, except in a
// build from source ("bin" whose parent has Config/), where it is the
// parent's. Empty when there is no such place: the emulator folder is
// "bin" and has no Config/ of its own.
QString emulatorConfigCopy(const QString& emulatorFolder);

// The file the panel shows: the working copy when it exists, else the
// first existing candidate, else empty.
QString panelConfigSource(const QString& programFolder, const QString& emulatorFolder);

// The file a write to `path` must replace: the file a symbolic link leads
// to (so the link stays a link), else `path` itself.
QString writeTarget(const QString& path);

} // namespace emulator
