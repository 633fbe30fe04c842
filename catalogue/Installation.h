#pragma once

#include <QString>
#include <optional>

namespace catalogue {

// Where the emulator's installation keeps what it ships beside the program:
// "Config/Games.xml" (the game definitions), "Config/Music.xml" and
// "Assets/". A release keeps them in the program's folder, a build from
// source in the folder above its "bin/", and an installation into a prefix
// (a distribution's package, /usr/local, a Nix store path) in
// "PREFIX/share/supermodel/".

// The first of those folders that holds any of the shipped files, cleaned,
// or nothing (an older release ships none).
std::optional<QString> installationFolder(const QString& emulatorFolder);

// The installation's "Config/Games.xml" when it has one as a file, else
// empty.
QString definitionsFile(const QString& emulatorFolder);

} // namespace catalogue
