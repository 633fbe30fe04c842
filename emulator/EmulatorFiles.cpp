#include "emulator/EmulatorFiles.h"

#include "catalogue/Installation.h"
#include "emulator/ConfigFile.h"
#include "platform/Files.h"
#include "platform/SafeCopy.h"

#include <QDir>
#include <QFileInfo>

namespace emulator {

namespace {

struct Item {
    const char* relative;
    bool folder;
    qint64 limit; // anything larger is refused rather than copied while the window waits
};

constexpr Item kItems[] = {
    {"Config/Games.xml", false, kConfigFileLimit},
    {"Config/Music.xml", false, kConfigFileLimit},
    {"Assets", true, qint64(64) << 20},
};

QString under(const QString& folder, const char* relative) {
    return QDir::cleanPath(folder + u'/' + QLatin1String(relative));
}

// Anything at the item's place counts, links followed or not: what is not
// an ordinary file (or a folder, for a folder) is told, never passed over.
bool has(const QString& folder, const Item& item) {
    return platform::placeAt(under(folder, item.relative)) != platform::Place::Nothing;
}

// Why the item's place holds the wrong thing, or nothing when it is right.
std::optional<QString> wrongKind(const QString& folder, const Item& item) {
    const platform::Place place = platform::placeAt(under(folder, item.relative));
    const platform::Place right = item.folder ? platform::Place::Folder : platform::Place::File;
    if (place == right)
        return std::nullopt;
    return QStringLiteral("it is %1, not %2")
        .arg(platform::placeName(place), platform::placeName(right));
}

QString copyFailure(const QString& source, const QString& target, const QString& reason) {
    return QStringLiteral("Cannot copy %1 to %2: %3")
        .arg(QDir::toNativeSeparators(QDir::cleanPath(source)),
             QDir::toNativeSeparators(QDir::cleanPath(target)), reason);
}

} // namespace

std::optional<QString> bringEmulatorFiles(const QString& emulatorFolder,
                                          const QString& programFolder) {
    const auto installation = catalogue::installationFolder(emulatorFolder);
    if (!installation || programFolder.isEmpty())
        return std::nullopt;
    for (const Item& item : kItems) {
        if (!has(*installation, item))
            continue;
        if (const auto wrong = wrongKind(*installation, item))
            return copyFailure(under(*installation, item.relative),
                               under(programFolder, item.relative), *wrong);
        const auto failure = platform::bringCopy(*installation, programFolder,
                                                 QLatin1String(item.relative), item.limit);
        if (failure)
            return copyFailure(failure->source, failure->target, failure->reason);
    }
    return std::nullopt;
}

} // namespace emulator
