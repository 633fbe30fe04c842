#pragma once

#include <QStringList>
#include <array>
#include <string_view>
#include <vector>

namespace bindings {

// How an input reads its sources, which decides what a capture may bind:
// a switch and one half of an analog control take keys, mouse buttons,
// device buttons, hats or half axes; a pedal also takes a whole axis; a
// whole-axis input takes nothing but a whole device or mouse axis.
enum class InputKind { Switch, HalfAxis, Pedal, WholeAxis };

// One input of the current emulator release: the input type of the game
// definitions that reads it, its name after "Input", the label the emulator
// itself shows, its kind and the value it uses when its file names none.
struct GameInput {
    std::string_view type;
    std::string_view name;
    std::string_view label;
    InputKind kind;
    std::string_view builtIn;
};

// Every binding the current release reads, in the order it prints them
// ("-print-inputs"). The light guns' on/off auto-trigger settings are not
// bindings and are left out.
// clang-format off
inline constexpr std::array<GameInput, 151> kGameInputs{{
    {"common", "Start1", "P1 Start", InputKind::Switch, "KEY_1,JOY1_BUTTON9"},
    {"common", "Start2", "P2 Start", InputKind::Switch, "KEY_2,JOY2_BUTTON9"},
    {"common", "Coin1", "P1 Coin", InputKind::Switch, "KEY_3,JOY1_BUTTON10"},
    {"common", "Coin2", "P2 Coin", InputKind::Switch, "KEY_4,JOY2_BUTTON10"},
    {"common", "ServiceA", "Service A", InputKind::Switch, "KEY_5"},
    {"common", "ServiceB", "Service B", InputKind::Switch, "KEY_7"},
    {"common", "TestA", "Test A", InputKind::Switch, "KEY_6"},
    {"common", "TestB", "Test B", InputKind::Switch, "KEY_8"},
    {"joystick1", "JoyUp", "P1 Joystick Up", InputKind::Switch, "KEY_UP,JOY1_UP"},
    {"joystick1", "JoyDown", "P1 Joystick Down", InputKind::Switch, "KEY_DOWN,JOY1_DOWN"},
    {"joystick1", "JoyLeft", "P1 Joystick Left", InputKind::Switch, "KEY_LEFT,JOY1_LEFT"},
    {"joystick1", "JoyRight", "P1 Joystick Right", InputKind::Switch, "KEY_RIGHT,JOY1_RIGHT"},
    {"joystick2", "JoyUp2", "P2 Joystick Up", InputKind::Switch, "JOY2_UP"},
    {"joystick2", "JoyDown2", "P2 Joystick Down", InputKind::Switch, "JOY2_DOWN"},
    {"joystick2", "JoyLeft2", "P2 Joystick Left", InputKind::Switch, "JOY2_LEFT"},
    {"joystick2", "JoyRight2", "P2 Joystick Right", InputKind::Switch, "JOY2_RIGHT"},
    {"fighting", "Punch", "P1 Punch", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"fighting", "Kick", "P1 Kick", InputKind::Switch, "KEY_S,JOY1_BUTTON2"},
    {"fighting", "Guard", "P1 Guard", InputKind::Switch, "KEY_D,JOY1_BUTTON3"},
    {"fighting", "Escape", "P1 Escape", InputKind::Switch, "KEY_F,JOY1_BUTTON4"},
    {"fighting", "Punch2", "P2 Punch", InputKind::Switch, "JOY2_BUTTON1"},
    {"fighting", "Kick2", "P2 Kick", InputKind::Switch, "JOY2_BUTTON2"},
    {"fighting", "Guard2", "P2 Guard", InputKind::Switch, "JOY2_BUTTON3"},
    {"fighting", "Escape2", "P2 Escape", InputKind::Switch, "JOY2_BUTTON4"},
    {"spikeout", "Shift", "Shift", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"spikeout", "Beat", "Beat", InputKind::Switch, "KEY_S,JOY1_BUTTON2"},
    {"spikeout", "Charge", "Charge", InputKind::Switch, "KEY_D,JOY1_BUTTON3"},
    {"spikeout", "Jump", "Jump", InputKind::Switch, "KEY_F,JOY1_BUTTON4"},
    {"soccer", "ShortPass", "P1 Short Pass", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"soccer", "LongPass", "P1 Long Pass", InputKind::Switch, "KEY_S,JOY1_BUTTON2"},
    {"soccer", "Shoot", "P1 Shoot", InputKind::Switch, "KEY_D,JOY1_BUTTON3"},
    {"soccer", "ShortPass2", "P2 Short Pass", InputKind::Switch, "JOY2_BUTTON1"},
    {"soccer", "LongPass2", "P2 Long Pass", InputKind::Switch, "JOY2_BUTTON2"},
    {"soccer", "Shoot2", "P2 Shoot", InputKind::Switch, "JOY2_BUTTON3"},
    {"vehicle", "SteeringLeft", "Steer Left", InputKind::HalfAxis, "KEY_LEFT"},
    {"vehicle", "SteeringRight", "Steer Right", InputKind::HalfAxis, "KEY_RIGHT"},
    {"vehicle", "Steering", "Full Steering", InputKind::WholeAxis, "JOY1_XAXIS"},
    {"vehicle", "Accelerator", "Accelerator Pedal", InputKind::Pedal, "KEY_UP,JOY1_UP"},
    {"vehicle", "Brake", "Brake Pedal/Front Brake", InputKind::Pedal, "KEY_DOWN,JOY1_DOWN"},
    {"vehicle", "GearShiftUp", "Shift Up", InputKind::Switch, "KEY_Y"},
    {"vehicle", "GearShiftDown", "Shift Down", InputKind::Switch, "KEY_H"},
    {"shift4", "GearShift1", "Shift 1", InputKind::Switch, "KEY_Q,JOY1_BUTTON5"},
    {"shift4", "GearShift2", "Shift 2", InputKind::Switch, "KEY_W,JOY1_BUTTON6"},
    {"shift4", "GearShift3", "Shift 3", InputKind::Switch, "KEY_E,JOY1_BUTTON7"},
    {"shift4", "GearShift4", "Shift 4", InputKind::Switch, "KEY_R,JOY1_BUTTON8"},
    {"shift4", "GearShiftN", "Shift Neutral", InputKind::Switch, "KEY_T"},
    {"vr4", "VR1", "VR1", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"vr4", "VR2", "VR2", InputKind::Switch, "KEY_S,JOY1_BUTTON2"},
    {"vr4", "VR3", "VR3", InputKind::Switch, "KEY_D,JOY1_BUTTON3"},
    {"vr4", "VR4", "VR4", InputKind::Switch, "KEY_F,JOY1_BUTTON4"},
    {"viewchange", "ViewChange", "View Change", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"handbrake", "HandBrake", "Hand Brake", InputKind::Switch, "KEY_S,JOY1_BUTTON2"},
    {"harley", "RearBrake", "Rear Brake", InputKind::Pedal, "KEY_S,JOY1_BUTTON2"},
    {"harley", "MusicSelect", "Music Selection", InputKind::Switch, "KEY_D,JOY1_BUTTON3"},
    {"twin_joysticks", "TwinJoyTurnLeft", "Macro Turn Left", InputKind::Switch, "KEY_Q,JOY1_RXAXIS_NEG"},
    {"twin_joysticks", "TwinJoyTurnRight", "Macro Turn Right", InputKind::Switch, "KEY_W,JOY1_RXAXIS_POS"},
    {"twin_joysticks", "TwinJoyForward", "Macro Forward", InputKind::Switch, "KEY_UP,JOY1_YAXIS_NEG"},
    {"twin_joysticks", "TwinJoyReverse", "Macro Reverse", InputKind::Switch, "KEY_DOWN,JOY1_YAXIS_POS"},
    {"twin_joysticks", "TwinJoyStrafeLeft", "Macro Strafe Left", InputKind::Switch, "KEY_LEFT,JOY1_XAXIS_NEG"},
    {"twin_joysticks", "TwinJoyStrafeRight", "Macro Strafe Right", InputKind::Switch, "KEY_RIGHT,JOY1_XAXIS_POS"},
    {"twin_joysticks", "TwinJoyJump", "Macro Jump", InputKind::Switch, "KEY_E,JOY1_BUTTON1"},
    {"twin_joysticks", "TwinJoyCrouch", "Macro Crouch", InputKind::Switch, "KEY_R,JOY1_BUTTON2"},
    {"twin_joysticks", "TwinJoyLeft1", "Left Joystick Left", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyLeft2", "Right Joystick Left", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyRight1", "Left Joystick Right", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyRight2", "Right Joystick Right", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyUp1", "Left Joystick Up", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyUp2", "Right Joystick Up", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyDown1", "Left Joystick Down", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyDown2", "Right Joystick Down", InputKind::Switch, "NONE"},
    {"twin_joysticks", "TwinJoyShot1", "Left Shot Trigger", InputKind::Switch, "KEY_A,JOY1_BUTTON5"},
    {"twin_joysticks", "TwinJoyShot2", "Right Shot Trigger", InputKind::Switch, "KEY_S,JOY1_BUTTON6"},
    {"twin_joysticks", "TwinJoyTurbo1", "Left Turbo", InputKind::Switch, "KEY_Z,JOY1_BUTTON7"},
    {"twin_joysticks", "TwinJoyTurbo2", "Right Turbo", InputKind::Switch, "KEY_X,JOY1_BUTTON8"},
    {"analog_joystick", "AnalogJoyLeft", "Analog Left", InputKind::HalfAxis, "KEY_LEFT"},
    {"analog_joystick", "AnalogJoyRight", "Analog Right", InputKind::HalfAxis, "KEY_RIGHT"},
    {"analog_joystick", "AnalogJoyUp", "Analog Up", InputKind::HalfAxis, "KEY_UP"},
    {"analog_joystick", "AnalogJoyDown", "Analog Down", InputKind::HalfAxis, "KEY_DOWN"},
    {"analog_joystick", "AnalogJoyX", "Analog X-Axis", InputKind::WholeAxis, "JOY_XAXIS,MOUSE_XAXIS"},
    {"analog_joystick", "AnalogJoyY", "Analog Y-Axis", InputKind::WholeAxis, "JOY_YAXIS,MOUSE_YAXIS"},
    {"analog_joystick", "AnalogJoyTrigger", "Trigger Button 1", InputKind::Switch, "KEY_A,JOY_BUTTON1,MOUSE_LEFT_BUTTON"},
    {"analog_joystick", "AnalogJoyTrigger2", "Trigger Button 2", InputKind::Switch, "KEY_D,JOY_BUTTON2"},
    {"analog_joystick", "AnalogJoyEvent", "Event Button 1", InputKind::Switch, "KEY_S,JOY_BUTTON2,MOUSE_RIGHT_BUTTON"},
    {"analog_joystick", "AnalogJoyEvent2", "Event Button 2", InputKind::Switch, "NONE"},
    {"gun1", "GunLeft", "P1 Gun Left", InputKind::HalfAxis, "KEY_LEFT"},
    {"gun1", "GunRight", "P1 Gun Right", InputKind::HalfAxis, "KEY_RIGHT"},
    {"gun1", "GunUp", "P1 Gun Up", InputKind::HalfAxis, "KEY_UP"},
    {"gun1", "GunDown", "P1 Gun Down", InputKind::HalfAxis, "KEY_DOWN"},
    {"gun1", "GunX", "P1 Gun X-Axis", InputKind::WholeAxis, "MOUSE_XAXIS,JOY1_XAXIS"},
    {"gun1", "GunY", "P1 Gun Y-Axis", InputKind::WholeAxis, "MOUSE_YAXIS,JOY1_YAXIS"},
    {"gun1", "Trigger", "P1 Trigger", InputKind::Switch, "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"},
    {"gun1", "Offscreen", "P1 Point Off-screen", InputKind::Switch, "KEY_S,JOY1_BUTTON2,MOUSE_RIGHT_BUTTON"},
    {"gun2", "GunLeft2", "P2 Gun Left", InputKind::HalfAxis, "NONE"},
    {"gun2", "GunRight2", "P2 Gun Right", InputKind::HalfAxis, "NONE"},
    {"gun2", "GunUp2", "P2 Gun Up", InputKind::HalfAxis, "NONE"},
    {"gun2", "GunDown2", "P2 Gun Down", InputKind::HalfAxis, "NONE"},
    {"gun2", "GunX2", "P2 Gun X-Axis", InputKind::WholeAxis, "JOY2_XAXIS"},
    {"gun2", "GunY2", "P2 Gun Y-Axis", InputKind::WholeAxis, "JOY2_YAXIS"},
    {"gun2", "Trigger2", "P2 Trigger", InputKind::Switch, "JOY2_BUTTON1"},
    {"gun2", "Offscreen2", "P2 Point Off-screen", InputKind::Switch, "JOY2_BUTTON2"},
    {"analog_gun1", "AnalogGunLeft", "P1 Analog Gun Left", InputKind::HalfAxis, "KEY_LEFT"},
    {"analog_gun1", "AnalogGunRight", "P1 Analog Gun Right", InputKind::HalfAxis, "KEY_RIGHT"},
    {"analog_gun1", "AnalogGunUp", "P1 Analog Gun Up", InputKind::HalfAxis, "KEY_UP"},
    {"analog_gun1", "AnalogGunDown", "P1 Analog Gun Down", InputKind::HalfAxis, "KEY_DOWN"},
    {"analog_gun1", "AnalogGunX", "P1 Analog Gun X-Axis", InputKind::WholeAxis, "MOUSE_XAXIS,JOY1_XAXIS"},
    {"analog_gun1", "AnalogGunY", "P1 Analog Gun Y-Axis", InputKind::WholeAxis, "MOUSE_YAXIS,JOY1_YAXIS"},
    {"analog_gun1", "AnalogTriggerLeft", "P1 Analog Gun Left Trigger", InputKind::Switch, "KEY_A,JOY1_BUTTON1,MOUSE_LEFT_BUTTON"},
    {"analog_gun1", "AnalogTriggerRight", "P1 Analog Gun Right Trigger", InputKind::Switch, "KEY_S,JOY1_BUTTON2,MOUSE_RIGHT_BUTTON"},
    {"analog_gun2", "AnalogGunLeft2", "P2 Analog Gun Left", InputKind::HalfAxis, "NONE"},
    {"analog_gun2", "AnalogGunRight2", "P2 Analog Gun Right", InputKind::HalfAxis, "NONE"},
    {"analog_gun2", "AnalogGunUp2", "P2 Analog Gun Up", InputKind::HalfAxis, "NONE"},
    {"analog_gun2", "AnalogGunDown2", "P2 Analog Gun Down", InputKind::HalfAxis, "NONE"},
    {"analog_gun2", "AnalogGunX2", "P2 Analog Gun X-Axis", InputKind::WholeAxis, "NONE"},
    {"analog_gun2", "AnalogGunY2", "P2 Analog Gun Y-Axis", InputKind::WholeAxis, "NONE"},
    {"analog_gun2", "AnalogTriggerLeft2", "P2 Analog Gun Left Trigger", InputKind::Switch, "NONE"},
    {"analog_gun2", "AnalogTriggerRight2", "P2 Analog Gun Right Trigger", InputKind::Switch, "NONE"},
    {"ski", "SkiLeft", "Ski Champ Left", InputKind::HalfAxis, "KEY_LEFT"},
    {"ski", "SkiRight", "Ski Champ Right", InputKind::HalfAxis, "KEY_RIGHT"},
    {"ski", "SkiUp", "Ski Champ Up", InputKind::HalfAxis, "KEY_UP"},
    {"ski", "SkiDown", "Ski Champ Down", InputKind::HalfAxis, "KEY_DOWN"},
    {"ski", "SkiX", "Ski Champ X-Axis", InputKind::WholeAxis, "JOY1_XAXIS"},
    {"ski", "SkiY", "Ski Champ Y-Axis", InputKind::WholeAxis, "JOY1_YAXIS"},
    {"ski", "SkiPollLeft", "Ski Champ Poll Left", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"ski", "SkiPollRight", "Ski Champ Poll Right", InputKind::Switch, "KEY_S,JOY1_BUTTON2"},
    {"ski", "SkiSelect1", "Ski Champ Select 1", InputKind::Switch, "KEY_Q,JOY1_BUTTON3"},
    {"ski", "SkiSelect2", "Ski Champ Select 2", InputKind::Switch, "KEY_W,JOY1_BUTTON4"},
    {"ski", "SkiSelect3", "Ski Champ Select 3", InputKind::Switch, "KEY_E,JOY1_BUTTON5"},
    {"magtruck", "MagicalLeverUp1", "P1 Magical Lever Up", InputKind::HalfAxis, "KEY_UP"},
    {"magtruck", "MagicalLeverDown1", "P1 Magical Lever Down", InputKind::HalfAxis, "KEY_DOWN"},
    {"magtruck", "MagicalLeverUp2", "P2 Magical Lever Up", InputKind::HalfAxis, "NONE"},
    {"magtruck", "MagicalLeverDown2", "P2 Magical Lever Down", InputKind::HalfAxis, "NONE"},
    {"magtruck", "MagicalLever1", "P1 Magical Lever", InputKind::WholeAxis, "JOY1_YAXIS"},
    {"magtruck", "MagicalLever2", "P2 Magical Lever", InputKind::WholeAxis, "JOY2_YAXIS"},
    {"magtruck", "MagicalPedal1", "P1 Magical Pedal", InputKind::Switch, "KEY_A,JOY1_BUTTON1"},
    {"magtruck", "MagicalPedal2", "P2 Magical Pedal", InputKind::Switch, "KEY_S,JOY2_BUTTON1"},
    {"fishing", "FishingRodLeft", "Rod Left", InputKind::HalfAxis, "KEY_LEFT"},
    {"fishing", "FishingRodRight", "Rod Right", InputKind::HalfAxis, "KEY_RIGHT"},
    {"fishing", "FishingRodUp", "Rod Up", InputKind::HalfAxis, "KEY_UP"},
    {"fishing", "FishingRodDown", "Rod Down", InputKind::HalfAxis, "KEY_DOWN"},
    {"fishing", "FishingStickLeft", "Stick Left", InputKind::HalfAxis, "KEY_A"},
    {"fishing", "FishingStickRight", "Stick Right", InputKind::HalfAxis, "KEY_D"},
    {"fishing", "FishingStickUp", "Stick Up", InputKind::HalfAxis, "KEY_W"},
    {"fishing", "FishingStickDown", "Stick Down", InputKind::HalfAxis, "KEY_S"},
    {"fishing", "FishingRodX", "Rod X-Axis", InputKind::WholeAxis, "JOY1_XAXIS"},
    {"fishing", "FishingRodY", "Rod Y-Axis", InputKind::WholeAxis, "JOY1_YAXIS"},
    {"fishing", "FishingReel", "Reel Speed", InputKind::Pedal, "KEY_SPACE,JOY1_ZAXIS_POS"},
    {"fishing", "FishingStickX", "Stick X-Axis", InputKind::WholeAxis, "JOY1_RXAXIS"},
    {"fishing", "FishingStickY", "Stick Y-Axis", InputKind::WholeAxis, "JOY1_RYAXIS"},
    {"fishing", "FishingCast", "Cast", InputKind::Switch, "KEY_Z,JOY1_BUTTON1"},
    {"fishing", "FishingSelect", "Select", InputKind::Switch, "KEY_X,JOY1_BUTTON2"},
    {"fishing", "FishingTension", "Tension", InputKind::Pedal, "KEY_T,JOY1_ZAXIS_NEG"},
}};
// clang-format on

// The heading the emulator prints above an input type's inputs; empty for a
// type it does not know.
std::string_view inputTypeHeading(std::string_view type);

// The inputs a game with these input types reads, in the emulator's order,
// each once. "shiftupdown" and "shift4" also read the vehicle's shift up and
// down.
std::vector<const GameInput*> gameInputs(const QStringList& types);

// The input of that name ("Punch", without "Input"), or null.
const GameInput* gameInput(std::string_view name);

// The kind of the input of that name; a switch for a name the table lacks.
InputKind inputKind(std::string_view name);

// True for a whole device or mouse axis ("JOY1_XAXIS", "JOY2_SLIDER1_INV",
// "MOUSE_YAXIS"), not one of its halves.
bool isWholeAxis(const QString& source);

// Whether the emulator takes `source` for an input of `kind`: a whole-axis
// input nothing but a whole axis; any other input anything (a whole axis
// there reads as a switch or pedal past its middle).
bool accepts(InputKind kind, const QString& source);

} // namespace bindings
