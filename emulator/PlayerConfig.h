#pragma once

#include "emulator/ConfigMerge.h"

#include <QString>
#include <QStringList>

namespace emulator {

// Keeps the working copy (the program folder's Config/Supermodel.ini) in step
// with the player's own configuration file: the first existing of
// configCandidates at the import, and that same file from then on while it
// is there. At the first start the player's file is copied in
// whole; from then on what the player changes in it is carried over setting
// by setting (mergeConfig), never the file whole. A file the emulator's own
// launcher saved (rewrittenByLauncher) gives its global settings only: the
// game sections it dropped stay in the working copy.
//
// The player's file as it was last carried over, the base, is kept in
// files of ours beside the working copy: its bytes, and its path, size and
// modification time, by which a start sees at a glance that nothing changed.
// The path is only taken when it is one of the candidates. Without those
// files the player's file counts as imported again as it is then.

// The base's bytes and its record, under the program folder.
QString baseCopyPath(const QString& programFolder);
QString baseRecordPath(const QString& programFolder);

// Before a start: imports the player's file when there is no working copy
// yet, else carries over what changed since the base. All of it happens
// under the working copy's save lock (platform::SaveLock), as a Save does,
// and the base moves on only once the working copy holds what was carried.
// Returns the lines to tell before the start: a player's file the launcher
// saved, settings both files changed (the working copy's value is kept), a
// player's file that cannot be read or edited, a working copy that cannot
// be written or would grow past the editor's limit, a lock that stays
// taken, a base record lost or naming a file not of the candidates. The
// start goes on whatever it returns.
QStringList keepConfigInStep(const QString& programFolder, const QStringList& candidates);

// The same for a copy kept in step with one file, `source`: the working copy
// under `folder` (a cabinet's, say) starts as a copy of it and then takes
// what changed in it, with its base beside it. The settings `owned` names
// are the caller's, rewritten after: never a conflict. While `source` is
// not there it counts as empty.
QStringList keepCopyInStep(const QString& folder, const QString& source, const OwnedSetting& owned);

// The same, with the candidates of the emulator folder.
QStringList keepConfigInStep(const QString& programFolder, const QString& emulatorFolder);

} // namespace emulator
