#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace catalogue {

// An installed emulator, found where a user's shell would find it.
struct FoundEmulator {
    QString program; // the program file as found ("/usr/local/bin/supermodel")
    QString folder;  // the folder of the file it is, links followed; with its separator
};

// Where a first start looks for the emulator: each folder of `pathVariable`
// (the PATH variable, ':'-separated; empty entries skipped), then
// /usr/local/bin and `home`/.local/bin.
QStringList emulatorSearchFolders(const QString& pathVariable, const QString& home);

// The first of `folders` that holds the emulator's program as a file one
// may run; nothing when none does.
std::optional<FoundEmulator> findEmulator(const QStringList& folders);

// findEmulator over this user's search folders, or what a test puts in its
// place through installedEmulatorSource.
std::optional<FoundEmulator> installedEmulator();
inline std::function<std::optional<FoundEmulator>()> installedEmulatorSource;

} // namespace catalogue
