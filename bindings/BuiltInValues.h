#pragma once

#include <array>
#include <string_view>
#include <utility>

namespace bindings {

// What the current emulator release uses for an input its file does not
// name (the values its own first-start file writes), by the name it reads.
struct BuiltInValue {
    std::string_view inputName;
    std::string_view value;
};

// clang-format off
constexpr std::array<BuiltInValue, 49> kBuiltInValues{{
    {"Start1", "KEY_1,JOY1_BUTTON9"},       {"Start2", "KEY_2,JOY2_BUTTON9"},
    {"Coin1", "KEY_3,JOY1_BUTTON10"},       {"Coin2", "KEY_4,JOY2_BUTTON10"},
    {"ServiceA", "KEY_5"},                  {"ServiceB", "KEY_7"},
    {"TestA", "KEY_6"},                     {"TestB", "KEY_8"},
    {"JoyUp", "KEY_UP,JOY1_UP"},            {"JoyDown", "KEY_DOWN,JOY1_DOWN"},
    {"JoyLeft", "KEY_LEFT,JOY1_LEFT"},      {"JoyRight", "KEY_RIGHT,JOY1_RIGHT"},
    {"Punch", "KEY_A,JOY1_BUTTON1"},        {"Kick", "KEY_S,JOY1_BUTTON2"},
    {"Guard", "KEY_D,JOY1_BUTTON3"},        {"Escape", "KEY_F,JOY1_BUTTON4"},
    {"SteeringLeft", "KEY_LEFT"},           {"SteeringRight", "KEY_RIGHT"},
    {"Accelerator", "KEY_UP,JOY1_UP"},      {"Brake", "KEY_DOWN,JOY1_DOWN"},
    {"GearShift1", "KEY_Q,JOY1_BUTTON5"},   {"GearShift2", "KEY_W,JOY1_BUTTON6"},
    {"GearShift3", "KEY_E,JOY1_BUTTON7"},   {"GearShift4", "KEY_R,JOY1_BUTTON8"},
    {"VR1", "KEY_A,JOY1_BUTTON1"},          {"VR2", "KEY_S,JOY1_BUTTON2"},
    {"VR3", "KEY_D,JOY1_BUTTON3"},          {"VR4", "KEY_F,JOY1_BUTTON4"},
    {"ViewChange", "KEY_A,JOY1_BUTTON1"},   {"HandBrake", "KEY_S,JOY1_BUTTON2"},
    {"ShortPass", "KEY_A,JOY1_BUTTON1"},    {"LongPass", "KEY_S,JOY1_BUTTON2"},
    {"Shoot", "KEY_D,JOY1_BUTTON3"},
    {"TwinJoyTurnLeft", "KEY_Q,JOY1_RXAXIS_NEG"},    {"TwinJoyTurnRight", "KEY_W,JOY1_RXAXIS_POS"},
    {"TwinJoyForward", "KEY_UP,JOY1_YAXIS_NEG"},     {"TwinJoyReverse", "KEY_DOWN,JOY1_YAXIS_POS"},
    {"TwinJoyStrafeLeft", "KEY_LEFT,JOY1_XAXIS_NEG"}, {"TwinJoyStrafeRight", "KEY_RIGHT,JOY1_XAXIS_POS"},
    {"TwinJoyJump", "KEY_E,JOY1_BUTTON1"},  {"TwinJoyCrouch", "KEY_R,JOY1_BUTTON2"},
    {"TwinJoyShot1", "KEY_A,JOY1_BUTTON5"}, {"TwinJoyShot2", "KEY_S,JOY1_BUTTON6"},
    {"TwinJoyTurbo1", "KEY_Z,JOY1_BUTTON7"}, {"TwinJoyTurbo2", "KEY_X,JOY1_BUTTON8"},
    {"AnalogJoyTrigger", "KEY_A,JOY_BUTTON1,MOUSE_LEFT_BUTTON"},
    {"AnalogJoyEvent", "KEY_S,JOY_BUTTON2,MOUSE_RIGHT_BUTTON"},
    {"Trigger", "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"},
    {"Offscreen", "KEY_S,JOY1_BUTTON2,MOUSE_RIGHT_BUTTON"},
}};
// clang-format on

// The name the current release reads for a slot's input: the four twin-stick
// shots and turbos were renamed; every other name is the same.
constexpr std::string_view currentInputName(std::string_view slotInputName) {
    constexpr std::pair<std::string_view, std::string_view> renamed[] = {
        {"TwinJoyLeftShot", "TwinJoyShot1"},
        {"TwinJoyRightShot", "TwinJoyShot2"},
        {"TwinJoyLeftTurbo", "TwinJoyTurbo1"},
        {"TwinJoyRightTurbo", "TwinJoyTurbo2"},
    };
    for (const auto& [earlier, current] : renamed) {
        if (earlier == slotInputName)
            return current;
    }
    return slotInputName;
}

// The built-in value for a slot's input (by either of its names); empty when
// there is none.
constexpr std::string_view builtInValue(std::string_view slotInputName) {
    const std::string_view current = currentInputName(slotInputName);
    for (const BuiltInValue& entry : kBuiltInValues) {
        if (entry.inputName == current)
            return entry.value;
    }
    return {};
}

} // namespace bindings
