// The emulator's configuration file, edited in place: whatever the file
// holds, an edit changes only the lines of the settings it edits (and the
// earlier source names the emulator refuses), adds the missing ones as one
// block, reads back as the values given, and a second edit changes nothing.
#include "emulator/ConfigFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "configuration edit: %s\n", what);
        std::abort();
    }
}

const char* const kNames[] = {"InputPunch", "InputKick", "InputStart1", "Input", "WideScreen"};
const char* const kValues[] = {"KEY_G,JOY1_BUTTON1", "", "MOUSE_LEFT_BUTTON", "\xc3\xa9", "A"};

QByteArray withoutLineEnd(QByteArray line) {
    if (line.endsWith('\r'))
        line.chop(1);
    return line;
}

// The setting name of a line, roughly: the text before "=", trimmed; empty
// when the line has none.
QByteArray settingName(const QByteArray& line) {
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QByteArray() : line.first(equals).trimmed();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    // The first byte chooses the edits; the rest is the file.
    const unsigned choice = data[0];
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    QHash<QString, QString> edits;
    for (unsigned i = 0; i < 3; ++i) {
        const unsigned pick = (choice >> (2 * i)) & 7u;
        if (pick < 5)
            edits.insert(QString::fromUtf8(kNames[pick]),
                         QString::fromUtf8(kValues[(choice + i) % 5]));
    }
    const QByteArray result = emulator::editConfig(file, edits);

    // Read back: the values given.
    const auto settings = emulator::globalSettings(result, edits.keys());
    for (auto it = edits.begin(); it != edits.end(); ++it)
        check(settings.value(it.key()).value == it.value(), "value not read back");
    // Nothing left to change.
    check(emulator::editConfig(result, edits) == result, "a second edit changed the file");

    // Line by line: the same lines but for edited ones, plus one block.
    const QList<QByteArray> before = file.split('\n');
    const QList<QByteArray> after = result.split('\n');
    check(after.size() >= before.size(), "lines lost");
    auto mayDiffer = [&edits](const QByteArray& line) {
        const QByteArray name = settingName(line);
        return !name.isEmpty() &&
               (edits.contains(QString::fromUtf8(name)) || name.startsWith("Input"));
    };
    auto same = [&](qsizetype r, qsizetype o) {
        // An unended last line gets its line end when lines follow it.
        const bool lastUnended = o == before.size() - 1 && !before[o].isEmpty();
        return after[r] == before[o] || (lastUnended && withoutLineEnd(after[r]) == before[o]) ||
               (mayDiffer(before[o]) && settingName(after[r]) == settingName(before[o]));
    };
    const qsizetype n = before.size();
    const qsizetype added = after.size() - n;
    qsizetype prefix = 0;
    while (prefix < n && same(prefix, prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < n && same(after.size() - 1 - suffix, n - 1 - suffix))
        ++suffix;
    check(prefix + suffix >= n, "a line changed that was not edited");
    // The added block goes where the unchanged head and tail meet.
    auto blockFits = [&](qsizetype at) {
        for (qsizetype i = at; i < at + added; ++i) {
            const QByteArray line = withoutLineEnd(after[i]);
            if (!line.isEmpty() && line != "[ Global ]" &&
                !edits.contains(QString::fromUtf8(settingName(line))))
                return false;
        }
        return true;
    };
    bool fits = false;
    for (qsizetype at = n - suffix; at <= prefix && !fits; ++at)
        fits = blockFits(at);
    check(fits, "an added line is not an edited setting");
    return 0;
}
