#include "catalogue/Installation.h"

#include "platform/Files.h"

#include <QDir>
#include <QFileInfo>

namespace catalogue {

namespace {

// Anything in one of those places counts, a dangling link too: what is not
// the file or folder it should be is for the start to refuse, saying so.
bool shipsAnything(const QString& folder) {
    for (const char* relative : {"/Config/Games.xml", "/Config/Music.xml", "/Assets"}) {
        const QFileInfo info(folder + QLatin1String(relative));
        if (info.exists() || info.isSymLink())
            return true;
    }
    return false;
}

} // namespace

std::optional<QString> installationFolder(const QString& emulatorFolder) {
    if (emulatorFolder.isEmpty())
        return std::nullopt;
    const QString program = QDir::cleanPath(emulatorFolder);
    QStringList candidates{program};
    QDir above(program);
    if (above.dirName() == QLatin1String("bin") && above.cdUp()) {
        const QString prefix = QDir::cleanPath(above.path());
        candidates << prefix << QDir::cleanPath(prefix + QLatin1String("/share/supermodel"));
    }
    for (const QString& folder : candidates) {
        if (shipsAnything(folder))
            return folder;
    }
    return std::nullopt;
}

QString definitionsFile(const QString& emulatorFolder) {
    const auto folder = installationFolder(emulatorFolder);
    if (!folder)
        return {};
    const QString path = *folder + QLatin1String("/Config/Games.xml");
    return platform::isFile(path) ? path : QString();
}

} // namespace catalogue
