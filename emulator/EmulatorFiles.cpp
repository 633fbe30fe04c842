#include "emulator/EmulatorFiles.h"

#include "catalogue/Installation.h"
#include "platform/Files.h"
#include "platform/SafeCopy.h"

#include <QDir>
#include <QFileInfo>

namespace emulator {

namespace {

struct Item {
    const char* relative;
    bool folder;
    qint64 limit;
};

constexpr Item kItems[] = {
    {"Config/Games.xml", false, kConfigFileLimit},
    {"Config/Music.xml", false, kConfigFileLimit},
    {"Assets", true, kAssetsLimit},
};

QString under(const QString& folder, const char* relative) {
    return QDir::cleanPath(folder + u'/' + QLatin1String(relative));
}

bool has(const QString& folder, const Item& item) {
    const QString path = under(folder, item.relative);
    return item.folder ? QFileInfo(path).isDir() : platform::isFile(path);
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
        const auto failure = platform::bringCopy(*installation, programFolder,
                                                 QLatin1String(item.relative), item.limit);
        if (failure)
            return QStringLiteral("Cannot copy %1 to %2: %3")
                .arg(QDir::toNativeSeparators(QDir::cleanPath(failure->source)),
                     QDir::toNativeSeparators(QDir::cleanPath(failure->target)), failure->reason);
    }
    return std::nullopt;
}

} // namespace emulator
