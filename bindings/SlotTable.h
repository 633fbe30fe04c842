#pragma once

#include <array>
#include <string_view>

namespace bindings {

// One binding slot of the panel: the emulator input it stands for, its
// default key, where the chart prints it and where its label sits (twips,
// relative to the panel). Profile marking lives in Profiles.h.
struct InputSlot {
    std::string_view inputName;
    std::string_view defaultKey;
    std::string_view group;
    std::string_view rowCaption;
    int left;
    int top;
    int width;
    int height;
};

constexpr int kSlotCount = 49;

// clang-format off
constexpr std::array<InputSlot, kSlotCount> kSlots{{
    {"Start1",             "1",          "All",                         "Start 1",            1290,  375, 1095, 180},
    {"Start2",             "2",          "All",                         "Start 2",            1290,  600, 1095, 180},
    {"Coin1",              "3",          "All",                         "Coin 1",             1290,  825, 1095, 180},
    {"Coin2",              "4",          "All",                         "Coin 2",             1290, 1050, 1095, 180},
    {"ServiceA",           "5",          "All",                         "Service A",          1290, 1275, 1095, 180},
    {"ServiceB",           "7",          "All",                         "Service B",          1290, 1500, 1095, 180},
    {"TestA",              "6",          "All",                         "Test A",             1290, 1725, 1095, 180},
    {"TestB",              "8",          "All",                         "Test B",             1290, 1950, 1095, 180},
    {"JoyUp",              "Up",         "Digital joystick",            "Up",                 1290, 2520, 1095, 180},
    {"JoyDown",            "Down",       "Digital joystick",            "Down",               1290, 2745, 1095, 180},
    {"JoyLeft",            "Left",       "Digital joystick",            "Left",               1290, 2970, 1095, 180},
    {"JoyRight",           "Right",      "Digital joystick",            "Right",              1290, 3195, 1095, 180},
    {"Punch",              "A",          "Fighting games",              "Punch",              1290, 3795, 1095, 180},
    {"Kick",               "S",          "Fighting games",              "Kick",               1290, 4020, 1095, 180},
    {"Guard",              "D",          "Fighting games",              "Guard",              1290, 4245, 1095, 180},
    {"Escape",             "F",          "Fighting games",              "Escape",             1290, 4470, 1095, 180},
    {"SteeringLeft",       "Left",       "Racing games",                "Steering Left",      4170,  615, 1200, 180},
    {"SteeringRight",      "Right",      "Racing games",                "Steering Right",     4170,  825, 1200, 180},
    {"Accelerator",        "Up",         "Racing games",                "Accelerator Pedal",  4170, 1035, 1200, 180},
    {"Brake",              "Down",       "Racing games",                "Brake Pedal",        4170, 1245, 1200, 180},
    {"GearShift1",         "Q",          "Racing games",                "Shift 1/Up",         4170, 1515, 1200, 180},
    {"GearShift2",         "W",          "Racing games",                "Shift 2/Down",       4170, 1725, 1200, 180},
    {"GearShift3",         "E",          "Racing games",                "Shift 3",            4170, 1935, 1200, 180},
    {"GearShift4",         "R",          "Racing games",                "Shift 4",            4170, 2145, 1200, 180},
    {"VR1",                "A",          "Racing games",                "VR1 (Red)",          4170, 2415, 1200, 180},
    {"VR2",                "S",          "Racing games",                "VR2 (Blue)",         4170, 2625, 1200, 180},
    {"VR3",                "D",          "Racing games",                "VR3 (Yellow)",       4170, 2835, 1200, 180},
    {"VR4",                "F",          "Racing games",                "VR4 (Green)",        4170, 3045, 1200, 180},
    {"ViewChange",         "A",          "Sega Rally 2",                "View Change",        1365, 6165, 1005, 180},
    {"HandBrake",          "S",          "Sega Rally 2",                "Hand Brake",         1365, 6390, 1005, 180},
    {"ShortPass",          "A",          "Virtua Striker 2",            "Short Pass",         1290, 5085, 1095, 180},
    {"LongPass",           "S",          "Virtua Striker 2",            "Long Pass",          1290, 5310, 1095, 180},
    {"Shoot",              "D",          "Virtua Striker 2",            "Shoot",              1290, 5535, 1095, 180},
    {"TwinJoyTurnLeft",    "Q",          "Virtual On Oratorio Tangram", "Turn Left",          4260, 3795, 1095, 180},
    {"TwinJoyTurnRight",   "W",          "Virtual On Oratorio Tangram", "Turn Right",         4260, 4005, 1095, 180},
    {"TwinJoyForward",     "Up",         "Virtual On Oratorio Tangram", "Forward",            4260, 4215, 1095, 180},
    {"TwinJoyReverse",     "Down",       "Virtual On Oratorio Tangram", "Reverse",            4260, 4425, 1095, 180},
    {"TwinJoyStrafeLeft",  "Left",       "Virtual On Oratorio Tangram", "Strafe Left",        4260, 4635, 1095, 180},
    {"TwinJoyStrafeRight", "Right",      "Virtual On Oratorio Tangram", "Strafe Right",       4260, 4845, 1095, 180},
    {"TwinJoyJump",        "E",          "Virtual On Oratorio Tangram", "Jump",               4260, 5055, 1095, 180},
    {"TwinJoyCrouch",      "R",          "Virtual On Oratorio Tangram", "Crouch",             4260, 5265, 1095, 180},
    {"TwinJoyLeftShot",    "A",          "Virtual On Oratorio Tangram", "Left Shot Trigger",  4260, 5475, 1095, 180},
    {"TwinJoyRightShot",   "S",          "Virtual On Oratorio Tangram", "Right Shot Trigger", 4260, 5685, 1095, 180},
    {"TwinJoyLeftTurbo",   "Z",          "Virtual On Oratorio Tangram", "Left Turbo",         4260, 5895, 1095, 180},
    {"TwinJoyRightTurbo",  "X",          "Virtual On Oratorio Tangram", "Right Turbo",        4260, 6105, 1095, 180},
    {"AnalogJoyTrigger",   "A",          "Analog joystick",             "Trigger Button",     1575, 7245, 1005, 180},
    {"AnalogJoyEvent",     "S",          "Analog joystick",             "Event Button",       1575, 7470, 1005, 180},
    {"Trigger",            "MouseLeft",  "Lightgun",                    "Trigger",            4170, 6960, 1200, 180},
    {"Offscreen",          "MouseRight", "Lightgun",                    "Point Off-screen",   4170, 7185, 1200, 180},
}};
// clang-format on

} // namespace bindings
