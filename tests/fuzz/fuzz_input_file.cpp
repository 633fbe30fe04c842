// The emulator's input file, read and written back as the binding panel does:
// the keys, and the names the writer can keep, must survive a second read.
#include "bindings/SlotTable.h"
#include "emulator/InputFile.h"

#include <QBuffer>

#include <algorithm>
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

bool hasAny(const QString& text, std::initializer_list<char16_t> characters) {
    return std::any_of(characters.begin(), characters.end(),
                       [&text](char16_t c) { return text.contains(QChar(c)); });
}

// "Input" + name + " = " reads back as the name unless the name ends in a
// blank (trimmed) or holds "Input" itself (removed): both only come from
// files the front-end did not write.
bool nameSurvives(const QString& name) {
    return !name.endsWith(u' ') && !name.contains(QLatin1String("Input"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const std::vector<SlotBinding> read = emulator::parseInputFile(bytes);
    check(read.size() <= std::size_t(emulator::kInputFileSlots), "more than 49 bindings");
    for (const SlotBinding& binding : read) {
        check(!hasAny(binding.key, {u'"', u'\r', u'\n'}), "quote or line break in a key");
        check(!hasAny(binding.inputName, {u'"', u'=', u'\r', u'\n'}),
              "quote, '=' or line break in a name");
    }

    // The reader the panel uses, a line at a time from the file, agrees.
    QByteArray copy(bytes);
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    const std::vector<SlotBinding> streamed = emulator::readInputFile(device);
    check(streamed.size() == read.size(), "line reader found another count");
    for (std::size_t n = 0; n < read.size(); ++n)
        check(streamed[n].key == read[n].key && streamed[n].inputName == read[n].inputName,
              "line reader read another binding");

    // Save writes back what Open read. The renamed twin-stick inputs follow
    // as extra lines; with fewer than 49 bindings a second read takes them
    // for bindings of their own, after the ones written.
    const QByteArray written = emulator::formatInputFile(read, u'"');
    const qsizetype extra = written.count("\r\n") - qsizetype(6 + read.size());
    check(extra >= 0 && extra <= 4, "not one line per binding");
    const std::vector<SlotBinding> reread = emulator::parseInputFile(written);
    check(reread.size() ==
              std::min(read.size() + std::size_t(extra), std::size_t(emulator::kInputFileSlots)),
          "binding count changed");
    for (std::size_t n = 0; n < read.size(); ++n) {
        check(reread[n].key == read[n].key, "key changed");
        if (nameSurvives(read[n].inputName))
            check(reread[n].inputName == read[n].inputName, "name changed");
    }

    // The panel's own names with whatever keys were read: exact both ways.
    std::vector<SlotBinding> own;
    for (std::size_t n = 0; n < bindings::kSlots.size(); ++n) {
        const auto& slot = bindings::kSlots[n];
        own.push_back({QString::fromLatin1(slot.inputName.data(), qsizetype(slot.inputName.size())),
                       read.empty() ? QString() : read[n % read.size()].key});
    }
    const std::vector<SlotBinding> ownRead =
        emulator::parseInputFile(emulator::formatInputFile(own, u'"'));
    check(ownRead.size() == own.size(), "own file lost bindings");
    for (std::size_t n = 0; n < own.size(); ++n) {
        check(ownRead[n].inputName == own[n].inputName, "own name changed");
        check(ownRead[n].key == own[n].key, "own key changed");
    }
    return 0;
}
