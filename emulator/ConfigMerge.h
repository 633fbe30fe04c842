#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

namespace emulator {

// Carries the settings a player changed in their own configuration file into
// the working copy the emulator reads when the front-end starts it, setting
// by setting, the way a three-way merge does: `base` is the player's file as
// it was when last carried over, `player` as it is now.

// A setting both files changed since the base, in different ways: the
// working copy's value was kept. A value that is not there (removed, or
// never added) is nothing.
struct MergeConflict {
    QByteArray section;
    QByteArray name;
    std::optional<QByteArray> player;
    std::optional<QByteArray> working;
};

struct MergeResult {
    QByteArray bytes; // the working copy, edited in place
    QList<MergeConflict> conflicts;
};

// Every setting (per section and name, added and removed ones included)
// whose value as the emulator reads it differs between `base` and `player`
// goes into `working`, in place (editSections), unless the working copy
// changed it too since the base: then the working copy keeps its value, and
// unless both made the same change, that is a conflict. The bytes of
// `working` that no carried setting touches stay as they were.
MergeResult mergeConfig(const QByteArray& base, const QByteArray& player,
                        const QByteArray& working);

} // namespace emulator
