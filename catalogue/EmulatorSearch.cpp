#include "catalogue/EmulatorSearch.h"

#include "platform/Paths.h"
#include "platform/ProcessStarter.h"

#include <QDir>
#include <QFileInfo>

namespace catalogue {

QStringList emulatorSearchFolders(const QString& pathVariable, const QString& home) {
    QStringList folders = pathVariable.split(QDir::listSeparator(), Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/local/bin")
            << QDir(home).filePath(QStringLiteral(".local/bin"));
    return folders;
}

std::optional<FoundEmulator> findEmulator(const QStringList& folders) {
    for (const QString& folder : folders) {
        const QString program = QDir(folder).filePath(QLatin1String(platform::kEmulatorProgram));
        if (!platform::isExecutableFile(program))
            continue;
        // The real file's folder: a link in ~/.local/bin to a source build's
        // bin/ leads to the definitions and assets beside that build.
        const QString real = QFileInfo(program).canonicalPath();
        return FoundEmulator{program,
                             platform::withTrailingSeparator(real.isEmpty() ? folder : real)};
    }
    return std::nullopt;
}

std::optional<FoundEmulator> installedEmulator() {
    if (installedEmulatorSource)
        return installedEmulatorSource();
    return findEmulator(emulatorSearchFolders(qEnvironmentVariable("PATH"), QDir::homePath()));
}

} // namespace catalogue
