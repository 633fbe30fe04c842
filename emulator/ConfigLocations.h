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

// The first candidate that is a file, or empty.
QString firstExistingConfig(const QStringList& candidates);

// The emulator's own copy: its folder's Config/Supermodel.ini, except in a
// build from source ("bin" whose parent has Config/), where it is the
// parent's. Empty when it must not be made: the emulator folder is "bin"
// and has no Config/ of its own (one would hide Games.xml).
QString emulatorConfigCopy(const QString& emulatorFolder);

// What the emulator reads from the file the panel shows: the working copy
// when it exists, else the first existing candidate, else empty.
QString panelConfigSource(const QString& programFolder, const QString& emulatorFolder);

// The file a write to `path` must replace: the file a symbolic link leads
// to (so the link stays a link), else `path` itself.
QString writeTarget(const QString& path);

} // namespace emulator
