#pragma once

class QString;

namespace ui {
class Form1;
}

namespace catalogue {

class GameCatalogue;

// Shows the selected game: its number, its status as the list's tooltip, its
// snapshot and indicator pictures, enables launching exactly when its archive
// is present now, and re-marks its slots while the binding panel is open.
// Shows no message; a picture that cannot be loaded leaves the image as is.
void SelectionView(ui::Form1& form, GameCatalogue& catalogue);

// Refreshes the slot marking for the selected game while the panel is shown:
// every slot unmarked, then the profile's slots marked.
void List2_001(ui::Form1& form, const GameCatalogue& catalogue);

// Indicator picture numbers for a game record's fields.
int statusPicture(const QString& status);
int soundPicture(const QString& soundFlag);
int controlsPicture(const QString& controlsFlag);

} // namespace catalogue
