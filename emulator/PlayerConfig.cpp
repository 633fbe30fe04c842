#include "emulator/PlayerConfig.h"

#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/ConfigMerge.h"
#include "platform/Files.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace emulator {

namespace {

QString shown(const QString& path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

// What says whether the player's file may have changed: its path, size and
// modification time, one a line.
QByteArray stampOf(const QString& path) {
    const QFileInfo info(path);
    return path.toUtf8() + '\n' + QByteArray::number(info.size()) + '\n' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch()) + '\n';
}

QString notCarried(const QString& player, const QString& working, const QString& why) {
    return QStringLiteral("Your settings in %1 were not carried into %2: %3")
        .arg(shown(player), shown(working), why);
}

QString valueText(const std::optional<QByteArray>& value) {
    return value ? QLatin1Char('"') + QString::fromUtf8(*value) + QLatin1Char('"')
                 : QStringLiteral("none");
}

bool keepBase(const QString& programFolder, const QByteArray& bytes, const QByteArray& stamp) {
    // The record last: it matches only a base written whole.
    return platform::writeFileAtomically(baseCopyPath(programFolder), bytes) &&
           platform::writeFileAtomically(baseRecordPath(programFolder), stamp);
}

QStringList import(const QString& programFolder, const QString& player, const QString& working) {
    const QString folder = programFolder + QStringLiteral("Config");
    if (!platform::exists(folder) && !platform::makeFolder(folder))
        return {notCarried(player, working, QStringLiteral("the folder cannot be made"))};
    const QByteArray stamp = stampOf(player);
    const ConfigRead read = readConfigFile(player);
    if (read.problem != ConfigProblem::None) {
        // Brought whole as it is, for the emulator reads it; it cannot be
        // kept in step while the editor refuses it.
        if (!platform::copyFileAtomically(player, working))
            return {notCarried(player, working, QStringLiteral("the copy failed"))};
        return {};
    }
    if (!platform::writeFileAtomically(working, read.bytes))
        return {notCarried(player, working, QStringLiteral("the copy failed"))};
    keepBase(programFolder, read.bytes, stamp);
    return {};
}

} // namespace

QString baseCopyPath(const QString& programFolder) {
    return programFolder + platform::relative({"Config", "Kestrun-base.ini"});
}

QString baseRecordPath(const QString& programFolder) {
    return programFolder + platform::relative({"Config", "Kestrun-base.txt"});
}

QStringList keepConfigInStep(const QString& programFolder, const QStringList& candidates) {
    const QString working = workingConfig(programFolder);
    const bool imported = platform::exists(working) || QFileInfo(working).isSymLink();
    const QByteArray record =
        platform::readFile(baseRecordPath(programFolder)).value_or(QByteArray());
    // The file imported stays the one followed while it is there: a copy
    // the player makes in the emulator's folder, say, must not take its
    // place. A copy an earlier version of ours made there is no player's
    // file: the player's own is found again.
    const QString followed = QString::fromUtf8(record.left(record.indexOf('\n')));
    const QString player = imported && !followed.isEmpty() && platform::isFile(followed) &&
                                   !isEarlierFrontEndCopy(followed)
                               ? followed
                               : firstExistingConfig(candidates);
    if (player.isEmpty() || platform::sameFile(player, working))
        return {};
    if (!imported)
        return import(programFolder, player, working);

    const QByteArray stamp = stampOf(player);
    if (record == stamp)
        return {}; // nothing changed since the last start
    const ConfigRead now = readConfigFile(player);
    if (now.problem != ConfigProblem::None)
        return {notCarried(player, working, configProblemText(now.problem))};
    const ConfigRead base = readConfigFile(baseCopyPath(programFolder));
    if (!base.exists || base.problem != ConfigProblem::None) {
        // A working copy from before bases were kept: it was made from the
        // player's file, so that file as it is now is where changes count from.
        keepBase(programFolder, now.bytes, stamp);
        return {};
    }
    if (now.bytes == base.bytes) {
        keepBase(programFolder, now.bytes, stamp);
        return {};
    }

    const QString target = writeTarget(working);
    const ConfigRead here = readConfigFile(target);
    if (here.problem != ConfigProblem::None)
        return {notCarried(player, working,
                           QStringLiteral("the working copy cannot be edited: ") +
                               configProblemText(here.problem))};
    const MergeResult merged = mergeConfig(base.bytes, now.bytes, here.bytes);
    if (merged.bytes != here.bytes && !platform::writeFileAtomically(target, merged.bytes))
        return {notCarried(player, working, QStringLiteral("the file cannot be written"))};
    // Should the base not be kept, the next start carries the same changes
    // again and finds them made.
    keepBase(programFolder, now.bytes, stamp);

    QStringList lines;
    for (const MergeConflict& conflict : merged.conflicts)
        lines.append(
            QStringLiteral("%1 in [ %2 ] changed in both %3 (%4) and %5 (%6): %5 keeps its value")
                .arg(QString::fromUtf8(conflict.name), QString::fromUtf8(conflict.section),
                     shown(player), valueText(conflict.player), shown(working),
                     valueText(conflict.working)));
    return lines;
}

QStringList keepConfigInStep(const QString& programFolder, const QString& emulatorFolder) {
    return keepConfigInStep(programFolder, configCandidates(emulatorFolder));
}

} // namespace emulator
