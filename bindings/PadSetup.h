#pragma once

#include "bindings/PadLayout.h"
#include "platform/GameDevices.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace bindings {

class BindingStore;

// The game controller set-up of the binding panel, free of widgets: the
// selected game's layout as the player moves its inputs, and how and where
// Apply writes it.
struct PadSetup {
    // The selected game: its title, the input types its definition lists
    // and the sets of its row that the definitions list (their sections are
    // "this game").
    QString title;
    QStringList types;
    QStringList sets;
    int players = 1; // 2 where the game has player 2's inputs
    PadLayout layout;
    int player = 1;                 // the pad the picture shows
    std::array<bool, 2> nintendo{}; // face letters per player
    bool everyGame = false;         // [ Global ] rather than the game's sections
    int deadZone = 0;               // percent for the sticks; 0 keeps the built-in 3 %
    std::optional<PadPart> chosen;  // the part chosen on the picture
    QStringList pending;            // its inputs still to move, one a press
    QString applied;                // what the last Apply did, for the line
    QString devicesLine;            // the pads connected, for the line
    QStringList skipped;            // connected devices that are no game controllers
    QStringList pads;               // the game controllers, in the emulator's order
    bool linked = false;            // a version of the game links cabinets
    bool kindsRead = false;         // the Nintendo toggles took the pads' kinds
    // Where each pad's controls rested when first seen, by device key.
    QHash<QString, platform::DeviceState> rest;
};

// The dead zones offered beside the built-in 3 %.
inline constexpr std::array<int, 3> kPadDeadZones{5, 6, 7};

// Starts the set-up over for a game: its layout as the table has it.
void resetPadSetup(PadSetup& setup, const QString& title, const QStringList& types,
                   const QStringList& sets);

// Chooses a part of the shown pad: its inputs, in the layout's order, are
// then moved one per press of a pad's part.
void choosePadPart(PadSetup& setup, PadPart part);

// The control a press of a pad's part names for the first pending input
// (`source` as a game device names it, "JOY1_XAXIS_POS"): the face
// buttons by their place, a stick's half as its whole axis for an input
// that takes a whole axis. Moves the input there and returns true, or
// returns false and keeps it where it was when the part cannot drive it.
bool movePendingInput(PadSetup& setup, const QString& source);

// Takes the chosen part's inputs off the pad.
void takePartOffPad(PadSetup& setup);

// Every input type the emulator reads, for a layout of every game.
QStringList everyInputType();

// The settings Apply writes into the section of `set`, by name
// ("InputPunch", "InputSystem", "InputJoy1XDeadZone"): from what that set
// gets now (its section over the global values). For every game (`set`
// empty), the layout of every input type from the global values. Each input
// keeps its keys and mouse; its joystick sources become the pad's.
QHash<QString, QString> padSettings(const PadSetup& setup, const BindingStore& store,
                                    const QString& set);

// Plays padSettings into the store: into every set's section for this
// game, into the global values for every game.
void applyPadSetup(const PadSetup& setup, BindingStore& store);

// How many global bindings, of the file or built in, hold a joystick
// source: each means another part once every game reads game controllers,
// and the layout of every game replaces them.
int joystickBindingsChanging(const BindingStore& store);

} // namespace bindings
