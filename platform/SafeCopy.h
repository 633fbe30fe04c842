#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace platform {

// What could not be copied, from where to where, and why.
struct CopyFailure {
    QString source;
    QString target;
    QString reason;
};

// Brings `relative` (a file such as "Config/Games.xml", or a folder such as
// "Assets", brought whole) from `sourceRoot` to `targetRoot`.
//
// The source side is only read; links there are followed, except links to
// folders inside a folder being brought (a loop would never end). Below
// `targetRoot` no link is ever followed or written through, so nothing is
// written outside it:
// - a file is copied when its copy is missing or older, and the copy takes
//   the source's modification time; a newer copy is kept;
// - a link that leads to the source's own file or folder is left alone;
//   any other link (dangling, or leading anywhere else) is replaced: a file
//   by the copy, atomically, a folder by a real folder;
// - a folder where a file belongs, or a file where a folder belongs, fails.
// Every file is written to a new file beside its place, synced, and renamed
// over it: an interruption leaves the old file or the whole new one.
//
// `limit`: the most bytes the source may hold (a folder's files together);
// a larger source is refused before anything is written.
std::optional<CopyFailure> bringCopy(const QString& sourceRoot, const QString& targetRoot,
                                     const QString& relative, qint64 limit);

// Copies the ordinary file `source` to `relative` (one folder and a name,
// "NVRAM/scud.nv") under `targetRoot`, only when nothing of that name is
// there: nothing is ever replaced, whatever its age. The folder is made
// when missing. No link is copied or written through: a source that is a
// link, or a link in the copy's place (unless it leads to the source
// itself), is left alone and reported. The source is only read; the copy
// takes its modification time and appears whole or not at all. A source
// over `limit` bytes is refused. Nothing is returned when the copy is made
// or something is already in its place.
std::optional<CopyFailure> copyWhenMissing(const QString& source, const QString& targetRoot,
                                           const QString& relative, qint64 limit);

// Removes what a bringCopy of `relative` under `targetRoot` that was killed
// midway can leave, by the temporary names of ours alone: the spare folder
// beside a folder that took a link's place, and the unfinished files and
// spare folders beside the item and anywhere within it. No link is
// followed, and a folder is removed only when empty, as a spare one is.
void removeCopyLeftovers(const QString& targetRoot, const QString& relative);

} // namespace platform
