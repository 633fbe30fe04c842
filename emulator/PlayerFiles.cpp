#include "emulator/PlayerFiles.h"

#include "catalogue/Installation.h"
#include "platform/Paths.h"
#include "platform/SafeCopy.h"

#include <QDir>
#include <QFileInfo>

namespace emulator {

namespace {

using platform::withTrailingSeparator;

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// Save states the emulator never reads ("SET.st10"), as paths: in every data
// folder, each name once, where it is first found.
QStringList extraSaves(const QStringList& folders, const QString& set) {
    const QString prefix = set + QStringLiteral(".st");
    QStringList seen;
    QStringList paths;
    for (const QString& folder : folders) {
        const QStringList names =
            QDir(folder + QStringLiteral("Saves")).entryList(QDir::Files | QDir::System);
        for (const QString& name : names) {
            if (!name.startsWith(prefix) || seen.contains(name))
                continue;
            const QString number = name.mid(prefix.size());
            bool digits = !number.isEmpty();
            for (const QChar c : number)
                digits = digits && c >= u'0' && c <= u'9';
            if (!digits || number.size() == 1)
                continue;
            seen.append(name);
            paths.append(folder + QStringLiteral("Saves/") + name);
        }
    }
    return paths;
}

// The files a set has, relative to a data folder: "NVRAM/SET.nv" and
// "Saves/SET.st0" to "Saves/SET.st9". Nothing for a name that cannot be a
// file's ("", ".", "..", or with "/").
QStringList playerFileNames(const QString& set) {
    if (set.isEmpty() || set == QLatin1String(".") || set == QLatin1String("..") ||
        set.contains(u'/') || set.contains(QChar(0)))
        return {};
    QStringList names{QStringLiteral("NVRAM/") + set + QStringLiteral(".nv")};
    for (int i = 0; i <= 9; ++i)
        names.append(QStringLiteral("Saves/%1.st%2").arg(set).arg(i));
    return names;
}

} // namespace

QStringList playerDataFolders(const QString& emulatorFolder, const QString& home,
                              const QString& xdgDataHome) {
    QStringList folders;
    const auto installation = catalogue::installationFolder(emulatorFolder);
    if (installation && QFileInfo(*installation + QStringLiteral("/Config")).isDir())
        folders.append(withTrailingSeparator(*installation));
    if (!home.isEmpty())
        folders.append(withTrailingSeparator(home) + QStringLiteral(".supermodel/"));
    if (!xdgDataHome.isEmpty() && QDir::isAbsolutePath(xdgDataHome))
        folders.append(withTrailingSeparator(xdgDataHome) + QStringLiteral("supermodel/"));
    else if (!home.isEmpty())
        folders.append(withTrailingSeparator(home) + QStringLiteral(".local/share/supermodel/"));
    return folders;
}

QString findPlayerFile(const QStringList& folders, const QString& relative) {
    for (const QString& folder : folders) {
        const QString path = withTrailingSeparator(folder) + relative;
        const QFileInfo info(path);
        if (info.exists() || info.isSymLink())
            return path;
    }
    return {};
}

QStringList bringPlayerFiles(const QStringList& folders, const QString& programFolder,
                             const QString& set) {
    QStringList problems;
    if (programFolder.isEmpty())
        return problems;
    for (const QString& relative : playerFileNames(set)) {
        const QString source = findPlayerFile(folders, relative);
        if (source.isEmpty())
            continue;
        const auto failure =
            platform::copyWhenMissing(source, programFolder, relative, kPlayerFileLimit);
        if (failure)
            problems.append(
                QStringLiteral("Not brought in: %1 to %2: %3")
                    .arg(shown(failure->source), shown(failure->target), failure->reason));
    }
    for (const QString& extra : extraSaves(folders, set))
        problems.append(QStringLiteral("Not brought in: %1: the emulator reads save states 0 "
                                       "to 9 only")
                            .arg(shown(extra)));
    return problems;
}

QStringList bringPlayerFiles(const QString& emulatorFolder, const QString& programFolder,
                             const QString& set) {
    return bringPlayerFiles(playerDataFolders(emulatorFolder,
                                              qEnvironmentVariable("HOME", QDir::homePath()),
                                              qEnvironmentVariable("XDG_DATA_HOME")),
                            programFolder, set);
}

} // namespace emulator
