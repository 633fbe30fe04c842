#include "emulator/InputFile.h"

#include <algorithm>
#include <utility>

namespace emulator {

namespace {

// Inputs the current emulator reads only under a newer name: each binding is
// written under both.
constexpr std::pair<const char*, const char*> kRenamedInputs[] = {
    {"TwinJoyLeftShot", "TwinJoyShot1"},   {"TwinJoyRightShot", "TwinJoyShot2"},
    {"TwinJoyLeftTurbo", "TwinJoyTurbo1"}, {"TwinJoyRightTurbo", "TwinJoyTurbo2"},
    {"Trigger", "AnalogTriggerLeft"},      {"Offscreen", "AnalogTriggerRight"},
};

} // namespace

QByteArray formatInputFile(std::span<const SlotBinding> slots, QChar quote) {
    QString text = QStringLiteral(";\r\n"
                                  "; Supermodel Configuration File\r\n"
                                  ";\r\n"
                                  "\r\n"
                                  "[ Global ]\r\n"
                                  "\r\n");
    auto addLine = [&text, quote](const QString& name, const QString& key) {
        text += QStringLiteral("Input") + name + QStringLiteral(" = ") + quote + key + quote +
                QStringLiteral("\r\n");
    };
    for (const SlotBinding& slot : slots)
        addLine(slot.inputName, slot.key);
    for (const auto& [earlier, current] : kRenamedInputs) {
        const auto slot =
            std::find_if(slots.begin(), slots.end(), [name = earlier](const SlotBinding& b) {
                return b.inputName == QLatin1String(name);
            });
        if (slot != slots.end())
            addLine(QLatin1String(current), slot->key);
    }
    return text.toUtf8();
}

} // namespace emulator
