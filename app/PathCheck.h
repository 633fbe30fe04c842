#pragma once

namespace ui {
class Form1;
}

namespace app {

// Keeps the emulator folder (Text4) and ROM folder (Text5) texts ending with
// the path separator, since file names are formed by plain concatenation. An
// empty text becomes a lone separator. An Emu Path that names the emulator's
// program file itself becomes that file's folder, with a passing note;
// nothing else is checked or cleaned. The routing table runs it before each
// handler that reads the boxes.
void CheckTxt(ui::Form1& form);

} // namespace app
