#include "emulator/ConfigSave.h"

#include "emulator/ConfigDocument.h"
#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "platform/Files.h"
#include "platform/SaveLock.h"

#include <QFileInfo>

namespace emulator {

namespace {

bool ordinaryOrNothing(const QString& path) {
    const platform::Place place = platform::placeAt(path);
    return place == platform::Place::Nothing || place == platform::Place::File;
}

} // namespace

std::optional<QByteArray> saveConfigEdit(const QString& path, const QByteArray& base,
                                         const DocumentEdit& edit) {
    if (path.isEmpty() || !ordinaryOrNothing(path))
        return std::nullopt;
    const QString target = writeTarget(path);
    const QString folder = QFileInfo(target).absolutePath();
    if (!platform::exists(folder) && !platform::makeFolder(folder))
        return std::nullopt;

    platform::SaveLock lock(target);
    // Unavailable: no file can be made in that folder, so a write that is
    // due fails there anyway; one that is not due needs no lock.
    const platform::SaveLock::Outcome locked = lock.acquire();
    if (locked == platform::SaveLock::Outcome::Busy ||
        locked == platform::SaveLock::Outcome::Obstructed)
        return std::nullopt;

    QByteArray bytes = base;
    const ConfigRead read = readConfigFile(target);
    if (read.exists) {
        if (read.problem != ConfigProblem::None)
            return std::nullopt;
        bytes = read.bytes;
    } else if (!ordinaryOrNothing(target)) {
        return std::nullopt; // something else took its place meanwhile
    }
    ConfigDocument document(bytes);
    edit(document);
    const QByteArray edited = document.bytes();
    if (read.exists && edited == bytes)
        return edited; // nothing to change: the file stays untouched
    if (!platform::writeFileAtomically(target, edited))
        return std::nullopt;
    return edited;
}

QString saveObstacle(const QString& path) {
    return path.isEmpty() ? QString() : platform::SaveLock::obstacle(writeTarget(path));
}

void removeSaveLeftovers(const QString& path) {
    if (path.isEmpty() || !ordinaryOrNothing(path))
        return;
    const QString target = writeTarget(path);
    platform::SaveLock lock(target);
    const platform::SaveLock::Outcome locked = lock.acquire(0);
    if (locked == platform::SaveLock::Outcome::Busy)
        return; // its temporary file is in use
    if (locked == platform::SaveLock::Outcome::Obstructed)
        return; // no save can have run: what stands there is not ours to clear
    platform::removeWriteLeftovers(target);
}

} // namespace emulator
