// The front-end's own full input file, written with whatever keys and read
// back by name as the emulator reads it: every slot gets its key back, under
// both names where an input was renamed, and an edit of the file gives the
// new keys while it keeps the rest.
#include "bindings/SlotTable.h"
#include "emulator/ConfigDocument.h"
#include "emulator/InputFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using emulator::SlotBinding;

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "input file round trip: %s\n", what);
        std::abort();
    }
}

QString setting(const QString& inputName) {
    return QStringLiteral("Input") + inputName;
}

// The global value of a setting as the emulator reads the file.
QString globalValue(const emulator::ConfigDocument& file, const QString& name) {
    return QString::fromUtf8(
        file.value(emulator::ConfigDocument::kGlobal, name.toUtf8()).value_or("-"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // One key a line; a key never holds the quote or a line break.
    QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    bytes.replace('"', "");
    bytes.replace('\r', "");
    const QList<QByteArray> keys = bytes.split('\n');

    std::vector<SlotBinding> slots;
    for (std::size_t n = 0; n < bindings::kSlots.size(); ++n) {
        const auto& slot = bindings::kSlots[n];
        const QString name =
            QString::fromLatin1(slot.inputName.data(), qsizetype(slot.inputName.size()));
        slots.push_back({name, QString::fromUtf8(keys[qsizetype(n) % keys.size()])});
    }

    const QByteArray file = emulator::formatInputFile(slots, u'"');
    // A header of seven lines, the 49 slots and six of them again under the
    // names the current release reads.
    check(file.count("\r\n") == 62, "not 62 lines");
    // The line naming the program alone tells it from an earlier version's.
    check(!emulator::isEarlierFrontEndFile(file), "taken for an earlier version's");
    check(emulator::isEarlierFrontEndFile(
              QByteArray(file).replace(QByteArray(emulator::kWrittenBy) + "\r\n", "")),
          "an earlier version's not recognised");
    const emulator::ConfigDocument read(file);
    for (const SlotBinding& slot : slots)
        check(globalValue(read, setting(slot.inputName)) == slot.key, "key changed");
    check(globalValue(read, QStringLiteral("InputTwinJoyShot1")) == slots[41].key &&
              globalValue(read, QStringLiteral("InputAnalogTriggerLeft")) == slots[47].key,
          "renamed input lost its key");

    // Every key moved one slot on, as Save sets them: in place, same line count.
    emulator::ConfigDocument document(file);
    document.renameEarlierSources();
    for (std::size_t n = 0; n < slots.size(); ++n)
        document.set(emulator::ConfigDocument::kGlobal, setting(slots[n].inputName).toUtf8(),
                     slots[(n + 1) % slots.size()].key.toUtf8());
    const QByteArray edited = document.bytes();
    check(edited.count('\n') == file.count('\n'), "an edit added or lost lines");
    const QByteArray global = "[ Global ]\r\n";
    check(edited.startsWith(file.left(file.indexOf(global) + global.size())), "the header changed");
    const emulator::ConfigDocument reread(edited);
    for (std::size_t n = 0; n < slots.size(); ++n)
        check(globalValue(reread, setting(slots[n].inputName)) == slots[(n + 1) % slots.size()].key,
              "edited key not read back");
    return 0;
}
