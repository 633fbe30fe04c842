// The three-way merge of a player's configuration into the working copy:
// whatever the three files hold, a working copy still as the base comes out
// reading exactly as the player's file does; a player's file still as the
// base leaves the working copy byte for byte; and a second merge of the
// same files changes nothing more.
#include "emulator/ConfigDocument.h"
#include "emulator/ConfigMerge.h"

#include <QHash>
#include <QPair>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "configuration merge: %s\n", what);
        std::abort();
    }
}

// What the emulator reads: the last value of each name in the blocks of
// each set of sections.
QHash<QPair<QByteArray, QByteArray>, QByteArray> reading(const QByteArray& bytes) {
    QHash<QPair<QByteArray, QByteArray>, QByteArray> values;
    emulator::ConfigDocument(bytes).forEachSetting([&values](const auto& setting) {
        QList<QByteArray> sections = setting.sections;
        std::sort(sections.begin(), sections.end());
        values.insert({sections.join(','), setting.name.toByteArray()},
                      setting.value.toByteArray());
    });
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Three files, split at the first two 0xff bytes (never in a text file).
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype first = input.indexOf('\xff');
    const qsizetype second = first < 0 ? -1 : input.indexOf('\xff', first + 1);
    if (second < 0)
        return 0;
    const QByteArray base = input.first(first);
    const QByteArray player = input.sliced(first + 1, second - first - 1);
    const QByteArray working = input.sliced(second + 1);

    const auto untouched = emulator::mergeConfig(base, player, base);
    check(untouched.conflicts.isEmpty(), "a conflict without a change on one side");
    check(reading(untouched.bytes) == reading(player), "the player's settings not carried");
    check(emulator::mergeConfig(base, base, working).bytes == working,
          "an unchanged player's file changed the working copy");
    const auto merged = emulator::mergeConfig(base, player, working);
    check(emulator::mergeConfig(base, player, merged.bytes).bytes == merged.bytes,
          "a second merge changed the file");
    return 0;
}
