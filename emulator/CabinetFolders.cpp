#include "emulator/CabinetFolders.h"

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/ConfigSave.h"
#include "emulator/EmulatorFiles.h"
#include "emulator/InputFile.h"
#include "emulator/PlayerConfig.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SafeCopy.h"
#include "platform/SaveLock.h"

#include <QDir>

namespace emulator {

namespace {

constexpr char kCabinets[] = "Cabinets";

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// Makes the folder when nothing is there; why it is not a folder otherwise.
std::optional<QString> folderAt(const QString& path) {
    const platform::Place place = platform::placeAt(path);
    if (place == platform::Place::Folder)
        return std::nullopt;
    // Cabinets are made ready side by side: another may have just made it.
    if (place == platform::Place::Nothing &&
        (platform::makeFolder(path) || platform::placeAt(path) == platform::Place::Folder))
        return std::nullopt;
    const QString why = place == platform::Place::Nothing
                            ? QStringLiteral("it cannot be made")
                            : QStringLiteral("it is %1").arg(platform::placeName(place));
    return QStringLiteral("The linked cabinet's folder %1 is missing: %2.").arg(shown(path), why);
}

std::optional<QString> cannotWrite(const QString& file, const QString& why) {
    return QStringLiteral("The linked cabinet's ports and pads cannot be written into %1: %2.")
        .arg(shown(file), why);
}

// Writes the cabinet's own settings into its file, in place.
std::optional<QString> writeSettings(const QString& programFolder, const QString& folder,
                                     const CabinetStart& start) {
    const QString file = workingConfig(folder);
    const QString target = writeTarget(file);
    platform::SaveLock lock(target);
    switch (lock.acquire()) {
    case platform::SaveLock::Outcome::Busy:
        return cannotWrite(file, QStringLiteral("another copy of the front-end is saving it"));
    case platform::SaveLock::Outcome::Obstructed:
        return cannotWrite(file, platform::SaveLock::obstacle(target));
    case platform::SaveLock::Outcome::Unavailable:
    case platform::SaveLock::Outcome::Locked:
        break;
    }
    const ConfigRead here = readConfigFile(target);
    if (here.problem != ConfigProblem::None)
        return cannotWrite(file, configProblemText(here.problem));
    // A file of ours alone says who wrote it.
    ConfigDocument document(here.exists ? here.bytes : QByteArray(kWrittenBy) + "\r\n");
    const ConfigRead player = readConfigFile(workingConfig(programFolder));
    // The player's file unreadable, the cabinet still gets its ring and
    // pads, from its own settings and the built-in values.
    const ConfigDocument players(player.problem == ConfigProblem::None ? player.bytes
                                                                       : QByteArray());
    writeCabinetSettings(document, cabinetSettings(start, players, document));
    const QByteArray bytes = document.bytes();
    if (here.exists && bytes == here.bytes)
        return std::nullopt;
    if (configProblem(bytes) == ConfigProblem::TooLarge)
        return cannotWrite(file, configProblemText(ConfigProblem::TooLarge));
    if (!platform::writeFileAtomically(target, bytes))
        return cannotWrite(file, QStringLiteral("the file cannot be written"));
    return std::nullopt;
}

} // namespace

QString cabinetFolder(const QString& programFolder, int cabinet) {
    if (cabinet <= 1)
        return programFolder;
    return programFolder + QLatin1String(kCabinets) + platform::kSeparator +
           QString::number(cabinet) + platform::kSeparator;
}

CabinetReady prepareCabinet(const QString& programFolder, const QString& emulatorFolder,
                            const CabinetStart& start) {
    const QString folder = cabinetFolder(programFolder, start.cabinet);
    for (const QString& path :
         {programFolder + QLatin1String(kCabinets), folder, folder + QStringLiteral("Config"),
          folder + QStringLiteral("NVRAM")}) {
        if (auto failure = folderAt(path))
            return {failure, {}};
    }
    if (auto failure = bringEmulatorFiles(emulatorFolder, folder))
        return {failure, {}};
    CabinetReady ready;
    ready.problems = keepCopyInStep(folder, workingConfig(programFolder),
                                    [&start](QByteArrayView section, QByteArrayView name) {
                                        return isCabinetSetting(start, section, name);
                                    });
    ready.failure = writeSettings(programFolder, folder, start);
    return ready;
}

bool cabinetHasNvram(const QString& programFolder, int cabinet, const QString& set) {
    return platform::exists(cabinetFolder(programFolder, cabinet) + platform::relative({"NVRAM"}) +
                            platform::kSeparator + set + QStringLiteral(".nv"));
}

void removeCabinetLeftovers(const QString& programFolder) {
    for (int cabinet = kFewestCabinets; cabinet <= kMostCabinets; ++cabinet) {
        const QString folder = cabinetFolder(programFolder, cabinet);
        if (platform::placeAt(folder) != platform::Place::Folder)
            continue;
        removeSaveLeftovers(workingConfig(folder));
        for (const char* file : {"Games.xml", "Music.xml", "Kestrun-base.ini", "Kestrun-base.txt"})
            platform::removeWriteLeftovers(folder + platform::relative({"Config", file}));
        platform::removeCopyLeftovers(folder, QStringLiteral("Assets"));
        for (const char* name : {"NVRAM", "Saves"})
            platform::removeTemporaryFiles(folder + QLatin1String(name));
    }
}

} // namespace emulator
