#include "emulator/GameDefinitions.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <QDir>

namespace emulator {

namespace {

QString definitionsUnder(const QString& folder) {
    return platform::withTrailingSeparator(folder) + platform::relative({"Config", "Games.xml"});
}

} // namespace

std::optional<QString> gameDefinitionsSource(const QString& emulatorFolder) {
    if (emulatorFolder.isEmpty())
        return std::nullopt;
    const QString own = definitionsUnder(emulatorFolder);
    if (platform::isFile(own))
        return own;
    QDir folder(emulatorFolder);
    if (folder.dirName() != QLatin1String("bin") || !folder.cdUp())
        return std::nullopt;
    const QString above = definitionsUnder(QDir::toNativeSeparators(folder.path()));
    if (platform::isFile(above))
        return above;
    return std::nullopt;
}

void copyGameDefinitions(const QString& emulatorFolder, const QString& programFolder) {
    const auto source = gameDefinitionsSource(emulatorFolder);
    if (!source || programFolder.isEmpty())
        return;
    const QString target = definitionsUnder(programFolder);
    if (platform::exists(target)) {
        if (!platform::isFile(target) || platform::sameFile(*source, target))
            return;
        const auto targetTime = platform::modifiedTime(target);
        const auto sourceTime = platform::modifiedTime(*source);
        if (!targetTime || !sourceTime || *targetTime >= *sourceTime)
            return;
    }
    platform::copyFileAtomically(*source, target);
}

} // namespace emulator
