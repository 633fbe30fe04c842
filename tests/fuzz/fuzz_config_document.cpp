// The configuration document: whatever the file holds, reading it and
// writing it back without edits gives the same bytes; one edit changes only
// lines of the name it edits (or adds them, with a header where needed),
// reads back as the value given, and a second identical edit changes
// nothing.
#include "emulator/ConfigDocument.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "configuration document: %s\n", what);
        std::abort();
    }
}

const char* const kSections[] = {"Global", "scud", "scud, scudau", "vf3"};
const char* const kNames[] = {"InputPunch", "A", "WideScreen", "x"};
const char* const kValues[] = {"KEY_G,JOY1_BUTTON1", "", "a;b", "1", "\"q", " sp "};

// The setting name of a line, roughly: the text before "=", trimmed.
QByteArray settingName(const QByteArray& line) {
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QByteArray() : line.first(equals).trimmed();
}

bool isHeaderOrBlank(const QByteArray& line) {
    const QByteArray trimmed = line.trimmed();
    return trimmed.isEmpty() || (trimmed.startsWith('[') && trimmed.endsWith(']'));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1)
        return 0;
    const unsigned choice = data[0];
    const QByteArray file(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    check(emulator::ConfigDocument(file).bytes() == file, "a round trip changed the file");

    // Renaming the earlier sources changes input lines' values only.
    emulator::ConfigDocument renamed(file);
    renamed.renameEarlierSources();
    const QList<QByteArray> lines = file.split('\n');
    const QList<QByteArray> renamedLines = renamed.bytes().split('\n');
    check(renamedLines.size() == lines.size(), "a rename added or lost lines");
    for (qsizetype i = 0; i < lines.size(); ++i)
        check(renamedLines[i] == lines[i] ||
                  (settingName(lines[i]).startsWith("Input") &&
                   settingName(renamedLines[i]) == settingName(lines[i])),
              "a rename changed another line");

    const QByteArray section = kSections[choice & 3u];
    const QByteArray name = kNames[(choice >> 2) & 3u];
    const bool removing = (choice >> 4) % 7 == 6;
    const QByteArray value = kValues[((choice >> 4) % 7) % 6];
    emulator::ConfigDocument document(file);
    if (removing)
        document.remove(section, name);
    else
        document.set(section, name, value);
    const QByteArray result = document.bytes();

    const emulator::ConfigDocument reread(result);
    check(reread.bytes() == result, "an edited file does not round-trip");
    if (!section.contains(',') && !removing)
        check(reread.value(section, name) == value, "value not read back");
    if (!removing) {
        emulator::ConfigDocument again(result);
        again.set(section, name, value);
        check(again.bytes() == result, "a second edit changed the file");
    }

    // Line by line: the unchanged head and tail cover everything but lines
    // of the edited name; what stands between them is such lines, blank
    // lines and headers.
    const QList<QByteArray> before = file.split('\n');
    const QList<QByteArray> after = result.split('\n');
    const auto same = [&](qsizetype r, qsizetype o) {
        // An unended last line gets its line end when lines follow it.
        return after[r] == before[o] || (o == before.size() - 1 && after[r] == before[o] + '\r');
    };
    if (removing) {
        // The same lines, less some of the removed name's.
        qsizetype r = 0;
        for (qsizetype o = 0; o < before.size(); ++o) {
            if (r < after.size() && same(r, o))
                ++r;
            else
                check(settingName(before[o]) == name, "a line of another name went");
        }
        // A removed unended last line leaves the line before it ended.
        check(r == after.size() || (r == after.size() - 1 && after[r].isEmpty()),
              "a line was added by a removal");
        return 0;
    }
    qsizetype prefix = 0;
    while (prefix < before.size() && prefix < after.size() && same(prefix, prefix))
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           same(after.size() - 1 - suffix, before.size() - 1 - suffix))
        ++suffix;
    for (qsizetype o = prefix; o < before.size() - suffix; ++o)
        check(settingName(before[o]) == name, "a line of another name changed");
    for (qsizetype r = prefix; r < after.size() - suffix; ++r)
        check(settingName(after[r]) == name || isHeaderOrBlank(after[r]),
              "an added line is not the edited setting");
    return 0;
}
