#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <functional>
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

// How many conflicts a merge names; the rest it counts.
inline constexpr qsizetype kNamedConflicts = 20;

struct MergeResult {
    QByteArray bytes;               // the working copy, edited in place
    QList<MergeConflict> conflicts; // the first kNamedConflicts, in the player's order
    qsizetype moreConflicts = 0;    // those past them
};

// Every setting (per section and name, added and removed ones included; a
// section is the set of names a header gives, "[ a, b ]" one of its own)
// whose value as the emulator reads it differs between `base` and `player`
// goes into `working`, unless the working copy changed it too since the
// base: then the working copy keeps its value, and unless both made the
// same change, that is a conflict.
//
// Carried in place, through ConfigDocument: a value is set on the last line
// of its name in its section, keeping that line's form (quotes, blanks,
// comment, line end); a removed setting drops each line of its name in the
// section; a setting the section lacks gets the player's line after the
// last non-blank line of the section's first block; a section the working
// copy lacks is added at the end under the player's header (the global one
// at the top, as "[ Global ]"). Every other byte of `working` stays as it
// was.
//
// The merge reads the three files in place, with a small record per
// setting and never a copy of one, and edits the working copy as a
// document that keeps only the lines it changes, so a 16 MiB file of short
// settings merges in well under a second; `base` is let go of once read, so
// that a caller who moves it in has its memory back for the result. The
// result may exceed the editor's limit (kConfigFileLimit): the caller
// decides.
//
// GlobalOnly carries the global section's settings alone: the player's
// file lost its other sections to a tool that writes the global one only,
// and the working copy keeps its own.
//
// `owned` names the settings (section as its header names it, and name)
// that the caller writes again itself once merged: where both sides
// changed one, the working copy keeps its value and no conflict is told.
enum class MergeScope { Everything, GlobalOnly };
using OwnedSetting = std::function<bool(QByteArrayView section, QByteArrayView name)>;
MergeResult mergeConfig(QByteArray base, const QByteArray& player, const QByteArray& working,
                        MergeScope scope = MergeScope::Everything, const OwnedSetting& owned = {});

} // namespace emulator
