#pragma once

#include <array>
#include <span>
#include <string_view>

namespace emulator {

// The emulator's settings besides its input bindings, as the current
// release reads them from Config/Supermodel.ini: one row each, the face
// that edits them, their tooltips, what a game will get and Save all read
// this table. Windows-only names, raw joystick calibration and numbered
// keyboards are left out.

enum class SettingGroup {
    Video,
    Sound,
    Core,
    Inputs,
    ForceFeedback,
    Network,
    Outputs,
    Legacy, // the legacy 3D engine's and debugging settings, folded away at first
};

enum class SettingKind {
    OnOff,   // true/on/yes/1 or false/off/no/0, any case
    Choice,  // one of `choices`
    Integer, // decimal or 0x hex, in [minimum, maximum]
    Decimal, // in [minimum, maximum]
    Text,
};

// A listed value and what it means ("4" -> "BT601_525/D65").
struct SettingChoice {
    std::string_view value;
    std::string_view meaning;
};

// How the window's own options reach the emulator: on the command line,
// which wins over the file, but only while passed.
enum class WindowOption {
    None,
    ShowFps,      // Check1 ticked: -show-fps
    FullScreen,   // Check2 ticked: -fullscreen
    NoThrottle,   // Check3 ticked: -no-throttle (Throttle off)
    PpcFrequency, // Check4 ticked: -ppc-frequency= with Text7
    Width,        // Text1, always: -res=
    Height,       // Text3, always: -res=
};

struct EmulatorSetting {
    std::string_view name;
    SettingGroup group;
    SettingKind kind;
    std::string_view builtIn; // what the emulator uses when nothing names it
    std::string_view label;
    std::string_view help;
    std::string_view flag = {}; // the command line's, for the tooltip
    double minimum = 0;
    double maximum = 0;
    std::span<const SettingChoice> choices = {};
    WindowOption window = WindowOption::None;
    bool globalOnly = false;   // read before the game is known
    bool emptyAllowed = false; // empty means "chosen by the emulator"
};

// Every setting, grouped as the emulator's documentation groups them.
std::span<const EmulatorSetting> emulatorSettings();

// The row of a name, or null.
const EmulatorSetting* emulatorSetting(std::string_view name);

// The group's heading ("Video", "Force feedback").
std::string_view groupName(SettingGroup group);

// How a value stands against its row: Valid, or why it is shown with a
// warning (not a number where one is expected, out of range, not listed).
enum class ValueCheck { Valid, NotANumber, OutOfRange, NotListed };
ValueCheck checkValue(const EmulatorSetting& setting, std::string_view value);

// The value as the emulator takes it: on/off as true or false, a number
// as a number ("0x10" is 16, a word is 0, as the emulator reads it).
// Two values that mean the same compare equal.
bool sameMeaning(const EmulatorSetting& setting, std::string_view a, std::string_view b);

// An on/off value read as the emulator reads it; nullopt-like false for a
// value it does not know (which it reads as off).
bool readsOn(std::string_view value);

} // namespace emulator
