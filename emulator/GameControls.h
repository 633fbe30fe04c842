#pragma once

#include <QByteArray>

namespace ui {
class Form1;
}

namespace emulator {

// The binding panel's second page: every control of the selected game.

// Turns between the chart and the selected game's page.
void TurnPage(ui::Form1& form);

// Fills the page for the selected game: its inputs by the input types of its
// definition, or without definitions those of its built-in profile.
void ShowSelectedGame(ui::Form1& form);

// Takes the values of the inputs the chart has no slot for, and the game
// sections' inputs, from the configuration file's bytes (none: the
// emulator's built-in values).
void ReadGameControls(ui::Form1& form, const QByteArray& file);

} // namespace emulator
