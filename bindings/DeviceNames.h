#pragma once

#include "platform/GameDevices.h"

#include <QString>
#include <QStringView>
#include <string_view>
#include <vector>

namespace bindings {

// Naming a game device's control the way the emulator reads it
// ("JOY1_BUTTON4", "JOY1_XAXIS_POS", "JOY2_POV1_UP", ...). Pure functions.

enum class Numbering {
    Joystick,       // the emulator's default: raw SDL button, axis and hat numbers
    GameController, // its "sdlgamepad" input system: SDL's game-controller layout
};

// The numbering a value of the global InputSystem setting asks for.
Numbering numberingFor(QStringView inputSystem);

// The number the emulator gives each device (2 for "JOY2_"): its place in
// SDL's list; with the game-controller numbering, its place among the game
// controllers alone, and 0 for a device that is none (the emulator skips it).
std::vector<int> deviceNumbers(const std::vector<platform::GameDevice>& devices,
                               Numbering numbering);

// True for the pedal-like inputs (by either name of a slot's input): they
// take a pedal pressed all the way as the whole axis.
bool takesWholeAxis(std::string_view inputName);

struct DeviceEvent {
    enum class Kind {
        None,    // nothing moved enough
        Named,   // `source` names it
        Unnamed, // a control the emulator has no name for; `control` says which
    };
    Kind kind = Kind::None;
    QString source;
    QString control;
};

// What changed on device `number` (1 for the first) since `rest`, the state
// when the capture began: a button newly pressed, a hat newly pushed, or an
// axis moved well away from where it rested. An axis that rests near one end
// (a pedal, a trigger) and travels past the middle gives the whole axis when
// `wholeAxis` (reversed when it rests at the positive end); otherwise an axis
// gives the half it moved into.
DeviceEvent deviceEvent(int number, const platform::DeviceState& rest,
                        const platform::DeviceState& now, Numbering numbering, bool wholeAxis);

// For an input that takes only a whole axis: per axis of one device, the
// end it was first pushed to in this capture (-1, +1; 0 not yet).
struct AxisTravel {
    std::vector<int> firstEnd;
};

// An axis moved from one end to the other on device `number` since `rest`:
// pushed fully to one end, then to the other (or, resting at one end, pushed
// to the other), it gives the whole axis, reversed ("_INV") when the first
// full push went to the negative end. Buttons and hats give nothing.
DeviceEvent wholeAxisEvent(int number, const platform::DeviceState& rest,
                           const platform::DeviceState& now, Numbering numbering,
                           AxisTravel& travel);

// Updates `rest` with what has come back: a button held when the capture
// began counts once it is released, a hat once it is centred.
void settle(platform::DeviceState& rest, const platform::DeviceState& now);

// True when every button is released, every hat centred and every axis near
// where it rests.
bool backAtRest(const platform::DeviceState& rest, const platform::DeviceState& now,
                Numbering numbering);

} // namespace bindings
