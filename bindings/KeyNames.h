#pragma once

#include <QString>
#include <optional>
#include <qnamespace.h>

namespace bindings {

// Key names: the texts stored in slot captions and written verbatim into the
// emulator's input file. Pure functions of the event's facts.

// Key-down names by Windows virtual-key code: 16 "LeftShift", 17 "LeftCtrl",
// 18 "LeftAlt", 19 "Pause", 20 "CapsLock", 33 "Pgup", 34 "Pgdn", 35 "End",
// 36 "Home", 37 "Left", 38 "Up", 39 "Right", 40 "Down", 45 "Insert",
// 46 "Del", 144 "NumLock", 145 "ScorollLock". Any other code: no name.
std::optional<QString> keyDownName(int virtualKey);

// What a typed character does to a capture.
struct KeyPressName {
    bool finishes = true;        // false: the capture keeps waiting
    std::optional<QString> name; // none for Esc: the slot keeps its key
};

// Key-press names by character code: 8 "Backspace", 13 "Return", 27 Esc (no
// name), 32 "Space", 39 "Quote", 44 "Comma", 45 "Minus", 46 "Period",
// 47 "Slash", 59 "Semicolon", 61 "Equals", 91 "LeftBracket",
// 92 "BackSlash", 93 "RightBracket", 96 "BackQuote"; any other character
// itself, upper-cased (U+FEFF included). A code that is no character (a
// lone surrogate, beyond U+10FFFF) has no name and leaves the capture
// waiting. The double quote (34) is the one character that cannot
// be bound: the input file delimits key names with it, so storing it would
// lose the binding at the next read. It leaves the capture waiting.
KeyPressName keyPressName(char32_t characterCode);

// Mouse buttons: 1 "MouseLeft", 2 "MouseRight", 4 "MouseMiddle".
std::optional<QString> mouseButtonName(int button);

// The facts of one Qt key event in the terms above: the virtual-key code when
// the key is one of the key-down table (both Shifts, Ctrls and Alts give the
// left code), else the character it types (Backspace 8, Enter and Return 13,
// Esc 27, keypad digits their digits, printable text its first character),
// else neither: such a key (F5, say) leaves a capture waiting.
struct KeyFacts {
    std::optional<int> virtualKey;
    std::optional<char32_t> characterCode;
};
KeyFacts keyFactsFromQt(int qtKey, const QString& text);

// Qt mouse button to 1, 2 or 4; 0 for any other button.
int mouseButtonCode(Qt::MouseButton button);

} // namespace bindings
