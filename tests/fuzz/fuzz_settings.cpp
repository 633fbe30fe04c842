// The settings file, read and written back as start-up and shutdown do: every
// value the reader hands out must survive the writer and a second read.
#include "app/SettingsFile.h"

#include <QBuffer>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "settings round trip: %s\n", what);
        std::abort();
    }
}

// A checkbox takes 0, 1 or 2; anything else leaves it unchecked.
int optionValue(const QString& slot) {
    const std::optional<int> number = app::optionNumber(slot);
    return number && *number >= 0 && *number <= 2 ? *number : 0;
}

// What start-up puts in the window, and so what shutdown writes back.
app::SettingsValues windowValues(const app::SettingsSlots& slots) {
    const auto orDefault = [](const QString& slot, const char* fallback) {
        return slot.isEmpty() ? QString::fromLatin1(fallback) : slot;
    };
    app::SettingsValues values;
    values.emuPath = orDefault(slots[0], "/opt/kestrun/Supermodel_0.1a_Win32/");
    values.romPath = orDefault(slots[1], "/opt/kestrun/Roms/");
    values.width = orDefault(slots[2], app::kDefaultWidth);
    values.height = orDefault(slots[3], app::kDefaultHeight);
    values.showFps = optionValue(slots[4]);
    values.fullScreen = optionValue(slots[5]);
    values.noThrottle = optionValue(slots[6]);
    return values;
}

bool isLineBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const app::SettingsSlots slots = app::parseSettings(bytes);

    // The reader's own promises: trimmed, single-line values, filled in order.
    bool emptySeen = false;
    for (const QString& slot : slots) {
        check(!emptySeen || slot.isEmpty(), "a value after an empty slot");
        emptySeen = slot.isEmpty();
        check(!slot.startsWith(u' ') && !slot.endsWith(u' '), "untrimmed value");
        check(std::none_of(slot.begin(), slot.end(), isLineBreak), "line break inside a value");
    }

    // The reader start-up uses, a line at a time up to the seventh value,
    // gives the same first seven.
    QByteArray copy(bytes);
    QBuffer device(&copy);
    device.open(QIODevice::ReadOnly);
    const app::SettingsSlots streamed = app::readSettings(device);
    for (int n = 0; n < app::kSettingsSlotCount; ++n)
        check(streamed[n] == (n < app::kSettingsValueCount ? slots[n] : QString()),
              "line reader read another value");

    const app::SettingsValues values = windowValues(slots);
    const QByteArray written = app::formatSettings(values);
    const app::SettingsSlots reread = app::parseSettings(written);
    check(reread[0] == values.emuPath, "emulator path changed");
    check(reread[1] == values.romPath, "ROM path changed");
    check(reread[2] == values.width, "width changed");
    check(reread[3] == values.height, "height changed");
    check(optionValue(reread[4]) == values.showFps, "frame-rate option changed");
    check(optionValue(reread[5]) == values.fullScreen, "full-screen option changed");
    check(optionValue(reread[6]) == values.noThrottle, "throttle option changed");
    for (int n = 7; n < app::kSettingsSlotCount; ++n)
        check(reread[n].isEmpty(), "more than seven values written");
    check(app::formatSettings(windowValues(reread)) == written, "second write differs");
    return 0;
}
