#include "emulator/ConfigLocations.h"

#include "emulator/InputFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFileInfo>

namespace emulator {

namespace {

QString configUnder(const QString& folder) {
    return folder + platform::relative({"Config", "Supermodel.ini"});
}

// The parent of a folder named "bin" (a build from source), or empty.
QString parentOfBin(const QString& emulatorFolder) {
    const QString clean = QDir::cleanPath(emulatorFolder);
    const QFileInfo info(clean);
    if (info.fileName() != QLatin1String("bin"))
        return {};
    return platform::withTrailingSeparator(QDir::toNativeSeparators(info.path()));
}

} // namespace

QString workingConfig(const QString& programFolder) {
    return configUnder(programFolder);
}

QStringList configCandidates(const QString& emulatorFolder, const QString& home,
                             const QString& xdgConfigHome) {
    QStringList candidates{configUnder(emulatorFolder)};
    const QString parent = parentOfBin(emulatorFolder);
    if (!parent.isEmpty())
        candidates.append(configUnder(parent));
    if (!home.isEmpty())
        candidates.append(configUnder(platform::withTrailingSeparator(home) +
                                      QStringLiteral(".supermodel") + platform::kSeparator));
    QString config = xdgConfigHome;
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = home.isEmpty() ? QString()
                                : platform::withTrailingSeparator(home) + QStringLiteral(".config");
    if (!config.isEmpty())
        candidates.append(configUnder(platform::withTrailingSeparator(config) +
                                      QStringLiteral("supermodel") + platform::kSeparator));
    return candidates;
}

QStringList configCandidates(const QString& emulatorFolder) {
    return configCandidates(emulatorFolder, qEnvironmentVariable("HOME", QDir::homePath()),
                            qEnvironmentVariable("XDG_CONFIG_HOME"));
}

bool isEarlierFrontEndCopy(const QString& path) {
    // Such a copy holds a few dozen short lines: a larger file is no copy,
    // and is never read whole here.
    const platform::FileRead file = platform::readFile(path, 64 * 1024);
    return file.outcome == platform::FileRead::Outcome::Read && isEarlierFrontEndFile(file.bytes);
}

QString firstExistingConfig(const QStringList& candidates) {
    for (const QString& candidate : candidates) {
        if (platform::isFile(candidate) && !isEarlierFrontEndCopy(candidate))
            return candidate;
    }
    return {};
}

QString emulatorConfigCopy(const QString& emulatorFolder) {
    const QString parent = parentOfBin(emulatorFolder);
    if (parent.isEmpty())
        return configUnder(emulatorFolder);
    if (QFileInfo(parent + QStringLiteral("Config")).isDir())
        return configUnder(parent);
    if (QFileInfo(emulatorFolder + QStringLiteral("Config")).isDir())
        return configUnder(emulatorFolder);
    return {};
}

QString panelConfigSource(const QString& programFolder, const QString& emulatorFolder) {
    const QString working = workingConfig(programFolder);
    if (platform::isFile(working))
        return working;
    return firstExistingConfig(configCandidates(emulatorFolder));
}

QString writeTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    // Follow the whole chain; a dangling link leads to where it points.
    const QString target = info.canonicalFilePath();
    return target.isEmpty() ? info.symLinkTarget() : target;
}

} // namespace emulator
