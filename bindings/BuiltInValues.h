#pragma once

#include "bindings/GameInputs.h"

#include <string_view>
#include <utility>

namespace bindings {

// The slots' inputs the current release reads under another name: the four
// twin-stick shots and turbos were renamed, and the light guns' trigger and
// off-screen buttons are read only as the analog guns' left and right
// triggers.
inline constexpr std::pair<std::string_view, std::string_view> kRenamedInputs[] = {
    {"TwinJoyLeftShot", "TwinJoyShot1"},   {"TwinJoyRightShot", "TwinJoyShot2"},
    {"TwinJoyLeftTurbo", "TwinJoyTurbo1"}, {"TwinJoyRightTurbo", "TwinJoyTurbo2"},
    {"Trigger", "AnalogTriggerLeft"},      {"Offscreen", "AnalogTriggerRight"},
};

// The name the current release reads for a slot's input (kRenamedInputs);
// every other name is the same.
constexpr std::string_view currentInputName(std::string_view slotInputName) {
    for (const auto& [earlier, current] : kRenamedInputs) {
        if (earlier == slotInputName)
            return current;
    }
    return slotInputName;
}

// What the current release uses for a slot's input (by either of its names)
// when its file names none; empty when there is none.
constexpr std::string_view builtInValue(std::string_view slotInputName) {
    const std::string_view current = currentInputName(slotInputName);
    for (const GameInput& input : kGameInputs) {
        if (input.name == current)
            return input.builtIn;
    }
    return {};
}

} // namespace bindings
