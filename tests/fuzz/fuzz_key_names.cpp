// Key naming, from a Qt key event to the name a slot stores: a finished
// capture has a name, the same every time, that the input file keeps.
#include "bindings/KeyNames.h"
#include "emulator/ConfigDocument.h"
#include "emulator/InputFile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "key naming: %s\n", what);
        std::abort();
    }
}

void checkStoredName(const QString& name) {
    check(!name.isEmpty(), "empty name");
    check(!name.contains(u'"') && !name.contains(u'\r') && !name.contains(u'\n'),
          "name the input file cannot hold");
    const emulator::SlotBinding slot{QStringLiteral("Start1"), name};
    const auto reread = emulator::ConfigDocument(emulator::formatInputFile({&slot, 1}, u'"'))
                            .value(emulator::ConfigDocument::kGlobal, "InputStart1");
    check(reread == name.toUtf8(), "name lost in the input file");
}

} // namespace

// Input: a 4-byte Qt key code, then the event's text as raw UTF-16 (lone
// surrogates included, as a broken input method could send).
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::int32_t))
        return 0;
    std::int32_t qtKey = 0;
    std::memcpy(&qtKey, data, sizeof qtKey);
    QString text;
    text.resize(qsizetype((size - sizeof qtKey) / 2));
    std::memcpy(text.data(), data + sizeof qtKey, std::size_t(text.size()) * 2);

    const bindings::KeyFacts facts = bindings::keyFactsFromQt(qtKey, text);
    check(!(facts.virtualKey && facts.characterCode), "both a key code and a character");
    if (facts.virtualKey) {
        const std::optional<QString> name = bindings::keyDownName(*facts.virtualKey);
        check(name.has_value(), "key code without a name");
        checkStoredName(*name);
        return 0;
    }
    if (!facts.characterCode)
        return 0;
    const char32_t code = *facts.characterCode;
    check(code >= 8 && code <= 0x10FFFF, "character outside Unicode");
    const bindings::KeyPressName press = bindings::keyPressName(code);
    const bindings::KeyPressName again = bindings::keyPressName(code);
    check(press.finishes == again.finishes && press.name == again.name, "unstable name");
    if (press.finishes && press.name)
        checkStoredName(*press.name);
    check(press.finishes || !press.name, "a name that does not finish the capture");
    return 0;
}
