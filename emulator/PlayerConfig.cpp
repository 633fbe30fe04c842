#include "emulator/PlayerConfig.h"

#include "emulator/ConfigFile.h"
#include "emulator/ConfigLocations.h"
#include "emulator/ConfigMerge.h"
#include "emulator/LauncherRewrite.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "platform/SaveLock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <optional>

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

// Whether the working copy is there, a link to it included.
bool imported(const QString& working) {
    return platform::exists(working) || QFileInfo(working).isSymLink();
}

// The base record, read no further than a record of a path and two numbers
// can reach.
std::optional<QByteArray> readRecord(const QString& path) {
    const platform::FileRead file = platform::readFile(path, 16 * 1024);
    if (file.outcome == platform::FileRead::Outcome::Unreadable)
        return std::nullopt;
    return file.bytes; // none when larger: it is no record of ours
}

// The player's file the base record names (its first line of three), when
// it is one the import looks at: any other path is not ours to read.
std::optional<QString> recordedPlayer(const std::optional<QByteArray>& record,
                                      const QStringList& candidates) {
    if (!record)
        return std::nullopt;
    const QList<QByteArray> lines = record->split('\n');
    if (lines.size() != 4 || !lines[3].isEmpty())
        return std::nullopt;
    const QString path = QString::fromUtf8(lines[0]);
    for (const QString& candidate : candidates) {
        if (candidate == path)
            return candidate;
    }
    return std::nullopt;
}

// Carries `player` into the working copy under `programFolder`: imported
// when there is none, else what changed since the base. `record` is the
// base record as read, `followed` whether it names one of the files looked at.
QStringList carry(const QString& programFolder, const QString& player,
                  const std::optional<QByteArray>& record, bool followed,
                  const OwnedSetting& owned) {
    const QString working = workingConfig(programFolder);
    // Save edits the working copy under this lock, from another copy of the
    // front-end too: neither overwrites what the other carries.
    platform::SaveLock lock(writeTarget(working));
    switch (lock.acquire()) {
    case platform::SaveLock::Outcome::Busy:
        return {notCarried(player, working,
                           QStringLiteral("another copy of the front-end was saving it; they are "
                                          "carried at the next start"))};
    case platform::SaveLock::Outcome::Obstructed:
        return {notCarried(player, working,
                           platform::SaveLock::obstacle(writeTarget(working)) +
                               QStringLiteral(", where its lock goes"))};
    case platform::SaveLock::Outcome::Unavailable: // nothing can be written there either
    case platform::SaveLock::Outcome::Locked:
        break;
    }
    if (!imported(working))
        return import(programFolder, player, working);

    const QByteArray stamp = stampOf(player);
    if (followed && *record == stamp)
        return {}; // nothing changed since the last start
    const ConfigRead now = readConfigFile(player);
    if (now.problem != ConfigProblem::None)
        return {notCarried(player, working, configProblemText(now.problem))};
    ConfigRead base = readConfigFile(baseCopyPath(programFolder));
    const bool baseKept = base.exists && base.problem == ConfigProblem::None;
    if (!record && !base.exists) {
        // A working copy from before bases were kept: it was made from the
        // player's file, so that file as it is now is where changes count from.
        keepBase(programFolder, now.bytes, stamp);
        return {};
    }
    if (!followed || !baseKept) {
        // What changed since the import cannot be told: the player's file
        // counts as imported again, and the box says so.
        const QString why =
            !record ? QStringLiteral("the record of the import, %1, is missing")
                          .arg(shown(baseRecordPath(programFolder)))
            : !followed ? QStringLiteral("the record of the import, %1, names no file of yours")
                              .arg(shown(baseRecordPath(programFolder)))
                        : QStringLiteral("the copy of the import, %1, is missing or damaged")
                              .arg(shown(baseCopyPath(programFolder)));
        keepBase(programFolder, now.bytes, stamp);
        return {notCarried(player, working,
                           why + QStringLiteral(", so what changed in it since the last start "
                                                "cannot be told. It counts as imported again "
                                                "as it is now: its later changes are carried"))};
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
    // The emulator's own launcher saves the file with its global section
    // alone: the game sections it dropped were not the player's to lose.
    const bool launcherSaved = rewrittenByLauncher(base.bytes, now.bytes);
    const MergeResult merged =
        mergeConfig(std::move(base.bytes), now.bytes, here.bytes,
                    launcherSaved ? MergeScope::GlobalOnly : MergeScope::Everything, owned);
    // Refused before it is written: an edit would make a file the front-end
    // itself could edit no more.
    if (configProblem(merged.bytes) == ConfigProblem::TooLarge)
        return {notCarried(player, working,
                           QStringLiteral("with them it would be larger than 16 MiB"))};
    if (merged.bytes != here.bytes && !platform::writeFileAtomically(target, merged.bytes))
        return {notCarried(player, working, QStringLiteral("the file cannot be written"))};
    // Only once the working copy holds them: should the base not be kept,
    // the next start carries the same changes again and finds them made.
    keepBase(programFolder, now.bytes, stamp);

    QStringList lines;
    if (launcherSaved)
        lines.append(QStringLiteral("%1 was saved by the emulator's own launcher, which drops game "
                                    "sections and comments: %2 kept its own and took over the "
                                    "global settings")
                         .arg(shown(player), shown(working)));
    for (const MergeConflict& conflict : merged.conflicts)
        lines.append(
            QStringLiteral("%1 in [ %2 ] changed in both %3 (%4) and %5 (%6): %5 keeps its value")
                .arg(QString::fromUtf8(conflict.name), QString::fromUtf8(conflict.section),
                     shown(player), valueText(conflict.player), shown(working),
                     valueText(conflict.working)));
    if (merged.moreConflicts > 0)
        lines.append(QStringLiteral("%1 more settings changed in both %2 and %3: %3 keeps their "
                                    "values")
                         .arg(merged.moreConflicts)
                         .arg(shown(player), shown(working)));
    return lines;
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
    const std::optional<QByteArray> record = readRecord(baseRecordPath(programFolder));
    const std::optional<QString> followed = recordedPlayer(record, candidates);
    // The file imported stays the one followed while it is there: a copy
    // the player makes in the emulator's folder, say, must not take its
    // place. A copy an earlier version of ours made there is no player's
    // file: the player's own is found again.
    const QString player = imported(working) && followed && platform::isFile(*followed) &&
                                   !isEarlierFrontEndCopy(*followed)
                               ? *followed
                               : firstExistingConfig(candidates);
    if (player.isEmpty() || platform::sameFile(player, working))
        return {};
    return carry(programFolder, player, record, followed.has_value(), {});
}

QStringList keepCopyInStep(const QString& folder, const QString& source,
                           const OwnedSetting& owned) {
    if (platform::sameFile(source, workingConfig(folder)))
        return {};
    const std::optional<QByteArray> record = readRecord(baseRecordPath(folder));
    if (!platform::isFile(source)) {
        // No file counts as an empty one: once it is there, all of it is
        // carried over.
        const QByteArray stamp = stampOf(source);
        if (record != stamp && platform::exists(folder + QStringLiteral("Config")))
            keepBase(folder, QByteArray(), stamp);
        return {};
    }
    return carry(folder, source, record, recordedPlayer(record, {source}).has_value(), owned);
}

QStringList keepConfigInStep(const QString& programFolder, const QString& emulatorFolder) {
    return keepConfigInStep(programFolder, configCandidates(emulatorFolder));
}

} // namespace emulator
