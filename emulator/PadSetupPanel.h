#pragma once

namespace bindings {
class BindingStore;
struct PadSetup;
} // namespace bindings
namespace catalogue {
class GameCatalogue;
}
namespace platform {
class GameDevices;
}
namespace ui {
class Dialogs;
class Form1;
} // namespace ui

namespace emulator {

// The game controller set-up over the binding panel's page: the selected
// game's layout on a picture of the pad, moved part by part, and applied to
// the bindings for this game or for every game. Save writes it.

// Shows the set-up for the selected game, its picture first; the game
// devices are read from the next turn of the event loop on (SDL may load
// then), for the pads' names and for moving parts.
void OpenPadSetup(ui::Form1& form, bindings::PadSetup& setup,
                  const catalogue::GameCatalogue& catalogue, platform::GameDevices& devices);

// Back to the page: the devices stop.
void ClosePadSetup(ui::Form1& form, bindings::PadSetup& setup, platform::GameDevices& devices);

// Another row was selected: the set-up shows its game, as it started.
void PadSetupFollowRow(ui::Form1& form, bindings::PadSetup& setup,
                       const catalogue::GameCatalogue& catalogue);

void ShowPadPlayer(ui::Form1& form, bindings::PadSetup& setup, bool second);
void SetPadNintendo(ui::Form1& form, bindings::PadSetup& setup, bool nintendo);
void ChoosePadDeadZone(ui::Form1& form, bindings::PadSetup& setup, int index);
void ChoosePadScope(ui::Form1& form, bindings::PadSetup& setup, int index);
// A part chosen on the picture: a press of a connected pad's part moves its
// inputs there, one a press.
void ChoosePadPart(ui::Form1& form, bindings::PadSetup& setup, platform::GameDevices& devices,
                   int part);
void TakePartOffPad(ui::Form1& form, bindings::PadSetup& setup);

// The devices were read: names the pads, and moves the chosen part's input
// to a part pressed.
void PadDevicesPolled(ui::Form1& form, bindings::PadSetup& setup, platform::GameDevices& devices);

// Puts the layout into the store, after the warnings it calls for (every
// game's joystick bindings, a device the emulator would skip); counts as an
// edit, as a capture does.
void ApplyPadSetup(ui::Form1& form, bindings::PadSetup& setup, bindings::BindingStore& store,
                   ui::Dialogs& dialogs);

// Whether the set-up shows.
bool padSetupShown(const ui::Form1& form);

} // namespace emulator
