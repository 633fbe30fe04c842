#pragma once

namespace ui {
class Form1;
}

namespace catalogue {

// Keeps the emulator folder (Text4) and ROM folder (Text5) texts ending with
// the path separator, since file names are formed by plain concatenation. An
// empty text becomes a lone separator; nothing else is checked or cleaned.
void CheckTxt(ui::Form1& form);

} // namespace catalogue
