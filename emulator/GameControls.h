#pragma once

namespace catalogue {
class GameCatalogue;
}
namespace bindings {
class BindingStore;
}
namespace ui {
class Form1;
}

namespace emulator {

// The binding panel's second page: every control of the selected game.

// Turns between the chart and the selected game's page.
void TurnPage(ui::Form1& form, bindings::BindingStore& store,
              const catalogue::GameCatalogue& catalogue);

// Fills the page for the selected game: its inputs by the input types of its
// definition, or without definitions those of its built-in profile.
void ShowSelectedGame(ui::Form1& form, bindings::BindingStore& store,
                      const catalogue::GameCatalogue& catalogue);

// Keeps the set the selected game starts in the store: the device capture
// numbers game devices by that set's InputSystem.
void FollowSelectedSet(ui::Form1& form, bindings::BindingStore& store,
                       const catalogue::GameCatalogue& catalogue);

} // namespace emulator
