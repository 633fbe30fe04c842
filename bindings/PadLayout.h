#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <vector>

namespace bindings {

// A game controller set up for a game in one step: which part of the pad
// drives each input, in the emulator's game-controller numbering
// ("sdlgamepad": JOY1_ for player 1, JOY2_ for player 2). Pure functions.

// Each control of a game controller the emulator names. The face buttons go
// by where they sit (south, east, west, north), not by their letters.
enum class PadControl {
    South,           // BUTTON1 (A on an Xbox pad)
    East,            // BUTTON2
    West,            // BUTTON3
    North,           // BUTTON4
    LeftShoulder,    // BUTTON5
    RightShoulder,   // BUTTON6
    Back,            // BUTTON7
    Start,           // BUTTON8
    LeftStickClick,  // BUTTON9
    RightStickClick, // BUTTON10
    LeftTrigger,     // ZAXIS_POS: rests at 0, pressed towards the positive end
    RightTrigger,    // RZAXIS_POS
    LeftStickX,      // whole axes
    LeftStickY,
    RightStickX,
    RightStickY,
    LeftStickLeft, // halves
    LeftStickRight,
    LeftStickUp,
    LeftStickDown,
    RightStickLeft,
    RightStickRight,
    RightStickUp,
    RightStickDown,
    DpadUp,
    DpadDown,
    DpadLeft,
    DpadRight,
};
inline constexpr int kPadControlCount = int(PadControl::DpadRight) + 1;

// The parts a picture of the pad shows: a stick stands for its axes, halves
// and click, the d-pad for its four directions.
enum class PadPart {
    South,
    East,
    West,
    North,
    LeftShoulder,
    RightShoulder,
    LeftTrigger,
    RightTrigger,
    LeftStick,
    RightStick,
    Dpad,
    Back,
    Start,
};
inline constexpr int kPadPartCount = int(PadPart::Start) + 1;

PadPart padPart(PadControl control);

// A whole stick axis: it can drive only a whole-axis input, and a whole-axis
// input can be driven by nothing else.
bool isStickAxis(PadControl control);

// The source that names `control` of player `player`'s pad ("JOY1_BUTTON1",
// "JOY2_RZAXIS_POS"). In Nintendo style, whose pads report the letter A
// where others have B and X where others have Y, buttons 1 and 2, and 3 and
// 4, trade places, so that each input keeps its place on the pad.
QString padSource(PadControl control, int player, bool nintendo);

// The control a source names, without regard to the pad's number, or
// nothing for a source that names none ("KEY_A", "JOY1_BUTTON11",
// "JOY1_XAXIS_INV").
std::optional<PadControl> padControl(const QString& source, bool nintendo);

// One input of a game and what drives it on the pad.
struct PadAssignment {
    QString input; // its name after "Input": "Punch"
    int player = 1;
    std::vector<PadControl> controls; // empty: off the pad, keys and mouse only
};
using PadLayout = std::vector<PadAssignment>;

// Whether the game's inputs include player 2's (the second joystick, the
// second player's fighting, soccer, gun or lever inputs): 2 or 1.
int padPlayers(const QStringList& types);

// Every input a game with these input types reads, for the first `players`
// players, in the emulator's order, with the layout's controls.
PadLayout defaultPadLayout(const QStringList& types, int players);

// Moves `input` onto `control` alone. An input that `control` drove for the
// same player takes the moved input's first control in exchange (or goes off
// the pad when it had none), so that every input stays reachable. False, and
// nothing moved, when the control cannot drive the input (a whole axis and
// anything but a whole-axis input) or the input is not in the layout.
bool moveInput(PadLayout& layout, const QString& input, PadControl control);

// Takes `input` off the pad: it keeps its keys and mouse.
void takeOffPad(PadLayout& layout, const QString& input);

// The value an input gets from the layout: its keys, mouse and other
// sources as `current` has them, its joystick sources replaced by its
// controls; "NONE" when nothing is left.
QString padValue(const PadAssignment& assignment, bool nintendo, const QString& current);

struct InputValue {
    QString input;
    QString value;
};
// The new value of each input of the layout, from the current values by
// input name (an input not there has its built-in value). `nintendo` per
// player.
std::vector<InputValue> padValues(const PadLayout& layout, std::array<bool, 2> nintendo,
                                  const QHash<QString, QString>& current);
std::vector<InputValue> padValues(const QStringList& types, int players,
                                  std::array<bool, 2> nintendo,
                                  const QHash<QString, QString>& current);

// A part of player `player`'s pad that drives inputs: their names and
// labels in the layout's order, and one caption for them all, where a
// shared beginning is said once ("P1 Joystick Up/Down/Left/Right").
struct PartUse {
    PadPart part;
    QStringList inputs;
    QStringList labels;
    QString caption;
};
std::vector<PartUse> partsUsed(const PadLayout& layout, int player);

// "P1 Joystick Up", "P1 Joystick Down" -> "P1 Joystick Up/Down"; labels
// with nothing in common are listed with commas.
QString sharedCaption(const QStringList& labels);

// Why some of the game's inputs stay off the pad, for the picture to say;
// empty when the layout puts them all on it but the service and test keys.
QString offPadNote(const QStringList& types);

} // namespace bindings
